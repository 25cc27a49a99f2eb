#!/usr/bin/env bash
# The program started where no window can be made (no X display, as when the
# display of a user's session has gone) ends by itself, with exit code 1 and
# without a crash, and writes nothing that a later start would find broken:
# the settings stay as they were and its picture store's folder goes. Its end
# still writes the shell registration of the report types. The usual start
# before and after it shows a main window that takes commands.
# ctest runs it as editor_start_without_display.
#   tests/editor/start-without-display.sh build-dir
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
OT_BUILD_DIR=$(cd "$1" && pwd)
. "$root/scripts/wine-env.sh"
ot_start_display && ot_wine_prefix && ot_wine_server 60 || exit 1
usual_start() {
  "$root/scripts/wine-run.sh" "$OT_BUILD_DIR/editor_tests.exe" --gtest_brief=1 --gtest_filter='ProgramStart.EmptyReport*'
}
# Each value with its key (keys opened to be read may be made empty).
settings() { wine reg query 'HKCU\Software\Kestrel Works' /s 2>/dev/null | awk '/^HKEY/ { k = $0 } /REG_/ { print k ": " $0 }'; }
registered() { wine reg query 'HKCR\.otd' /ve 2>/dev/null | grep -q 'OstraTallier.Document'; }
stores() { ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Local/{,Temp/}ImagesCache/run_* 2>/dev/null; }
# The usual start first: the desktop's own process then runs on the display.
usual_start || exit 1
settingsBefore=$(settings) storesBefore=$(stores)
wine reg delete 'HKCR\.otd' /f >/dev/null 2>&1
registered && { echo "the registration could not be removed before the start"; exit 1; }
output=$(env -u DISPLAY WINEDEBUG=-all wine "$OT_BUILD_DIR/OstraTallier.exe" 2>&1)
code=$?
failed=0
grep -q Unhandled <<<"$output" && { echo "the start without a display crashed:"; echo "$output"; failed=1; }
[ "$code" = 1 ] || { echo "the start without a display ended with code $code, not 1"; failed=1; }
[ "$(settings)" = "$settingsBefore" ] || {
  echo "the start without a display changed the settings:"; diff <(echo "$settingsBefore") <(settings); failed=1; }
registered || { echo "the start without a display wrote no shell registration"; failed=1; }
[ "$(stores)" = "$storesBefore" ] || { echo "the start without a display left its store folder: $(stores)"; failed=1; }
usual_start || failed=1
exit $failed
