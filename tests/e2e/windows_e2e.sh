#!/usr/bin/env bash
# End-to-end test of the Windows build: the release archive unpacked into a scratch folder and
# played under Wine on its own Xvfb, keys sent with xdotool, assertions on screenshots, on the
# debugger output and on the bytes of the score file.
#   windows_e2e.sh VORNIX_WINDOWS_ZIP [ARTIFACTS_DIR]
# Exit 0 on success, 1 on a failed check or when a tool is missing.
set -uo pipefail

zip_file=$(realpath "$1")
artifacts=${2:-}
here=$(cd "$(dirname "$0")" && pwd)

source "$here/../../scripts/find-wine.sh"
work=$(mktemp -d /tmp/vornix-windows-e2e.XXXXXX)
game="$work/game"
source "$here/e2e_lib.sh"
require_tools Xvfb xdotool xwd python3 convert "$wine"
# Wine's server goes before the X server, or it holds on to the dead display.
trap 'WINEPREFIX="$work/prefix" timeout 20 "$wineserver" -k 2>/dev/null; e2e_cleanup' EXIT
start_watchdog 840

start_game() {  # start_game NAME: vornix.exe in the game folder; debugger output goes to NAME.err.log
  # Wine writes the debugger output and the text of every message box to its log.
  (cd "$game" && WINEDEBUG=fixme-all,+debugstr,+msgbox exec "$wine" vornix.exe) >"$work/$1.out.log" 2>"$work/$1.err.log" &
  game_pid=$!
}

await_list() {  # await_list NAME SECONDS WHAT: until the red prompt shows on both sides, in NAME.xwd
  await "$work/$1.xwd" "$3" "$2" "$red" 150 250 200 326 "$red" 600 250 650 326
}

# Space until the red prompt has gone, that is until a game runs. The screen is dumped right after
# the key until three dumps differ from the list's, and only then examined, so that the first
# picture of the game is seen within a step of its start; the optional key goes at once after the
# dumps, before the slow examination. A key sent in the first moments after the list shows can reach
# X before Wine has given the window the keyboard, so it is sent again when nothing happened; a
# Space during a game does nothing.
start_with_space() {  # start_with_space NAME LIST [KEY]: the game's first picture goes to NAME.xwd
  local burst changed
  rm -f "$work/$1.xwd"
  for _ in 1 2 3; do
    xdotool key space
    started=$(date +%s.%N)
    changed=0
    for burst in $(seq -w 1 30); do
      xwd -root -silent >"$work/burst-$burst.xwd" 2>/dev/null
      cmp -s "$work/burst-$burst.xwd" "$2" || changed=$((changed + 1))
      [ "$changed" -ge 3 ] && break
    done
    [ "$changed" -gt 0 ] && [ -n "${3:-}" ] && xdotool key "$3"
    for burst in "$work"/burst-*.xwd; do  # exit code 2: a dump taken while Wine changed the screen
      cmp -s "$burst" "$2" && continue
      "${screen[@]}" has "$burst" "$red" 150 250 200 326 2>/dev/null
      [ $? = 1 ] && mv "$burst" "$work/$1.xwd" && break
    done
    rm -f "$work"/burst-*.xwd
    [ -f "$work/$1.xwd" ] && return 0
  done
  return 1
}

debug_lines() {  # debug_lines NAME TEXT: how many times the game wrote TEXT to the debugger output
  grep -c -F "OutputDebugStringA \"$2\\n\"" "$work/$1.err.log"
}

boxes_shown() {  # boxes_shown NAME: the texts of the message boxes that the game showed
  grep -F 'msgbox:MSGBOX_OnInit' "$work/$1.err.log" | sed 's/.*MSGBOX_OnInit //'
}

mkdir -p "$game"
(cd "$game" && python3 -m zipfile -e "$zip_file" .) || fatal "cannot unpack $zip_file"
check "the archive holds vornix.exe and the three bitmaps" \
  test -f "$game/vornix.exe" -a -f "$game/textures/background.bmp" -a -f "$game/textures/cube.bmp" \
  -a -f "$game/textures/icons.bmp"
cp "$game/textures/icons.bmp" "$work/icons.bmp"  # the atlas by which screen.py finds the sprites
check "the archive's README.txt says how to start, the keys, where the scores live and the licence, in CR LF lines" \
  python3 - "$game/README.txt" <<'PY'
