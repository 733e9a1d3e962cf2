#!/usr/bin/env bash
# Runs inside xvfb-run: optionally starts a compositor, then the effects
# demo in its desktop mode; photographs the screen once the demo says it is
# ready, closes it with Alt+F4 and records what it printed and its status.
# Usage: e2e-effects.sh DEMO SCREENSHOT OUTDIR [compositor]
set -uo pipefail
demo=$1 screenshot=$2 out=$3 mode=${4:-}

if [[ "$mode" == compositor ]]; then
    xcompmgr >"$out/xcompmgr.txt" 2>&1 &
    compositor=$!
    sleep 1
    if ! kill -0 "$compositor" 2>/dev/null; then
        echo "no compositor" >"$out/compositor.txt"
        exit 0
    fi
    echo "compositor" >"$out/compositor.txt"
fi

mkfifo "$out/pipe"
timeout 120 "$demo" --window >"$out/pipe" 2>"$out/stderr.txt" &
pid=$!
exec 3<"$out/pipe"
while read -r -t 60 -u 3 line; do
    echo "$line" >>"$out/output.txt"
    if [[ "$line" == ready ]]; then
        # Let the last frame reach the screen.
        sleep 0.5
        "$screenshot" "$out/screen.png"
        xdotool key alt+F4
    fi
done
status=0
wait "$pid" || status=$?
echo "$status" >"$out/status.txt"
if [[ -n "${compositor:-}" ]]; then
    kill "$compositor" 2>/dev/null
fi
exit 0
