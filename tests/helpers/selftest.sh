#!/usr/bin/env bash
# Checks box_reader.exe and javaw.exe under Wine: selftest.sh HELPERS_DIR
#
# HELPERS_DIR holds box_reader.exe, show_box.exe and javaw.exe. The prefix is
# LEDGRIX_WINEPREFIX when set (left running), otherwise a scratch prefix that
# is removed at the end.
set -u

helpers=$(cd "${1:?usage: selftest.sh HELPERS_DIR}" && pwd) || exit 2
here=$(cd "$(dirname "$0")" && pwd)
wine_dir=$here/../wine
scratch=$(mktemp -d /tmp/ledgrix-helpers-selftest.XXXXXX)

if [ -n "${LEDGRIX_WINEPREFIX:-}" ]; then
    prefix=$LEDGRIX_WINEPREFIX
    own_prefix=0
else
    prefix=$scratch/prefix
    own_prefix=1
fi
export LEDGRIX_WINEPREFIX=$prefix

cleanup() {
    [ $own_prefix = 1 ] && "$wine_dir/wine-env.sh" teardown "$prefix"
    rm -rf "$scratch"
}
trap cleanup EXIT

"$wine_dir/wine-env.sh" setup "$prefix" || { echo "FAIL: wine-env.sh setup"; exit 1; }

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

expect_eq() { # name expected actual
    [ "$2" = "$3" ] && return 0
    fail "$1"
    diff <(printf '%s\n' "$2") <(printf '%s\n' "$3") | sed 's/^/    /'
}

run() { "$wine_dir/run-wine.sh" "$@"; }

