#!/usr/bin/env bash
# Starts the program and closes it again many times in a row, each start right
# after the previous copy's window went, as a user who opens and closes it
# quickly does, and counts the starts that crashed, apart from the starts
# that ended by themselves without a window (no crash, a non-zero exit code),
# as where no window can be made. Each start's output is kept in the run's
# folder (start-N.log, with Wine's line "Unhandled ..." of a crash; its exit
# code in start-N.log.code). Wine's debugger, which the prefix runs on a
# crash without a dialog, writes its backtrace to the console of a console
# program only: for this window program the loop's prefix has it write to
# winedbg.txt in the run's folder. Every crash is printed at the end with its
# backtrace.
#   scripts/start-close-loop.sh [options] [build-dir]
#     -n COUNT   starts (50)
#     -s MODE    how the program starts: empty (an empty report), wizard (the
#                report wizard, the default start; closed, then the main window),
#                nodisplay (without an X display: no window can be made)
#     -c HOW     how each copy ends: altf4 (Alt+F4 typed), wmclose (WM_CLOSE
#                through taskkill), kill (killed once its window shows),
#                closekill (Alt+F4, then killed within two seconds, while it
#                may be saving its settings), mix (the four in turn)
#     -p PREFIX  reuse (one Wine prefix of the loop's own for every start) or
#                fresh (a new prefix for each start, made as a new user's is)
#     -g SECONDS wait for each copy to end, then pause that long (fractions
#                too) before the next start; without it the next start comes
#                at once when the window goes, while the copy may still be ending
#     -l LOOPS   busy loops started for load while the loop runs (0); killed at the end
#     -d         disturb each start as other programs on the desktop may: the
#                pointer moved and clicked at random places, Alt and Escape
#                typed, until the main window shows
#     -x COMMAND a neighbour run again and again in the loop's display and
#                prefix (a test program of the project that broadcasts
#                changes to every window), ended at the end; with -p reuse
#     -o DIR     the run's folder (a new one under /tmp)
# Needs xdotool, imagemagick and x11-utils (installed when missing). Exits 1 when any
# start crashed, showed no window without ending by itself, or did not close
# or end in time.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
count=50 mode=empty how=altf4 prefixKind=reuse gap="" loops=0 out="" disturb="" neighbour=""
while getopts n:s:c:p:g:l:o:dx: option; do
  case $option in
    n) count=$OPTARG ;; s) mode=$OPTARG ;; c) how=$OPTARG ;; p) prefixKind=$OPTARG ;;
    g) gap=$OPTARG ;; l) loops=$OPTARG ;; o) out=$OPTARG ;; d) disturb=1 ;; x) neighbour=$OPTARG ;;
    *) sed -n '2,29p' "$0"; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
build=$(cd "${1:-$root/build}" && pwd)
[ -f "$build/OstraTallier.exe" ] || { echo "no $build/OstraTallier.exe: build first" >&2; exit 2; }
for p in xdotool imagemagick x11-utils; do
  dpkg -s "$p" >/dev/null 2>&1 || DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$p" >/dev/null
done
out=${out:-$(mktemp -d /tmp/start-close-loop.XXXXXX)}
mkdir -p "$out"

# Everything this script starts, ended by its id when it stops.
xvfb="" busy=() copies=() neighbourLoop="" disturber=""
finish() {
  for pid in "${busy[@]}" $neighbourLoop $disturber; do kill "$pid" 2>/dev/null; done
  for pid in "${copies[@]}"; do kill -9 "$pid" 2>/dev/null; done
  for p in "$out"/prefix*; do [ -d "$p" ] && WINEPREFIX=$p wineserver -k 2>/dev/null; done
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
}
trap finish EXIT
trap 'exit 130' INT TERM

# A display of the loop's own, so that no other window takes the keys.
fd=$(mktemp)
setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fd" </dev/null >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 200); do [ -s "$fd" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$fd")" OT_BUILD_DIR="$build"
rm -f "$fd"

