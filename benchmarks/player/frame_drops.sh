#!/bin/sh
# Frames the preview player drops on a full-HD clip, and what it costs.
#   frame_drops.sh BUILD_DIR
# Makes a 30 s 1920x1080 H.264 clip with AAC stereo once (into
# BUILD_DIR/benchmarks/player/media), then plays it three times into a
# 1280x720 host and three times into the main window's 200x124 panel with
# SDL's dummy video and audio drivers, and prints for each run the player's
# counters (shown, dropped at display, skipped at decoding), the A/V sync
# figures and the process's CPU seconds per second of playback; then the
# median of dropped plus skipped per host size. Each run of ours is followed
# by one of FFmpeg's own player (ffplay -autoexit -stats) on the same clip
# in a window of the same size, whose "fd" is the pictures it dropped and
# whose "A-V" the distance between the clocks when it printed its status
# (after the first 0.5 s); the medians and their ratio follow. Last, the
# dropped pictures and A/V sync figures of both on the ten-second test clip
# av10.mp4 (made by the player's tests), three runs each taking turns. The
# sync figures are given from 0.5 s and again from 2 s. Each run's line ends
# with the machine's load average (one minute) when it ended: other work on
# the machine slows both players.
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
median() { tr ' ' '\n' | grep . | sort -n | sed -n 2p; }
# ffplay's status lines: "   9.96 A-V: -0.020 fd=   0 ..." every few ms.
ffplay_figures() { # log -> "fd N, A/V sync max M s, mean A s (K lines); from 2 s: ..."
    tr '\r' '\n' <"$1" | awk '
        / A-V: *-?[0-9.]+ / {
            t = $1 + 0
            d = $0; sub(/.* A-V: */, "", d); sub(/ .*/, "", d); d = d + 0; if (d < 0) d = -d
            f = $0; sub(/.*fd= */, "", f); sub(/ .*/, "", f); fd = f + 0
            if (t >= 0.5) { n++; sum += d; if (d > max) max = d }
            if (t >= 2) { n2++; sum2 += d; if (d > max2) max2 = d } }
        END { if (n == 0) { print "fd " fd " sync none"; exit }
              printf "fd %d, A/V sync max %.4f s, mean %.4f s (%d status lines)", fd, max, sum / n, n
              if (n2) printf "; from 2 s: max %.4f s, mean %.4f s (%d status lines)", max2, sum2 / n2, n2
              printf "\n" }'
}
load() { cut -d' ' -f1 /proc/loadavg; }
# "stats: ... dropped D, skipped S ..." -> D + S
our_drops() { sed -n 's/.*dropped \([0-9]*\), skipped \([0-9]*\).*/\1 \2/p' | awk '{print $1 + $2}'; }
for host in 1280x720 200x124; do
    ours="" theirs="" ourcpu="" theircpu=""
    width=${host%x*}
    height=${host#*x}
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
        persec=$(echo "scale=3; ${cpu:-0} / $wall" | bc)
        echo "$host run $run, ours: $stats; cpu ${cpu:-?} s over ${wall} s ($persec per s);" \
            "load $(load)"
        dropped=$(echo "$stats" | our_drops)
        ours="$ours ${dropped:-0}"
        ourcpu="$ourcpu $persec"
        rm -f "$out"

        # FFmpeg's own player on the same clip, window of the same size.
        out=$(mktemp)
        start=$(date +%s.%N)
        /usr/bin/env time -f "cpu %U %S" ffplay -hide_banner -autoexit -stats \
            -x "$width" -y "$height" "$clip" >"$out" 2>&1 || true
        end=$(date +%s.%N)
        figures=$(ffplay_figures "$out")
        cpu=$(tr '\r' '\n' <"$out" | grep '^cpu ' | awk '{print $2 + $3}')
        wall=$(echo "$end - $start" | bc)
        persec=$(echo "scale=3; ${cpu:-0} / $wall" | bc)
        echo "$host run $run, ffplay: $figures; cpu ${cpu:-?} s over ${wall} s ($persec per s);" \
            "load $(load)"
        theirs="$theirs $(echo "$figures" | sed -n 's/^fd \([0-9]*\).*/\1/p')"
        theircpu="$theircpu $persec"
        rm -f "$out"
    done
    a=$(echo "$ours" | median)
    b=$(echo "$theirs" | median)
    if [ "$b" -gt 0 ]; then
        r=$(echo "scale=3; $a / $b" | bc)
    elif [ "$a" -eq 0 ]; then
        r="none dropped by either"
    else
        r="ours drops, ffplay none"
    fi
    echo "$host: dropped (ours: dropped plus skipped; ffplay: fd), median of 3: ours $a," \
        "ffplay $b; ratio $r"
    echo "$host: cpu seconds per second, median of 3: ours $(echo "$ourcpu" | median)," \
        "ffplay $(echo "$theircpu" | median)"
done

av10="$build/tests/player/media/av10.mp4"
if [ -s "$av10" ]; then
    # Three runs each, the two players taking turns, so that each pair meets
    # about the same load.
    ours="" theirs=""
    for run in 1 2 3; do
        stats=$("$build/tests/play_file" --stats "$av10" 2>&1 | grep '^stats:' || echo "stats: none")
        echo "av10.mp4 run $run, ours: $stats; load $(load)"
        ours="$ours $(echo "$stats" | our_drops)"
        out=$(mktemp)
        ffplay -hide_banner -autoexit -stats "$av10" >"$out" 2>&1 || true
        figures=$(ffplay_figures "$out")
        echo "av10.mp4 run $run, ffplay: $figures; load $(load)"
        theirs="$theirs $(echo "$figures" | sed -n 's/^fd \([0-9]*\).*/\1/p')"
        rm -f "$out"
    done
    echo "av10.mp4: dropped per run, ours:$ours; ffplay:$theirs"
fi
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
exit 0
