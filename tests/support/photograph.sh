# Sourced by the end-to-end drivers.
# Photographs the screen into FILE with the SCREENSHOT program until two
# pictures in a row agree, so that a window painted late on a busy machine is
# waited for.
photograph_until_steady() { # SCREENSHOT FILE
    local screenshot=$1 file=$2
    "$screenshot" "$file"
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        sleep 0.3
        "$screenshot" "$file.again.png"
        cmp -s "$file" "$file.again.png" && break
        mv "$file.again.png" "$file"
    done
    rm -f "$file.again.png"
}
