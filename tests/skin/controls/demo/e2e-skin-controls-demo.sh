#!/usr/bin/env bash
# Runs inside xvfb-run: starts the skinned controls demo, photographs the
# screen once it says it is ready (with the pointer resting where the demo's
# pointer.txt says, when it writes one), asks for the stored skin and photographs
# it again, then asks it to close and records its
# exit status. Usage: e2e-skin-controls-demo.sh DEMO SCREENSHOT OUTDIR
set -uo pipefail
demo=$1 screenshot=$2 out=$3

mkfifo "$out/pipe"
timeout 120 "$demo" "$out" >"$out/pipe" 2>"$out/stderr.txt" &
pid=$!
exec 3<"$out/pipe"
if read -r -t 60 -u 3 line && [[ "$line" == ready ]]; then
    echo "$line" >>"$out/output.txt"
    # A demo that names a point in pointer.txt wants the pointer resting
    # there (a control in its hot look) before the photograph.
    if [[ -f "$out/pointer.txt" ]]; then
        read -r px py <"$out/pointer.txt"
        timeout 10 xdotool mousemove "$px" "$py"
        sleep 1
    fi
    "$screenshot" "$out/screen.png"
    touch "$out/next"
    if read -r -t 60 -u 3 line && [[ "$line" == ready ]]; then
        echo "$line" >>"$out/output.txt"
        "$screenshot" "$out/screen-stored.png"
    fi
fi
touch "$out/quit"
status=0
wait "$pid" || status=$?
echo "$status" >"$out/status.txt"
