#!/usr/bin/env bash
# Builds everything and runs every test under Wine (on a virtual display when
# there is no display). Does the whole set-up on a fresh Debian 12 machine.
#   scripts/test.sh [build-dir] [ctest arguments...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true
"$root/scripts/check-layers.sh" "$root"
"$root/scripts/check-seams.sh" "$root"
"$root/scripts/build.sh" "$build"
build=$(cd "$build" && pwd)
export OT_BUILD_DIR=$build
. "$root/scripts/wine-env.sh"

# A real printer for the print tests: CUPS with the queue "PDF" as the default,
# which writes PDF files (Wine lists CUPS printers). Part of the set-up: when
# CUPS is missing or will not start, the print tests fail and say so.
ot_start_printer() {
  [ -x /usr/sbin/cupsd ] && command -v lpadmin >/dev/null 2>&1 && command -v lpstat >/dev/null 2>&1 || return 0
  # This system's scheduler, through its own socket (for Wine too): one that
  # answers on localhost:631 for another root, such as a chroot's host, would
  # take the jobs and print them where the tests never look.
  export CUPS_SERVER=/run/cups/cups.sock
  local as_root=""
  if [ "$(id -u)" != 0 ]; then
    sudo -n true 2>/dev/null || return 0
    as_root="sudo -n"
  fi
  if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
    $as_root /usr/sbin/cupsd >/dev/null 2>&1 || return 0
    for _ in $(seq 20); do
      lpstat -r 2>/dev/null | grep -q 'is running' && break
      sleep 0.25
    done
  fi
  if ! lpstat -p PDF >/dev/null 2>&1 && [ -e /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd ]; then
    $as_root lpadmin -p PDF -v cups-pdf:/ -E -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd >/dev/null 2>&1 || return 0
  fi
  lpstat -d 2>/dev/null | grep -q 'destination: PDF' || $as_root lpadmin -d PDF >/dev/null 2>&1 || true
}
ot_start_printer
ot_start_display
ot_wine_prefix
# One wine server for the whole run spares every test executable its start-up.
ot_wine_server ""
ot_desktop_keeper
cleanup() {
  if [ -n "$OT_XVFB_STARTED" ]; then ot_stop_display; else wineserver -k >/dev/null 2>&1 || true; fi
}
trap cleanup EXIT
cd "$build"
# The tests copy every XML file they write here; the host's xmllint checks them.
xmlcheck="$build/xmlcheck"
rm -rf "$xmlcheck"
mkdir -p "$xmlcheck"
OT_XML_CHECK_DIR=$(winepath -w "$xmlcheck" 2>/dev/null </dev/null)
export OT_XML_CHECK_DIR
# PowerPoint files the main-road test writes, checked with olefile.
pptcheck="$build/pptcheck"
rm -rf "$pptcheck"
mkdir -p "$pptcheck"
OT_PPT_CHECK_DIR=$(winepath -w "$pptcheck" 2>/dev/null </dev/null)
export OT_PPT_CHECK_DIR
# Likewise every complete PDF file, checked with qpdf and poppler's tools.
pdfcheck="$build/pdfcheck"
rm -rf "$pdfcheck"
mkdir -p "$pdfcheck"
OT_PDF_CHECK_DIR=$(winepath -w "$pdfcheck" 2>/dev/null </dev/null)
export OT_PDF_CHECK_DIR
# TIFFs the raster library read, each beside its full read as R, G, B bytes
# (*.rgb), checked with Pillow's own libtiff.
tiffcheck="$build/tiffcheck"
rm -rf "$tiffcheck"
mkdir -p "$tiffcheck"
OT_TIFF_CHECK_DIR=$(winepath -w "$tiffcheck" 2>/dev/null </dev/null)
export OT_TIFF_CHECK_DIR
# Printed jobs the print tests find on the PDF printer, named *.pagesN.pdf, checked with pdfinfo.
printcheck="$build/printcheck"
rm -rf "$printcheck"
mkdir -p "$printcheck"
OT_PRINT_CHECK_DIR=$(winepath -w "$printcheck" 2>/dev/null </dev/null)
export OT_PRINT_CHECK_DIR
status=0
ctest --output-on-failure -j "$(nproc)" "$@" || status=$?
if [ "$status" != 0 ]; then
  # The failed cases and where each failed, last: a short tail of a long run's
  # output then names them.
  log="$build/Testing/Temporary/LastTest.log"
  echo "failed cases:"
  grep -hE '^\[  FAILED  \] [A-Za-z_0-9/.]+ \(' "$log" 2>/dev/null | sed -E 's/ \([0-9]+ ms\)$//' | sort -u | head -20 || true
  grep -hE '(:[0-9]+: Failure|Failed|Timeout|Exception)$' "$log" 2>/dev/null | sort -u | head -10 || true
  exit "$status"
