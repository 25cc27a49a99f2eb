# Sourced by the scripts that run Windows programs: the project's Wine settings.
# The prefix lives in the build tree; the ANSI code page of every run is 1252
# (Wine takes it from the locale name, whatever locales the machine has).
ot_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
: "${OT_BUILD_DIR:=$ot_root/build}"
export OT_BUILD_DIR
export WINEPREFIX="${OT_WINEPREFIX:-$OT_BUILD_DIR/wineprefix}"
export WINEARCH=win32
# OT_WINEDEBUG turns Wine channels on for a run (heap checks of a test).
export WINEDEBUG="${OT_WINEDEBUG:--all}"
# Nothing run here reaches the host's desktop. The shell's open of a file or
# an address (a generated report, a link) goes to winebrowser, which hands it
# to the host's xdg-open: on a desktop that starts the user's PDF viewer or
# browser on the tests' display, where it holds the test runner's output open
# and takes the windows the tests drive. Switched off, the open starts
# nothing; scripts/run.sh sets OT_HOST_SHELL=1 and keeps the user's viewer.
# winemenubuilder would write the prefix's file types into the user's menus
# and MIME database and run the host's tools to index them.
ot_overrides="mscoree,mshtml=;winemenubuilder.exe=d"
if [ "${OT_HOST_SHELL:-}" != 1 ]; then ot_overrides="$ot_overrides;winebrowser.exe=d"; fi
# OT_WINEDLLOVERRIDES adds overrides of a test run (a library switched off).
export WINEDLLOVERRIDES="$ot_overrides${OT_WINEDLLOVERRIDES:+;$OT_WINEDLLOVERRIDES}"
export LC_ALL=C.UTF-8 LANG=C.UTF-8

