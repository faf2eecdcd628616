#!/bin/sh
# Runs one cross-built program under Wine for CTest: wine-run.sh PROGRAM.exe ARGUMENTS...
# Wine's diagnostics are off unless WINEDEBUG asks for them.
set -e
: "${WINEPREFIX:=$HOME/.wine}"
: "${WINEDEBUG:=-all}"
: "${WINEDLLOVERRIDES:=mscoree,mshtml=}"  # no prompts to install .NET or a browser engine
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES

. "$(dirname "$0")/../scripts/find-wine.sh"

# Without a server that outlives each program, Wine starts its services afresh for every test,
# some three seconds each time, and they hold the test's output open, so CTest waits for them too.
# This server stays until ten seconds after the last test; its services are started here, away
# from the test's output.
mkdir -p "$WINEPREFIX"
if "$wineserver" -p10 >/dev/null 2>&1; then
  "$wine" wineboot </dev/null >/dev/null 2>&1 || true
fi
exec "$wine" "$@"
