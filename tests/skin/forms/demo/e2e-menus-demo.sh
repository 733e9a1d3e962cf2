#!/usr/bin/env bash
# Runs inside xvfb-run (no window manager): starts the menus demonstration
# for one look and scene, gives it the real keys and clicks of the scene,
# asks it for its state, photographs the screen and asks it to close.
# Usage: e2e-menus-demo.sh DEMO SCREENSHOT OUTDIR LOOK SCENE
#   LOOK: --plain or --test-skin; SCENE: bar, popup, hint, images, sysmenu, tray
set -uo pipefail
demo=$1 screenshot=$2 out=$3 look=$4 scene=$5
mkdir -p "$out"
rm -f "$out/quit" "$out/dump" "$out/state.txt"

mkfifo "$out/pipe"
timeout 120 "$demo" "$out" "$look" "$scene" >"$out/pipe" 2>"$out/stderr.txt" &
pid=$!
exec 3<"$out/pipe"
if ! read -r -t 60 -u 3 line || [[ "$line" != ready ]]; then
    echo "the demonstration did not start" >"$out/failed.txt"
    kill "$pid" 2>/dev/null
    exit 1
fi

field() { grep "^$1 " "$out/layout.txt" | head -1 | cut -d' ' -f2-; }
centre_of() {
    local x y w h
    read -r x y w h < <(field "$1")
    echo "$((x + w / 2)) $((y + h / 2))"
}
# The form's window gets the keyboard: a click into its empty client area.
focus_form() {
    local x y w h
    read -r x y w h < <(field form)
    xdotool mousemove $((x + w - 40)) $((y + h - 40)) click 1
    sleep 0.3
}

case "$scene" in
bar)
    focus_form
    # Back into the edit, so the test can see the popups never took the focus.
    xdotool mousemove $(centre_of edit) click 1
    sleep 0.2
    xdotool key F10
    sleep 0.2
    xdotool key Down
    sleep 0.3
    xdotool key Right
    ;;
popup)
    xdotool mousemove $(centre_of popupbutton) click 3
    ;;
sysmenu)
    focus_form
    xdotool key alt+space
    ;;
*) ;;
esac
sleep 0.8
touch "$out/dump"
read -r -t 30 -u 3 line
"$screenshot" "$out/$scene.png"
if [[ "$scene" == bar ]]; then
    # Escape twice closes the menu and leaves main menu mode.
    xdotool key Escape
    sleep 0.2
    xdotool key Escape
    sleep 0.3
    mv "$out/state.txt" "$out/state-open.txt"
    touch "$out/dump"
    read -r -t 30 -u 3 line
fi
touch "$out/quit"
status=0
wait "$pid" || status=$?
echo "$status" >"$out/status.txt"
