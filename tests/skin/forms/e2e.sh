#!/usr/bin/env bash
# The skinned form's end-to-end test: the demonstration under Xvfb with each
# of the eleven stored skins. Skipped (77) without xvfb-run, xauth or xdotool.
# Usage: e2e.sh DEMO SCREENSHOT OUTDIR
set -uo pipefail
for tool in xvfb-run xauth xdotool xwininfo xdpyinfo; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
here=$(cd "$(dirname "$0")" && pwd)
status=0
for index in 0 1 2 3 4 5 6 7 8 9 10; do
    out="$3/skin-$index"
    rm -rf "$out"
    mkdir -p "$out"
    if ! xvfb-run -a -s "-screen 0 1600x1000x24" "$here/e2e-form.sh" "$1" "$2" "$out" "$index"; then
        echo "stored skin $index failed"
        status=1
    fi
done
exit $status
