#!/usr/bin/env bash
# The MDI demonstration under Xvfb, without and with a compositing manager:
# the layered border exists only with one (four more top-level windows per
# skinned form), the tabs and tiled children are where the layout says, and
# Alt+F4 ends the program with status 0. Skipped (77) without xvfb-run,
# xauth, xdotool or xwininfo; the compositor run is skipped without
# xcompmgr.
# The photographs are checked against the demonstration's expectations
# (skin_shot_check beside DEMO); with the compositor the right border window
# is dragged by 40 pixels.
# Usage: e2e-mdi.sh DEMO SCREENSHOT OUTDIR
set -uo pipefail
for tool in xvfb-run xauth xdotool xwininfo; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
demo=$1 screenshot=$2 outdir=$3
check=$(dirname "$demo")/skin_shot_check
here=$(cd "$(dirname "$0")" && pwd)
status=0
count_windows() { xwininfo -root -children | grep -c '^ *0x'; }

run() { # MODE OUT
    local mode=$1 out=$2
    rm -rf "$out"
    mkdir -p "$out"
    xvfb-run -a -s "-screen 0 1600x1000x24 +extension Composite" bash -c '
        mode=$1 demo=$2 shot=$3 out=$4 check=$5
        if [[ $mode == comp ]]; then xcompmgr -n & cpid=$!; sleep 1; fi
        before=$(xwininfo -root -children | grep -c "^ *0x")
        mkfifo "$out/pipe"
        timeout 60 "$demo" "$out" >"$out/pipe" 2>"$out/stderr.txt" &
        pid=$!
        exec 3<"$out/pipe"
        read -r -t 40 -u 3 line
        [[ $line == ready ]] || { echo "FAIL: $mode: the demonstration did not start"; exit 1; }
        sleep 1
        "$shot" "$out/shot.png"
        after=$(xwininfo -root -children | grep -c "^ *0x")
        echo "$((after - before))" >"$out/windows.txt"
        "$check" "$out/shot.png" "$out/expect.txt" >"$out/check.txt"
        if [[ $mode == comp ]]; then
            # Drag the right border window by 40 pixels: the form widens by 40.
            read -r _ _ l t w h < <(grep "^form Main " "$out/layout.txt")
            x=$((l + w + 2)) y=$((t + h / 2))
            xdotool mousemove $x $y sleep 0.3 mousedown 1 mousemove $((x + 20)) $y \
                sleep 0.2 mousemove $((x + 40)) $y sleep 0.2 mouseup 1
            sleep 1
            main=$(xdotool search --name "^Main\$" | head -1)
            eval "$(xdotool getwindowgeometry --shell "$main")"
            echo "$WIDTH" >"$out/dragged-width.txt"
            "$shot" "$out/dragged.png"
        fi
        xdotool key --clearmodifiers alt+F4
        wait $pid
        echo "$?" >"$out/status.txt"
        [[ -n ${cpid:-} ]] && kill $cpid
        exit 0' _ "$mode" "$demo" "$screenshot" "$out" "$check" || return 1
    [[ $(cat "$out/status.txt") == 0 ]] || { echo "FAIL: $mode: exit status $(cat "$out/status.txt")"; return 1; }
    if grep -v 'QStandardPaths' "$out/stderr.txt" | grep -q .; then
        echo "FAIL: $mode: stderr not empty"; return 1
    fi
    # The photograph: frames, tabs and (with the border) its blend.
    if [[ -s "$out/check.txt" ]]; then
        sed "s/^/$mode: /" "$out/check.txt"
        return 1
    fi
    # Four tabs side by side, 100 wide, in the tab row.
    [[ $(grep -c '^tab ' "$out/layout.txt") == 4 ]] || { echo "FAIL: $mode: tabs"; return 1; }
    return 0
}

run plain "$outdir/plain" || status=1
if [[ -f "$outdir/plain/layout.txt" ]]; then
    grep -q '^border 0' "$outdir/plain/layout.txt" || { echo "FAIL: a border without compositor"; status=1; }
    grep -q '^panel 1' "$outdir/plain/layout.txt" || { echo "FAIL: no inactive panel"; status=1; }
fi
if command -v xcompmgr >/dev/null; then
    run comp "$outdir/comp" || status=1
    if [[ -f "$outdir/comp/layout.txt" ]]; then
        grep -q '^border 1' "$outdir/comp/layout.txt" || { echo "FAIL: no border with compositor"; status=1; }
        plain=$(cat "$outdir/plain/windows.txt" 2>/dev/null || echo 0)
        comp=$(cat "$outdir/comp/windows.txt" 2>/dev/null || echo 0)
        # xcompmgr adds none of its own; each skinned form gets four.
        [[ $((comp - plain)) -ge 8 ]] || { echo "FAIL: border windows: $plain without, $comp with"; status=1; }
        width=$(grep "^form Main " "$outdir/comp/layout.txt" | cut -d" " -f5)
        dragged=$(cat "$outdir/comp/dragged-width.txt" 2>/dev/null)
        [[ "$dragged" == $((width + 40)) ]] || { echo "FAIL: border drag: width $dragged, expected $((width + 40))"; status=1; }
    fi
else
    echo "compositor run skipped: xcompmgr is missing"
fi
exit $status
