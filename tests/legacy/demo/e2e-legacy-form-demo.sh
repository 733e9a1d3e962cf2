#!/usr/bin/env bash
# Runs inside xvfb-run: starts the legacy form demo and photographs each of
# its six states as it reports them ready, then asks it to close and records
# its exit status. Usage: e2e-legacy-form-demo.sh DEMO SCREENSHOT OUTDIR
set -uo pipefail
demo=$1 screenshot=$2 out=$3

mkfifo "$out/pipe"
timeout 240 "$demo" "$out" >"$out/pipe" 2>"$out/stderr.txt" &
pid=$!
exec 3<"$out/pipe"
for state in 0 1 2 3 4 5; do
    read -r -t 60 -u 3 line && [[ "$line" == ready ]] || break
    echo "$line" >>"$out/output.txt"
    "$screenshot" "$out/screen-$state.png"
    touch "$out/next-$state"
done
touch "$out/quit"
status=0
wait "$pid" || status=$?
echo "$status" >"$out/status.txt"
