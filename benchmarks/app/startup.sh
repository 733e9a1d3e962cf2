#!/usr/bin/env bash
# Start-up of the program on a virtual screen against FFmpeg's player.
#   startup.sh BUILD_DIR
# Five starts each of: the program with the stored skin choice 0, the same
# with choice 1 (the skin the window is designed in, so nothing is loaded
# twice), and ffplay on a one-second clip. Each start is timed from launch to
# its window being mapped (xdotool --sync) and, for the program, to the first
# photograph that agrees with the next one (the painted window; each
# photograph costs about 0.1 s, the resolution of that figure). The medians
# are printed, and the resident memory of the program idle for three
# seconds. Runs itself inside xvfb-run; everything goes to a temporary folder.
set -euo pipefail
# shellcheck source=../../tests/support/photograph.sh
source "$(dirname "$0")/../../tests/support/photograph.sh"
build=$(cd "${1:?usage: startup.sh BUILD_DIR}" && pwd)
if [[ -z "${OSTRELA_ON_SCREEN:-}" ]]; then
    exec env OSTRELA_ON_SCREEN=1 xvfb-run -a -s '-screen 0 1920x1080x24' "$0" "$build"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/program" "$work/run"
chmod 700 "$work/run"
export HOME="$work/home" XDG_RUNTIME_DIR="$work/run"
cp "$build/bin/ostrela" "$work/program/"
ffmpeg -nostdin -v error -f lavfi -i testsrc=size=320x240:rate=25:duration=1 \
    -pix_fmt yuv420p "$work/clip.mp4"

now() { date +%s.%N; }
median() { sort -n | sed -n 3p; }

program_start() { # skin choice -> "mapped painted" seconds
    printf '[Skin]\r\nSetSkin=%s\r\n' "$1" >"$work/program/option.ini"
    local start mapped painted pid
    start=$(now)
    "$work/program/ostrela" </dev/null >/dev/null 2>&1 &
    pid=$!
    xdotool search --sync --onlyvisible --name '^Ostrela$' >/dev/null
    mapped=$(now)
    photograph_until_steady "$build/bin/screenshot" "$work/shot.png"
    painted=$(now)
    if [[ -n "${2:-}" ]]; then
        sleep 3
        awk '/VmRSS/ { print $2 }' "/proc/$pid/status" >"$work/rss"
    fi
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$(echo "$mapped - $start" | bc) $(echo "$painted - $start" | bc)"
}

ffplay_start() {
    local start mapped pid
    start=$(now)
    SDL_AUDIODRIVER=dummy ffplay -v quiet -loop 0 "$work/clip.mp4" </dev/null >/dev/null 2>&1 &
    pid=$!
    xdotool search --sync --onlyvisible --name 'clip.mp4' >/dev/null
    mapped=$(now)
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$mapped - $start" | bc
}

echo "nproc: $(nproc); load: $(cut -d' ' -f1-3 /proc/loadavg)"
for choice in 0 1; do
    : >"$work/times"
    for _ in 1 2 3 4 5; do program_start "$choice" >>"$work/times"; done
    echo "program, SetSkin=$choice: mapped $(cut -d' ' -f1 "$work/times" | median) s," \
        "painted $(cut -d' ' -f2 "$work/times" | median) s (median of 5)"
done
: >"$work/times"
for _ in 1 2 3 4 5; do ffplay_start >>"$work/times"; done
echo "ffplay on a 320x240 clip: mapped $(median <"$work/times") s (median of 5)"
program_start 0 rss >/dev/null
echo "program idle for 3 s: resident $(cat "$work/rss") KiB"
