#!/usr/bin/env bash
# Runs inside xvfb-run (no window manager): starts the menus demonstration
# for one look and scene, gives it the real keys and clicks of the scene,
# asks it for its state, photographs the screen and asks it to close.
# Usage: e2e-menus-demo.sh DEMO SCREENSHOT OUTDIR LOOK SCENE
#   LOOK: --plain, --test-skin or --stored N;
#   SCENE: bar, popup, hint, images, sysmenu, tray, or trayhost (the tray
#   scene with the tray host of $TRAY_HOST docking the icon at 100, 100:
#   its menu opened by a right click and its Restore item chosen)
set -uo pipefail
demo=$1 screenshot=$2 out=$3
shift 3
look=("$1")
if [[ "$1" == --stored ]]; then
    look+=("$2")
    shift
fi
scene=$2
demo_scene=$scene
[[ "$scene" == trayhost ]] && demo_scene=tray
mkdir -p "$out"
rm -f "$out/quit" "$out/dump" "$out/state.txt"

hostpid=
if [[ "$scene" == trayhost ]]; then
    mkfifo "$out/host.pipe"
    timeout 120 "${TRAY_HOST:?}" 100 100 >"$out/host.pipe" 2>"$out/host-stderr.txt" &
    hostpid=$!
    exec 4<"$out/host.pipe"
    if ! read -r -t 30 -u 4 line || [[ "$line" != ready ]]; then
        echo "the tray host did not start" >"$out/failed.txt"
        kill "$hostpid" 2>/dev/null
        exit 1
    fi
fi

mkfifo "$out/pipe"
timeout 120 "$demo" "$out" "${look[@]}" "$demo_scene" >"$out/pipe" 2>"$out/stderr.txt" &
pid=$!
exec 3<"$out/pipe"
if ! read -r -t 60 -u 3 line || [[ "$line" != ready ]]; then
    echo "the demonstration did not start" >"$out/failed.txt"
    kill "$pid" $hostpid 2>/dev/null
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
trayhost)
    docked=
    while read -r -t 30 -u 4 line; do
        [[ "$line" == docked ]] && docked=1 && break
    done
    [[ -n "$docked" ]] || echo "the icon was not docked" >"$out/failed.txt"
    sleep 0.5
    "$screenshot" "$out/docked.png"
    xdotool mousemove 112 112
    sleep 0.3
    xdotool click 3
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
elif [[ "$scene" == trayhost ]]; then
    # The tray menu's first item brings the form back.
    read -r x y w h < <(grep '^popup0item0 ' "$out/state.txt" | cut -d' ' -f2-)
    if [[ -n "${w:-}" ]]; then
        xdotool mousemove $((x + w / 2)) $((y + h / 2))
        sleep 0.3
        xdotool click 1
        sleep 0.8
    fi
    mv "$out/state.txt" "$out/state-open.txt"
    touch "$out/dump"
    read -r -t 30 -u 3 line
fi
touch "$out/quit"
status=0
wait "$pid" || status=$?
echo "$status" >"$out/status.txt"
[[ -n "$hostpid" ]] && kill "$hostpid" 2>/dev/null
exit 0
