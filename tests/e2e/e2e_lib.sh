# Shared ground of the Linux end-to-end scripts, sourced once they have set work (a scratch folder
# that goes at the end) and artifacts (where screenshots and logs are kept when a check fails):
#   check DESCRIPTION COMMAND...   one check, counted in failures
#   fatal DESCRIPTION              a failed check after which nothing can be judged: ends the test
#   require_tools TOOL...          ends the test when a tool is missing
#   start_watchdog SECONDS         ends the whole test in time; taking the X server away makes every
#                                  client give up at once, so the cleanup runs and leaves nothing
#   wait_until SECONDS COMMAND...  runs the command every 0.1 s until it succeeds; false when time is up
#   await SHOT WHAT SECONDS R,G,B X0 Y0 X1 Y1 [R,G,B X0 Y0 X1 Y1]...
#                                  waits until every colour shows in its rectangle in one screenshot
#                                  (kept as SHOT); ends the test, saying WHAT did not show, when not
#   finish_game [SECONDS]          waits 10 s (or SECONDS) at most for $game_pid; its exit code goes
#                                  to $status
#   peak_kb                        the peak resident memory of $game_pid so far, in kB
#   oversized_bitmap FILE          writes a bitmap that claims 20000 x 20000 pixels in 1 KB
#   key KEY...                     types keys into the X server's focus
#   escape_ends WHAT [SECONDS]     Escape, then a check that WHAT ends with exit code 0 (finish_game)
#   verdict WHAT                   the closing line; exit 1 when a check failed
# On exit the game ($game_pid) and the X server stop, and $work goes.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/with-xvfb.sh"

failures=0
game_pid=""
watchdog_pid=""
keep_also=()  # files beside the screenshots and logs worth keeping after a failure
screen=(python3 "$(dirname "${BASH_SOURCE[0]}")/screen.py")
status_colour=153,151,151 grey=128,128,128 white=255,255,255 red=255,0,0

# Leaks of libraries below SDL are not the game's; the game's own code must not leak.
export LSAN_OPTIONS="suppressions=$(dirname "${BASH_SOURCE[0]}")/lsan.supp:print_suppressions=0"

check() {
  local what=$1
  shift
  if "$@"; then
    echo "ok   $what"
  else
    echo "FAIL $what"
    failures=$((failures + 1))
  fi
}

fatal() {
  echo "FAIL $1"
  failures=$((failures + 1))
  exit 1
}

require_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || fatal "$tool is not installed (scripts/install-deps.sh test installs it)"
  done
}

start_watchdog() {
  (
    trap 'kill "$sleeper" 2>/dev/null; exit 0' TERM
    sleep "$1" &
    sleeper=$!
    wait "$sleeper"
    echo "FAIL the test ran out of time"
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
    kill -TERM $$
  ) &
  watchdog_pid=$!
}

wait_until() {
  local deadline=$(($(date +%s) + $1))
  shift
  until "$@"; do
    [ "$(date +%s)" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

await() {
  "${screen[@]}" wait "$DISPLAY" "$3" "$1" "${@:4}" || fatal "$2 within $3 s"
}

game_gone() { ! kill -0 "$game_pid" 2>/dev/null; }

finish_game() {
  if wait_until "${1:-10}" game_gone; then
    wait "$game_pid"
    status=$?
  else
    kill "$game_pid" 2>/dev/null
    wait "$game_pid" 2>/dev/null
    status="still running"
  fi
  game_pid=""
}

peak_kb() { awk '/^VmHWM/ { print $2 }' "/proc/$game_pid/status"; }

oversized_bitmap() {
  python3 -c 'import struct, sys
header = b"BM" + struct.pack("<IHHI", 1024, 0, 0, 54) + struct.pack("<IiiHHIIiiII", 40, 20000, 20000, 1, 24, 0, 0, 0, 0, 0, 0)
sys.stdout.buffer.write(header.ljust(1024, b"\x80"))' >"$1"
}

key() { xdotool key --delay 40 "$@"; }

escape_ends() {
  key Escape
  finish_game "${2:-10}"
  check "Escape ends $1 with exit code 0 (got $status)" [ "$status" = 0 ]
}

verdict() {
  [ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
  echo "all $1 passed"
}

e2e_cleanup() {
  [ -n "$watchdog_pid" ] && kill "$watchdog_pid" 2>/dev/null
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null && wait "$game_pid" 2>/dev/null
  xvfb_stop
  if [ "$failures" -ne 0 ] && [ -n "${artifacts:-}" ] && [ -n "${work:-}" ]; then
    mkdir -p "$artifacts"
    for shot in "$work"/*.xwd; do
      [ -f "$shot" ] && convert "xwd:$shot" "$artifacts/$(basename "$shot" .xwd).png" 2>/dev/null
    done
    cp "$work"/*.log "${keep_also[@]}" "$artifacts"/ 2>/dev/null
    echo "screenshots and logs kept in $artifacts"
  fi
  [ -n "${work:-}" ] && rm -rf "$work"
}
trap e2e_cleanup EXIT
trap 'failures=$((failures + 1)); exit 1' TERM INT
