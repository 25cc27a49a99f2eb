#!/usr/bin/env bash
# Runs one Windows program under Wine with the project's prefix and settings;
# ctest uses it as the cross-compiling emulator. A test program gets a small
# volume of its own for the tests of a full disk (OT_SMALL_VOLUME), gone
# again when it ends.
#   scripts/wine-run.sh program.exe [arguments...]
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
ot_start_display
ot_wine_prefix
ot_wine_server 60
case "$(basename "${1:-}")" in
  *_tests.exe)
    ot_small_volume
    trap ot_release_small_volume EXIT
    trap 'exit 143' TERM INT
    wine "$@"
    ;;
  *) exec wine "$@" ;;
esac
