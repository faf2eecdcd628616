#!/usr/bin/env bash
# Started where no display can be reached, the game must end at once with exit code 0 and one line
# that tells the player what is missing, not run unseen on a driver that draws into memory. Its
# options need no display at all.
#   no_display.sh VORNIX_EXECUTABLE VERSION
set -uo pipefail
game=$(realpath "$1")
version=$2
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

# answer OPTION CODE: runs the game with the option and no display, as expect_refusal does
answer() {
  (cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY HOME="$work" timeout 5 "$game" "$1" >"$work/out" 2>"$work/err")
  code=$?
  [ "$code" -eq "$2" ] && [ ! -e "$work/textures" ] && [ ! -e "$work/.local" ]
}
report() {  # report DESCRIPTION: ok, or FAIL with what the game said
  if [ "$?" -eq 0 ]; then
    echo "ok   $1"
  else
    echo "FAIL $1: exit code $code, standard output and error:"
    sed 's/^/    /' "$work/out" "$work/err"
    failures=$((failures + 1))
  fi
}
answer --version 0 && [ "$(cat "$work/out")" = "vornix $version" ] && [ ! -s "$work/err" ]
report "--version prints \"vornix $version\""
answer --help 0 && grep -q "^Usage: vornix" "$work/out" && grep -q "Escape" "$work/out" &&
  grep -q "textures/scores.asc" "$work/out" && grep -q "man 6 vornix" "$work/out" && [ ! -s "$work/err" ]
report "--help prints the usage, the keys, where the scores live and the manual"
answer --fullscreen 2 && [ ! -s "$work/out" ] && grep -q -F '"--fullscreen"' "$work/err"
report "an unknown option is named on standard error, exit code 2"

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