import sys
text = open(sys.argv[1], "rb").read()
lines = text.split(b"\r\n")
whole = text.endswith(b"\r\n") and not any(b"\n" in line or b"\r" in line for line in lines) and b"@" not in text
said = [words for words in (b"vornix.exe", b"Space", b"Arrow keys", b"Escape", b"textures\\scores.asc",
                            b"Permission is hereby granted") if words in text]
sys.exit(0 if whole and len(said) == 6 else 1)
PY

export WINEPREFIX="$work/prefix" WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
xvfb_start 800x600x24 || fatal "Xvfb did not start"
timeout 300 "$wine" wineboot -i >"$work/wineboot.log" 2>&1 || fatal "wineboot did not set up the Wine prefix"
timeout 120 "$wineserver" -w

# ---- A whole game: the list, Space, two items eaten, death at the top edge, Escape ----------------

start_game play
await_list list 60 "the score list"
normal_peak=$(peak_kb)
check "28 grey rows in the score list" test "$("${screen[@]}" rows "$work/list.xwd" "$grey" 340 480 105 16 28)" = 28
check "no white row before a game ranked" test "$("${screen[@]}" rows "$work/list.xwd" "$white" 340 480 105 16 28)" = 0

# Sideways at once: on a busy machine the player below may need longer to start than the 14 steps
# up to the edge take.
start_with_space start "$work/list.xwd" Left || fatal "Space did not start a game"
head=$("${screen[@]}" head "$work/start.xwd" "$work/icons.bmp") || fatal "no snake head on the screen after Space"
read -r head_x head_y heading <<<"$head"
# The first step of a run comes at the first idle turn after Space, so the head is seen at (23, 14)
# only in the very first frame, and at (23, 13) for the next step's delay, with the body below it.
check "the head starts in column 23 heading up (seen at row $head_y)" \
  test "$head_x" = 23 -a "$heading" = Up -a "$head_y" -le 14 -a "$head_y" -ge 12

"${screen[@]}" play "$DISPLAY" "$work/icons.bmp" 2 120 2>&1 | tee "$work/player.log" || fatal "the snake did not eat two items"

# Up to the top edge: from a heading down, one step aside first.
"${screen[@]}" shot "$DISPLAY" "$work/turn.xwd"
head=$("${screen[@]}" head "$work/turn.xwd" "$work/icons.bmp") || fatal "the snake died before it was sent up"
read -r head_x head_y heading <<<"$head"
if [ "$heading" = Down ]; then
  if [ "$head_x" -gt 0 ]; then xdotool key Left; else xdotool key Right; fi
  sleep 0.4
fi
xdotool key Up
sent_up=$(date +%s)
await_list over 20 "the score list after the top edge"
check "the game ended within 29 steps of heading up" test $(($(date +%s) - sent_up)) -le 12
check "one white row: the new entry at place 1" \
  test "$("${screen[@]}" rows "$work/over.xwd" "$white" 340 480 105 16 28)" = 1
check "the white row is the first" "${screen[@]}" has "$work/over.xwd" "$white" 340 105 480 120
check "27 grey rows around it" test "$("${screen[@]}" rows "$work/over.xwd" "$grey" 340 480 105 16 28)" = 27

escape_ends "the game" 20
check "no bitmap failed to load" test "$(grep -c -F OutputDebugStringA "$work/play.err.log")" = 0
check "no message box" test -z "$(boxes_shown play)"
check "Wine took 32 bits per pixel at the first try" test "$(grep -c -F 'display settings returned' "$work/play.err.log")" = 0
check "the score file: 202 CR LF lines, the game's score first, the defaults, the end line" \
  "${screen[@]}" scores "$game/textures/scores.asc" snake

# ---- Without textures/icons.bmp: one debugger line, and the game still plays -----------------

rm "$game/textures/icons.bmp"
start_game noicons
await_list noicons 60 "the score list without icons.bmp"
check "a missing icons.bmp writes \"handle is null\" once" test "$(debug_lines noicons 'handle is null')" = 1
check "and no message box" test -z "$(boxes_shown noicons)"
check "Space starts a game without icons.bmp" start_with_space noicons-game "$work/noicons.xwd"
await_list noicons-over 20 "the score list after the game without icons"
ended=$(date +%s.%N)
# Straight up from row 14 the 15th step meets the edge: 14 waits of more than 250 ms.
check "the game ran its 15 steps up to the top edge" \
  python3 -c "import sys; d = float(sys.argv[2]) - float(sys.argv[1]); print('%.2f s' % d); sys.exit(0 if 3.4 < d < 8 else 1)" \
  "$started" "$ended"
