#!/bin/bash
# Takes the documentation's screenshots of the About and Setup dialogs: runs the dialog
# tests on a virtual X server and photographs each dialog while it waits.
#   capture-dialogs.sh OUTPUT_FOLDER PREFIX COMMAND [ARGS...]
# e.g. capture-dialogs.sh docs/img linux build/tests/ui/test_dialogs
# Run it through run-with-display.sh (which provides the X server).
set -euo pipefail
out="$1" prefix="$2"
shift 2
mkdir -p "$out"
markers="$(mktemp -d)"
trap 'rm -rf "$markers"' EXIT
RTD_SCREENSHOT_DIR="$markers" "$@" --gtest_filter='*ShowsItsLayout*' >/dev/null &
pid=$!
while kill -0 "$pid" 2>/dev/null; do
    for marker in "$markers"/*.ready; do
        [ -e "$marker" ] || continue
        name="$(basename "$marker" .ready)"
        read -r x y w h <"$marker"
        sleep 0.5 # let the last drawing reach the X server
        import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/$prefix-$name.png"
        rm -f "$marker"
    done
    sleep 0.1
done
wait "$pid"
