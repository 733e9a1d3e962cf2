#!/usr/bin/env bash
# Runs inside xvfb-run and plays OUTDIR/steps.txt against the real program,
# one step a line:
#   start                 start the program, wait for its window "Ostrela"
#   shot NAME             photograph the screen into OUTDIR/NAME.png once two
#                         pictures in a row agree (a busy machine paints late)
#   click X Y             left click at X, Y of the main window
#   other NAME            wait for a window beside the main one to show, save
#                         its geometry as OUTDIR/NAME.txt (X=, Y=, WIDTH=, ...)
#   click-other NAME X Y  left click at X, Y of that window
#   key KEY...            keys, as xdotool names them
#   gone NAME             wait until that window has gone
#   wait-exit NAME        wait for the program to end, status to OUTDIR/NAME.txt
#   type TEXT             type TEXT (no spaces) where the focus is
#   wait-file PATH        wait until PATH exists (a conversion's output)
#   wait-child TEXT       wait until a process whose command line holds TEXT
#                         has shown and ended (a child may outlive the
#                         program); one not seen within 10 s is not waited for
#   threads NAME          the states of the program's threads in five looks,
#                         one thread a line ("SSRSS": R running, S sleeping)
#                         to OUTDIR/NAME.txt
#   sleep SECONDS
# The main window's geometry goes to OUTDIR/main.txt at each start; what went
# wrong goes to OUTDIR/driver.txt, and the program's error output to
# OUTDIR/stderr.txt. Stubs in OUTDIR/stubs come first in PATH.
# Usage: e2e-main.sh PROGRAM SCREENSHOT OUTDIR
set -uo pipefail
program=$1 screenshot=$2 out=$3
export PATH="$out/stubs:$PATH"
pid="" main=""
# The program's home is the run's own, so its default folders land there.
[[ -d "$out/home" ]] && export HOME="$out/home"
log() { echo "$*" >>"$out/driver.txt"; }
# shellcheck source=../support/photograph.sh
source "$(dirname "$0")/../support/photograph.sh"

# The newest visible window of some size that is not the main window, nor
# one covering the whole screen.
other_window() {
    local id screen
    screen=$(xdotool getdisplaygeometry 2>/dev/null)
    for id in $(xdotool search --onlyvisible --name '.*' 2>/dev/null | tac); do
        [[ "$id" == "$main" ]] && continue
        eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)" || continue
        [[ "$WIDTH $HEIGHT" == "$screen" ]] && continue
        ((WIDTH > 60 && HEIGHT > 40)) && { echo "$id"; return 0; }
    done
    return 1
}

declare -A windows
while read -r step a b c; do
    case "$step" in
    start)
        timeout 240 "$program" </dev/null 2>>"$out/stderr.txt" &
        pid=$!
        if ! main=$(timeout 60 xdotool search --sync --onlyvisible --name '^Ostrela$' | head -1); then
            log "no window named Ostrela"
            break
        fi
        sleep 1
        xdotool getwindowgeometry --shell "$main" >"$out/main.txt"
        ;;
    shot) photograph_until_steady "$screenshot" "$out/$a.png" ;;
    click)
        xdotool mousemove --window "$main" "$a" "$b" && sleep 0.3 && xdotool click 1
        sleep 0.5
        ;;
    other)
        id=""
        for _ in $(seq 300); do
            id=$(other_window) && break
            sleep 0.1
        done
        if [[ -z "$id" ]]; then
            log "no window beside the main one for $a"
            break
        fi
        windows[$a]=$id
        sleep 1
        xdotool getwindowgeometry --shell "$id" >"$out/$a.txt"
        ;;
    click-other)
        xdotool mousemove --window "${windows[$a]}" "$b" "$c" && sleep 0.3 && xdotool click 1
        sleep 0.5
        ;;
    key)
        # shellcheck disable=SC2086
        xdotool key --delay 150 $a $b $c
        sleep 0.5
        ;;
    gone)
        for _ in $(seq 300); do
            xdotool getwindowgeometry "${windows[$a]}" >/dev/null 2>&1 || break
            xwininfo -id "${windows[$a]}" 2>/dev/null | grep -q IsViewable || break
            sleep 0.1
        done
        ;;
    wait-exit)
        status=0
        # A program that does not end within the guard fails the run.
        for _ in $(seq 300); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        if kill -0 "$pid" 2>/dev/null; then
            log "the program did not end"
            kill "$pid" 2>/dev/null
        fi
        wait "$pid" || status=$?
        echo "$status" >"$out/$a.txt"
        ;;
    type)
        xdotool type --delay 50 "$a"
        sleep 0.5
        ;;
    wait-file)
        for _ in $(seq 1800); do
            [[ -e "$a" ]] && break
            sleep 0.1
        done
        [[ -e "$a" ]] || log "no file $a"
        ;;
    wait-child)
        seen=0
        for round in $(seq 600); do
            if pgrep -f -- "$a" >/dev/null; then
                seen=1
            elif ((seen || round > 100)); then
                break
            fi
            sleep 0.1
        done
        ((seen)) || log "no child $a seen"
        ;;
    threads)
        # The program runs under timeout: its one child. Five looks 0.2 s
        # apart, one line a thread.
        child=$(pgrep -P "$pid" | head -1)
        declare -A states=()
        for _ in 1 2 3 4 5; do
            for task in /proc/$child/task/*; do
                stat=$(cat "$task/stat" 2>/dev/null) || continue
                states[${task##*/}]+=$(echo "${stat##*) }" | cut -d' ' -f1)
            done
            sleep 0.2
        done
        printf '%s\n' "${states[@]}" >"$out/$a.txt"
        unset states
        ;;
    sleep) sleep "$a" ;;
    "" | "#"*) ;;
    *) log "unknown step $step" ;;
    esac
done <"$out/steps.txt"
kill $(jobs -p) 2>/dev/null
wait 2>/dev/null
exit 0
