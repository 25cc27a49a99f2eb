#!/usr/bin/env bash
# Thumbnails on one processor side by side: raster_bench.exe's reduced reads
# through DAZiruraRuv.dll (under Wine) and native `djpeg -scale 1/8` on the same
# camera-size JPEG files, each pinned to one processor, best and median of the
# rounds, the rounds of the two taking turns (the machine is shared).
#   bench/raster_compare.sh [build-dir] [count] [width height] [rounds]
# Needs djpeg (Debian: apt-get install libjpeg-turbo-progs). The files are made
# once into <build-dir>/raster_bench_photos and kept.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
count=${2:-100}
width=${3:-4000}
height=${4:-3000}
rounds=${5:-5}
command -v djpeg >/dev/null || { echo "djpeg is missing: apt-get install libjpeg-turbo-progs"; exit 1; }
"$root/scripts/build.sh" "$build" raster_bench >/dev/null
build=$(cd "$build" && pwd)
photos=$build/raster_bench_photos
mkdir -p "$photos"
. "$root/scripts/wine-env.sh"
ot_start_display
ot_wine_prefix
ot_wine_server ""
trap 'if [ -n "${OT_XVFB_STARTED:-}" ]; then ot_stop_display; fi' EXIT
folder=$(winepath -w "$photos")
wine "$build/raster_bench.exe" "$count" "$width" "$height" --folder "$folder" --make >/dev/null
files=()
for i in $(seq 0 $((count - 1))); do files+=("$photos/$(printf 'bench_%03d.jpg' "$i")"); done
cat "${files[@]}" >/dev/null  # in the system's cache, as for the program
cpu=$(taskset -pc $$ | awk -F': ' '{print $2}' | cut -d, -f1 | cut -d- -f1)
ours=() natives=()
for _ in $(seq "$rounds"); do
  start=$(date +%s.%N)
  for f in "${files[@]}"; do taskset -c "$cpu" djpeg -scale 1/8 "$f" >/dev/null; done
  natives+=("$(awk -v n="$count" -v a="$start" -v b="$(date +%s.%N)" 'BEGIN {printf "%.2f", n / (b - a)}')")
  report=$(wine "$build/raster_bench.exe" "$count" "$width" "$height" --folder "$folder" --no-wic 2>/dev/null)
  ours+=("$(awk '/ReadLQRasterImage/ {print $(NF-1)}' <<<"$report")")
done
best() { sort -g | tail -1; }
median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
native=$(printf '%s\n' "${natives[@]}" | best)
nativeMedian=$(printf '%s\n' "${natives[@]}" | median)
best=$(printf '%s\n' "${ours[@]}" | best)
bestMedian=$(printf '%s\n' "${ours[@]}" | median)
echo "$report"
echo
echo "$count files of $width x $height, one processor each, $rounds rounds: best / median"
printf '%-46s %16s\n' "" "thumbnails/s"
printf '%-46s %7.2f / %6.2f\n' "OstraTallier ReadLQRasterImage (Wine, 32-bit)" "$best" "$bestMedian" \
  "$(djpeg -version 2>&1 | head -1 | cut -c1-40) -scale 1/8" "$native" "$nativeMedian"
awk -v a="$best" -v b="$native" -v c="$bestMedian" -v d="$nativeMedian" \
  'BEGIN {printf "ours / native: %.2f times the rate (best), %.2f (median)\n", a / b, c / d}'
