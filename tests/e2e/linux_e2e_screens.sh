#!/usr/bin/env bash
# End-to-end test of the Linux build on screens of other sizes than the picture's. The score list
# shot on an 800 x 600 Xvfb is the reference. On 1600 x 1200 every picture pixel must come out as
# an exact 2 x 2 block; on 1920 x 1080 the picture must stand centred at x 240..1679, and on the
# 16:10 1680 x 1050 at x 140..1539, with black around it and its flat areas in their own colours. On
# every screen the window covers it fullscreen, and the screen's mode is the one it had before the
# game, during and after it.
#   linux_e2e_screens.sh VORNIX_EXECUTABLE TEXTURES_DIR [ARTIFACTS_DIR]
# Exit 0 on success, 1 on a failed check or when Xvfb, xdotool, xwd, xrandr, xwininfo or python3 is missing.
set -uo pipefail

game=$(realpath "$1")
textures=$(realpath "$2")
artifacts=${3:-}
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d /tmp/vornix-e2e-screens.XXXXXX)
source "$here/e2e_lib.sh"
require_tools Xvfb xdotool xwd xrandr xwininfo python3

# The whole test ends before CTest's limit; taking the X server away makes every client give up.
start_watchdog 270

mkdir -p "$work/run/textures"
cp "$textures"/background.bmp "$textures"/cube.bmp "$textures"/icons.bmp "$work/run/textures/"

current_mode() { xrandr | sed -n 's/^ *\([0-9]*x[0-9]*\) .*\*.*/\1/p'; }

# run_on SIZE: the game on a fresh Xvfb of that size, its score list shot to $work/SIZE.xwd.
run_on() {
  local size=$1
  xvfb_start "${size}x24" || fatal "Xvfb $size did not start"
  local before window
  before=$(current_mode)

  (cd "$work/run" && exec "$game") >"$work/$size.out.log" 2>"$work/$size.err.log" &
  game_pid=$!
  "${screen[@]}" settle "$DISPLAY" 60 "$work/$size.xwd" || fatal "the game showed no steady picture on $size within 60 s"
  check "$size: the mode stays $size while the game runs (before: $before, now: $(current_mode))" \
    [ "$before" = "$size" -a "$(current_mode)" = "$size" ]
  window=$(xdotool search --name '^Vornix$' | head -n 1)
  # Fullscreen on the desktop, as a bare X server (no window manager to note the state) shows it.
  check "$size: the window covers the whole screen" \
    bash -c 'xwininfo -id "$1" | grep -q -- "-geometry ${2}+0+0"' _ "$window" "$size"

  xdotool key Escape
  finish_game
  check "$size: Escape ends the game with exit code 0 (got $status) and nothing on standard error" \
    bash -c '[ "$1" = 0 ] && ! grep -q . "$2"' _ "$status" "$work/$size.err.log"
  check "$size: the mode is still $size after the game" [ "$(current_mode)" = "$size" ]
  xvfb_stop
}

echo "== The score list on the picture's own size, the reference"
run_on 800x600
echo "== 1600 x 1200: a whole factor of 2"
run_on 1600x1200
check "1600x1200: every picture pixel is an exact 2 x 2 block" \
  "${screen[@]}" blocks "$work/1600x1200.xwd" "$work/800x600.xwd"
echo "== 1920 x 1080: a factor of 1.8, wider than the picture"
run_on 1920x1080
check "1920x1080: the picture stands at x 240..1679 with black around it, its flat areas in their colours" \
  "${screen[@]}" fitted "$work/1920x1080.xwd" "$work/800x600.xwd"
echo "== 1680 x 1050: 16:10, a factor of 1.75 that fills the height"
run_on 1680x1050
check "1680x1050: the picture stands at x 140..1539 with black around it, its flat areas in their colours" \
  "${screen[@]}" fitted "$work/1680x1050.xwd" "$work/800x600.xwd"
verdict "end-to-end checks on other screen sizes"
