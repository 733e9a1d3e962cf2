#!/usr/bin/env bash
# Runs inside xvfb-run (no window manager, no compositor): starts the
# skinned form demonstration, photographs it, moves, maximizes, restores,
# rolls up and minimizes forms by their skinned frames, checks each form's
# screen rectangle, counts the top-level windows and closes the program with
# Alt+F4. Prints one line per failed check and exits 1 when any failed.
# Usage: e2e-form.sh DEMO SCREENSHOT OUTDIR STORED-INDEX (skin_shot_check beside DEMO)
set -uo pipefail
demo=$1 screenshot=$2 out=$3 index=$4
mkdir -p "$out"
failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}

mkfifo "$out/pipe"
timeout 120 "$demo" "$out" "$index" >"$out/pipe" 2>"$out/stderr.txt" &
pid=$!
exec 3<"$out/pipe"
if ! read -r -t 60 -u 3 line || [[ "$line" != ready ]]; then
    echo "FAIL: the demonstration did not start"
    kill "$pid" 2>/dev/null
    exit 1
fi
"$screenshot" "$out/0-start.png"
# The frames as painted, the test skin's named colours, the plain look's
# rings, stripes and caption text (the demonstration wrote where and what).
check=$(dirname "$demo")/skin_shot_check
"$check" "$out/0-start.png" "$out/expect.txt" || fail "the first photograph (above)"

field() { grep "^$* " "$out/layout.txt" | head -1; }
# The X window whose geometry is X Y W H.
window_at() {
    for w in $(xdotool search --name 'Skinned form' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        if [[ "$X $Y $WIDTH $HEIGHT" == "$1 $2 $3 $4" ]]; then
            echo "$w"
            return
        fi
    done
}
geometry() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    echo "$X $Y $WIDTH $HEIGHT"
}
# Waits up to five seconds for the window to reach the geometry, so a busy
# machine only makes the test slower, never wrong.
expect_geometry() {
    local got tries=0
    got=$(geometry "$1")
    while [[ "$got" != "$2" ]] && ((tries++ < 50)); do
        sleep 0.1
        got=$(geometry "$1")
    done
    [[ "$got" == "$2" ]] || fail "$3: window at $got, expected $2"
}
settle() { sleep 0.6; }
# One press on a caption button, with the pointer coming from elsewhere.
press() {
    xdotool mousemove "$1" "$2" click 1
    settle
}

read -r _ _ sx sy sw sh < <(field form stored)
stored=$(window_at "$sx" "$sy" "$sw" "$sh")
read -r _ _ _ cx cy cw ch < <(field caption stored caption)
[[ -n "$stored" ]] || fail "no window for the stored-skin form"

# Drag the stored-skin form's caption by (100, 50).
px=$((cx + cw / 2)) py=$((cy + ch / 2))
xdotool mousemove $px $py mousedown 1 mousemove $((px + 50)) $((py + 25)) \
    mousemove $((px + 100)) $((py + 50)) mouseup 1
settle
expect_geometry "$stored" "$((sx + 100)) $((sy + 50)) $sw $sh" "drag by (100, 50)"
"$screenshot" "$out/1-moved.png"

# Double-click the caption: maximized to the work area (the whole screen
# under Xvfb, so one pixel is kept free on every side).
read -r scrw scrh < <(xdpyinfo 2>/dev/null | awk '/dimensions/ {split($2, d, "x"); print d[1], d[2]}')
xdotool mousemove $((px + 100)) $((py + 50)) click --repeat 2 --delay 80 1
settle
expect_geometry "$stored" "1 1 $((scrw - 2)) $((scrh - 2))" "maximize by double-click"
"$screenshot" "$out/2-maximized.png"
cx2=$((scrw / 2)) cy2=$((1 + ch / 2 + cy - sy))
xdotool mousemove $cx2 $cy2 click --repeat 2 --delay 80 1
settle
expect_geometry "$stored" "$((sx + 100)) $((sy + 50)) $sw $sh" "restore by double-click"

# Roll the plain form up by its roll-up button, and down again.
read -r _ _ fx fy fw fh < <(field form plain)
plain=$(window_at "$fx" "$fy" "$fw" "$fh")
read -r _ _ _ rx ry rw rh < <(field button plain rollupbutton)
read -r _ _ minh < <(field minheight plain)
# A single press each way, on a form that is not the active one to begin
# with: the press activates it and reaches the button.
press $((rx + rw / 2)) $((ry + rh / 2))
expect_geometry "$plain" "$fx $fy $fw $minh" "roll up"
"$screenshot" "$out/3-rolled-up.png"
press $((rx + rw / 2)) $((ry + rh / 2))
expect_geometry "$plain" "$fx $fy $fw $fh" "roll down"

# Minimize the test-skin form (not the main form): a caption strip at the
# bottom-left of the screen.
read -r _ _ tx ty tw th < <(field form testskin)
test=$(window_at "$tx" "$ty" "$tw" "$th")
read -r _ _ _ mx my mw mh < <(field button testskin minbutton)
press $((mx + mw / 2)) $((my + mh / 2))
read -r gx gy gw gh < <(geometry "$test")
[[ "$gx" == 0 && $((gy + gh)) == "$scrh" ]] || fail "minimize: strip at $gx $gy $gw $gh"
"$screenshot" "$out/4-minimized.png"

# No layer or glow windows without a compositor: only the three forms.
tops=$(xwininfo -root -children | grep -c 'Skinned form')
[[ "$tops" == 3 ]] || fail "top-level windows: $tops"
others=$(xwininfo -root -children | grep -E '^ +0x' | grep -vc 'Skinned form')
echo "other top-level windows: $others" >"$out/windows.txt"

xdotool mousemove $((fx + 100)) $((fy + 10)) click 1
settle
# Alt+F4 closes the focused form; the program ends with its first form.
for _ in 1 2 3; do
    xdotool key alt+F4
    sleep 1
    kill -0 "$pid" 2>/dev/null || break
done
status=0
wait "$pid" || status=$?
((status == 0)) || fail "exit status $status"
# Qt's note about a missing runtime folder is the environment's, not ours.
if grep -v XDG_RUNTIME_DIR "$out/stderr.txt" | grep -q .; then
    fail "stderr: $(head -3 "$out/stderr.txt")"
fi
exit $failed
