#!/usr/bin/env bash
# Starts itself under xvfb-run with a window manager (openbox) and a
# compositor (xcompmgr): the program's main window, framed by its stored
# skin's layered border, is minimized by its own minimize button and by the
# window manager, restored, and sent along with its workspace. Each time the
# screen is photographed; while the window is off the screen the photograph
# must show the bare desktop (one colour: no strip of the border left), and
# back on the screen the border is there again (more colours than the window
# alone shows). Prints one line per failed check and exits 1 when any
# failed, 77 when a tool is missing or openbox or xcompmgr could not start.
# Usage: e2e-layer-border.sh PROGRAM SCREENSHOT OUTDIR
set -uo pipefail
if [[ -z "${LAYER_BORDER_ON_SCREEN:-}" ]]; then
    for tool in xvfb-run xauth xdotool xprop openbox xcompmgr python3 convert; do
        command -v "$tool" >/dev/null || exit 77
    done
    export LAYER_BORDER_ON_SCREEN=1
    [[ -n "${XDG_RUNTIME_DIR:-}" ]] || export XDG_RUNTIME_DIR=$(mktemp -d)
    exec xvfb-run -a -s "-screen 0 1280x800x24 +extension Composite" "$0" "$@"
fi
program=$1 screenshot=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$out"
mkdir -p "$out/home"
failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}
# The number of colours in the rectangle W H X Y of a photograph (all of it
# when no rectangle is given).
colours() { # FILE [W H X Y]
    convert "$1" ppm:- | python3 -c '
import sys
data = sys.stdin.buffer.read()
fields, pos = [], 0
while len(fields) < 4:
    while data[pos:pos + 1].isspace():
        pos += 1
    end = pos
    while not data[end:end + 1].isspace():
        end += 1
    fields.append(data[pos:end])
    pos = end
pos += 1
w, h = int(fields[1]), int(fields[2])
x0, y0, x1, y1 = 0, 0, w, h
if len(sys.argv) == 5:
    rw, rh, x0, y0 = map(int, sys.argv[1:])
    x0, y0 = max(x0, 0), max(y0, 0)
    x1, y1 = min(x0 + rw, w), min(y0 + rh, h)
seen = set()
for y in range(y0, y1):
    row = pos + y * w * 3
    for x in range(x0, x1):
        seen.add(data[row + 3 * x:row + 3 * x + 3])
print(len(seen))' "${@:2}"
}
shot() { # NAME: photograph once the screen has settled
    sleep 1.5
    "$screenshot" "$out/$1.png"
}
bare() { # NAME
    shot "$1"
    [[ $(colours "$out/$1.png") == 1 ]] || fail "$1: something is left on the desktop"
}
framed() { # NAME
    shot "$1"
    # The border lies outside the window: the band just above it is not bare.
    eval "$(xdotool getwindowgeometry --shell "$main")"
    [[ $(colours "$out/$1.png" $((WIDTH / 2)) 3 $((X + WIDTH / 4)) $((Y - 3))) -gt 1 ]] ||
        fail "$1: no border above the window"
}

openbox --config-file "$here/../../platform/qt/openbox-rc.xml" 2>>"$out/stderr.txt" &
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' || exit 77
xcompmgr 2>>"$out/stderr.txt" &
timeout 10 xdotool search --sync --name '^xcompmgr$' >/dev/null 2>&1 || sleep 1
pgrep -x xcompmgr >/dev/null || exit 77

# The program reads its skin from option.ini beside it: a copy of it runs
# with stored skin 1, whose frame has the layered border.
mkdir -p "$out/bin"
cp "$program" "$out/bin/"
printf '[Skin]\nSetSkin=%s\n' "${SKIN:-1}" >"$out/bin/option.ini"
HOME="$out/home" timeout 240 "$out/bin/$(basename "$program")" </dev/null 2>>"$out/stderr.txt" &
pid=$!
if ! main=$(timeout 60 xdotool search --sync --onlyvisible --name '^Ostrela$' | head -1); then
    echo "FAIL: no window named Ostrela"
    kill "$pid" 2>/dev/null
    exit 1
fi
xdotool windowmove "$main" 100 80
framed 0-start

# The window manager's own minimize, then back.
xdotool windowminimize "$main"
bare 1-minimized-by-window-manager
xdotool windowactivate "$main"
framed 2-restored

# Another workspace and back.
xdotool set_desktop 1
bare 3-other-workspace
xdotool set_desktop 0
framed 4-workspace-back

# The window's own minimize button: second from the right in the caption.
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + WIDTH - 43)) $((Y + 15)) click 1
bare 5-minimized-by-its-button
xdotool windowactivate "$main"
framed 6-restored

xdotool key --window "$main" alt+F4
wait "$pid" 2>/dev/null
kill $(jobs -p) 2>/dev/null
wait 2>/dev/null
exit "$failed"
