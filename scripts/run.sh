#!/usr/bin/env bash
# Builds OstraTallier (with the whole set-up on a fresh machine) and starts it
# under Wine.
#   scripts/run.sh [build-dir] [program arguments...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true
"$root/scripts/build.sh" "$build"
build=$(cd "$build" && pwd)
exe="$build/OstraTallier.exe"
if [ ! -f "$exe" ]; then
  echo "OstraTallier: $exe was not built." >&2
  exit 1
fi
export OT_BUILD_DIR=$build
# The program opens what it generates in the user's viewer (the tests' runs
# keep the shell's open inside Wine).
export OT_HOST_SHELL=1
exec "$root/scripts/wine-run.sh" "$exe" "$@"
