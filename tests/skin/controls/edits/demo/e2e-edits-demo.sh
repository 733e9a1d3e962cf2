#!/usr/bin/env bash
# Runs inside xvfb-run: starts the edits demo, photographs the screen once it
# says it is ready (the pointer resting where its pointer.txt says), then asks it to close and records its exit status.
# Usage: e2e-edits-demo.sh DEMO SCREENSHOT OUTDIR [SKIN.ini]
set -uo pipefail
demo=$1 screenshot=$2 out=$3 skin=${4:-}

mkfifo "$out/pipe"
timeout 120 "$demo" "$out" $skin >"$out/pipe" 2>"$out/stderr.txt" &
pid=$!
exec 3<"$out/pipe"
if read -r -t 60 -u 3 line && [[ "$line" == ready ]]; then
    echo "$line" >>"$out/output.txt"
    # The demo names the point where the pointer rests for the photograph.
    if [[ -f "$out/pointer.txt" ]]; then
        read -r px py <"$out/pointer.txt"
        timeout 10 xdotool mousemove "$px" "$py"
        sleep 1
    fi
    "$screenshot" "$out/screen.png"
fi
touch "$out/quit"
status=0
wait "$pid" || status=$?
echo "$status" >"$out/status.txt"
