#!/usr/bin/env bash
# Installs the Debian packages that Vornix needs and that this machine lacks.
#   scripts/install-deps.sh run       what building and playing the game needs
#   scripts/install-deps.sh package   that, plus what cpack needs to make the Debian package
#   scripts/install-deps.sh web       what building the browser build and serving its site needs
#   scripts/install-deps.sh test      all that, plus the test tools, the Windows cross compiler, Wine,
#                                     Chromium and the browser tests' pinned playwright-core (npm ci)
set -euo pipefail

run_packages=(cmake make g++ pkg-config libsdl2-dev libx11-dev libfreetype-dev fonts-dejavu-core)
package_packages=(dpkg-dev file)
test_packages=(clang-format desktop-file-utils appstream lintian googletest xvfb xdotool x11-apps x11-utils
  x11-xserver-utils imagemagick python3 g++-mingw-w64-x86-64 wine64 wine zip chromium)
# The browser tests drive Chromium from node; a machine that brings its own node keeps it.
command -v npm >/dev/null || test_packages+=(nodejs npm)
# The browser build: Debian's emscripten (which brings node and the acorn its optimizer runs on),
# the host's compiler, FreeType and the font for the artwork and the glyph atlas drawn on this
# machine, GoogleTest's sources for the preset's tests, python3 to serve the site.
web_packages=(cmake make g++ libfreetype-dev fonts-dejavu-core emscripten googletest python3)

case "${1:-run}" in
  run) wanted=("${run_packages[@]}") ;;
  package) wanted=("${run_packages[@]}" "${package_packages[@]}") ;;
  web) wanted=("${web_packages[@]}") ;;
  test | bench) wanted=("${run_packages[@]}" "${package_packages[@]}" "${test_packages[@]}" "${web_packages[@]}") ;;
  *) echo "usage: $0 run|package|web|test|bench" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$package")
done
if [ ${#missing[@]} -ne 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
fi
case "${1:-run}" in
  test | bench) "$(dirname "$0")/web-tools.sh" ;;
esac