escape_ends "the game without icons.bmp" 20
cp "$work/icons.bmp" "$game/textures/icons.bmp"

# ---- A background that claims 20000 x 20000 in 1 KB: refused before it is loaded --------------

cp "$game/textures/background.bmp" "$work/background.bmp"
oversized_bitmap "$game/textures/background.bmp"
start_game bigbmp
await_list bigbmp 60 "the score list with the oversized background"
# Loading the claimed picture would take 1.2 GB; the list of the first run is the measure.
big_peak=$(peak_kb)
echo "peak memory at the score list: $normal_peak kB with the real background, $big_peak kB with the oversized one"
check "the oversized background writes \"handle is null\" once" test "$(debug_lines bigbmp 'handle is null')" = 1
check "its peak memory stays within 20 MB of the first run's" test $((big_peak - normal_peak)) -le 20480
escape_ends "the game with the oversized background" 20
cp "$work/background.bmp" "$game/textures/background.bmp"

# ---- A back surface that cannot be created: Wine given too little video memory for it ---------

"$wine" reg add 'HKCU\Software\Wine\Direct3D' /v VideoMemorySize /t REG_SZ /d 6 /f >/dev/null 2>&1
timeout 60 "$wineserver" -w
start_game nomemory
box=$(wait_until 30 xdotool search --name '^DDraw$' 2>/dev/null | head -n 1)
check "a message box with the caption \"DDraw\" reports the failed surface" test -n "$box"
# The box paints into its own X window, which a dump of the root window shows black under Wine.
[ -n "$box" ] || fatal "no message box came up"
xwd -id "$box" -silent >"$work/nomemory-box.xwd"
xdotool key Return
box_gone() { ! xdotool search --name '^DDraw$' 2>/dev/null | grep -q -x -F "$box"; }
wait_until 10 box_gone
# The bitmaps are loaded only after every surface was tried, so once the background's load has
# failed any further box would be up already.
wait_until 10 grep -q -F 'ddcopybitmap failed' "$work/nomemory.err.log"
check "one box only: no other surface failed" test -z "$(xdotool search --name '^DDraw$' 2>/dev/null)"
check "its text is \"CreateSurface failed (back)\"" test "$(boxes_shown nomemory)" = 'L"CreateSurface failed (back)"'
check "the set-up went on past the back surface: the one failed load is the background's" \
  test "$(debug_lines nomemory 'ddcopybitmap failed')" = 1 -a "$(grep -c -F OutputDebugStringA "$work/nomemory.err.log")" = 1
escape_ends "the game after the failed surface" 20
"$wine" reg delete 'HKCU\Software\Wine\Direct3D' /v VideoMemorySize /f >/dev/null 2>&1
timeout 60 "$wineserver" -w

# ---- A 16-bit X screen: Wine refuses 32 bits per pixel, the game falls back without a word -------

timeout 20 "$wineserver" -k 2>/dev/null  # Wine's server goes first, or it holds on to the dead display
timeout 20 "$wineserver" -w 2>/dev/null
xvfb_stop
xvfb_start 800x600x16 || fatal "Xvfb at depth 16 did not start"
start_game depth16
red_prompt_in_16_bits() {  # screen.py reads 32-bit dumps only
  xwd -root -silent 2>/dev/null | convert xwd:- -crop 51x77+150+250 -depth 8 rgb:- 2>/dev/null | python3 -c '
import sys
data = sys.stdin.buffer.read()
sys.exit(0 if any(data[i] > 240 and data[i + 1] < 16 and data[i + 2] < 16 for i in range(0, len(data) - 2, 3)) else 1)'
}
check "on a 16-bit screen the score list shows" wait_until 30 red_prompt_in_16_bits
xwd -root -silent >"$work/depth16.xwd"
check "and no message box" test -z "$(boxes_shown depth16)"
# Wine logs each refused mode: 32 bits was refused, so 24 bits, the next one tried, was taken.
check "Wine refused 32 bits per pixel once and took 24" \
  test "$(grep -c -F 'display settings returned -2' "$work/depth16.err.log")" = 1
escape_ends "the game on a 16-bit screen" 20
verdict "end-to-end checks"
