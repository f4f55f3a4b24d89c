#!/usr/bin/env bash
# script/release with a throwaway certificate: its second build, in another
# folder, is byte for byte the first; the archive holds one folder named after
# the version, with what SHA256SUMS lists and the guide's pictures, and repacks
# to the same bytes; its launcher is signed, carries its icons, version and
# manifest, and starts Java under Wine with the sample boot file. A release
# deletes nothing it did not make, refuses a tree with uncommitted changes, and
# is built from the commit: files hidden from git status do not reach it.
#   release_test.sh SOURCE_DIR FIRST_BUILD_EXE VERSION WORK_DIR JAVAW_EXE
set -euo pipefail
src=$1 first=$2 version=$3 work=$4 javaw=$5
fail() { echo "release_test: $*" >&2; exit 1; }
win() { local p=${1//\//\\}; echo "Z:$p"; }
rm -rf "$work" && mkdir -p "$work/unpacked" "$work/install/bin" "$work/install/jre/bin" "$work/kept"
git clone -q "$src" "$work/clone"
: >"$work/kept/file"
"$work/clone/script/release" --build "$work/kept" 2>/dev/null && fail "released into a folder it did not make"
[ -f "$work/kept/file" ] || fail "deleted a folder it did not make"
echo >>"$work/clone/README.md"
"$work/clone/script/release" 2>/dev/null && fail "released a tree with uncommitted changes"
[ ! -e "$work/clone/build" ] || fail "a refused release built"
git -C "$work/clone" checkout -q README.md
echo '#error a file outside the commit was built' >"$work/clone/launcher/hidden.cpp"
echo launcher/hidden.cpp >>"$work/clone/.git/info/exclude"
echo 'changed outside the commit' >>"$work/clone/docs/packaging.md"
git -C "$work/clone" update-index --skip-worktree docs/packaging.md
"$work/clone/script/release" --dist "$work/clone-dist" >/dev/null || fail "the commit was not released"
python3 -m zipfile -e "$work/clone-dist/ledgrix-$version-windows-x64.zip" "$work/clone-unpacked"
cmp <(git -C "$work/clone" show HEAD:docs/packaging.md) "$work/clone-unpacked/ledgrix-$version/packaging.md" ||
  fail "a change hidden from git status was released"

openssl req -x509 -newkey rsa:2048 -nodes -subj "/CN=Ledgrix release test" -days 2 \
  -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -passout pass:test -out "$work/cert.p12"
export SOURCE_DATE_EPOCH=1700000000 LEDGRIX_SIGN_PKCS12=$work/cert.p12 LEDGRIX_SIGN_PASSWORD=test
"$src/script/release" --build "$work/second-build" --dist "$work/dist" --allow-dirty
version=$version-dirty
cmp "$first" "$work/second-build/ledgrix.exe" || fail "two builds of one commit differ"
python3 -m zipfile -e "$work/dist/ledgrix-$version-windows-x64.zip" "$work/unpacked"
top=$work/unpacked/ledgrix-$version
listed=$(cd "$work/unpacked" && find . -type f | sort | paste -sd ' ')
pictures=$(grep -o '(images/[^)]*)' "$top/packaging.md" | tr -d '()' | sort -u | sed "s|^|./ledgrix-$version/|")
expected=$(printf '%s\n' "./ledgrix-$version/"{SHA256SUMS,bin/ledgrix.exe,ledgrix.boot,packaging.md} $pictures | sort | paste -sd ' ')
[ "$listed" = "$expected" ] || fail "archive holds: $listed"
(cd "$top" && sha256sum --check --quiet SHA256SUMS) || fail "SHA256SUMS does not match"
[ "$(wc -l <"$top/SHA256SUMS")" -eq $(($(echo "$listed" | wc -w) - 1)) ] || fail "SHA256SUMS misses a file"
chmod 700 "$top/bin/ledgrix.exe"
python3 "$src/tools/release/make_archive.py" "$work/repacked.zip" "$work/unpacked"
cmp "$work/dist/ledgrix-$version-windows-x64.zip" "$work/repacked.zip" || fail "the archive depends on more than its files"

exe=$work/install/bin/ledgrix.exe
cp "$top/bin/ledgrix.exe" "$exe" && cp "$javaw" "$work/install/jre/bin/javaw.exe"
verified=$(osslsigncode verify -CAfile "$work/cert.pem" -in "$exe" 2>&1) && grep -q 'Message digest algorithm *: SHA256' <<<"$verified" ||
  fail "no valid SHA-256 signature"
osslsigncode remove-signature -in "$exe" -out "$work/unsigned.exe" >/dev/null
cmp "$first" "$work/unsigned.exe" || fail "the signed launcher is not the build with a signature added"
# The document icon group (eight images), the version record and a manifest, and nothing else.
resources=$(wrestool -l "$exe" | sed -E 's/--type=([0-9]+) --name=([0-9]+).*/\1:\2/' | paste -sd ' ')
[ "$resources" = "3:1 3:2 3:3 3:4 3:5 3:6 3:7 3:8 14:202 16:1 24:1" ] || fail "resources: $resources"
wrestool -x -t 14 -o "$work/icon.ico" "$exe"
icons=$(icotool -l "$work/icon.ico" | sed -E 's/.*width=([0-9]+).*bit-depth=([0-9]+).*/\1x\2/' | paste -sd ' ')
[ "$icons" = "256x8 128x8 64x8 256x32 48x32 32x32 24x32 16x32" ] || fail "icons: $icons"
{ cat "$top/ledgrix.boot"; printf 'install_dir=%s\r\njrehome=%s\r\n' "$(win "$work/install")" "$(win "$work/install/jre")"; } >"$work/install/ledgrix.boot"
timeout 120 "$src/script/run-wine.sh" "$(win "$exe")" || fail "the signed launcher ended with $?"
grep -q '|-Xms32m|.*lib\\ledgrix-app.jar' "$work/install/javaw.log" || fail "Java was not started with the sample's options and class path"
