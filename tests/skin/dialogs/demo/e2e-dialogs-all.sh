#!/usr/bin/env bash
# The skinned dialogs demo photographed in the plain look, the test skin and
# stored skin 4, each on a virtual screen of its own. Fails when a look does
# not show all four scenes or the program does not end well. Skipped (77)
# without xvfb-run, xauth or xdotool.
# Usage: e2e-dialogs-all.sh DEMO SCREENSHOT OUTDIR
set -uo pipefail
for tool in xvfb-run xauth xdotool; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
here=$(cd "$(dirname "$0")" && pwd)
status=0
for look in plain test-skin "stored 4"; do
    out="$3/${look// /}"
    rm -rf "$out"
    mkdir -p "$out"
    # shellcheck disable=SC2086
    xvfb-run -a -s "-screen 0 640x400x24" "$here/e2e-dialogs-demo.sh" "$1" "$2" "$out" --$look
    scenes=$(wc -l <"$out/scenes.txt" 2>/dev/null || echo 0)
    if [[ "$(cat "$out/status.txt" 2>/dev/null)" != 0 || "$scenes" != 4 ]]; then
        echo "FAIL: $look: status $(cat "$out/status.txt" 2>/dev/null), $scenes scenes"
        status=1
    fi
    for scene in notice question select-skin select-skin-row5 browser; do
        [[ -s "$out/$scene.png" ]] || { echo "FAIL: $look: no photograph of $scene"; status=1; }
    done
done
exit $status
