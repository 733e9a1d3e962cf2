#!/usr/bin/env bash
# Runs inside xvfb-run: starts the controls demo, photographs the screen once
# it says it is ready, clicks its popup, drags the form by its caption,
# closes it with Alt+F4 and records what it printed and its exit status.
# Usage: e2e-demo.sh DEMO SCREENSHOT OUTDIR
set -uo pipefail
demo=$1 screenshot=$2 out=$3

mkfifo "$out/pipe"
timeout 120 "$demo" "$out" >"$out/pipe" 2>"$out/stderr.txt" &
pid=$!
exec 3<"$out/pipe"
if read -r -t 60 -u 3 line && [[ "$line" == ready ]]; then
    echo "$line" >>"$out/output.txt"
    "$screenshot" "$out/screen.png"
    read -r _ x y w h < <(grep '^popup ' "$out/layout.txt")
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
    if read -r -t 30 -u 3 line; then
        echo "$line" >>"$out/output.txt"
    fi
    # Drag the form by its caption, away from the popup.
    read -r _ x y w h < <(grep '^form ' "$out/layout.txt")
    xdotool mousemove $((x + 60)) $((y + 10)) mousedown 1 \
        mousemove $((x + 100)) $((y + 30)) mousemove $((x + 160)) $((y + 60)) mouseup 1
    if read -r -t 30 -u 3 line; then
        echo "$line" >>"$out/output.txt"
    fi
    xdotool key alt+F4
fi
status=0
wait "$pid" || status=$?
if ((status != 0)); then
    { echo "DISPLAY=$DISPLAY"; ls -la /tmp/.X11-unix; cat /tmp/.X${DISPLAY#:}-lock; } >>"$out/stderr.txt" 2>&1
fi
echo "$status" >"$out/status.txt"
