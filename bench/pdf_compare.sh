#!/usr/bin/env bash
# The PDF report of camera photographs side by side: this program's
# generation through the document (pdf_bench.exe under Wine), img2pdf on the
# same photographs, and plain copies of them (under Wine and natively), each
# writing into the same output folder. The default output folder is on a
# memory file system, so that the figures are the programs' and not the
# disk's write-back. Each is run the given number of rounds; the best round
# counts.
#   bench/pdf_compare.sh [build-dir] [picture count] [output folder] [rounds]
# Needs img2pdf (Debian: apt-get install img2pdf). The photographs are made
# once into <build-dir>/pdf_bench_photos and kept for later runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
count=${2:-200}
# A folder of its own inside the output folder, removed at the end.
out=${3:-/dev/shm}/ot_pdf_compare.$$
rounds=${4:-3}
command -v img2pdf >/dev/null || { echo "img2pdf is missing: apt-get install img2pdf"; exit 1; }
"$root/scripts/build.sh" "$build" pdf_bench >/dev/null
build=$(cd "$build" && pwd)
photos=$build/pdf_bench_photos
mkdir -p "$photos" "$out"
. "$root/scripts/wine-env.sh"
ot_start_display
ot_wine_prefix
ot_wine_server ""
trap 'rm -rf "$out"; if [ -n "${OT_XVFB_STARTED:-}" ]; then ot_stop_display; fi' EXIT

best() { sort -g | head -1; }
ours=() copies=() memory=() img2pdf_times=() img2pdf_memory=() cp_times=()
# Each round runs every tool once, each after the disk has taken what the
# one before wrote.
for _ in $(seq "$rounds"); do
  sync
  report=$(wine "$build/pdf_bench.exe" "$count" "$(winepath -w "$photos")" "$(winepath -w "$out")" 2>/dev/null)
  ours+=("$(awk '/^PDF report/ {print $(NF-3)}' <<<"$report")")
  memory+=("$(awk '/^PDF report/ {print $(NF-1)}' <<<"$report")")
  copies+=("$(awk '/^file copy/ {print $(NF-1)}' <<<"$report")")
  sync
  measured=$( { /usr/bin/time -f '%e %M' img2pdf --output "$out/img2pdf.pdf" "$photos"/IMG_*.jpg; } 2>&1 | tail -1)
  img2pdf_times+=("${measured% *}")
  img2pdf_memory+=("${measured#* }")
  rm -f "$out/img2pdf.pdf"
  sync
  start=$(date +%s.%N)
  mkdir -p "$out/copies" && cp "$photos"/IMG_*.jpg "$out/copies/"
  cp_times+=("$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN {print b - a}')")
  rm -rf "$out/copies"
done
megabytes=$(du -cb "$photos"/IMG_*.jpg | awk 'END {printf "%.1f", $1 / 1048576}')

ours_s=$(printf '%s\n' "${ours[@]}" | best)
copy_s=$(printf '%s\n' "${copies[@]}" | best)
img_s=$(printf '%s\n' "${img2pdf_times[@]}" | best)
cp_s=$(printf '%s\n' "${cp_times[@]}" | best)
ours_mb=$(printf '%s\n' "${memory[@]}" | sort -g | tail -1)
img_mb=$(printf '%s\n' "${img2pdf_memory[@]}" | sort -g | tail -1 | awk '{printf "%.1f", $1 / 1024}')
echo "$count photographs, $megabytes MB, output into $(dirname "$out"), best of $rounds rounds"
printf '%-40s %8s %8s  %s\n' "" seconds MB/s "peak memory"
row() { printf '%-40s %8.2f %8.1f  %s\n' "$1" "$2" "$(awk -v m="$megabytes" -v s="$2" 'BEGIN {print m / s}')" "$3"; }
row "OstraTallier PDF (Wine, document's path)" "$ours_s" "$ours_mb MB private, above start"
row "img2pdf $(img2pdf --version 2>&1 | awk '{print $NF}') (native)" "$img_s" "$img_mb MB resident"
row "file copy (Wine, CopyFileW)" "$copy_s" ""
row "file copy (native, cp)" "$cp_s" ""
echo "OstraTallier / img2pdf: $(awk -v a="$img_s" -v b="$ours_s" 'BEGIN {printf "%.2f", a / b}') times the throughput"
