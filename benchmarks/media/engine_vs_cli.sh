#!/bin/sh
# Encoding speed, processor time and memory of the engine against the ffmpeg
# command on the same jobs and options.
#   engine_vs_cli.sh BUILD_DIR [SECONDS]
# Makes a 1920x1080, 25 fps H.264 source with AAC 48 kHz stereo (30 s unless
# SECONDS says otherwise), runs each job with the engine (convert_file) and
# with the command, alternating, three times each, and prints the median
# wall times, their ratio (target <= 1.05), the median processor time
# (user + system) and peak resident memory of each side, and nproc. Both
# sides run with FFmpeg's automatic codec threads. Everything is written
# into a temporary folder of its own, removed at the end.
set -eu
build=${1:?usage: engine_vs_cli.sh BUILD_DIR [SECONDS]}
length=${2:-30}
convert="$build/tests/convert_file"
[ -x "$convert" ] || { echo "$0: $convert is missing; build the target convert_file" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

ffmpeg -nostdin -v error -y -f lavfi -i "testsrc=size=1920x1080:rate=25:duration=$length" \
    -f lavfi -i "sine=frequency=1000:sample_rate=48000:duration=$length" -map 0:v -map 1:a \
    -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -b:a 128k -ac 2 "$work/src.mp4"

echo "nproc: $(nproc); source: ${length} s 1920x1080 H.264 + AAC"
measure() { # command... -> wall seconds, processor seconds, peak resident KiB
    /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$@" >/dev/null 2>&1 || true
    awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' "$work/time"
}
median() { sort -n | sed -n 2p; }

job() { # name extension "engine options" "command options"
    : >"$work/engine" && : >"$work/command"
    for run in 1 2 3; do
        # shellcheck disable=SC2086
        measure "$convert" "$work/src.mp4" "$work/engine$2" $3 >>"$work/engine"
        # shellcheck disable=SC2086
        measure ffmpeg -nostdin -y -i "$work/src.mp4" $4 "$work/command$2" >>"$work/command"
    done
    e=$(cut -d' ' -f1 "$work/engine" | median)
    c=$(cut -d' ' -f1 "$work/command" | median)
    echo "$1: engine ${e}s, command ${c}s, ratio $(echo "scale=3; $e / $c" | bc)"
    echo "$1: processor engine $(cut -d' ' -f2 "$work/engine" | median)s," \
        "command $(cut -d' ' -f2 "$work/command" | median)s"
    echo "$1: peak memory engine $(cut -d' ' -f3 "$work/engine" | median) KiB," \
        "command $(cut -d' ' -f3 "$work/command" | median) KiB"
}

job "A x264 720p MP4" .mp4 \
    "vcodec=libx264 vpre=libx264-default s=1280x720 r=29.97 vb=1800000 acodec=libfaac ab=128000 ar=48000 ac=2" \
    "-c:v libx264 -preset medium -s 1280x720 -r 29.97 -b:v 1800k -c:a aac -b:a 128k -ar 48000 -ac 2"
job "B MPEG-4 XVID AVI" .avi \
    "vcodec=mpeg4 vtag=XVID r=25 vb=816000 acodec=libmp3lame ab=128000 ar=44100 ac=2" \
    "-c:v mpeg4 -vtag XVID -r 25 -b:v 816k -c:a libmp3lame -b:a 128k -ar 44100 -ac 2"
job "C PAL DVD" .mpg "target=pal-dvd" "-target pal-dvd"
job "D MP3" .mp3 "vn= acodec=libmp3lame ab=128000 ar=48000 ac=2" \
    "-vn -c:a libmp3lame -b:a 128k -ar 48000 -ac 2"
