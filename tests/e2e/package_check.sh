#!/usr/bin/env bash
# Checks the Debian package that cpack -G DEB made in a release build: its name and version, its
# control fields, that it holds exactly the installed files, and that lintian finds no error.
#   package_check.sh BUILD_DIR
set -uo pipefail

build=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_lib.sh"
require_tools dpkg-deb lintian
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=$build/vornix_${version}_amd64.deb
[ -f "$deb" ] || { echo "FAIL: $deb was not made (cpack -G DEB in $build)"; exit 1; }
echo "== $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
check "Package vornix, Version $version, Architecture amd64, Section games" \
  [ "$(field Package) $(field Version) $(field Architecture) $(field Section)" = "vornix $version amd64 games" ]
depends=$(field Depends)
check "Depends, read from the binary, names libc6 and SDL2, and no font library ($depends)" \
  bash -c '[[ "$1" == *"libc6 (>= "* && "$1" == *"libsdl2-2.0-0 (>= "* && "$1" != *"ttf"* ]]' _ "$depends"
check "the description has a synopsis and a paragraph below it" \
  bash -c '[ -n "$(dpkg-deb -f "$1" Description | head -n 1)" ] && [ "$(dpkg-deb -f "$1" Description | wc -l)" -ge 4 ]' _ "$deb"
check "the package holds exactly the installed files under /usr and lintian's note" \
  diff <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | sort) \
       <( (sed 's|^|usr/|' "$here/installed-files.txt"; echo usr/share/lintian/overrides/vornix) | sort)
check "the binary in it is stripped" \
  bash -c 'dpkg-deb --fsys-tarfile "$1" | tar -xO ./usr/bin/vornix | file - | grep -q ", stripped"' _ "$deb"

lintian --fail-on none "$deb" >"$build/lintian.log" 2>&1
cat "$build/lintian.log"
check "lintian reports no errors" bash -c '! grep -q "^E: " "$1"' _ "$build/lintian.log"
verdict "checks of the package"
