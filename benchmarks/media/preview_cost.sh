#!/bin/sh
# What a job's preview window and its progress reports cost, end to end.
#   preview_cost.sh BUILD_DIR [RUNS]
# Makes a 10 s 1280x720 H.264 clip with AAC stereo once (into
# BUILD_DIR/benchmarks/media/media), then converts it with convert_file to
# 720p x264 + AAC, RUNS times (3 by default) in each way, the ways taking
# turns:
#   - on the desktop backend without post hooks, with the preview window,
#     and with the bitmap event and an empty handler;
#   - inline with progress reports every 500 ms, and with reports disabled
#     (an interval longer than the job);
#   - with the preview window on the headless backend.
# Prints each run's job time (from the start of the job to its end, as
# convert_file measures it), the process's CPU seconds and the time the
# job's worker spent in the post hooks and in the progress reports; then
# the medians, the ratios against the way without, and the ratio the
# worker's own time gives: job time / (job time - time in the hooks or
# reports), which a busy machine disturbs far less than the first. Without
# a display it runs itself under xvfb-run.
set -eu
build=${1:?usage: preview_cost.sh BUILD_DIR [RUNS]}
runs=${2:-3}
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$@"
fi
convert="$build/tests/convert_file"
[ -x "$convert" ] || { echo "$0: $convert is missing; build the target convert_file" >&2; exit 2; }
media="$build/benchmarks/media/media"
clip="$media/hd720_10.mp4"
mkdir -p "$media"
if [ ! -s "$clip" ]; then
    ffmpeg -nostdin -hide_banner -loglevel error -y \
        -f lavfi -i testsrc2=size=1280x720:rate=25:duration=10 \
        -f lavfi -i sine=frequency=1000:sample_rate=48000:duration=10 \
        -map 0:v -map 1:a -c:v libx264 -preset ultrafast -pix_fmt yuv420p \
        -c:a aac -ac 2 "$clip.part.mp4"
    mv "$clip.part.mp4" "$clip"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
job="vcodec=libx264 vpre=libx264-default s=1280x720 vb=1800000 acodec=aac ab=128000 ar=48000 ac=2"

echo "nproc: $(nproc); load: $(cut -d' ' -f1-3 /proc/loadavg); clip: 10 s 1280x720 H.264 + AAC"
run() { # name convert_file-switches...
    name=$1
    shift
    # shellcheck disable=SC2086
    /usr/bin/env time -f "cpu %U %S" -o "$work/cpu" "$convert" "$clip" "$work/out.mp4" $job "$@" \
        >"$work/log" 2>/dev/null || true
    t=$(sed -n 's/^Job time: \([0-9.]*\) s$/\1/p' "$work/log")
    c=$(awk '/^cpu/ { print $2 + $3 }' "$work/cpu")
    h=$(sed -n 's/^Post hooks: \([0-9]*\) calls, \([0-9.]*\) ms$/\2/p' "$work/log")
    r=$(sed -n 's/^Progress reports: \([0-9]*\) calls, \([0-9.]*\) ms$/\2/p' "$work/log")
    grep -q '^Finished: true' "$work/log" || t="failed"
    echo "$name: job ${t} s, cpu ${c} s, post hooks ${h} ms, reports ${r} ms"
    echo "$t $c $h $r $(echo "scale=4; $t / ($t - ($h + $r) / 1000)" | bc)" >>"$work/$name"
}
median() { # file column
    cut -d' ' -f"$2" "$1" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

i=1
while [ "$i" -le "$runs" ]; do
    run none --desktop
    run preview --preview
    run bitmap --preview-bitmap
    run reports --report-interval 500
    run silent --report-interval 100000000
    run headless --preview --headless
    i=$((i + 1))
done

ratio() { # name base
    echo "$1 / $2: job $(median "$work/$1" 1) s / $(median "$work/$2" 1) s =" \
        "$(echo "scale=3; $(median "$work/$1" 1) / $(median "$work/$2" 1)" | bc);" \
        "cpu $(median "$work/$1" 2) s / $(median "$work/$2" 2) s =" \
        "$(echo "scale=3; $(median "$work/$1" 2) / $(median "$work/$2" 2)" | bc)"
}
share() { # name what
    echo "$1: $2 $(median "$work/$1" 3) ms of hooks, $(median "$work/$1" 4) ms of reports;" \
        "job / (job - both): $(median "$work/$1" 5)"
}
echo "medians of $runs:"
ratio preview none
ratio bitmap none
ratio reports silent
share preview "preview window, desktop:"
share headless "preview window, headless:"
share bitmap "bitmap event, empty handler:"
share reports "reports every 500 ms:"
share none "no post hooks, reports every 500 ms:"
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
