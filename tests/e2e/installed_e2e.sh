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
screen=("python3" "$here/screen.py")
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
check "every icon is a PNG that zlib reads back, as large as its folder says" python3 - "$prefix/share/icons/hicolor" <<'PY'
import pathlib, struct, sys, zlib
bad = 0
for png in sorted(pathlib.Path(sys.argv[1]).glob("*/apps/*.png")):
    data = png.read_bytes()
    size = int(png.parts[-3].split("x")[0])
    width, height, depth, kind = struct.unpack(">IIBB", data[16:26])
    at, stream = 8, b""
    while at < len(data):
        length, = struct.unpack(">I", data[at:at + 4])
        chunk = data[at + 4:at + 8 + length]
        if zlib.crc32(chunk) != struct.unpack(">I", data[at + 8 + length:at + 12 + length])[0]:
            print("    bad CRC in", png); bad += 1
        if chunk[:4] == b"IDAT":
            stream += chunk[4:]
        at += 12 + length
    pixels = zlib.decompress(stream)
    if (width, height, depth, kind) != (size, size, 8, 6) or len(pixels) != size * (1 + 4 * size):
        print("    %s: %dx%d depth %d type %d, %d bytes" % (png, width, height, depth, kind, len(pixels))); bad += 1
sys.exit(1 if bad else 0)
PY

# A bare X server of the game's own size and depth.
xvfb_start 800x600x24 || fatal "Xvfb did not start"
start_watchdog 270
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0"

mkdir -p "$work/elsewhere" "$work/home"
player=$work/home/.local/share/vornix
scores=$player/textures/scores.asc

start_game() {  # start_game LOGNAME HOME: the installed game, started from an unrelated folder
  (cd "$work/elsewhere" && unset XDG_DATA_HOME && HOME=$2 exec "$prefix/bin/vornix") \
    >"$work/$1.out.log" 2>"$work/$1.err.log" &
  game_pid=$!
}

wait_for_list() {  # wait_for_list SHOT: the status text is drawn
  "${screen[@]}" wait "$DISPLAY" 153,151,151 140 34 260 50 60 "$1"
}
grey=128,128,128
white=255,255,255
red=255,0,0
icons=$prefix/share/vornix/textures/icons.bmp

echo "== First start: the player's folder is made, a scored game is kept in it"
start_game first "$work/home"
wait_for_list "$work/first-list.xwd" || fatal "the installed game drew no status text within 60 s"
sleep 0.5
xwd -root -silent >"$work/first-list.xwd"
rows=$("${screen[@]}" rows "$work/first-list.xwd" "$grey" 340 369 105 16 28)
check "the score list shows all 28 ranks: the installed bitmaps were found ($rows found)" [ "$rows" = 28 ]
key BackSpace shift+i n s t a l l e d space
"${screen[@]}" play "$DISPLAY" "$icons" 2 90 >"$work/play.log"
played=$?
check "the player ate two items" [ "$played" = 0 ]
# The list is back when the red start prompt stands on both sides with the highlighted first row
# and the grey rank of the last row: the snake's white head on the top row alone is no list.
"${screen[@]}" wait "$DISPLAY" "$white" 340 105 500 120 40 "$work/over.xwd" \
  "$red" 150 250 200 326 "$red" 600 250 650 326 "$grey" 340 521 369 536 ||
  fatal "the finished game's entry did not show highlighted within 40 s"
key Escape
finish_game
check "Escape ends the game with exit code 0 (got $status)" [ "$status" = 0 ]
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
wait_for_list "$work/second-list.xwd" || fatal "the second start drew no status text within 60 s"
sleep 0.5
xwd -root -silent >"$work/second-list.xwd"
check "the kept score stands in the list's first row, where the first start showed a default entry" \
  "${screen[@]}" differ "$work/first-list.xwd" "$work/second-list.xwd" 370 105 500 120
check "the rows below it are the default entries as before" \
  bash -c '! "$@"' _ "${screen[@]}" differ "$work/first-list.xwd" "$work/second-list.xwd" 370 121 500 136
check "the emptied textures/icons.bmp was copied again from the installation" \
  cmp -s "$prefix/share/vornix/textures/icons.bmp" "$player/textures/icons.bmp"
key Escape
finish_game
check "Escape ends the second start with exit code 0 (got $status)" [ "$status" = 0 ]
check "the score file is as the first start left it" cmp -s "$scores" "$work/scores-after-first.asc"

echo "== A HOME in which no folder can be made"
touch "$work/not-a-folder"
(cd "$prefix" && find . -exec stat -c '%n %s %Y' {} + | sort) >"$work/prefix-before.txt"
start_game nofolder "$work/not-a-folder/home"
wait_for_list "$work/nofolder-list.xwd" || fatal "without a folder the game drew no status text within 60 s"
rows=$("${screen[@]}" rows "$work/nofolder-list.xwd" "$grey" 340 369 105 16 28)
check "the score list shows all 28 ranks from the installed bitmaps ($rows found)" [ "$rows" = 28 ]
key space
sleep 1
xwd -root -silent >"$work/nofolder-game.xwd"
check "the game plays: the list gives way to the playfield" \
  bash -c '[ "$("$@")" -lt 28 ]' _ "${screen[@]}" rows "$work/nofolder-game.xwd" "$grey" 340 369 105 16 28
"${screen[@]}" wait "$DISPLAY" "$grey" 340 121 369 136 40 "$work/nofolder-over.xwd" ||
  fatal "without a folder the game did not end at the edge within 40 s"
key Escape
finish_game
check "Escape ends it with exit code 0 (got $status)" [ "$status" = 0 ]
check "standard error holds one line saying that no scores are saved" \
  bash -c '[ "$(wc -l <"$1")" = 1 ] && grep -qx "vornix: cannot make $2/home/.local/share/vornix (Not a directory); playing without saving scores" "$1"' \
  _ "$work/nofolder.err.log" "$work/not-a-folder"
cat "$work/nofolder.err.log"
(cd "$prefix" && find . -exec stat -c '%n %s %Y' {} + | sort) >"$work/prefix-after.txt"
check "nothing in the installation was written, made or removed" cmp -s "$work/prefix-before.txt" "$work/prefix-after.txt"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks of the installed game passed"
