# Shared ground of the Linux end-to-end scripts, sourced once they have set work (a scratch folder
# that goes at the end) and artifacts (where screenshots and logs are kept when a check fails):
#   check DESCRIPTION COMMAND...   one check, counted in failures
#   fatal DESCRIPTION              a failed check after which nothing can be judged: ends the test
#   require_tools TOOL...          ends the test when a tool is missing
#   start_watchdog SECONDS         ends the whole test in time; taking the X server away makes every
#                                  client give up at once, so the cleanup runs and leaves nothing
#   finish_game [SECONDS]          waits 10 s (or SECONDS) at most for $game_pid; its exit code goes
#                                  to $status
#   key KEY...                     types keys into the X server's focus
# On exit the game ($game_pid) and the X server stop, and $work goes.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/with-xvfb.sh"

failures=0
game_pid=""
watchdog_pid=""
keep_also=()  # files beside the screenshots and logs worth keeping after a failure

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

finish_game() {
  status=""
  for _ in $(seq $((${1:-10} * 10))); do
    if ! kill -0 "$game_pid" 2>/dev/null; then
      wait "$game_pid"
      status=$?
      break
    fi
    sleep 0.1
  done
  if [ -z "$status" ]; then
    kill "$game_pid" 2>/dev/null
    wait "$game_pid" 2>/dev/null
    status="still running"
  fi
  game_pid=""
}

key() { xdotool key --delay 40 "$@"; }

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
