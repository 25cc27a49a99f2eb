#!/usr/bin/env bash
# Builds everything and runs every test under Wine (on a virtual display when
# there is no display). Does the whole set-up on a fresh Debian 12 machine.
#   scripts/test.sh [build-dir] [ctest arguments...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true
"$root/scripts/build.sh" "$build"
build=$(cd "$build" && pwd)
export OT_BUILD_DIR=$build
. "$root/scripts/wine-env.sh"
ot_start_display
ot_wine_prefix
# One wine server for the whole run spares every test executable its start-up.
ot_wine_server ""
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
ctest --output-on-failure -j "$(nproc)" "$@"
shopt -s nullglob
written=("$xmlcheck"/*.xml)
if [ ${#written[@]} -gt 0 ]; then
  xmllint --noout "${written[@]}" || { echo "xmllint: a written XML file is not well-formed"; exit 1; }
fi
