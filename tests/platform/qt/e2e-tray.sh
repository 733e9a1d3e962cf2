#!/usr/bin/env bash
# Runs inside xvfb-run: the tray demo without a tray host, then with the
# test's tray host at 100, 100: the docked icon photographed, clicked and
# double-clicked with xdotool, the host killed and started again, now
# offering a 32-bit visual. Writes the demo's and the host's lines into
# OUTDIR (nohost.txt, demo.txt, host.txt, host2.txt) and the photographs
# docked.png and redocked.png.
# Usage: e2e-tray.sh DEMO SCREENSHOT OUTDIR HOST
set -uo pipefail
demo=$1 screenshot=$2 out=$3 host=$4

# Waits up to 30 s for a line of a program's output (on descriptor $1)
# matching $2; every line read is kept in $out/$3.
expect_line() {
    local fd=$1 pattern=$2 log=$3 line
    while read -r -t 30 -u "$fd" line; do
        echo "$line" >>"$out/$log"
        [[ "$line" =~ $pattern ]] && return 0
    done
    return 1
}

# shellcheck source=../../support/photograph.sh
source "$(dirname "$0")/../../support/photograph.sh"
# An icon painted late on a busy machine is waited for.
photograph() {
    sleep 0.5
    photograph_until_steady "$screenshot" "$out/$1"
}

start() { # name program args...: output on a new descriptor in $fd, process in $pid
    local name=$1
    shift
    mkfifo "$out/$name.pipe"
    timeout 120 "$@" >"$out/$name.pipe" 2>>"$out/stderr.txt" &
    pid=$!
    exec {fd}<"$out/$name.pipe"
}

run() {
    local demo_fd demo_pid host_fd host_pid
    start nohost "$demo"
    expect_line "$fd" '^add' nohost.txt || return
    kill "$pid"

    start host "$host" 100 100
    host_fd=$fd host_pid=$pid
    expect_line "$host_fd" '^ready' host.txt || return
    start demo "$demo"
    demo_fd=$fd demo_pid=$pid
    expect_line "$demo_fd" '^add' demo.txt || return
    expect_line "$host_fd" '^docked' host.txt || return
    photograph docked.png

    xdotool mousemove 112 112
    sleep 0.3
    xdotool click 1
    expect_line "$demo_fd" '^WM_LBUTTONUP' demo.txt || return
    # Longer than the double-click time, then a double click.
    sleep 1
    xdotool click --repeat 2 --delay 80 1
    expect_line "$demo_fd" '^WM_LBUTTONDBLCLK' demo.txt || return
    expect_line "$demo_fd" '^WM_LBUTTONUP' demo.txt || return

    kill "$host_pid"
    expect_line "$demo_fd" '^area unavailable' demo.txt || return
    # The new host offers a 32-bit visual: the icon keeps its alpha there.
    start host2 "$host" 100 100 argb
    host_fd=$fd
    expect_line "$host_fd" '^ready' host2.txt || return
    expect_line "$demo_fd" '^added' demo.txt || return
    expect_line "$host_fd" '^docked' host2.txt || return
    photograph redocked.png
}

run
kill $(jobs -p) 2>/dev/null
wait 2>/dev/null
echo done >"$out/done.txt"
