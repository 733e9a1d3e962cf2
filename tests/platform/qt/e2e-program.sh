#!/usr/bin/env bash
# Runs inside xvfb-run: starts the program, waits for its window, then either
# photographs the screen and closes the program with Alt+F4, or (with
# "lose-display") stops the X server under it, or (with "minimize") clicks
# the form's minimize button first, with no window manager to iconify it, or
# (with "minimize-wm") clicks it under openbox, records the window's state
# and brings it back with xdotool; records the exit status.
# Usage: e2e-program.sh PROGRAM SCREENSHOT OUTDIR [lose-display|minimize|minimize-wm]
set -uo pipefail
program=$1 screenshot=$2 out=$3 mode=${4:-close}
# shellcheck source=../../support/photograph.sh
source "$(dirname "$0")/../../support/photograph.sh"

if [[ "$mode" == minimize-wm ]]; then
    openbox --config-file "$(dirname "$0")/openbox-rc.xml" 2>/dev/null &
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
    if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
        echo openbox >"$out/unavailable.txt"
        exit 0
    fi
fi

timeout 120 "$program" 2>"$out/stderr.txt" &
pid=$!
if timeout 60 xdotool search --sync --onlyvisible --name '^Ostrela$' >"$out/window.txt"; then
    if [[ "$mode" == lose-display ]]; then
        # The lock file of the display names the server's process.
        kill "$(tr -d ' ' <"/tmp/.X${DISPLAY#:}-lock")"
    elif [[ "$mode" == minimize* ]]; then
        # The skinned frame of the first start's skin: the minimize button
        # is the second from the right in the caption.
        sleep 1
        eval "$(xdotool getwindowgeometry --shell "$(head -1 "$out/window.txt")")"
        x=$((X + WIDTH - 43)) y=$((Y + 15))
        xdotool mousemove "$x" "$y" click 1
        sleep 1
        "$screenshot" "$out/screen.png"
        if [[ "$mode" == minimize-wm ]]; then
            xprop -id "$(head -1 "$out/window.txt")" WM_STATE >"$out/minimized.txt" 2>&1
            xdotool windowactivate --sync "$(head -1 "$out/window.txt")"
            sleep 0.5
            xprop -id "$(head -1 "$out/window.txt")" WM_STATE >"$out/restored.txt" 2>&1
        fi
        xdotool key alt+F4
        # A program that no longer answers is ended after a while.
        for _ in $(seq 100); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill "$pid" 2>/dev/null
    else
        # Mapped; the program paints on the expose that follows. Photograph
        # until two pictures in a row agree, so a busy machine that paints
        # late is waited for.
        sleep 1
        photograph_until_steady "$screenshot" "$out/screen.png"
        xdotool key alt+F4
    fi
fi
status=0
wait "$pid" || status=$?
echo "$status" >"$out/status.txt"
kill $(jobs -p) 2>/dev/null
wait 2>/dev/null