# Where 32-bit programs run emulated, the set-up took Wine's native server
# (scripts/setup.sh says why): every wineserver command of these scripts goes
# to it, and it is started before any Windows program of the prefix, since
# Wine itself would start its emulated one.
ot_native_server="$OT_BUILD_DIR/deps/wineserver/wineserver64"
wineserver() {
  if [ -x "$ot_native_server" ]; then "$ot_native_server" "$@"; else command wineserver "$@"; fi
}
# Starts the native server for the prefix, persistent for the seconds given,
# unless a server of the prefix runs already (it then says so and ends). An
# emulated one left running (started by Wine itself, or by older scripts) is
# named: the tests that read the program's memory fail while it serves.
ot_native_server_up() {
  [ -x "$ot_native_server" ] || return 0
  mkdir -p "$WINEPREFIX"
  wineserver -p"$1" </dev/null >/dev/null 2>&1 9>&- || true
  # A server works in a folder named for the prefix's device and inode.
  local dir cwd
  dir=$(printf 'server-%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
  for cwd in $(find /proc -mindepth 2 -maxdepth 2 -name cwd -lname "*/$dir" 2>/dev/null); do
    [ "$(readlink "${cwd%/cwd}/exe")" = "$(readlink -f "$ot_native_server")" ] ||
      echo "wine-env: the Wine server of $WINEPREFIX runs emulated (process $(basename "${cwd%/cwd}")); end it with wineserver -k" >&2
  done
}

# Creates the prefix once (several test runners may start at the same time).
# Its windows are not handed to a window manager: the test display has none,
# and Wine would wait two seconds for one each time a window is hidden.
ot_wine_prefix() {
  # The program and its tests are 32-bit Windows programs, which Wine starts
  # with its 32-bit loader: a machine that executes no 32-bit x86 code (its
  # kernel or hypervisor runs none) cannot run them, and says so here.
  local started
  if ! started=$(wine --version 2>&1 </dev/null 9>&-); then
    echo "wine-env: Wine does not start on this machine: ${started##*: }; it runs no 32-bit x86 program, and the program and its tests are 32-bit" >&2
    return 1
  fi
  if [ -f "$WINEPREFIX/.ot-ready-7" ]; then ot_native_server_up 60; return 0; fi
  mkdir -p "$(dirname "$WINEPREFIX")"
  # The lock's descriptor is closed for every program started under it: a
  # lingering wine server must not keep the lock held.
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.ot-ready-7" ]; then
      rm -rf "$WINEPREFIX"
      # Short-lived: the creation waits for the server's end below.
      ot_native_server_up 5
      wineboot -i >/dev/null 2>&1 9>&- || true
      local reg
      reg=$(mktemp --suffix=.reg)
      # The Windows faces the program asks for resolve to the Liberation faces.
      # A program that crashes has its backtrace written to the test's output
      # and ends: a crash dialog would wait for a click no test gives, and the
      # test runner would wait for it until its time-out.
      printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"Arial"="Liberation Sans"\r\n"Times New Roman"="Liberation Serif"\r\n"Courier New"="Liberation Mono"\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n\r\n' > "$reg"
      wine regedit /S "$(winepath -w "$reg" 2>/dev/null 9>&-)" >/dev/null 2>&1 9>&-
      # Wine's own faces (Tahoma, MS Sans Serif, Marlett for the caption
      # buttons' glyphs), which this Wine does not find in its data folder.
      cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
      # Tahoma is the face of the menus and dialogs that the system draws; as
      # shipped, its glyphs stand at other places than it measures them, and
      # the line under a menu's letter stood under a later character. Its
      # copy keeps the bitmap strikes that draw it cleanly and is measured as
      # they draw it (python3-fonttools, from the set-up).
      local face fonts="$WINEPREFIX/drive_c/windows/Fonts"
      for face in tahoma tahomabd; do
        /usr/bin/python3 "$ot_root/scripts/font-drawn-as-measured.py" "/usr/share/wine/fonts/$face.ttf" \
          "$fonts/$face.ttf" 9>&- || { rm -f "$fonts/$face.ttf"; echo "wine-env: no copy of $face.ttf" >&2; }
      done
      wineserver -w 9>&-
      rm -f "$reg"
      # Marked ready only once its settings and fonts are on disk: a creation cut
      # short leaves no mark, and the next run makes the prefix again.
      if grep -q 'Liberation Sans' "$WINEPREFIX/user.reg" 2>/dev/null &&
         grep -q 'ShowCrashDialog' "$WINEPREFIX/user.reg" 2>/dev/null &&
         ls "$WINEPREFIX/drive_c/windows/Fonts/"*.ttf >/dev/null 2>&1 &&
         [ -f "$fonts/tahoma.ttf" ] && [ -f "$fonts/tahomabd.ttf" ] &&
         grep -q hdmx "$fonts/tahoma.ttf" && grep -q hdmx "$fonts/tahomabd.ttf"; then
        touch "$WINEPREFIX/.ot-ready-7"
      else
        echo "wine-env: the Wine prefix $WINEPREFIX was not completed" >&2
        exit 1
      fi
    fi
  ) 9>"$WINEPREFIX.lock" || return 1
  ot_native_server_up 60
}

# Starts the prefix's Wine server and its service programs detached from the
# caller's output: a test runner waits for the end of its children's output,
# and programs that outlive a test would otherwise hold it open.
ot_wine_server() {
  wineserver -p"${1:-60}" </dev/null >/dev/null 2>&1 || true
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}

# Starts the desktop's own process with no output and keeps it until the Wine
# server ends (tests/support/DesktopKeeper.cpp says why); done once it runs.
ot_desktop_keeper() {
  local ready="$OT_BUILD_DIR/desktop-keeper.ready" i
  rm -f "$ready"
  setsid wine "$OT_BUILD_DIR/desktop_keeper.exe" "$(winepath -w "$ready" 2>/dev/null </dev/null)" \
    </dev/null >/dev/null 2>&1 9>&- &
  for i in $(seq 1 3000); do
    [ -f "$ready" ] && return 0
    kill -0 $! 2>/dev/null || break
    sleep 0.2
  done
  echo "wine-env: the desktop keeper did not start; each test starts the desktop's process itself" >&2
}

