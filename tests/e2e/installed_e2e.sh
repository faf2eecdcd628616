#!/usr/bin/env bash
# End-to-end test of the installed game: the build installed into a scratch prefix, its desktop
# entry and AppStream metadata validated, then the game started from an unrelated folder with a
# scratch HOME on its own Xvfb, played with xdotool, and its score file looked for in HOME.
#   installed_e2e.sh BUILD_DIR [ARTIFACTS_DIR]
# Exit 0 on success, 1 on a failed check or when a tool is missing.
set -uo pipefail

build=$(realpath "$1")
artifacts=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
id=org.vornix.Vornix

work=$(mktemp -d /tmp/vornix-installed.XXXXXX)
source "$here/e2e_lib.sh"
require_tools Xvfb xdotool xwd python3 desktop-file-validate appstreamcli
prefix=$work/prefix

echo "== The installation"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || fatal "cmake --install failed: $(cat "$work/install.log")"
check "the prefix holds exactly the installed files that are listed in installed-files.txt" \
  diff <(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | sort) <(sort "$here/installed-files.txt")
check "desktop-file-validate passes on the desktop entry" \
  desktop-file-validate "$prefix/share/applications/$id.desktop"
check "appstreamcli validate --no-net passes on the AppStream metadata" \
  appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
check "the AppStream metadata names the release $version" \
  grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$id.metainfo.xml"
# How a PNG is written is the artwork generator's unit test; here each icon's own size meets its folder.
check "every icon is a PNG as large as its folder says" python3 - "$prefix/share/icons/hicolor" <<'PY'
import pathlib, struct, sys
wrong = 0
for png in pathlib.Path(sys.argv[1]).glob("*/apps/*.png"):
    data, size = png.read_bytes(), int(png.parts[-3].split("x")[0])
    if data[:8] != b"\x89PNG\r\n\x1a\n" or struct.unpack(">II", data[16:24]) != (size, size):
        print("   ", png, "is no PNG of", size, "x", size)
        wrong += 1
sys.exit(1 if wrong else 0)
PY

# A bare X server of the game's own size and depth.
xvfb_start 800x600x24 || fatal "Xvfb did not start"
start_watchdog 270

mkdir -p "$work/elsewhere" "$work/home"
player=$work/home/.local/share/vornix
scores=$player/textures/scores.asc

start_game() {  # start_game LOGNAME HOME: the installed game, started from an unrelated folder
  (cd "$work/elsewhere" && unset XDG_DATA_HOME && HOME=$2 exec "$prefix/bin/vornix") \
    >"$work/$1.out.log" 2>"$work/$1.err.log" &
  game_pid=$!
}

# await_list SHOT WHAT: the score list: the status text, the red start prompt on both sides, the last rank
await_list() {
  await "$1" "$2" 60 "$status_colour" 140 34 260 50 "$red" 150 250 200 326 "$red" 600 250 650 326 "$grey" 340 521 369 536
}
icons=$prefix/share/vornix/textures/icons.bmp

echo "== First start: the player's folder is made, a scored game is kept in it"
start_game first "$work/home"
await_list "$work/first-list.xwd" "the installed game's score list"
rows=$("${screen[@]}" rows "$work/first-list.xwd" "$grey" 340 369 105 16 28)
check "the score list shows all 28 ranks: the installed bitmaps were found ($rows found)" [ "$rows" = 28 ]
key BackSpace shift+i n s t a l l e d space
"${screen[@]}" play "$DISPLAY" "$icons" 2 90 >"$work/play.log"
check "the player ate two items" [ $? = 0 ]
# The list is back when the red start prompt stands on both sides with the highlighted first row
# and the grey rank of the last row: the snake's white head on the top row alone is no list.
await "$work/over.xwd" "the finished game's entry highlighted in the list" 40 \
  "$white" 340 105 500 120 "$red" 150 250 200 326 "$red" 600 250 650 326 "$grey" 340 521 369 536
escape_ends "the game"
check "nothing was reported on standard error" bash -c '! grep -q . "$1"' _ "$work/first.err.log"
check "the score file was written in HOME/.local/share/vornix/textures, the game on top" \
  python3 -c 'import re, sys; top = open(sys.argv[1], "rb").read().split(b"\r\n")[0]
sys.exit(0 if re.fullmatch(rb"([2-9]|[1-9][0-9]+) Installed", top) else 1)' "$scores"
for picture in background.bmp cube.bmp icons.bmp; do
  check "textures/$picture was copied beside it" cmp -s "$prefix/share/vornix/textures/$picture" "$player/textures/$picture"
done
check "nothing was written in the folder the game was started from" bash -c '[ -z "$(ls -A "$1")" ]' _ "$work/elsewhere"
cp "$scores" "$work/scores-after-first.asc"

echo "== Second start: the score is listed, the bitmaps are renewed"
: >"$player/textures/icons.bmp"
start_game second "$work/home"
await_list "$work/second-list.xwd" "the second start's score list"
check "the kept score stands in the list's first row, where the first start showed a default entry" \
  "${screen[@]}" differ "$work/first-list.xwd" "$work/second-list.xwd" 370 105 500 120
check "the rows below it are the default entries as before" \
  bash -c '! "$@"' _ "${screen[@]}" differ "$work/first-list.xwd" "$work/second-list.xwd" 370 121 500 136
check "the emptied textures/icons.bmp was copied again from the installation" \
  cmp -s "$prefix/share/vornix/textures/icons.bmp" "$player/textures/icons.bmp"
escape_ends "the second start"
check "the score file is as the first start left it" cmp -s "$scores" "$work/scores-after-first.asc"

echo "== A HOME in which no folder can be made"
touch "$work/not-a-folder"
(cd "$prefix" && find . -exec stat -c '%n %s %Y' {} + | sort) >"$work/prefix-before.txt"
start_game nofolder "$work/not-a-folder/home"
await_list "$work/nofolder-list.xwd" "without a folder the score list"
rows=$("${screen[@]}" rows "$work/nofolder-list.xwd" "$grey" 340 369 105 16 28)
check "the score list shows all 28 ranks from the installed bitmaps ($rows found)" [ "$rows" = 28 ]
key space
sleep 1
xwd -root -silent >"$work/nofolder-game.xwd"
check "the game plays: the list gives way to the playfield" \
  bash -c '[ "$("$@")" -lt 28 ]' _ "${screen[@]}" rows "$work/nofolder-game.xwd" "$grey" 340 369 105 16 28
await_list "$work/nofolder-over.xwd" "without a folder the score list after the game at the edge"
escape_ends "the game without a folder"
check "standard error holds one line saying that no scores are saved" \
  bash -c '[ "$(wc -l <"$1")" = 1 ] && grep -qx "vornix: cannot make $2/home/.local/share/vornix (Not a directory); playing without saving scores" "$1"' \
  _ "$work/nofolder.err.log" "$work/not-a-folder"
cat "$work/nofolder.err.log"
(cd "$prefix" && find . -exec stat -c '%n %s %Y' {} + | sort) >"$work/prefix-after.txt"
check "nothing in the installation was written, made or removed" cmp -s "$work/prefix-before.txt" "$work/prefix-after.txt"
verdict "checks of the installed game"
