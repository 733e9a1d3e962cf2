#!/usr/bin/env bash
# Runs inside xvfb-run: starts the lists demo, photographs the screen once it
# says it is ready, then asks it to close and records its exit status.
# Usage: e2e-lists-demo.sh DEMO SCREENSHOT OUTDIR [SKIN.ini | stored:N]; without
# the fourth argument the skin is read from OUTDIR/skin-argument when that file is not empty.
set -uo pipefail
demo=$1 screenshot=$2 out=$3 skin=${4:-}
if [[ -z "$skin" && -s "$out/skin-argument" ]]; then
    skin=$(<"$out/skin-argument")
fi

mkfifo "$out/pipe"
timeout 120 "$demo" "$out" $skin >"$out/pipe" 2>"$out/stderr.txt" &
pid=$!
exec 3<"$out/pipe"
if read -r -t 60 -u 3 line && [[ "$line" == ready ]]; then
    echo "$line" >>"$out/output.txt"
    "$screenshot" "$out/screen.png"
fi
touch "$out/quit"
status=0
wait "$pid" || status=$?
echo "$status" >"$out/status.txt"
