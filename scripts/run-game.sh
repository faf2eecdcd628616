#!/usr/bin/env bash
# Brings the Linux build up to date, lays out the game's working folder and starts the game in it.
#   scripts/run-game.sh BUILD_DIR [RUN_DIR]
# BUILD_DIR is a configured Linux build (build/linux-release for playing); RUN_DIR defaults to run/
# at the top of the repository. The game reads textures/ of its working folder: the three bitmaps
# are copied there afresh each time, while the score file beside them is kept between runs.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -lt 1 ] || [ ! -f "$1/CMakeCache.txt" ]; then
  echo "usage: $0 BUILD_DIR [RUN_DIR]  (BUILD_DIR configured first, e.g. cmake --preset linux-release)" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
run=${2:-$top/run}

cmake --build "$build" --target vornix -j "$(nproc)"

mkdir -p "$run/textures"
for picture in background.bmp cube.bmp icons.bmp; do
  if [ ! -f "$build/textures/$picture" ]; then
    echo "$build/textures/$picture is missing: the artwork generator did not run" >&2
    exit 1
  fi
  cp -f "$build/textures/$picture" "$run/textures/$picture"
done

cd "$run"
exec "$build/vornix"
