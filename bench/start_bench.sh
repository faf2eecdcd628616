#!/usr/bin/env bash
# The time from the game's start to its window with a hand-made score file of a million record
# lines (16 MB), as a player might keep one: the file is read at start-up, before the window shows,
# and every record line goes through the ranking pass of 2000 comparisons. Three kinds of file: lines
# that all rank below the defaults (reading and comparing alone), lines of random scores (a few
# thousand of them move into the table), and, on a fiftieth of the lines, scores that rise line by
# line, each moving through the whole table (the worst case, given per million by proportion).
#   start_bench.sh VORNIX TEXTURES   with DISPLAY set; prints figures, and summary lines to
#                                    $VORNIX_BENCH_SUMMARY when it is set
set -uo pipefail

game=$(realpath "$1")
textures=$(realpath "$2")
work=$(mktemp -d /tmp/vornix-start-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/textures"
cp "$textures"/background.bmp "$textures"/cube.bmp "$textures"/icons.bmp "$work/textures/"

# make_file KIND LINES: textures/scores.asc of LINES record lines of 16 bytes each (CR LF included).
make_file() {
  python3 - "$1" "$2" "$work/textures/scores.asc" <<'EOF'
import random, sys
kind, lines, path = sys.argv[1], int(sys.argv[2]), sys.argv[3]
random.seed(1)
with open(path, "wb") as out:
    for n in range(lines):
        score = {"low": 1, "random": random.randint(2, 9999999), "rising": n + 2}[kind]
        text = "%d " % score
        out.write((text + ("p%013d" % n)[: 14 - len(text)] + "\r\n").encode())
    out.write(b"0\r\n\r\n")
EOF
}

# start_to_window: seconds from the start of the game to its visible window; the game is then
# sent Escape, which writes the score file anew.
start_to_window() {
  local started shown pid
  (cd "$work" && exec "$game" >/dev/null 2>&1) &
  pid=$!
  started=$(date +%s.%N)
  shown=""
  for _ in $(seq 12000); do
    if xdotool search --onlyvisible --name '^Vornix$' >/dev/null 2>&1; then
      shown=$(date +%s.%N)
      break
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.01
  done
  xdotool key Escape >/dev/null 2>&1
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  [ -n "$shown" ] && python3 -c "import sys; print('%.2f' % (float(sys.argv[2]) - float(sys.argv[1])))" "$started" "$shown"
}

summary() {
  [ -n "${VORNIX_BENCH_SUMMARY:-}" ] && echo "$1 $2" >>"$VORNIX_BENCH_SUMMARY"
  return 0
}

rm -f "$work/textures/scores.asc"
none=$(start_to_window) || none=n/a
echo "start to window, no score file: $none s"
summary start_none_s "$none"
for kind in low random; do
  make_file "$kind" 1000000
  seconds=$(start_to_window) || seconds=n/a
  echo "start to window, 1000000 record lines (16 MB) of $kind scores: $seconds s"
  summary "start_${kind}_s" "$seconds"
done
make_file rising 20000
seconds=$(start_to_window) || seconds=n/a
echo "start to window, 20000 record lines of rising scores: $seconds s (a million such lines: about 50 times that)"
summary start_rising_20000_s "$seconds"
