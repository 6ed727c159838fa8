#!/usr/bin/env bash
# Makes the decoder seeds for cut files, large GIF code sizes, 32-bit Sun
# raster files with the pad byte last and cursors with odd entries:
#   bash fuzz/make-cut-file-seeds.sh   (writes fuzz/seeds/cut-*)
# Each seed starts with the format id the fuzzer decodes it as (0: by content).
set -euo pipefail
cd "$(dirname "$0")/seeds"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
picture="-size 11x9 gradient:red-blue +noise Random -depth 8 -strip"
/usr/bin/convert $picture -interlace PNG "PNG24:$tmp/i.png"
/usr/bin/convert $picture -alpha set -channel A -fx i/w +channel -compress RLE "$tmp/a.tga"
/usr/bin/convert $picture -colors 16 "$tmp/p.gif"
/usr/bin/python3 - "$tmp" <<'PY'
import struct, sys
tmp = sys.argv[1]
def seed(name, format_id, data):
    open(name, 'wb').write(bytes([format_id]) + data)
def head(path, percent):
    data = open(path, 'rb').read()
    return data[:len(data) * percent // 100]
seed('cut-interlaced.png', 4, head(tmp + '/i.png', 60))
seed('cut-interlaced-content', 0, head(tmp + '/i.png', 85))
seed('cut-rle-alpha.tga', 7, head(tmp + '/a.tga', 70))
seed('cut-palette.gif', 2, head(tmp + '/p.gif', 60))
# Literal codes of 10 bits (minimum code size 9), some beyond 255.
codes, size = [512] + [(i * 37) % 512 for i in range(20)] + [513], 10
acc = bits = 0
lzw = bytearray()
for c in codes:
    acc |= c << bits
    bits += size
    while bits >= 8:
        lzw.append(acc & 255)
        acc >>= 8
        bits -= 8
lzw.append(acc & 255)
gif = b'GIF89a' + struct.pack('<HHBBB', 5, 4, 0x87, 0, 0) + bytes(range(256)) * 3
gif += b'\x2c' + struct.pack('<HHHHB', 0, 0, 5, 4, 0) + b'\x09' + bytes([len(lzw)]) + bytes(lzw) + b'\0\x3b'
seed('cut-code-size-9.gif', 2, gif)
# 32-bit Sun raster, blue, green, red, pad.
pixels = b''.join(bytes([10 * i, 200 - 9 * i, 30 + 7 * i, 0]) for i in range(12))
seed('cut-bgrx.ras', 15, struct.pack('>8I', 0x59A66A95, 4, 3, 32, len(pixels), 1, 0, 0) + pixels)
# 8-bit grey cursor stored top first, its entry's size field 0, with an AND mask.
w, h = 6, 4
bitmap = struct.pack('<IiiHHIIiiII', 40, w, -2 * h, 1, 8, 0, 0, 0, 0, 256, 0)
bitmap += b''.join(bytes([i, i, i, 0]) for i in range(256))
bitmap += b''.join(bytes((x * 40 + y) % 256 for x in range(w)) + b'\0\0' for y in range(h))
bitmap += b'\xe0\0\0\0' * h
seed('cut-topdown.cur', 0, struct.pack('<HHHBBBBHHII', 0, 2, 1, w, h, 0, 0, 1, 2, 0, 22) + bitmap)
PY