# Uses a virtual X display when there is none: one Xvfb per build tree, started
# on first use and shared by every later run (a Wine server keeps the display
# it started with). Sets OT_XVFB_STARTED when this call started it.
ot_start_display() {
  OT_XVFB_STARTED=""
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  local state="$OT_BUILD_DIR/xvfb"
  mkdir -p "$OT_BUILD_DIR"
  exec 8>"$state.lock"
  flock 8
  if [ -f "$state.pid" ] && kill -0 "$(cat "$state.pid")" 2>/dev/null && [ -s "$state.display" ]; then
    export DISPLAY=":$(cat "$state.display")"
  else
    local fdfile
    fdfile=$(mktemp)
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 </dev/null 8>&- &
    echo $! > "$state.pid"
    local i
    for i in $(seq 1 200); do
      if [ -s "$fdfile" ]; then break; fi
      sleep 0.05
    done
    head -n 1 "$fdfile" > "$state.display"
    rm -f "$fdfile"
    export DISPLAY=":$(cat "$state.display")"
    OT_XVFB_STARTED=1
  fi
  flock -u 8
  exec 8>&-
}

# Ends the Wine server and the virtual display of this build tree.
ot_stop_display() {
  wineserver -k >/dev/null 2>&1 || true
  local state="$OT_BUILD_DIR/xvfb"
  if [ -f "$state.pid" ]; then
    kill "$(cat "$state.pid")" 2>/dev/null || true
    rm -f "$state.pid" "$state.display"
  fi
}

# A small volume of its own for one run of a program: a tmpfs of 4 MB that the
# tests of a full disk fill, so that writes fail as on a real full disk.
# OT_SMALL_VOLUME names it as Wine sees it (Z: is the host's root), and
# OT_READONLY_VOLUME a read-only tmpfs mounted beside it. Mounting
# needs root or sudo without a password; without it OT_SMALL_VOLUME stays
# unset and the tests that need the volume fail and say so.
ot_small_volume() {
  OT_SMALL_VOLUME_DIR=""
  local as_root="" dir
  if [ "$(id -u)" != 0 ]; then
    sudo -n true 2>/dev/null || return 0
    as_root="sudo -n"
  fi
  dir=$(mktemp -d /tmp/ot-volume.XXXXXX) || return 0
  if $as_root mount -t tmpfs -o size=4m,mode=1777 ot-small-volume "$dir" 2>/dev/null; then
    OT_SMALL_VOLUME_DIR=$dir
    export OT_SMALL_VOLUME="Z:${dir//\//\\}\\"
  else
    rmdir "$dir" 2>/dev/null || true
  fi
  # A read-only volume beside it, for the tests of a write refused there.
  OT_READONLY_VOLUME_DIR=""
  dir=$(mktemp -d /tmp/ot-readonly.XXXXXX) || return 0
  if $as_root mount -t tmpfs -o size=64k,mode=1777,ro ot-readonly-volume "$dir" 2>/dev/null; then
    OT_READONLY_VOLUME_DIR=$dir
    export OT_READONLY_VOLUME="Z:${dir//\//\\}\\"
  else
    rmdir "$dir" 2>/dev/null || true
  fi
}

# Unmounts and removes the volumes of ot_small_volume.
ot_release_small_volume() {
  local as_root="" dir
  [ "$(id -u)" = 0 ] || as_root="sudo -n"
  for dir in "${OT_SMALL_VOLUME_DIR:-}" "${OT_READONLY_VOLUME_DIR:-}"; do
    [ -n "$dir" ] || continue
    $as_root umount "$dir" 2>/dev/null || $as_root umount -l "$dir" 2>/dev/null || true
    rmdir "$dir" 2>/dev/null || true
  done
  OT_SMALL_VOLUME_DIR=""
  OT_READONLY_VOLUME_DIR=""
}
