#!/usr/bin/env bash
# Runs inside xvfb-run: plain and layered windows and window states of the
# window-states demo, with a compositor or a window manager started here.
# Writes what it saw into OUTDIR: "unavailable.txt" when the compositor or
# window manager could not start, the demo's lines, xprop's answers and
# photographs.
# Usage: e2e-states.sh DEMO SCREENSHOT OUTDIR layered|wm
set -uo pipefail
demo=$1 screenshot=$2 out=$3 mode=$4

# Waits up to 30 s for a line of the demo's output (on descriptor $1)
# matching $2; every line read is kept in $out/$3.
expect_line() {
    local fd=$1 pattern=$2 log=$3 line
    while read -r -t 30 -u "$fd" line; do
        echo "$line" >>"$out/$log"
        [[ "$line" =~ $pattern ]] && { REPLY=$line; return 0; }
    done
    return 1
}

start_demo() { # name args...: the demo's output on a new descriptor in $fd, its process in $pid
    local name=$1
    shift
    mkfifo "$out/$name.pipe"
    timeout 120 "$demo" "$@" >"$out/$name.pipe" 2>>"$out/stderr.txt" &
    pid=$!
    exec {fd}<"$out/$name.pipe"
}

net_wm_state() {
    xprop -id "$1" _NET_WM_STATE >>"$out/xprop.txt" 2>&1
    xprop -id "$1" _NET_WM_STATE
}

layered() {
    # A plain window below, layered ones with a see-through middle above it:
    # alpha 0 there, then the colour key.
    start_demo plain plain 100 100 400 300
    local plain=$fd above variant
    expect_line "$plain" '^ready' plain.txt || return
    xcompmgr 2>>"$out/stderr.txt" &
    if ! timeout 10 xdotool search --sync --name '^xcompmgr$' >/dev/null; then
        echo xcompmgr >"$out/unavailable.txt"
        return
    fi
    for variant in holed keyed; do
        start_demo "$variant" "$variant" 100 100 400 300
        above=$fd
        expect_line "$above" '^ready' "$variant.txt" || return
        sleep 0.5
        "$screenshot" "$out/$variant.png"
        # The middle of the hole, then the opaque corner.
        xdotool mousemove 300 250 click 1
        expect_line "$plain" '^click' plain.txt
        xdotool mousemove 120 120 click 1
        expect_line "$above" '^click' "$variant.txt"
        kill "$pid"
        wait "$pid" 2>/dev/null
        exec {above}<&-
    done
}

wm() {
    openbox --config-file "$(dirname "$0")/openbox-rc.xml" 2>>"$out/stderr.txt" &
    local i
    for i in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
    if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
        echo openbox >"$out/unavailable.txt"
        return
    fi
    start_demo states states
    local states=$fd id x y w h mx my ax ay
    expect_line "$states" '^size restored' states.txt || return
    id=$(timeout 30 xdotool search --sync --onlyvisible --name '^States$' | head -1)
    click_button() { # which: min or max, from the last "size" line
        local _s _k mx my ax ay X Y WIDTH HEIGHT SCREEN WINDOW
        read -r _s _k mx my ax ay <<<"$REPLY"
        eval "$(xdotool getwindowgeometry --shell "$id")"
        if [[ $1 == min ]]; then
            xdotool mousemove $((X + mx)) $((Y + my)) click 1
        else
            xdotool mousemove $((X + ax)) $((Y + ay)) click 1
        fi
    }
    click_button min
    expect_line "$states" '^size minimized' states.txt || return
    net_wm_state "$id" >"$out/minimized.txt"
    xdotool windowactivate "$id"
    expect_line "$states" '^size restored' states.txt || return
    click_button max
    expect_line "$states" '^size maximized' states.txt || return
    sleep 0.5
    net_wm_state "$id" >"$out/maximized.txt"
    "$screenshot" "$out/maximized.png"
    click_button max
    expect_line "$states" '^size restored' states.txt || return
    sleep 0.5
    net_wm_state "$id" >"$out/restored.txt"
    # The window manager maximizes it on its own, by its keyboard shortcut.
    xdotool key ctrl+alt+m
    expect_line "$states" '^size maximized' states.txt || return
    echo desktop >>"$out/maximized-by-desktop.txt"
    xdotool key alt+F4
    expect_line "$states" '^$' states.txt
}

"$mode"
# Whatever is left is ended; the demo's own status is in its output.
kill $(jobs -p) 2>/dev/null
wait 2>/dev/null
echo done >"$out/done.txt"
