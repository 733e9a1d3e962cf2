#!/usr/bin/env bash
# The shell views' and dialogs' end-to-end test: runs the demonstration
# under Xvfb with stored skins 0 and 4, photographs every state it
# announces, and checks that the list and tree regions hold rows (icons and
# text: several colours), that the picture pane holds the sample picture's
# two colours and, outside the test skin, that no control is black (the
# test skin's view elements name no colours, so its views are black by
# design). Skipped (77) without xvfb-run or xauth.
# Usage: e2e-shell-dialogs.sh DEMO SCREENSHOT OUTDIR
set -uo pipefail
for tool in xvfb-run xauth python3; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
if [[ "${1:-}" != --inside ]]; then
    rm -rf "$3"
    mkdir -p "$3"
    exec xvfb-run -a -s "-screen 0 1280x900x24" "$0" --inside "$@"
fi
shift
demo=$1 screenshot=$2 out=$3
mkfifo "$out/pipe"
timeout 280 "$demo" "$out" 0 4 >"$out/pipe" 2>"$out/stderr.txt" &
pid=$!
exec 3<"$out/pipe"
failed=0
count=0
while read -r -t 60 -u 3 word name; do
    [[ "$word" == ready ]] || continue
    "$screenshot" "$out/$name.png"
    cp "$out/layout.txt" "$out/$name.layout.txt"
    if ! python3 - "$out/$name.png" "$out/$name.layout.txt" <<'PY'; then
import sys, struct, zlib
png, layout = sys.argv[1], sys.argv[2]
data = open(png, "rb").read()
pos, w, h, idat = 8, 0, 0, b""
while pos < len(data):
    n, kind = struct.unpack(">I4s", data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + n]
    if kind == b"IHDR":
        w, h, depth, ctype = struct.unpack(">IIBB", body[:10])
        bpp = {2: 3, 6: 4}[ctype]
    elif kind == b"IDAT":
        idat += body
    pos += 12 + n
raw = zlib.decompress(idat)
rows, prev, stride = [], bytearray(w * bpp), w * bpp
for y in range(h):
    f, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
    for i in range(stride):
        a = line[i - bpp] if i >= bpp else 0
        b, c = prev[i], prev[i - bpp] if i >= bpp else 0
        if f == 1: line[i] = (line[i] + a) & 255
        elif f == 2: line[i] = (line[i] + b) & 255
        elif f == 3: line[i] = (line[i] + (a + b) // 2) & 255
        elif f == 4:
            p = a + b - c
            pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
    rows.append(line)
    prev = line
bad = 0
for entry in open(layout):
    name, x, y, cw, ch = entry.split()
    x, y, cw, ch = int(x), int(y), int(cw), int(ch)
    colours, black = set(), 0
    for yy in range(y, min(y + ch, h)):
        for xx in range(x, min(x + cw, w)):
            px = tuple(rows[yy][xx * bpp:xx * bpp + 3])
            colours.add(px)
            black += px == (0, 0, 0)
    area = max(1, cw * ch)
    if "testskin" not in png and black > area // 2:
        print(f"{png}: {name} is black"); bad = 1
    if name in ("tree", "list") and len(colours) < 3:
        print(f"{png}: {name} shows no rows"); bad = 1
    if name == "picture":
        seen = [0, 0]
        for yy in range(y, min(y + ch, h)):
            for xx in range(x, min(x + cw, w)):
                px = tuple(rows[yy][xx * bpp:xx * bpp + 3])
                seen[0] += px == (255, 128, 0)
                seen[1] += px == (0, 128, 128)
        if min(seen) < 500:
            print(f"{png}: the picture pane lacks the sample's colours {seen}"); bad = 1
sys.exit(bad)
PY
        failed=1
    fi
    count=$((count + 1))
    touch "$out/next"
done
wait "$pid" || { echo "FAIL: the demonstration ended with an error"; failed=1; }
if ((count != 20)); then
    echo "FAIL: $count pictures instead of 20"
    failed=1
fi
exit $failed
