#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the Linux build's unit and end-to-end
# tests under the address and undefined-behaviour sanitizers, the Debian package made from the
# release build, the Windows build's tests under Wine, then the browser build's tests (the replays
# under node, the site in headless Chromium).
set -euo pipefail
cd "$(dirname "$0")"
jobs=$(nproc)

scripts/install-deps.sh test
scripts/check-format.sh

cmake --preset linux-debug
cmake --build --preset linux-debug -j "$jobs"
ctest --preset linux-debug -j 1

cmake --preset linux-release
cmake --build --preset linux-release -j "$jobs"
(cd build/linux-release && cpack -G DEB)
tests/e2e/package_check.sh build/linux-release

cmake --preset windows-release
cmake --build --preset windows-release -j "$jobs"
ctest --preset windows-test -j 1

cmake --preset web-release
cmake --build --preset web-release -j "$jobs"
ctest --preset web-test -j 1
