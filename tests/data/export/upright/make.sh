#!/usr/bin/env bash
# Makes the pictures of the PowerPoint export's lossless-turn test, once; the
# test compares the files the export writes with the golden ones made here by
# jpegtran. Run it again only to change the pictures (needs python3 and
# Debian's libjpeg-turbo-progs for cjpeg and jpegtran):
#   tests/data/export/upright/make.sh
# photo<N>.jpg: a photo-like 64 x 48 JPEG recording orientation N (2 to 8);
# photo<N>.upright.jpg: jpegtran's lossless turn of it (-copy none -perfect);
# odd6.jpg: 56 x 40 recording orientation 6, whose quarter turn is not exact.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$work" <<'PY'
import struct, sys
work = sys.argv[1]
def ppm(path, w, h):
    rows = bytearray()
    state = 12345
    for y in range(h):
        for x in range(w):
            state = (state * 1103515245 + 12345) & 0x7fffffff
            n = (state >> 16) % 9
            rows += bytes(((x * 4 + n) % 256, (y * 5 + 2 * n) % 256, ((x + y) * 3 + n) % 256))
    open(path, 'wb').write(b'P6\n%d %d\n255\n' % (w, h) + rows)
ppm(work + '/photo.ppm', 64, 48)
ppm(work + '/odd.ppm', 56, 40)
PY
cjpeg -quality 90 -sample 2x2 "$work/photo.ppm" >"$work/photo.jpg"
cjpeg -quality 90 -sample 2x2 "$work/odd.ppm" >"$work/odd.jpg"
# An APP1 "Exif" segment right after the start of image, as cameras write it:
# a little-endian TIFF structure whose first directory holds tag 274 only.
with_orientation() {
  python3 - "$1" "$2" "$3" <<'PY'
import struct, sys
source, orientation, target = sys.argv[1], int(sys.argv[2]), sys.argv[3]
jpeg = open(source, 'rb').read()
tiff = b'II*\x00' + struct.pack('<I', 8) + struct.pack('<H', 1) + struct.pack('<HHIHH', 274, 3, 1, orientation, 0) + struct.pack('<I', 0)
exif = b'Exif\x00\x00' + tiff
open(target, 'wb').write(jpeg[:2] + b'\xff\xe1' + struct.pack('>H', len(exif) + 2) + exif + jpeg[2:])
PY
}
turns=([2]="-flip horizontal" [3]="-rotate 180" [4]="-flip vertical" [5]="-transpose" [6]="-rotate 90"
       [7]="-transverse" [8]="-rotate 270")
for n in 2 3 4 5 6 7 8; do
  with_orientation "$work/photo.jpg" "$n" "photo$n.jpg"
  # shellcheck disable=SC2086
  jpegtran -copy none -perfect ${turns[$n]} "photo$n.jpg" >"photo$n.upright.jpg"
done
with_orientation "$work/odd.jpg" 6 odd6.jpg
