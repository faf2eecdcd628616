#!/usr/bin/env bash
# Started where no display can be reached, the game must end at once with exit code 0 and one line
# that tells the player what is missing, not run unseen on a driver that draws into memory.
#   no_display.sh VORNIX_EXECUTABLE
set -uo pipefail
game=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/vornix-nodisplay.XXXXXX)
trap 'rm -rf "$work"' EXIT
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0"
failures=0

expect_refusal() {  # expect_refusal DESCRIPTION EXPECTED_LINE ENV_ARGS...
  local what=$1 line=$2 code
  shift 2
  (cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER HOME="$work" "$@" \
    timeout 5 "$game" >"$work/out" 2>"$work/err")
  code=$?
  if [ "$code" -eq 0 ] && grep -qxF "$line" "$work/err" && [ ! -e "$work/textures/scores.asc" ]; then
    echo "ok   $what"
  else
    echo "FAIL $what: exit code $code, standard error:"
    sed 's/^/    /' "$work/err"
    failures=$((failures + 1))
  fi
}

expect_refusal "no DISPLAY nor WAYLAND_DISPLAY" "vornix: no display (set DISPLAY or WAYLAND_DISPLAY)"
# A display number that nothing serves: SDL would fall back to its memory-only driver.
expect_refusal "DISPLAY naming no server" \
  "vornix: cannot reach the display :64000 (no X or Wayland server answers there)" DISPLAY=:64000 XDG_RUNTIME_DIR="$work"

# ./run.sh says the same before it installs or builds anything.
if env -u DISPLAY -u WAYLAND_DISPLAY "$here/../../run.sh" 2>"$work/err" >/dev/null; then
  echo "FAIL run.sh went on without a display"
  failures=$((failures + 1))
elif grep -qxF "vornix: no display (set DISPLAY or WAYLAND_DISPLAY)" "$work/err"; then
  echo "ok   run.sh without a display"
else
  echo "FAIL run.sh without a display said:"
  sed 's/^/    /' "$work/err"
  failures=$((failures + 1))
fi

[ "$failures" -eq 0 ]
