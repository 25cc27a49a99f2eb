#!/usr/bin/env bash
# Runs one Windows program on a 256-colour display: an Xvfb of its own at
# depth 8 and a Wine prefix of its own (a Wine server keeps the display it
# started with), both ended afterwards. The test command uses it for the
# palette paths of the docking library.
#   scripts/wine-run-palette.sh program.exe [arguments...]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
: "${OT_BUILD_DIR:=$root/build}"
export OT_WINEPREFIX="$OT_BUILD_DIR/wineprefix-palette"
. "$root/scripts/wine-env.sh"

fdfile=$(mktemp)
setsid Xvfb -displayfd 3 -screen 0 1024x768x8 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 </dev/null &
xvfb=$!
for _ in $(seq 1 200); do
  [ -s "$fdfile" ] && break
  sleep 0.05
done
if [ ! -s "$fdfile" ]; then
  echo "wine-run-palette: Xvfb at depth 8 did not start" >&2
  kill "$xvfb" 2>/dev/null
  rm -f "$fdfile"
  exit 1
fi
export DISPLAY=":$(head -n 1 "$fdfile")"
rm -f "$fdfile"

ot_wine_prefix
wine "$@" </dev/null
rc=$?
wineserver -k >/dev/null 2>&1 || true
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
exit $rc
