#!/usr/bin/env bash
# Fails when a source file outside platform/ includes an operating-system, SDL or emscripten header:
# platform/ is the program's one boundary to the machine.
set -euo pipefail
cd "$(dirname "$0")/.."
pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](SDL|SDL2/|emscripten|windows\.h|ddraw\.h|mmsystem\.h|winuser\.h|wingdi\.h|unistd\.h|fcntl\.h|sys/)'
leaks=$(find app game scores display tools tests bench -type f \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null \
  | xargs -r grep -nE "$pattern" || true)
if [ -n "$leaks" ]; then
  echo "Operating-system headers outside platform/:"
  echo "$leaks"
  exit 1
fi
echo "platform boundary: clean"
