#!/usr/bin/env bash
# Photographs the stored-skins demonstration on a virtual screen: each of
# the eleven skins' main window, then the eleven previews side by side.
# Usage: skin/stored/demo/photograph.sh [BUILD_DIR] (default build); the
# pictures go to BUILD_DIR/skins/screen-N.png and screen-previews.png.
set -euo pipefail
build=${1:-build}
out="$build/skins"
mkdir -p "$out"
shoot() {
    local what=$1 file=$2
    xvfb-run -a -s "-screen 0 1920x1080x24" bash -c '
        demo=$1 screenshot=$2 what=$3 file=$4
        pipe=$(mktemp -u)
        mkfifo "$pipe"
        timeout 90 "$demo" "$what" >"$pipe" &
        pid=$!
        exec 3<"$pipe"
        while read -r -t 60 -u 3 line; do
            if [[ "$line" == ready ]]; then
                sleep 0.5
                "$screenshot" "$file"
                kill "$pid" 2>/dev/null || true
                break
            fi
        done
        wait "$pid" 2>/dev/null || true
        rm -f "$pipe"' _ "$build/bin/stored-skins-demo" "$build/bin/screenshot" "$what" "$file"
    echo "$file"
}
for n in ${ONLY:-$(seq 0 10)}; do
    shoot "$n" "$out/screen-$n.png"
done
shoot previews "$out/screen-previews.png"
