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
ctest --output-on-failure -j "$(nproc)" "$@"
