#!/usr/bin/env bash
# Wine prefix for the end-to-end tests.
#
#   wine-env.sh setup PREFIX      create PREFIX if needed, start its server and desktop
#   wine-env.sh teardown PREFIX   stop everything running in PREFIX
#
# Sourcing the file only defines ledgrix_wine_setup and ledgrix_wine_teardown.
#
# Every Wine process started here has stdin/stdout/stderr on /dev/null: Wine's
# services and the desktop process (explorer) outlive the process that started
# them and keep its descriptors, so a test runner reading a pipe would wait for
# them. For the same reason setup leaves a desktop user (notepad) running: the
# server closes the desktop one second after its last user leaves, and the next
# program that opens a window would restart explorer with its own stdout/stderr.

ledgrix_wine_quiet() {
    WINEPREFIX=$LEDGRIX_SETUP_PREFIX WINEDEBUG=-all "$@" </dev/null >/dev/null 2>&1
}

# Processes of this prefix whose command line contains $1 (Wine shows the
# Windows path as the command line, e.g. C:\windows\notepad.exe).
ledgrix_wine_pids() {
    local pid
    for pid in /proc/[0-9]*; do
        pid=${pid#/proc/}
        tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qFx "WINEPREFIX=$LEDGRIX_SETUP_PREFIX" || continue
        tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline" | grep -qiF -- "$1" && echo "$pid"
    done
    return 0
}

ledgrix_wine_wait_for() {
    local what=$1 deadline=$((SECONDS + 120))
    until [ -n "$(ledgrix_wine_pids "$what")" ]; do
        if [ $SECONDS -ge $deadline ]; then
            echo "wine-env.sh: $what did not start in $LEDGRIX_SETUP_PREFIX" >&2
            return 1
        fi
        sleep 0.05
    done
}

ledgrix_wine_setup() {
    local prefix=${1:-}
    [ -n "$prefix" ] || { echo "usage: wine-env.sh setup PREFIX" >&2; return 2; }
    case $prefix in /*) ;; *) prefix=$PWD/$prefix ;; esac
    LEDGRIX_SETUP_PREFIX=$prefix

    if [ ! -f "$prefix/system.reg" ] || [ ! -f "$prefix/.ledgrix-ready" ]; then
        mkdir -p "$prefix" || return 1
        ledgrix_wine_quiet wineserver -p || true
        ledgrix_wine_quiet wineboot -i || { echo "wine-env.sh: wineboot -i failed in $prefix" >&2; return 1; }
        # On a loaded machine the first reg.exe can fail while the new prefix
        # settles; a few tries make the setup dependable.
        local try
        for try in 1 2 3 4 5; do
            ledgrix_wine_quiet wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f && break
            if [ "$try" -eq 5 ]; then
                echo "wine-env.sh: could not select the null graphics driver" >&2
                return 1
            fi
            sleep 1
        done
        # The desktop started by wineboot predates the driver setting.
        ledgrix_wine_quiet wineserver -k || true
        ledgrix_wine_quiet wineserver -w || true
        : >"$prefix/.ledgrix-ready"
    fi

    # The tests' folders are named by process id, which a new server reuses:
    # none may outlive the run that made it.
    rm -rf "$prefix/drive_c/ledgrix-tests"
    # Application data for a user whose incoming folder is on another file
    # system (a tmpfs), as when it is redirected to another volume.
    local system="$prefix/drive_c/ledgrix-second-volume/App Data д/.ledgrix/system"
    local volume
    volume=/dev/shm/ledgrix-$(printf %s "$prefix" | md5sum | cut -c1-16)
    rm -rf "$volume" "$prefix/drive_c/ledgrix-second-volume"
    mkdir -p "$volume" "$system" && ln -s "$volume" "$system/incoming" || return 1

    # A second -p on a running server is refused harmlessly.
    ledgrix_wine_quiet wineserver -p || true
    if [ -z "$(ledgrix_wine_pids 'notepad.exe')" ]; then
        # Redirected on the background job itself: a backgrounded function
        # would leave a subshell holding the caller's stdout until notepad ends.
        WINEPREFIX=$prefix WINEDEBUG=-all wine notepad.exe </dev/null >/dev/null 2>&1 &
        ledgrix_wine_wait_for 'notepad.exe' || return 1
    fi
    # Opening a window makes sure explorer runs before any test does; notepad
    # keeps it running from then on.
    ledgrix_wine_quiet wine rundll32.exe user32.dll,GetDesktopWindow || true
    ledgrix_wine_wait_for 'explorer.exe /desktop' || return 1
}

ledgrix_wine_teardown() {
    local prefix=${1:-}
    [ -n "$prefix" ] || { echo "usage: wine-env.sh teardown PREFIX" >&2; return 2; }
    case $prefix in /*) ;; *) prefix=$PWD/$prefix ;; esac
    LEDGRIX_SETUP_PREFIX=$prefix
    [ -d "$prefix" ] || return 0
    ledgrix_wine_quiet wineserver -k || true
    ledgrix_wine_quiet wineserver -w || true
    rm -rf "/dev/shm/ledgrix-$(printf %s "$prefix" | md5sum | cut -c1-16)"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    set -u
    case ${1:-} in
    setup) ledgrix_wine_setup "${2:-}" ;;
    teardown) ledgrix_wine_teardown "${2:-}" ;;
    *)
        echo "usage: $0 setup|teardown PREFIX" >&2
        exit 2
        ;;
    esac
fi
