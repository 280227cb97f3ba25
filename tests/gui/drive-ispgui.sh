#!/bin/bash
# The real ispgui program, driven as a person would through the X server with xdotool: type
# a firmware file's path into the file field, Tab to Write and press it, Tab to Erase and
# press it, then F5 for the next board. After each step the chip model's flash must hold
# what `isphost image convert` says the file programs (or be blank after the erase). The
# program runs in a private folder beside its plug-in, where it keeps the model's flash and
# its settings; those must name the file afterwards.
#   drive-ispgui.sh ISPGUI PLUGIN ISPHOST FIRMWARE [LOADER]
# LOADER runs ISPGUI and ISPHOST (the wine loader for the .exe files; the window is then
# closed with Alt+F4, which also makes the plug-in save its setting). Run it through
# run-with-display.sh.
set -euo pipefail
gui=$1 plugin=$2 isphost=$3 firmware=$4 loader=${5:-}
work=$(mktemp -d)
pid=
cleanup() {
    [[ -n $pid ]] && kill "$pid" 2>/dev/null
    [[ -n $loader ]] && "${WINESERVER:-wineserver}" -k 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "drive-ispgui: $*" >&2
    import -window root "$work/screen.png" 2>/dev/null && echo "screen: $work/screen.png" >&2
    trap - EXIT
    [[ -n $pid ]] && kill "$pid" 2>/dev/null
    exit 1
}

cp "$gui" "$plugin" "$work/"
name=$(basename "$firmware")
cp "$firmware" "$work/$name"
${loader:+"$loader"} "$isphost" image convert "$firmware" "$work/expected.bin" ||
    fail "isphost cannot convert $firmware"
head -c 131072 /dev/zero | tr '\0' '\377' >"$work/blank.bin"
cd "$work"
# wine opens Z:\... for the Unix path; the window opens at a known place.
path=$work/$name
[[ -n $loader ]] && path="Z:${path//\//\\}"
printf '[ispgui]\r\nLeft=60\r\nTop=60\r\n' >ispgui.ini

# wait_for WHAT SECONDS COMMAND...: polls until COMMAND succeeds.
wait_for() {
    local what=$1 tenths=$(($2 * 10))
    shift 2
    for ((i = 0; i < tenths; ++i)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "no $what after $((tenths / 10)) s"
}

${loader:+"$loader"} "./$(basename "$gui")" --no-confirm >"$work/out.log" 2>&1 &
pid=$!
wait_for "window" 60 xdotool search --onlyvisible --name '^RTD2120 programmer$'
window=$(xdotool search --onlyvisible --name '^RTD2120 programmer$' | head -1)
sleep 1 # the first drawing
# The file field has the focus. Without a window manager to hand it the X input focus
# when clicked, the script does (wine's virtual desktop takes the keys under the pointer).
xdotool mousemove --window "$window" 300 200
[[ -n $loader ]] || xdotool windowfocus --sync "$window"
xdotool type --delay 10 "$path"

xdotool key Tab Tab Tab space # Browse..., Bus, Write
wait_for "written chip" 30 cmp -s sim-flash.bin expected.bin
xdotool key Tab Tab space # Verify, Erase (not asked: --no-confirm)
wait_for "erased chip" 30 cmp -s sim-flash.bin blank.bin
xdotool key F5 # Write again, the next board
wait_for "chip written again" 30 cmp -s sim-flash.bin expected.bin

grep -qF "File=$path" ispgui.ini ||
    fail "ispgui.ini does not name the file: $(cat ispgui.ini)"
if [[ -n $loader ]]; then
    xdotool key alt+F4
    wait_for "exit after Alt+F4" 30 bash -c "! kill -0 $pid"
    wait "$pid" || fail "ispgui exited with status $?"
    pid=
    grep -q AUTOFIRESECOND Torvan.ini || fail "the plug-in did not save its setting on unload"
fi
[[ ! -s out.log ]] || fail "ispgui wrote: $(cat out.log)"
echo "drive-ispgui: written, erased and written again through the window"
