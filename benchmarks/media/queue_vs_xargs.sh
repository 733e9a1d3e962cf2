#!/bin/sh
# Times the task queue against the ffmpeg command run by xargs -P over the
# same eight jobs, and measures what paused workers cost.
#   benchmarks/media/queue_vs_xargs.sh [BUILD_DIR]
# Prints, for K = 1, 2 and 4 workers, the median of three runs of each
# (alternating), their ratio (target <= 1.05) and nproc; then the processor
# time all paused workers used over 5 s of pause with four jobs paused
# (target <= 1 % of one core), read from /proc from outside the process;
# then how long Stop(True) takes with four jobs converting (median of three);
# last it checks that four bit-exact jobs paused and resumed write the same
# packets as the same jobs run straight through (the exit code is 1 when
# they do not).
set -eu
build=${1:-build}
queue="$build/tests/queue_files"
[ -x "$queue" ] || { echo "$0: $queue is missing; build the target queue_files" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ticks=$(getconf CLK_TCK)

# Eight sources: 10 s, 640x360, H.264 with AAC.
i=1
while [ $i -le 8 ]; do
    ffmpeg -nostdin -loglevel error -y \
        -f lavfi -i "testsrc=size=640x360:rate=25:duration=10" \
        -f lavfi -i "sine=frequency=$((300 + 50 * i)):sample_rate=44100:duration=10" \
        -c:v libx264 -c:a aac -shortest "$work/src$i.mp4"
    i=$((i + 1))
done
sources=$(ls "$work"/src*.mp4)

# The same jobs as command lines: the settings of profile 0 (MPEG-4 AVI),
# with the command's default codec and filter threads.
mkdir -p "$work/x" "$work/q"
for src in $sources; do
    name=$(basename "$src" .mp4)
    echo "-nostdin -loglevel error -y -i $src -c:v mpeg4 -vtag XVID -r 25 -b:v 816000" \
        "-c:a libmp3lame -b:a 128000 -ar 44100 -ac 2 $work/x/$name.avi"
done > "$work/jobs.txt"

now() { date +%s.%N; }
elapsed() { echo "$2 - $1" | bc -l; }
median() { sort -n | sed -n 2p; }

for k in 1 2 4; do
    : > "$work/q$k"
    : > "$work/x$k"
done
for run in 1 2 3; do
    for k in 1 2 4; do
        t0=$(now)
        "$queue" "$work/q" "$k" $sources > /dev/null
        t1=$(now)
        xargs -P "$k" -L 1 ffmpeg < "$work/jobs.txt"
        t2=$(now)
        elapsed "$t0" "$t1" >> "$work/q$k"
        elapsed "$t1" "$t2" >> "$work/x$k"
    done
done
echo "nproc: $(nproc)"
for k in 1 2 4; do
    q=$(median < "$work/q$k")
    x=$(median < "$work/x$k")
    printf 'K=%d  queue %.2f s  xargs %.2f s  ratio %.3f\n' "$k" "$q" "$x" "$(echo "$q / $x" | bc -l)"
done

# Paused workers: four jobs, four threads, paused for 7 s and read over
# 4.5 s of it.
# Per thread "tid ticks", the main thread left out (it serves the user
# interface while the workers sleep); threads that end in between are
# compared only where both readings have them.
cpu_of() {
    # One reader for every thread: forking per thread took long enough with
    # the decoders' threads to carry the second reading past the pause.
    awk -v main="$1" '{
        n = split(FILENAME, part, "/"); tid = part[n - 1]
        if (tid == main) next
        sub(/.*\) /, ""); print tid, $12 + $13
    }' /proc/"$1"/task/*/stat 2>/dev/null | sort
}
# Longer jobs for the pause and stop measurements (60 s sources), so that
# all four are still converting when they are paused or stopped.
i=1
while [ $i -le 4 ]; do
    ffmpeg -nostdin -loglevel error -y \
        -f lavfi -i "testsrc=size=640x360:rate=25:duration=60" \
        -f lavfi -i "sine=frequency=$((300 + 50 * i)):sample_rate=44100:duration=60" \
        -c:v libx264 -preset ultrafast -c:a aac -shortest "$work/long$i.mp4"
    i=$((i + 1))
done
set -- "$work/long1.mp4" "$work/long2.mp4" "$work/long3.mp4" "$work/long4.mp4"
"$queue" "$work/q" 4 "$1" "$2" "$3" "$4" --pause 7 > "$work/pause.log" &
pid=$!
until grep -q '^paused' "$work/pause.log" 2>/dev/null; do
    kill -0 "$pid" 2>/dev/null || { echo "queue_files ended before pausing" >&2; exit 1; }
    sleep 0.05
done
cpu_of "$pid" >"$work/c0"
sleep 4.5
cpu_of "$pid" >"$work/c1"
wait "$pid"
used=$(join "$work/c0" "$work/c1" | awk '{d += $3 - $2} END {print d + 0}')
printf 'paused: %d ticks over 4.5 s = %.3f %% of one core\n' "$used" \
    "$(echo "$used / $ticks / 4.5 * 100" | bc -l)"

# Stop(True) with four jobs converting, three times: progress every 0.1 s,
# so that all four have reported long before any of them ends.
: > "$work/stops"
for run in 1 2 3; do
    rm -rf "$work/s"
    "$queue" "$work/s" 4 "$1" "$2" "$3" "$4" --progress-interval 100 --stop-after 0.2 |
        sed -n 's/^stopped \([0-9]*\) converting jobs in \([0-9.]*\) ms$/\1 \2/p' >> "$work/stops"
done
[ "$(wc -l < "$work/stops")" -eq 3 ] || { echo "a stop run ended before it could be stopped" >&2; exit 1; }
printf 'Stop(True) with %s jobs converting: median %.2f ms\n' "$(sort -n "$work/stops" | head -1 | cut -d' ' -f1)" \
    "$(cut -d' ' -f2 "$work/stops" | median)"

# A pause changes nothing: the four jobs, bit-exact, straight through and
# paused for 2 s once all four convert, give the same packets.
exact="flags=+bitexact<CRLF>fflags=+bitexact"
"$queue" "$work/u" 4 "$1" "$2" "$3" "$4" --options "$exact" > /dev/null
"$queue" "$work/p" 4 "$1" "$2" "$3" "$4" --options "$exact" --progress-interval 100 --pause 2 \
    > "$work/pause2.log"
grep -q '^paused 4 jobs' "$work/pause2.log" || { echo "pause check: the four jobs were not paused" >&2; exit 1; }
crcs() { ffmpeg -nostdin -v error -i "$1" -map 0 -c copy -f framecrc - | grep -v '^#'; }
same=0
for out in "$work"/u/*; do
    name=$(basename "$out")
    a=$(crcs "$out")
    b=$(crcs "$work/p/$name")
    if [ -n "$a" ] && [ "$a" = "$b" ]; then
        same=$((same + 1))
    else
        echo "pause check: $name differs from the unpaused run"
    fi
done
printf 'pause check: %d of 4 outputs paused and resumed equal the unpaused run\n' "$same"
[ "$same" -eq 4 ]