windows_path() { # /unix/path -> Z:\unix\path
    local p=${1//\//\\}
    printf 'Z:%s' "$p"
}

# Starts show_box in the background; its pid lands in $box_pid.
show_box() {
    run "$helpers/show_box.exe" "$@" &
    box_pid=$!
}

# --- box_reader: one box per case ---------------------------------------
# style | text given to show_box (\n, \r, \\ unescaped by it) | expected report
box_cases=(
    '0x10|first line\nsecond\rthird \\ end|title=Error
icon=yes
buttons=OK
text=first line\nsecond\rthird \\ end'
    '0|first line\nsecond\rthird|title=Error
icon=no
buttons=OK
text=first line\nsecond\rthird'
    '0x31|Путь: C:\\Программы\\中文 🎉|title=Error
icon=yes
buttons=OK,Cancel
text=Путь: C:\\Программы\\中文 🎉'
    '0x10|ends with CR LF\r\n|title=Error
icon=yes
buttons=OK
text=ends with CR LF\r\n'
)
for case in "${box_cases[@]}"; do
    IFS='|' read -r -d '' style text expected <<<"$case"
    expected=${expected%$'\n'}
    show_box "$style" "$text"
    started=$(date +%s%N)
    report=$(run "$helpers/box_reader.exe" --timeout-ms 20000)
    rc=$?
    elapsed_ms=$((($(date +%s%N) - started) / 1000000))
    wait "$box_pid"
    box_rc=$?
    expect_eq "report for style $style" "$expected" "$report"
    expect_eq "box_reader exit for style $style" 0 "$rc"
    expect_eq "OK pressed for style $style (MessageBoxW result)" 1 "$box_rc"
    echo "style $style: box read and pressed in ${elapsed_ms} ms"
done

# --out writes the same report as UTF-8 to a file with a non-Latin name.
out_file="$scratch/отчёт 报告.txt"
show_box 0x10 'Ошибка 错误 🎉'
run "$helpers/box_reader.exe" --out "$(windows_path "$out_file")"
expect_eq "--out exit" 0 "$?"
wait "$box_pid"
expect_eq "--out report" "title=Error
icon=yes
buttons=OK
text=Ошибка 错误 🎉" "$(cat "$out_file" 2>/dev/null)"

# --count reads boxes one after the other, in the order they appear.
run "$helpers/box_reader.exe" --count 2 --out "$(windows_path "$scratch/count.txt")" &
reader_pid=$!
show_box 0 'one'
wait "$box_pid"
show_box 0 'two'
wait "$box_pid"
wait "$reader_pid"
expect_eq "--count exit" 0 "$?"
expect_eq "--count report" "title=Error
icon=no
buttons=OK
text=one
title=Error
icon=no
buttons=OK
text=two" "$(cat "$scratch/count.txt" 2>/dev/null)"

# Boxes with another title are left alone.
show_box 0 'not mine'
report=$(run "$helpers/box_reader.exe" --title 'Warning' --timeout-ms 500 2>/dev/null)
expect_eq "other title: exit" 1 "$?"
expect_eq "other title: no report" "" "$report"
report=$(run "$helpers/box_reader.exe" --none-within-ms 20000)
expect_eq "--none-within-ms with a box: exit" 1 "$?"
expect_eq "--none-within-ms with a box: report" "title=Error
icon=no
buttons=OK
text=not mine" "$report"
wait "$box_pid"
expect_eq "--none-within-ms presses the box it found" 1 "$?"

# Nothing on screen.
report=$(run "$helpers/box_reader.exe" --none-within-ms 300)
expect_eq "--none-within-ms without a box: exit" 0 "$?"
expect_eq "--none-within-ms without a box: report" "" "$report"
run "$helpers/box_reader.exe" --timeout-ms 300 >/dev/null 2>&1
expect_eq "time-out exit" 1 "$?"

# --- javaw stand-in -------------------------------------------------------
bin="$scratch/Программы 中文 🎉/jre/bin"
work="$scratch/Рабочая 目录 🎈"
incoming="$scratch/incoming"
mkdir -p "$bin" "$work" "$incoming/sub"
touch "$incoming/b.qif" "$incoming/A.ofx" "$incoming/ж.ofx"
cp "$helpers/javaw.exe" "$bin/"
win_bin=$(windows_path "$bin")

# Without settings: log beside the program, exit 0 at once.
(cd "$work" && run "$bin/javaw.exe" -Xmx96m -classpath 'a b.jar;c.jar' com.zor.ledgrix.Tabex)
expect_eq "stand-in without settings: exit" 0 "$?"
record=$(cat "$bin/javaw-standin.log" 2>/dev/null)
expect_eq "stand-in record without settings" "argc=5
argv[0]=$win_bin\\javaw.exe
argv[1]=-Xmx96m
argv[2]=-classpath
argv[3]=a b.jar;c.jar
argv[4]=com.zor.ledgrix.Tabex
cwd=$(windows_path "$work")
console=no
module=$win_bin\\javaw.exe
end" "$(grep -v -e '^begin ' -e '^command_line=' <<<"$record")"
[[ $record == begin\ [0-9]* ]] || fail "record starts with begin <pid>"
case $(grep '^command_line=' <<<"$record") in
*' -Xmx96m -classpath "a b.jar;c.jar" com.zor.ledgrix.Tabex') ;;
*) fail "command_line holds the arguments as received" ;;
esac

# With settings: the record is complete while the stand-in still waits.
log="$scratch/journal.log"
printf 'log=%s\nrelease=%s\nexit_code=7\nlist_dir=%s\nenv=LEDGRIX_SELFTEST_MARK\nenv=LEDGRIX_SELFTEST_UNSET\n' \
    "$(windows_path "$log")" "$(windows_path "$scratch/release")" "$(windows_path "$incoming")" \
    >"$bin/javaw-standin.ini"
(cd "$work" && LEDGRIX_SELFTEST_MARK='Ω 1' run "$bin/javaw.exe" first) &
standin_pid=$!
deadline=$((SECONDS + 60))
until grep -qx end "$log" 2>/dev/null || [ $SECONDS -ge $deadline ]; do sleep 0.02; done
kill -0 "$standin_pid" 2>/dev/null || fail "stand-in waits for the release file"
expect_eq "stand-in record with settings" "env[LEDGRIX_SELFTEST_MARK]=Ω 1
env_unset=LEDGRIX_SELFTEST_UNSET
list_dir_exists=yes
incoming_count=4
incoming=A.ofx
incoming=b.qif
incoming=sub\\
incoming=ж.ofx
end" "$(sed -n '/^module=/,$p' "$log" | tail -n +2)"
touch "$scratch/release"
wait "$standin_pid"
expect_eq "stand-in exit code after release" 7 "$?"

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all helper checks passed"
