#!/usr/bin/env bash
# Writes a three-page presentation with export_tests.exe and has independent
# readers open it: olefile lists the streams and the class id, LibreOffice
# Impress converts it to a PDF whose three pages must show the texts.
#   tests/export/ppt/check_readers.sh <build-dir>
set -euo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
build=${1:?build directory}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
winpath=$(winepath -w "$out" 2>/dev/null || echo "Z:${out//\//\\}")
OT_PPT_SAMPLE_DIR="$winpath" "$root/scripts/wine-run.sh" "$build/export_tests.exe" \
  --gtest_brief=1 --gtest_filter='PPTWriterSample.*'
test -s "$out/sample.ppt"

/usr/bin/python3 - "$out/sample.ppt" <<'PY'
import sys, olefile
ole = olefile.OleFileIO(sys.argv[1])
streams = sorted("/".join(s) for s in ole.listdir())
assert streams == ["\x05DocumentSummaryInformation", "Current User", "PowerPoint Document"], streams
clsid = ole.root.clsid
assert clsid == "64818D10-4F9B-11CF-86EA-00AA00B929E8", clsid
assert ole.get_size("Current User") == 44
print("olefile: streams and class id ok")
PY

# The links are Windows relative paths ("sample_Images\sample.bmp"); on this
# side of Wine a file of that very name lets LibreOffice resolve them.
for f in "$out"/sample_Images/*; do cp "$f" "$out/sample_Images\\$(basename "$f")"; done
soffice --headless --convert-to pdf --outdir "$out" "$out/sample.ppt" >/dev/null 2>&1
test -s "$out/sample.pdf"
pages=$(pdfinfo "$out/sample.pdf" | awk '/^Pages:/ {print $2}')
[ "$pages" = 3 ] || { echo "expected 3 pages, got $pages"; exit 1; }
for n in 1 2 3; do
  text=$(pdftotext -f $n -l $n "$out/sample.pdf" -)
  case $n in 1) want="Page one heading";; 2) want="Page two heading";; 3) want="Page three heading";; esac
  grep -q "$want" <<<"$text" || { echo "page $n lacks '$want'"; exit 1; }
  grep -q "Caption of the photo" <<<"$text" || { echo "page $n lacks the caption"; exit 1; }
done
images=$(pdfimages -list "$out/sample.pdf" | tail -n +3 | wc -l)
[ "$images" -ge 3 ] || { echo "expected the 3 linked pictures, got $images"; exit 1; }
echo "LibreOffice: 3 pages with their texts and pictures"
