#!/usr/bin/env bash
# Takes the screenshots in docs/ from the real game on an Xvfb of its own:
#   docs/score-list.png  the game between games, with a score file of a few players
#   docs/level-5.png     a game at level 5, held still by the showcase program
#   docs/level-5-1920x1080.png  the same game on a 1920 x 1080 screen, scaled by 1.8
# Needs a configured linux-release build (cmake --preset linux-release) and Xvfb, xwd, ImageMagick.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
source "$top/scripts/with-xvfb.sh"
build=$top/build/linux-release
cmake --build "$build" -j "$(nproc)" --target vornix vornix_showcase

work=$(mktemp -d)
game=
cleanup() {
  [ -n "$game" ] && kill "$game" 2>/dev/null
  xvfb_stop
  rm -rf "$work"
}
trap cleanup EXIT
screen_of() {  # screen_of SIZE: a fresh Xvfb of that size becomes the DISPLAY
  xvfb_stop
  xvfb_start "${1}x24"
}
screen_of 800x600

mkdir -p "$work/textures"
cp "$build"/textures/{background,cube,icons}.bmp "$work/textures/"
printf '%s\r\n' "412 Pilot" "377 Mira" "350 rover" "298 Pilot" "256 Juno" "201 Tamsin" "187 Quill" \
  "150 Mira" "122 Wren" "97 Sable" "64 Pilot" "41 Fenn" "0" "" > "$work/textures/scores.asc"
(cd "$work" && exec "$build/vornix") &
game=$!
sleep 2
xwd -root -silent | convert xwd:- "$top/docs/score-list.png"
kill "$game"
game=

(cd "$work" && exec "$build/bench/vornix_showcase" 4) &
game=$!
sleep 2.5
xwd -root -silent | convert xwd:- "$top/docs/level-5.png"
wait "$game" || true
game=

screen_of 1920x1080
(cd "$work" && exec "$build/bench/vornix_showcase" 4) &
game=$!
sleep 2.5
xwd -root -silent | convert xwd:- "$top/docs/level-5-1920x1080.png"
wait "$game" || true
game=
echo "wrote docs/score-list.png, docs/level-5.png and docs/level-5-1920x1080.png"
