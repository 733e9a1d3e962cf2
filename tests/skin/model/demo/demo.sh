#!/usr/bin/env bash
# Runs inside xvfb-run: writes the test skin, starts the skin data demo and
# photographs the screen after each of its steps.
# Usage: demo.sh BUILD OUTDIR
set -euo pipefail
build=$1 out=$2
mkdir -p "$out"
"$build/tests/make-test-skin" "$out" >/dev/null
mkfifo "$out/pipe"
timeout 300 "$build/tests/skin_data_demo" "$out" >"$out/pipe" 2>"$out/stderr.txt" &
pid=$!
exec 3<"$out/pipe"
n=0
while read -r -t 120 -u 3 line; do
    echo "$line"
    "$build/bin/screenshot" "$out/step-$n.png"
    n=$((n + 1))
    [[ $n -ge 5 ]] && break
    touch "$out/go-$n"
done
touch "$out/quit"
wait "$pid"
