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
source "$here/e2e_lib.sh"

# run CODE ENV_ARGS... -- GAME_ARGS...: the game without a display, from and at home in $work; true
# when it ends with CODE and makes nothing there; else says what it wrote
run() {
  local code=$1 envs=()
  shift
  while [ "$1" != -- ]; do envs+=("$1") && shift; done
  shift
  (cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER HOME="$work" "${envs[@]}" \
    timeout 5 "$game" "$@" >"$work/out" 2>"$work/err")
  local got=$?
  [ "$got" -eq "$code" ] && [ ! -e "$work/textures" ] && [ ! -e "$work/.local" ] && return 0
  echo "    exit code $got, standard output and error:"
  sed 's/^/    /' "$work/out" "$work/err"
  return 1
}
says() { grep -q "$@" "$work/out"; }
said_on_error() { grep -qxF "$1" "$work/err" || { sed 's/^/    said: /' "$work/err" && false; }; }
quiet() { [ ! -s "$work/err" ]; }

no_display="vornix: no display (set DISPLAY or WAYLAND_DISPLAY)"
check "no DISPLAY nor WAYLAND_DISPLAY" eval 'run 0 -- && said_on_error "$no_display"'
# A display number that nothing serves: SDL would fall back to its memory-only driver.
check "DISPLAY naming no server" eval 'run 0 DISPLAY=:64000 XDG_RUNTIME_DIR="$work" -- &&
  said_on_error "vornix: cannot reach the display :64000 (no X or Wayland server answers there)"'
check "--version prints \"vornix $version\"" eval 'run 0 -- --version && [ "$(cat "$work/out")" = "vornix $version" ] && quiet'
check "--help prints the usage, the keys, where the scores live and the manual" eval 'run 0 -- --help &&
  says "^Usage: vornix" && says Escape && says textures/scores.asc && says "man 6 vornix" && quiet'
check "an unknown option is named on standard error, exit code 2" \
  eval 'run 2 -- --fullscreen && [ ! -s "$work/out" ] && grep -qF "\"--fullscreen\"" "$work/err"'

# ./run.sh says the same before it installs or builds anything.
check "run.sh without a display stops with the same line" eval '! env -u DISPLAY -u WAYLAND_DISPLAY \
  "$here/../../run.sh" 2>"$work/err" >/dev/null && said_on_error "$no_display"'
verdict "checks without a display"
