#!/bin/sh
# Frames the preview player drops on a full-HD clip, and what it costs.
#   frame_drops.sh BUILD_DIR
# Makes a 30 s 1920x1080 H.264 clip with AAC stereo once (into
# BUILD_DIR/benchmarks/player/media), then plays it three times into a
# 1280x720 host and three times into the main window's 200x124 panel with
# SDL's dummy video and audio drivers, and prints for each run the player's
# counters (shown, dropped at display, skipped at decoding), the A/V sync
# figures and the process's CPU seconds per second of playback; then the
# median of dropped plus skipped per host size. Last, the A/V sync figures
# of the ten-second test clip av10.mp4 (made by the player's tests).
set -eu
build=${1:?usage: frame_drops.sh BUILD_DIR}
media="$build/benchmarks/player/media"
clip="$media/hd30.mp4"
mkdir -p "$media"
if [ ! -s "$clip" ]; then
    ffmpeg -nostdin -hide_banner -loglevel error -y \
        -f lavfi -i testsrc2=size=1920x1080:rate=25:duration=30 \
        -f lavfi -i sine=frequency=1000:sample_rate=44100:duration=30 \
        -map 0:v -map 1:a -c:v libx264 -preset veryfast -pix_fmt yuv420p \
        -c:a aac -ac 2 "$clip.part.mp4"
    mv "$clip.part.mp4" "$clip"
fi

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
for host in 1280x720 200x124; do
    drops=""
    for run in 1 2 3; do
        out=$(mktemp)
        start=$(date +%s.%N)
        # user and system seconds of the whole process
        /usr/bin/env time -f "cpu %U %S" "$build/tests/play_file" --host "$host" --stats "$clip" \
            >"$out" 2>&1 || true
        end=$(date +%s.%N)
        stats=$(grep '^stats:' "$out" || echo "stats: none")
        cpu=$(grep '^cpu ' "$out" | awk '{print $2 + $3}')
        wall=$(echo "$end - $start" | bc)
        echo "$host run $run: $stats; cpu ${cpu:-?} s over ${wall} s"
        dropped=$(echo "$stats" | sed -n 's/.*dropped \([0-9]*\), skipped \([0-9]*\).*/\1 \2/p' |
            awk '{print $1 + $2}')
        drops="$drops ${dropped:-0}"
        rm -f "$out"
    done
    median=$(echo "$drops" | tr ' ' '\n' | grep . | sort -n | sed -n 2p)
    echo "$host: dropped plus skipped, median of 3: $median"
done

av10="$build/tests/player/media/av10.mp4"
[ -s "$av10" ] && echo "av10.mp4: $("$build/tests/play_file" --stats "$av10" 2>&1 | grep '^stats:')"
exit 0
