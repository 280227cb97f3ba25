#!/bin/bash
# Takes the documentation's screenshots: runs the tests that show the windows on a virtual
# X server and photographs each window while its test waits (tests/support/Screenshot.h).
#   capture-screenshots.sh OUTPUT_FOLDER PREFIX FILTER COMMAND [ARGS...]
# e.g. capture-screenshots.sh docs/img linux '*ShowsItsLayout*' build/tests/ui/test_dialogs
# Run it through run-with-display.sh (which provides the X server).
set -euo pipefail
out="$1" prefix="$2" filter="$3"
shift 3
mkdir -p "$out"
markers="$(mktemp -d)"
trap 'rm -rf "$markers"' EXIT
RTD_SCREENSHOT_DIR="$markers" "$@" --gtest_filter="$filter" >/dev/null &
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
