#!/usr/bin/env bash
# Runs a Windows test program under Wine: run-wine.sh program.exe [args...]
#
# The prefix comes from LEDGRIX_WINEPREFIX, else WINEPREFIX, and must have been
# prepared with wine-env.sh setup: its server, services and desktop are then
# already running and do not pick up this program's stdout/stderr. The exit
# code, stdout and stderr are the program's own.
set -u

prefix=${LEDGRIX_WINEPREFIX:-${WINEPREFIX:-}}
if [ -z "$prefix" ]; then
    echo "run-wine.sh: set LEDGRIX_WINEPREFIX (or WINEPREFIX) to a prefix made by wine-env.sh setup" >&2
    exit 125
fi
if [ ! -f "$prefix/system.reg" ]; then
    echo "run-wine.sh: no Wine prefix at $prefix; run wine-env.sh setup $prefix first" >&2
    exit 125
fi
if [ $# -lt 1 ]; then
    echo "usage: run-wine.sh program.exe [args...]" >&2
    exit 125
fi

export WINEPREFIX=$prefix WINEDEBUG=-all
exec wine "$@" </dev/null
