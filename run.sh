#!/usr/bin/env bash
# Installs what is missing, builds Vornix and starts it. The game runs in run/, whose textures/
# folder holds the three bitmaps and the score file (kept between runs).
set -euo pipefail
cd "$(dirname "$0")"

# Over a remote shell without a display the game could only end at once: say so before building.
# A local X display is reachable when its socket exists; a remote one or Wayland is left to the game.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "vornix: no display (set DISPLAY or WAYLAND_DISPLAY)" >&2
  exit 1
fi
if [ -z "${WAYLAND_DISPLAY:-}" ] && [[ "$DISPLAY" =~ ^(unix)?:([0-9]+)(\.[0-9]+)?$ ]] &&
  [ ! -S "/tmp/.X11-unix/X${BASH_REMATCH[2]}" ]; then
  echo "vornix: cannot reach the display $DISPLAY (no X server answers there)" >&2
  exit 1
fi

scripts/install-deps.sh run
cmake --preset linux-release >/dev/null
exec scripts/run-game.sh build/linux-release