fi
shopt -s nullglob
written=("$xmlcheck"/*.xml)
if [ ${#written[@]} -gt 0 ]; then
  # A picture is one text node of up to the file's size.
  xmllint --huge --noout "${written[@]}" || { echo "xmllint: a written XML file is not well-formed"; exit 1; }
fi
# A file beside it with the same name and ".pictures" lists elements (an XPath
# each) and the files of the bytes the program loaded from their text.
for pictures in "$xmlcheck"/*.pictures; do
  while read -r path bytes; do
    xmllint --huge --xpath "string($path)" "${pictures%.pictures}.xml" 2>/dev/null | base64 -d -i 2>/dev/null |
      cmp -s - "$xmlcheck/$bytes" ||
      { echo "xmllint: the text of $path in ${pictures%.pictures}.xml is not the picture the program loaded"; exit 1; }
  done < "$pictures"
done
for tif in "$tiffcheck"/*.tif; do
  /usr/bin/python3 - "$tif" <<'PY' || { echo "Pillow: $tif reads otherwise than in the raster library"; exit 1; }
import sys
from PIL import Image
path = sys.argv[1]
theirs = Image.open(path).convert("RGB").tobytes()
ours = open(path + ".rgb", "rb").read()
# A JPEG-coded TIFF may differ by the rounding of another build of libjpeg.
worst = max((abs(a - b) for a, b in zip(theirs, ours)), default=0)
sys.exit(0 if len(theirs) == len(ours) and worst <= 2 else 1)
PY
done
for ppt in "$pptcheck"/*.ppt; do
  /usr/bin/python3 - "$ppt" <<'PY' || { echo "olefile: $ppt is not a PowerPoint 97 compound file"; exit 1; }
import sys
import olefile
ole = olefile.OleFileIO(sys.argv[1])
streams = ["PowerPoint Document", "Current User", "\x05DocumentSummaryInformation"]
missing = [name for name in streams if not ole.exists(name)]
clsid = ole.root.clsid.upper()
sys.exit(1 if missing or clsid != "64818D10-4F9B-11CF-86EA-00AA00B929E8" else 0)
PY
done
# A presentation named *.captions.ppt: its pictures' descriptions read back.
for ppt in "$pptcheck"/*.captions.ppt; do
  /usr/bin/python3 - "$ppt" <<'PY' || { echo "olefile: $ppt has a description away from its picture"; exit 1; }
import struct
import sys
import olefile
# Description boxes read back from the PowerPoint Document stream: on every
# slide a picture frame (shape type 75) followed by a text box (202) is a
# picture and its description. Each description must start right under the
# picture's seen outline (the anchor; a shape turned a quarter is anchored by
# the box it is seen in), span it, and start on the slide; quarter-turned
# pictures must be among them.
doc = olefile.OleFileIO(sys.argv[1]).openstream("PowerPoint Document").read()
def records(start, end):
    at = start
    while at + 8 <= end:
        head, kind, length = struct.unpack_from("<HHI", doc, at)
        yield head & 0x0F, head >> 4, kind, at + 8, at + 8 + length
        at += 8 + length
def walk(start, end, found):
    for version, instance, kind, body, stop in records(start, end):
        found.append((version, instance, kind, body, stop))
        if version == 0x0F:
            walk(body, stop, found)
every = []
walk(0, len(doc), every)
size = next(struct.unpack_from("<ii", doc, body) for _, _, kind, body, _ in every if kind == 1001)
problems, turned = [], set()
for _, _, kind, body, stop in every:
    if kind != 1006:  # a slide
        continue
    shapes = []
    for version, instance, inner, start, end in every:
        if inner != 0xF004 or not (body <= start < stop):
            continue
        shape = {"type": None, "rotation": 0, "anchor": None}
        for _, sub_instance, sub, sub_body, _ in records(start, end):
            if sub == 0xF00A:
                shape["type"] = sub_instance
            elif sub == 0xF00B:
                for i in range(sub_instance):
                    pid, value = struct.unpack_from("<HI", doc, sub_body + 6 * i)
                    if pid & 0x3FFF == 0x0004:
                        shape["rotation"] = (value >> 16) % 360
            elif sub == 0xF00F:
                shape["anchor"] = struct.unpack_from("<iiii", doc, sub_body)
        shapes.append(shape)
    for picture, box in zip(shapes, shapes[1:]):
        if picture["type"] != 75 or box["type"] != 202:
            continue
        if picture["rotation"] in (90, 270):
            turned.add(picture["rotation"])
        left, top, right, bottom = picture["anchor"]
        b_left, b_top, b_right, b_bottom = box["anchor"]
        if not (bottom - 1 <= b_top <= bottom + size[1] / 100):
            problems.append("description at %d, the picture turned %d ends at %d" % (b_top, picture["rotation"], bottom))
        if b_left > left + 1 or b_right < right - 1 or b_top >= size[1] or b_left < 0 or b_right > size[0] + 1:
            problems.append("description %s beside the picture %s" % (box["anchor"], picture["anchor"]))
if turned != {90, 270}:
    problems.append("no pictures turned 90 and 270 degrees: %s" % sorted(turned))
for problem in problems:
    print(problem)
sys.exit(1 if problems else 0)
PY
done
# The pixels of a rendered page: how many lie within 60 of the colour RRGGBB on every channel.
ot_colour_count() {
  local pdf=$1 page=$2 colour=$3 render
  render=$(mktemp -d)
  pdftoppm -r 30 -f "$page" -l "$page" -singlefile "$pdf" "$render/page" >/dev/null 2>&1
  PYTHONPATH="$root/scripts" /usr/bin/python3 - "$render/page.ppm" "$colour" <<'PY'
import sys
from ppm import read_ppm
pixels = read_ppm(sys.argv[1])[2]
want = bytes.fromhex(sys.argv[2])
print(sum(1 for i in range(0, len(pixels) - 2, 3) if all(abs(pixels[i + c] - want[c]) <= 60 for c in range(3))))
PY
  rm -rf "$render"
}
# An expectation of a rendered page: "colour-absent" (no pixel of the colour)
# or "colour-present" (more than 20); says which page fails and how.
ot_colour_shown() {
  local what=$1 pdf=$2 page=$3 colour=$4 count
  count=$(ot_colour_count "$pdf" "$page" "$colour")
  if [ "$what" = colour-absent ]; then
    [ "$count" = 0 ] || { echo "pdftoppm: page $page of $pdf shows $count pixels of $colour"; return 1; }
  else
    [ "${count:-0}" -gt 20 ] || { echo "pdftoppm: page $page of $pdf shows no $colour"; return 1; }
  fi
}
# The edges of a picture whose middle is a block of the colour RRGGBB, the
# block inset by the share given of the picture's size on every side: no dark
# pixel lies along the picture's four edges (where a clear picture shows the
# paper). The edges are found from the block: a pixel nearer the colour than
# white, grey or black belongs to it.
ot_edges_clear() {
  local pdf=$1 page=$2 colour=$3 inset=$4 render
  render=$(mktemp -d)
  pdftoppm -r 150 -f "$page" -l "$page" -singlefile "$pdf" "$render/page" >/dev/null 2>&1
  PYTHONPATH="$root/scripts" /usr/bin/python3 - "$render/page.ppm" "$colour" "$inset" <<'PY'
import sys
from ppm import read_ppm
width, height, pixels = read_ppm(sys.argv[1])
want = bytes.fromhex(sys.argv[2])
inset = float(sys.argv[3])
def pixel(x, y):
    i = (y * width + x) * 3
    return pixels[i:i + 3]
others = [bytes((v, v, v)) for v in (0, 128, 255)]
def distance(p, q):
    return sum((p[c] - q[c]) ** 2 for c in range(3))
def nearer_colour(p):
    return all(distance(p, want) < distance(p, other) for other in others)
xs, ys = [], []
for y in range(height):
    row = pixels[y * width * 3:(y + 1) * width * 3]
    for x in range(width):
        if nearer_colour(row[x * 3:x * 3 + 3]):
            xs.append(x)
            ys.append(y)
if not xs:
    print("shows no %s" % sys.argv[2])
    sys.exit(1)
x0, x1, y0, y1 = min(xs), max(xs) + 1, min(ys), max(ys) + 1
grow = inset / (1 - 2 * inset)
left, right = x0 - (x1 - x0) * grow, x1 + (x1 - x0) * grow
top, bottom = y0 - (y1 - y0) * grow, y1 + (y1 - y0) * grow
band = 4
dark = 0
def look(x, y):
    global dark
    if 0 <= x < width and 0 <= y < height and max(pixel(x, y)) < 160:
        dark += 1
for y in range(int(top) + band, int(bottom) - band):
    for edge in (left, right):
        for x in range(int(edge) - band, int(edge) + band + 1):
            look(x, y)
for x in range(int(left) + band, int(right) - band):
    for edge in (top, bottom):
        for y in range(int(edge) - band, int(edge) + band + 1):
            look(x, y)
if dark:
    print("shows %d dark pixels along the edges of the %s picture" % (dark, sys.argv[2]))
    sys.exit(1)
PY
  local status=$?
  rm -rf "$render"
  return $status
}
# A page of the print preview, kept as a PPM file of its paper, against the
# printed page rendered at the same size: every dark mark of either lies
# within 2 pixels of one of the other, but for one in a hundred (the two
# draw the same glyphs with their own smoothing), and no spot of either (dark
# marks touching: a glyph, the full stop that ends a run) lies away from the
# other whole, however few its marks.
ot_preview_shows() {
  local pdf=$1 page=$2 shown=$3 render size
  render=$(mktemp -d)
  size=$(head -c 32 "$shown" | sed -n 2p)
  pdftoppm -f "$page" -l "$page" -scale-to-x "${size% *}" -scale-to-y "${size#* }" -singlefile "$pdf" "$render/page" \
    >/dev/null 2>&1
  PYTHONPATH="$root/scripts" /usr/bin/python3 - "$render/page.ppm" "$shown" <<'PY'
import sys
from ppm import read_ppm
def marks(path):
    width, _, pixels = read_ppm(path)
    return {(i // 3 % width, i // 3 // width) for i in range(0, len(pixels) - 2, 3) if max(pixels[i:i + 3]) < 128}
printed, shown = marks(sys.argv[1]), marks(sys.argv[2])
def unmatched(these, others):
    return [p for p in these if not any((p[0] + dx, p[1] + dy) in others for dx in range(-2, 3) for dy in range(-2, 3))]
def spots_away(these, away):
    left, spots = set(these), []
    while left:
        spot = [left.pop()]
        for x, y in spot:
            near = {(x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1)} & left
            left -= near
            spot += near
        if all(p in away for p in spot):
            spots.append(min(spot))
    return spots
lost, added = unmatched(printed, shown), unmatched(shown, printed)
gone, extra = spots_away(printed, set(lost)), spots_away(shown, set(added))
if not printed or len(lost) > len(printed) / 100 or len(added) > len(shown) / 100 or gone or extra:
    print("shows %d of %d marks of the printed page away from the preview, and %d of %d of the preview's away from it;"
          " spots of the printed page missing from the preview at %s, spots of the preview missing from it at %s"
          % (len(lost), len(printed), len(added), len(shown), gone or "none", extra or "none"))
    sys.exit(1)
PY
  local status=$?
  rm -rf "$render"
  return $status
}
for printed in "$printcheck"/*.pdf; do
  want=$(basename "$printed" .pdf); want=${want##*.pages}
  got=$(pdfinfo "$printed" 2>/dev/null | awk '/^Pages:/ {print $2}')
  [ "$got" = "$want" ] || { echo "pdfinfo: $printed has ${got:-no} pages, not $want"; exit 1; }
  # A file beside it with the same name and ".expect" lists colours the rendered pages must (not) show,
  # a preview page they must match and texts they must hold.
  expect="${printed%.pdf}.expect"
  if [ -f "$expect" ]; then
    while read -r what page colour share; do
      case $what in
        colour-absent | colour-present)
          ot_colour_shown "$what" "$printed" "$page" "$colour" || exit 1 ;;
        edges-clear)
          said=$(ot_edges_clear "$printed" "$page" "$colour" "$share") ||
            { echo "pdftoppm: page $page of $printed $said"; exit 1; } ;;
        shown-in-preview)
          said=$(ot_preview_shows "$printed" "$page" "$printcheck/$colour") ||
            { echo "pdftoppm: page $page of $printed $said"; exit 1; } ;;
        text)
          pdftotext -f "$page" -l "$page" "$printed" - 2>/dev/null | tr -s ' \n' '  ' | grep -qF -- "$colour${share:+ $share}" ||
            { echo "pdftotext: page $page of $printed does not hold \"$colour${share:+ $share}\""; exit 1; } ;;
        *) echo "$expect: unknown expectation $what"; exit 1 ;;
      esac
    done < "$expect"
  fi
  # A name may ask for the pages' size as shown (".size-792x612."): the media box turned by the rotation.
  name=$(basename "$printed")
  if [[ $name =~ \.size-([0-9]+)x([0-9]+)\. ]]; then
    shown=$(pdfinfo "$printed" 2>/dev/null |
            awk '/^Page size:/ {w=$3; h=$5} /^Page rot:/ {r=$3} END {if (r % 180 == 90) print h "x" w; else print w "x" h}')
    [ "$shown" = "${BASH_REMATCH[1]}x${BASH_REMATCH[2]}" ] ||
      { echo "pdfinfo: $printed shows pages of $shown points, not ${BASH_REMATCH[1]}x${BASH_REMATCH[2]}"; exit 1; }
  fi
done
for pdf in "$pdfcheck"/*.pdf; do
  # qpdf: 0 is clean; 3 means warnings (a stream it cannot decode), 2 errors.
  qpdf --check "$pdf" >/dev/null 2>&1 || { echo "qpdf: warnings or errors in $pdf"; qpdf --check "$pdf"; exit 1; }
  if [ -n "$(pdftoppm -r 12 -png "$pdf" "$pdfcheck/render" 2>&1 >/dev/null)" ]; then
    echo "pdftoppm: warnings rendering $pdf"; exit 1
  fi
  # mutool names each page it draws; anything else is a complaint (but the
  # note that this build of it has no colour management).
  complaints=$(mutool draw -r 12 -o /dev/null "$pdf" 2>&1 | sed -E 's/^page .* [0-9]+//' |
               grep -Ev '^$|ICC support is not available' || true)
  if [ -n "$complaints" ]; then
    echo "mutool: $pdf: $complaints"; exit 1
  fi
  pdfinfo "$pdf" 2>/dev/null | grep -Eq '^PDF version: +1\.3$' || { echo "pdfinfo: $pdf is not PDF 1.3"; exit 1; }
  # A name may ask for the pages' size (".size-612x792.") and a text the pages hold (".text-WORD.").
  name=$(basename "$pdf")
  if [[ $name =~ \.size-([0-9]+)x([0-9]+)\. ]]; then
    pdfinfo "$pdf" 2>/dev/null | grep -Eq "^Page size: +${BASH_REMATCH[1]} x ${BASH_REMATCH[2]} pts" ||
      { echo "pdfinfo: $pdf is not ${BASH_REMATCH[1]} x ${BASH_REMATCH[2]} points"; exit 1; }
  fi
  if [[ $name =~ \.text-([A-Za-z0-9]+)\. ]]; then
    pdftotext "$pdf" - 2>/dev/null | grep -q "${BASH_REMATCH[1]}" ||
      { echo "pdftotext: $pdf does not hold ${BASH_REMATCH[1]}"; exit 1; }
  fi
  if pdffonts "$pdf" 2>/dev/null | tail -n +3 | grep -Ev 'CID TrueType +Identity-H +yes' | grep -q .; then
    echo "pdffonts: a font of $pdf is not an embedded CID TrueType font"; exit 1
  fi
  # A file beside it with the same name and ".expect" lists what the PDF must hold (colours as for printed pages).
  expect="${pdf%.pdf}.expect"
  [ -f "$expect" ] || continue
  while read -r what first second rest; do
    case $what in
      pages)
        got=$(pdfinfo "$pdf" 2>/dev/null | awk '/^Pages:/ {print $2}')
        [ "$got" = "$first" ] || { echo "pdfinfo: $pdf has ${got:-no} pages, not $first"; exit 1; } ;;
      images-at-least)
        got=$(pdfimages -list "$pdf" 2>/dev/null | tail -n +3 | awk '$3 == "image"' | wc -l)
        [ "$got" -ge "$first" ] || { echo "pdfimages: $pdf has $got pictures, not $first or more"; exit 1; } ;;
      image-on-page)
        pdfimages -list -f "$first" -l "$first" "$pdf" 2>/dev/null | tail -n +3 | awk '$3 == "image"' | grep -q . ||
          { echo "pdfimages: page $first of $pdf has no picture"; exit 1; } ;;
      font-containing)
        pdffonts "$pdf" 2>/dev/null | tail -n +3 | awk '{print $1}' | grep -q -- "$first" ||
          { echo "pdffonts: $pdf has no font named with $first"; exit 1; } ;;
      text)
        phrase="$first${second:+ $second}${rest:+ $rest}"
        pdftotext "$pdf" - 2>/dev/null | tr -s ' \n' '  ' | grep -qF -- "$phrase" ||
          { echo "pdftotext: $pdf does not hold \"$phrase\""; exit 1; } ;;
      colour-absent | colour-present)
        ot_colour_shown "$what" "$pdf" "$first" "$second" || exit 1 ;;
      text-on-pages)
        for ((page = first; page <= second; ++page)); do
          pdftotext -f "$page" -l "$page" "$pdf" - 2>/dev/null | grep -qF -- "$rest" ||
            { echo "pdftotext: page $page of $pdf does not hold \"$rest\""; exit 1; }
        done ;;
      *)
        echo "$expect: unknown expectation $what"; exit 1 ;;
    esac
  done < "$expect"
done
