#!/usr/bin/env bash
# End-to-end test of the Linux build: the real game on its own Xvfb, played with xdotool, judged
# by the pixels of screenshots and by the bytes of the score file it leaves behind.
#   linux_e2e.sh VORNIX_EXECUTABLE TEXTURES_DIR [ARTIFACTS_DIR]
# Exit 0 on success, 1 on a failed check or when Xvfb, xdotool, xwd or python3 is missing.
set -uo pipefail

game=$(realpath "$1")
textures=$(realpath "$2")
artifacts=${3:-}
here=$(cd "$(dirname "$0")" && pwd)

for picture in background.bmp cube.bmp icons.bmp; do
  [ -f "$textures/$picture" ] || { echo "FAIL: $textures/$picture missing (build the vornix_textures target)"; exit 1; }
done

work=$(mktemp -d /tmp/vornix-e2e.XXXXXX)
source "$here/e2e_lib.sh"
require_tools Xvfb xdotool xwd python3

# A bare X server of the game's own size and depth.
xvfb_start 800x600x24 || fatal "Xvfb did not start"

# Every wait below has its own limit; this one ends the whole test before CTest's.
start_watchdog 420

mkdir -p "$work/run/textures"
cp "$textures"/background.bmp "$textures"/cube.bmp "$textures"/icons.bmp "$work/run/textures/"
icons="$textures/icons.bmp"
scores="$work/run/textures/scores.asc"
keep_also=("$scores")

start_game() {  # start_game LOGNAME
  (cd "$work/run" && exec "$game") >"$work/$1.out.log" 2>"$work/$1.err.log" &
  game_pid=$!
}
# await_list SHOT WHAT: the score list: the status text, the red start prompt on both sides, the last rank
await_list() {
  await "$1" "$2" 60 "$status_colour" 140 34 260 50 "$red" 150 250 200 326 "$red" 600 250 650 326 "$grey" 340 521 369 536
}

echo "== First run: the score list, a name, a game, the file"
start_game first
await_list "$work/list.xwd" "the status text, the red start prompt on both sides and the grey ranks"
rows=$("${screen[@]}" rows "$work/list.xwd" "$grey" 340 369 105 16 28)
check "all 28 ranks of the score list stand at x 340 in grey ($rows found)" [ "$rows" = 28 ]
check "no row is highlighted before the first game" \
  bash -c '! "$@"' _ "${screen[@]}" has "$work/list.xwd" "$white" 340 105 500 120

# Backspace empties the whole name; letters append up to 11 characters, Shift makes capitals.
key BackSpace x y z BackSpace shift+t e s t e r a b c d e f g h
sleep 0.5
xwd -root -silent >"$work/name.xwd"
check "the typed name replaces the default in the status line" \
  "${screen[@]}" differ "$work/list.xwd" "$work/name.xwd" 140 34 260 50

# The player starts at once: heading up from row 14, the snake reaches the edge in under 4 s.
key space
xwd -root -silent >"$work/game.xwd"
"${screen[@]}" play "$DISPLAY" "$icons" 2 90 | tee "$work/play.log"
played=${PIPESTATUS[0]}

head=$("${screen[@]}" head "$work/game.xwd" "$icons")
check "after Space the snake's head stands in the start column heading up (head at: ${head:-none})" \
  bash -c '[[ "$1" =~ ^23\ (1[0-4]|[0-9])\ Up$ ]]' _ "$head"
# Two items give a score of 2, the least that ranks above the default entries of 1.
check "the player ate two items" [ "$played" = 0 ]
check "the snake turned: a head facing another way than up was seen" \
  grep -Eq '^headings seen: .*(Left|Right|Down)' "$work/play.log"

# No more keys: the snake runs into the edge and the list comes back, its new entry on top in white.
# The white head alone on the top row is no list: the prompt and the last rank show with it.
await "$work/over.xwd" "the finished game's entry highlighted in white in the first row of the list" 40 \
  "$white" 340 105 500 120 "$red" 150 250 200 326 "$red" 600 250 650 326 "$grey" 340 521 369 536
