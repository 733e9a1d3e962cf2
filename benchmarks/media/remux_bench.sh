#!/bin/sh
# Remux speed and memory of the engine against the ffmpeg command on the same
# job, and the time Stop(True) takes with a remux running.
#   remux_bench.sh BUILD_DIR
# Everything is written into a temporary folder of its own, removed at the
# end. Times are the median of 3 runs, engine and command alternating.
set -eu
build=${1:?usage: remux_bench.sh BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
convert="$build/tests/convert_file"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sh "$here/../../tests/fixtures/make_media.sh" "$work" long.mkv
ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=1920x1080:rate=25:duration=30 \
    -f lavfi -i sine=frequency=1000:sample_rate=44100:duration=30 -map 0:v -map 1:a \
    -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -b:a 128k "$work/hd30.mkv"

echo "nproc: $(nproc)"
seconds() { # command... -> wall seconds and peak resident kilobytes
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>&1 || true
    cat "$work/time"
}
median() { sort -n | sed -n 2p; }

for input in long.mkv hd30.mkv; do
    : >"$work/engine" && : >"$work/command"
    for run in 1 2 3; do
        seconds "$convert" "$work/$input" "$work/engine.mp4" vcodec=copy acodec=copy >>"$work/engine"
        seconds ffmpeg -nostdin -y -i "$work/$input" -map 0 -c copy "$work/command.mp4" >>"$work/command"
    done
    e=$(cut -d' ' -f1 "$work/engine" | median)
    c=$(cut -d' ' -f1 "$work/command" | median)
    em=$(cut -d' ' -f2 "$work/engine" | median)
    cm=$(cut -d' ' -f2 "$work/command" | median)
    echo "$input -> .mp4: engine ${e}s, command ${c}s, ratio $(echo "scale=3; $e / $c" | bc)"
    echo "$input -> .mp4: peak memory engine ${em} KiB, command ${cm} KiB"
done

for run in 1 2 3; do
    "$convert" "$work/hd30.mkv" "$work/stopped.mp4" vcodec=copy acodec=copy --stop-after 20 |
        sed -n 's/^Stop took //p'
done | sort -n | sed -n 2p | sed 's/^/Stop(True) with a running remux, median: /'
