#!/bin/bash
# Runs a command on a virtual X server, so the dialogs can be shown without a real
# display. With --wine-prefix PREFIX, wine runs in that prefix of its own, set to a wine
# virtual desktop (without one, wine waits for a window manager that is not there on
# every window it maps and unmaps). The prefix is made on first use, with COMMAND as the
# wine loader; with --loader LOADER, with that one (when COMMAND is a script that runs wine).
#   run-with-display.sh [--wine-prefix PREFIX [--loader LOADER]] COMMAND [ARGS...]
set -euo pipefail
if [ "${1:-}" = "--wine-prefix" ]; then
    export WINEPREFIX="$2"
    export WINEDEBUG="${WINEDEBUG:--all}"
    # No prompts to install wine's .NET and HTML engines when the prefix is made.
    export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
    shift 2
    loader="$1"
    if [ "${1:-}" = "--loader" ]; then
        loader="$2"
        shift 2
    fi
    if [ ! -f "$WINEPREFIX/.rtd-virtual-desktop" ]; then
        mkdir -p "$WINEPREFIX"
        "$loader" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
        "$loader" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f \
            >/dev/null 2>&1
        "${WINESERVER:-wineserver}" -w
        touch "$WINEPREFIX/.rtd-virtual-desktop"
    fi
fi
exec xvfb-run -a -s "-screen 0 1024x768x24" "$@"
