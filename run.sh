#!/usr/bin/env bash
# Installs what is missing, builds Vornix and starts it. The game runs in run/, whose textures/
# folder holds the three bitmaps and the score file (kept between runs).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh run
cmake --preset linux-release >/dev/null
exec scripts/run-game.sh build/linux-release