for _ in $(seq "$loops"); do (while :; do :; done) & busy+=($!); done

# Makes the prefix of start $1 (the loop's one prefix when reused) with the start mode set.
prepare_prefix() {
  export OT_WINEPREFIX="$out/prefix"
  [ "$prefixKind" = fresh ] && OT_WINEPREFIX="$out/prefix-$1"
  [ -f "$OT_WINEPREFIX/.ot-loop-ready" ] && return 0
  (
    . "$root/scripts/wine-env.sh"
    ot_wine_prefix
    local value=0
    [ "$mode" = empty ] && value=3
    wine reg add 'HKCU\Software\Kestrel Works\OstraTallier' /v StartUpMode /t REG_DWORD /d $value /f \
      </dev/null >/dev/null 2>&1
    local backtraces
    backtraces=$(winepath -w "$out/winedbg.txt" 2>/dev/null </dev/null)
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /f /d \
      "C:\\windows\\system32\\cmd.exe /c C:\\windows\\system32\\winedbg.exe --auto %ld %ld >> \"$backtraces\" 2>&1" \
      </dev/null >/dev/null 2>&1
    wineserver -w
  ) && touch "$OT_WINEPREFIX/.ot-loop-ready"
}

# The visible window of copy $1 whose title matches $2 (Wine names the
# process of each window), or nothing.
window_of() { xdotool search --all --onlyvisible --pid "$1" --name "$2" 2>/dev/null | head -n1; }

# Waits up to $3 seconds for a window of copy $1 titled $2 while the copy lives; prints its id.
wait_window() {
  local w deadline=$((SECONDS + $3))
  while [ "$SECONDS" -lt "$deadline" ]; do
    w=$(window_of "$1" "$2")
    [ -n "$w" ] && { echo "$w"; return 0; }
    kill -0 "$1" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# Starts the command that follows apart from this shell, its output in the log
# $1 and its exit code, once it ends, in $1.code; prints its id.
launch() {
  local log=$1
  shift
  rm -f "$log.pid" "$log.code"
  setsid bash -c '"$@" & echo $! >"$0.pid"; wait $!; echo $? >"$0.code"' "$log" "$@" </dev/null >"$log" 2>&1 &
  wait_until 30 test -s "$log.pid" && cat "$log.pid"
}

# True when the copy of the log $1 ended without a crash and with a non-zero exit code.
ended_by_itself() {
  wait_until 30 test -s "$1.code" && ! grep -q Unhandled "$1" && [ "$(cat "$1.code")" != 0 ]
}

# Waits up to $1 seconds until the command that follows holds.
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  while [ "$SECONDS" -lt "$deadline" ]; do
    "$@" && return 0
    sleep 0.1
  done
  "$@"
}
no_window() { [ -z "$(window_of "$1" "$2")" ]; }
ended() { ! kill -0 "$1" 2>/dev/null; }

# Waits up to $3 seconds until copy $1 shows no window titled $2.
wait_no_window() { wait_until "$3" no_window "$1" "$2"; }

# Waits up to $2 seconds for copy $1 to end.
wait_ended() { wait_until "$2" ended "$1"; }

# Types the keys $2 into window $1.
type_into() {
  timeout 5 xdotool windowfocus --sync "$1" 2>/dev/null
  xdotool key --clearmodifiers "$2"
}

# Ends copy $1 whose window is $2 the way $3 says.
end_copy() {
  case $3 in
    altf4 | closekill) type_into "$2" alt+F4 ;;
    wmclose) WINEPREFIX=$OT_WINEPREFIX wine taskkill /im OstraTallier.exe </dev/null >/dev/null 2>&1 ;;
    kill) kill -9 "$1" ;;
  esac
  if [ "$3" = closekill ]; then
    sleep "$((RANDOM % 2)).$((RANDOM % 10))"
    kill -9 "$1" 2>/dev/null
  fi
}

# True while window $1 is on the screen (asked of the window itself: a search
# among all windows may miss one while others come and go).
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }

