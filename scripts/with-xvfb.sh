#!/usr/bin/env bash
# A bare X server of its own for a script: Xvfb picks a free display number itself (-displayfd),
# so runs side by side never collide, and the server goes when the script does.
#
#   scripts/with-xvfb.sh [WIDTHxHEIGHTxDEPTH] COMMAND [ARGUMENTS...]
#       runs the command with DISPLAY set and XVFB_PID naming the server, then stops the server;
#       exits with the command's status. The screen defaults to 800x600x24.
#   source scripts/with-xvfb.sh
#       defines xvfb_start [SCREEN] (exports DISPLAY and XVFB_PID; false when no server came up)
#       and xvfb_stop, for a script that needs servers of several kinds one after another.

xvfb_start() {
  local screen=${1:-800x600x24} number_file
  number_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$number_file" ] && break
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  if [ ! -s "$number_file" ]; then
    rm -f "$number_file"
    xvfb_stop
    echo "with-xvfb: Xvfb $screen did not start" >&2
    return 1
  fi
  DISPLAY=":$(head -n 1 "$number_file")"
  rm -f "$number_file"
  export DISPLAY XVFB_PID
}

xvfb_stop() {
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  fi
  XVFB_PID=""
  return 0
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -u
  if ! command -v Xvfb >/dev/null; then
    echo "with-xvfb: Xvfb is not installed (scripts/install-deps.sh test installs it)" >&2
    exit 1
  fi
  screen=800x600x24
  if [[ "${1:-}" =~ ^[0-9]+x[0-9]+x[0-9]+$ ]]; then
    screen=$1
    shift
  fi
  [ $# -gt 0 ] || { echo "usage: $0 [WIDTHxHEIGHTxDEPTH] COMMAND [ARGUMENTS...]" >&2; exit 2; }
  trap xvfb_stop EXIT
  trap 'exit 1' TERM INT HUP
  xvfb_start "$screen" || exit 1
  status=0
  "$@" || status=$?
  exit "$status"
fi
