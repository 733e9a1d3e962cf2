#!/usr/bin/env bash
# Runs inside xvfb-run: starts the program, waits for its window,
# photographs the screen, closes the program with Alt+F4 and records its
# exit status. Usage: e2e-program.sh PROGRAM SCREENSHOT OUTDIR
set -uo pipefail
program=$1 screenshot=$2 out=$3

timeout 120 "$program" 2>"$out/stderr.txt" &
pid=$!
if timeout 60 xdotool search --sync --onlyvisible --name '^Ostrela$' >"$out/window.txt"; then
    # Mapped; the program paints on the expose that follows.
    sleep 1
    "$screenshot" "$out/screen.png"
    xdotool key alt+F4
fi
status=0
wait "$pid" || status=$?
echo "$status" >"$out/status.txt"
