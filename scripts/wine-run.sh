#!/usr/bin/env bash
# Runs one Windows program under Wine with the project's prefix and settings;
# ctest uses it as the cross-compiling emulator.
#   scripts/wine-run.sh program.exe [arguments...]
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
ot_start_display
ot_wine_prefix
ot_wine_server 60
exec wine "$@"