rows=$("${screen[@]}" rows "$work/over.xwd" "$grey" 340 369 121 16 27)
check "the other 27 rows stay grey ($rows found)" [ "$rows" = 27 ]

escape_ends "the game"
check "nothing was reported on standard error" bash -c '! grep -q . "$1"' _ "$work/first.err.log"
[ -s "$work/first.err.log" ] && cat "$work/first.err.log"

check "the score file holds the game: 202 CR LF lines, the typed name on top, the end line and an empty line" \
  "${screen[@]}" scores "$scores" Testerabcde
cp "$scores" "$work/scores-after-first.asc"

echo "== Second run: the sprite atlas is missing"
rm "$work/run/textures/icons.bmp"
start_game second
await_list "$work/second.xwd" "the second run's score list"
key space
sleep 1
xwd -root -silent >"$work/second-game.xwd"
check "the game still plays without the atlas: the list gives way to the playfield" \
  bash -c '[ "$("$@")" -lt 28 ]' _ "${screen[@]}" rows "$work/second-game.xwd" "$grey" 340 369 105 16 28
escape_ends "the second run"
check "the missing atlas is reported as \"handle is null\" on standard error" \
  grep -qx "handle is null" "$work/second.err.log"
check "the score file was read back and written unchanged (quitting mid-game adds no score)" \
  cmp -s "$scores" "$work/scores-after-first.asc"

# A scored game as the default player "snake": Space, two items eaten, then the edge; the list is back.
play_scored_game() {  # play_scored_game LOGNAME
  start_game "$1"
  await_list "$work/$1.xwd" "the $1 run's score list"
  key space
  "${screen[@]}" play "$DISPLAY" "$icons" 2 90 >"$work/$1-play.log" || fatal "the $1 run's player ate no two items"
  await_list "$work/$1-over.xwd" "the $1 run's score list after the game"
}

snake_records() {  # prints how many records of "snake" with a score of 2 or more the score file holds
  grep -Ec $'^([2-9]|[1-9][0-9]+) snake\r$' "$scores"
}

echo "== Third run: a background claiming 20000 x 20000 in 1 KB, and a hang-up after a scored game"
cp "$textures/icons.bmp" "$work/run/textures/"
oversized_bitmap "$work/run/textures/background.bmp"
play_scored_game third
peak=$(peak_kb)
kill -HUP "$game_pid"
finish_game
check "a hang-up ends the game with exit code 0 (got $status)" [ "$status" = 0 ]
check "the oversized background is refused as \"handle is null\" on standard error" \
  grep -qx "handle is null" "$work/third.err.log"
check "the hang-up saved the finished game ($(snake_records) record of snake)" [ "$(snake_records)" = 1 ]

echo "== Fourth run: the X server goes away after a scored game"
cp "$textures/background.bmp" "$work/run/textures/"
play_scored_game fourth
# Decoding the claimed picture would take 1.2 GB. The renderer's libraries and, in this build, the
# sanitizers' shadow memory weigh the same in both runs, so the oversized header is judged against
# the same game with the real background.
normal_peak=$(peak_kb)
check "the oversized header cost no memory (peak ${peak:-?} kB against ${normal_peak:-?} kB)" \
  [ "${peak:-999999}" -lt "$((${normal_peak:-0} + 20480))" ]
xvfb_stop
finish_game
check "the loss of the X server ends the game with exit code 0 (got $status)" [ "$status" = 0 ]
check "the loss of the X server saved the finished game ($(snake_records) records of snake)" [ "$(snake_records)" = 2 ]
keeps_first_game() { [ "$(wc -l <"$scores")" = 202 ] && grep -Eq $'^[0-9]+ Testerabcde\r$' "$scores"; }
check "the score file keeps its 202 lines and the first run's game" keeps_first_game
verdict "end-to-end checks"
