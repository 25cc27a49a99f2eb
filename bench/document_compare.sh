#!/usr/bin/env bash
# Saving and loading a document with its pictures inside (mode 0) beside the
# native base64 coder on the same bytes: document_bench.exe writes its
# pictures' bytes out, base64 encodes them and decodes its own text (one run
# without line breaks, as the document holds them), then document_bench.exe
# saves and loads the document and prints its times beside base64's with the
# ratios. Each round also loads a document with one picture of 36 MB whose
# text stands in a CDATA section, beside the same document with the text as
# plain Base64, and both once more read by the parser. The files of both lie in the same folder (default: inside the build
# folder, on the disk the picture store uses). Best and median of the rounds for each.
#   bench/document_compare.sh [build-dir] [picture count] [MB per picture] [rounds] [folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
count=${2:-200}
megabytes=${3:-3}
rounds=${4:-5}
"$root/scripts/build.sh" "$build" document_bench >/dev/null
build=$(cd "$build" && pwd)
work=${5:-$build}/document_compare.$$
mkdir -p "$work"
. "$root/scripts/wine-env.sh"
ot_start_display
ot_wine_prefix
ot_wine_server ""
trap 'rm -rf "$work"; if [ -n "${OT_XVFB_STARTED:-}" ]; then ot_stop_display; fi' EXIT

wine "$build/document_bench.exe" "$count" "$megabytes" --peer-bytes "$(winepath -w "$work/pictures.bin")" >/dev/null
base64 -w0 "$work/pictures.bin" >"$work/pictures.b64"
seconds() { /usr/bin/time -f '%e' "$@" 2>&1 >/dev/null | tail -1; }
best() { sort -g | head -1; }
median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
encodes=() decodes=() overs=()
for _ in $(seq "$rounds"); do
  sync
  encodes+=("$(seconds sh -c "base64 -w0 '$work/pictures.bin' >'$work/out'")")
  # Again into the file just written, as a document saved again replaces its file.
  overs+=("$(seconds sh -c "base64 -w0 '$work/pictures.bin' >'$work/out'")")
  rm -f "$work/out"
  sync
  decodes+=("$(seconds sh -c "base64 -d '$work/pictures.b64' >'$work/out'")")
  rm -f "$work/out"
done
rm -f "$work/pictures.b64" "$work/pictures.bin"
encode=$(printf '%s\n' "${encodes[@]}" | best)
decode=$(printf '%s\n' "${decodes[@]}" | best)
over=$(printf '%s\n' "${overs[@]}" | best)
saves=() loads=() resaves=() cdatas=() plains=() parsedCdatas=() parsedPlains=()
for _ in $(seq "$rounds"); do
  sync
  report=$(wine "$build/document_bench.exe" "$count" "$megabytes" "$(winepath -w "$work")" \
    --peer-times "$encode" "$decode" "$over" 2>/dev/null)
  saves+=("$(awk '/save ok/ {print $3; exit}' <<<"$report")")
  resaves+=("$(awk '/save over that file ok/ {print $6; exit}' <<<"$report")")
  loads+=("$(awk '/load ok/ {print $3; exit}' <<<"$report")")
  cdatas+=("$(awk '/load in a CDATA section/ {print $7; exit}' <<<"$report")")
  plains+=("$(awk '/load in a CDATA section/ {print $13; exit}' <<<"$report")")
  parsedCdatas+=("$(awk '/the parser reading it in a CDATA section/ {print $10; exit}' <<<"$report")")
  parsedPlains+=("$(awk '/the parser reading it in a CDATA section/ {print $16; exit}' <<<"$report")")
done
cdata=$(printf '%s\n' "${cdatas[@]}" | best) cdataMedian=$(printf '%s\n' "${cdatas[@]}" | median)
plain=$(printf '%s\n' "${plains[@]}" | best) plainMedian=$(printf '%s\n' "${plains[@]}" | median)
parsedCdata=$(printf '%s\n' "${parsedCdatas[@]}" | best) parsedCdataMedian=$(printf '%s\n' "${parsedCdatas[@]}" | median)
parsedPlain=$(printf '%s\n' "${parsedPlains[@]}" | best) parsedPlainMedian=$(printf '%s\n' "${parsedPlains[@]}" | median)
save=$(printf '%s\n' "${saves[@]}" | best) saveMedian=$(printf '%s\n' "${saves[@]}" | median)
resave=$(printf '%s\n' "${resaves[@]}" | best) resaveMedian=$(printf '%s\n' "${resaves[@]}" | median)
load=$(printf '%s\n' "${loads[@]}" | best) loadMedian=$(printf '%s\n' "${loads[@]}" | median)
encodeMedian=$(printf '%s\n' "${encodes[@]}" | median)
overMedian=$(printf '%s\n' "${overs[@]}" | median)
decodeMedian=$(printf '%s\n' "${decodes[@]}" | median)
echo "$report" | sed -n '1,/^mode 2/p' | sed '$d'
echo
echo "$count pictures of $megabytes MB, $rounds rounds each: best / median seconds (the machine is shared)"
row() { printf '%-44s %6.2f / %5.2f\n' "$1" "$2" "$3"; }
row "OstraTallier save, mode 0 (Wine)" "$save" "$saveMedian"
row "$(base64 --version | head -1) -w0 encode" "$encode" "$encodeMedian"
row "OstraTallier save over the saved file" "$resave" "$resaveMedian"
row "the same encode into its last output" "$over" "$overMedian"
row "OstraTallier load, mode 0 (Wine)" "$load" "$loadMedian"
row "$(base64 --version | head -1) -d decode" "$decode" "$decodeMedian"
row "one 36 MB picture in CDATA, load" "$cdata" "$cdataMedian"
row "the same as plain Base64, load" "$plain" "$plainMedian"
row "the parser reading it in CDATA, load" "$parsedCdata" "$parsedCdataMedian"
row "the parser reading it as plain Base64, load" "$parsedPlain" "$parsedPlainMedian"
awk -v c="$cdata" -v p="$plain" -v pc="$parsedCdata" -v pp="$parsedPlain" \
  'BEGIN {printf "best: CDATA / plain Base64 %.2f times the time; read by the parser %.2f\n", c / p, pc / pp}'
awk -v s="$save" -v e="$encode" -v r="$resave" -v o="$over" -v l="$load" -v d="$decode" \
  'BEGIN {printf "best: save / native encode %.2f times the time; again over the file %.2f; load / native decode %.2f\n", s / e, r / o, l / d}'
awk -v s="$saveMedian" -v e="$encodeMedian" -v r="$resaveMedian" -v o="$overMedian" -v l="$loadMedian" -v d="$decodeMedian" \
  'BEGIN {printf "median: save / native encode %.2f times the time; again over the file %.2f; load / native decode %.2f\n", s / e, r / o, l / d}'
