#!/usr/bin/env bash
# Runs inside xvfb-run: starts the skinned dialogs demo in one look,
# photographs each scene once it says it is ready (the skin chooser twice:
# as it opens and after a click on its sixth row), writes each scene's
# dialog rectangle to OUTDIR/scenes.txt and moves on by touching
# OUTDIR/next. Usage: e2e-dialogs-demo.sh DEMO SCREENSHOT OUTDIR [LOOK...];
# without LOOK the look's arguments are read from OUTDIR/look.
set -uo pipefail
demo=$1 screenshot=$2 out=$3
shift 3
if (($# == 0)); then
    read -ra look <"$out/look"
    set -- "${look[@]}"
fi
mkdir -p "$out"
rm -f "$out/pipe" "$out/next" "$out/scenes.txt"
mkfifo "$out/pipe"
timeout 120 "$demo" "$out" "$@" >"$out/pipe" 2>"$out/stderr.txt" &
pid=$!
exec 3<"$out/pipe"
while read -r -t 60 -u 3 word scene left top width height; do
    [[ "$word" == ready ]] || break
    echo "$scene $left $top $width $height" >>"$out/scenes.txt"
    "$screenshot" "$out/$scene.png"
    if [[ "$scene" == select-skin ]]; then
        # Row 5 of the list: the list sits at (10, 10) of the client area,
        # below the frame; rows are about 20 pixels high.
        frame_top=$((height - 240 - (width - 420) / 2))
        ((frame_top < 0)) && frame_top=0
        xdotool mousemove $((left + 40)) $((top + frame_top + 10 + 5 * 20 + 10)) click 1
        sleep 0.5
        "$screenshot" "$out/$scene-row5.png"
    fi
    touch "$out/next"
done
status=0
wait "$pid" || status=$?
echo "$status" >"$out/status.txt"
exit "$status"