# Waits up to 30 seconds for copy $1 to end or its main window $2 to go,
# answering "No" to the question whether to save the new report, and asking
# again every ten seconds (a key typed while the window was not yet in front
# is lost).
wait_closed() {
  local deadline=$((SECONDS + 30)) again=$((SECONDS + 10)) gone=0 w
  while [ "$SECONDS" -lt "$deadline" ]; do
    kill -0 "$1" 2>/dev/null || return 0
    if viewable "$2"; then gone=0; else gone=$((gone + 1)); fi
    [ "$gone" -ge 3 ] && return 0
    w=$(xdotool search --all --onlyvisible --pid "$1" --name '^OstraTallier$' 2>/dev/null | grep -vx "$2" | head -n1)
    if [ -n "$w" ]; then
      type_into "$w" n
      sleep 0.5
    elif [ "$SECONDS" -ge "$again" ]; then
      # A close typed while another window had the keys is asked again by WM_CLOSE.
      end_copy "$1" "$2" "$([ "$3" = kill ] && echo kill || echo wmclose)"
      again=$((SECONDS + 10))
    fi
    sleep 0.1
  done
  return 1
}

# Keeps what the display shows and the names of its windows beside the log $1.
keep_sight() {
  import -window root "${1%.log}.png" 2>/dev/null
  for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    echo "window: $(xdotool getwindowname "$w" 2>/dev/null)"
  done >>"$1"
}

# Moves and clicks the pointer at random places and types Alt or Escape now
# and then, until it is ended.
disturb_start() {
  local x y
  while :; do
    x=$((RANDOM % 1280)) y=$((RANDOM % 1024))
    xdotool mousemove "$x" "$y" 2>/dev/null
    case $((RANDOM % 10)) in
      0 | 1 | 2) xdotool click 1 2>/dev/null ;;
      3) xdotool key alt 2>/dev/null ;;
      4) xdotool key Escape 2>/dev/null ;;
    esac
    sleep "0.0$((RANDOM % 10))"
  done
}

# The neighbour, again and again while the loop runs, in the prefix of the first start.
if [ -n "$neighbour" ]; then
  [ "$prefixKind" = reuse ] || { echo "-x needs -p reuse" >&2; exit 2; }
  prepare_prefix 1 || exit 2
  neighbourLoop=$(
    while :; do
      # shellcheck disable=SC2086
      "$root/scripts/wine-run.sh" $neighbour </dev/null >>"$out/neighbour.log" 2>&1
    done </dev/null >/dev/null 2>&1 &
    echo $!
  )
fi

kinds=(altf4 wmclose kill closekill)
wizardWait=120
[ -n "$disturb" ] && wizardWait=30
windowless=0 selfended=0 stuck=0 loadMin=999 loadMax=0
started=$(date +%s)
for run in $(seq "$count"); do
  prepare_prefix "$run" || { echo "start $run: the prefix could not be made" >&2; exit 2; }
  ending=$how
  [ "$how" = mix ] && ending=${kinds[$(((run - 1) % 4))]}
  log="$out/start-$run.log"
  # Started apart from this shell, which only watches it by its id.
  if [ "$mode" = nodisplay ]; then
    pid=$(launch "$log" bash -c '. "$0/scripts/wine-env.sh"; exec env -u DISPLAY wine "$1"' "$root" "$build/OstraTallier.exe")
  else
    pid=$(launch "$log" "$root/scripts/wine-run.sh" "$build/OstraTallier.exe")
  fi
  copies+=("$pid")
  load=$(cut -d' ' -f1 /proc/loadavg)
  loadMin=$(awk -v a="$loadMin" -v b="$load" 'BEGIN{print (b<a)?b:a}')
  loadMax=$(awk -v a="$loadMax" -v b="$load" 'BEGIN{print (b>a)?b:a}')
  state=closed
  if [ -n "$disturb" ]; then
    disturber=$(disturb_start </dev/null >/dev/null 2>&1 & echo $!)
  fi
  # The main window (it comes before the wizard); the disturbance ends with it.
  title='^OstraTallier'
  [ "$mode" = empty ] && title='^OstraTallier - '
  w=$(wait_window "$pid" "$title" 120) || state=nowindow
  [ -n "$disturber" ] && { kill "$disturber" 2>/dev/null; disturber=""; }
  # The wizard, closed first. A stray Escape or click of the disturbance may
  # have cancelled it already: then the main window is closed as it is.
  if [ "$state" = closed ] && [ "$mode" = wizard ]; then
    if wizard=$(wait_window "$pid" '^Choose Template$' "$wizardWait"); then
      type_into "$wizard" alt+F4
      wait_no_window "$pid" '^Choose Template$' 30 || state=noclose
    elif [ -z "$disturb" ] || ! kill -0 "$pid" 2>/dev/null; then
      state=nowindow
    fi
  fi
  if [ "$state" = closed ]; then
    end_copy "$pid" "$w" "$ending"
    wait_closed "$pid" "$w" "$ending" || state=noclose
  fi
  [ -n "$disturber" ] && { kill "$disturber" 2>/dev/null; disturber=""; }
  # A copy alive without its window in time is stuck too; one that ended
  # without a window and without a crash, with a non-zero code, ended by itself.
  [ "$state" = nowindow ] && kill -0 "$pid" 2>/dev/null && state=noshow
  [ "$state" = nowindow ] && ended_by_itself "$log" && state="ended by itself with code $(cat "$log.code")"
  case $state in
    ended*) selfended=$((selfended + 1)) ;;
    nowindow) windowless=$((windowless + 1)) ;;
    noclose | noshow)
      keep_sight "$log"
      kill -9 "$pid" 2>/dev/null
      stuck=$((stuck + 1)) ;;
  esac
  echo "start $run: $state, ended by $ending, load $load"
  if [ -n "$gap" ]; then
    wait_ended "$pid" 30
    sleep "$gap"
  fi
  # A fresh prefix goes once its copy has ended.
  if [ "$prefixKind" = fresh ]; then
    wait_ended "$pid" 30
    WINEPREFIX=$OT_WINEPREFIX wineserver -k 2>/dev/null
    rm -rf "$OT_WINEPREFIX"
  fi
done
[ -n "$neighbourLoop" ] && { kill "$neighbourLoop" 2>/dev/null; neighbourLoop=""; }
# Every copy ends within half a minute of its window going; the logs are read after.
unended=0
for pid in "${copies[@]}"; do
  wait_ended "$pid" 30 || { unended=$((unended + 1)); kill -9 "$pid" 2>/dev/null; }
done
# The debugger's reports, one for each crash in the order of the crashes, up
# to their list of modules.
crashed=0
for run in $(seq "$count"); do
  log="$out/start-$run.log"
  if grep -q 'Unhandled' "$log"; then
    crashed=$((crashed + 1))
    echo "=== start $run crashed ($log):"
    grep 'Unhandled' "$log"
    awk -v n="$crashed" '/^Unhandled exception:/ { on = ++k == n } /^Modules:/ { on = 0 } on' "$out/winedbg.txt" 2>/dev/null
  fi
done
when="each next start at once"
[ -n "$gap" ] && when="a pause of $gap s after each end"
echo "$count starts in $(($(date +%s) - started)) s, start $mode, ended by $how, prefix $prefixKind, $when," \
  "$loops busy loops, load $loadMin to $loadMax${disturb:+, disturbed}${neighbour:+, beside $neighbour}"
echo "crashed: $crashed, ended by themselves without a window: $selfended, no window otherwise: $windowless," \
  "not showing or not closing in time: $stuck, not ending in time: $unended (logs in $out)"
[ "$crashed" = 0 ] && [ "$windowless" = 0 ] && [ "$stuck" = 0 ] && [ "$unended" = 0 ]
