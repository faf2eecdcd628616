# Sourced by everything that runs Wine: sets wine and wineserver to the programs of the 64-bit
# Wine that Debian's wine64 package installs (on PATH or in its own folder), or the plain wine.
wine=$(command -v wine64 || true)
[ -n "$wine" ] || wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine || true)
wineserver=$(command -v wineserver || true)
[ -n "$wineserver" ] || wineserver=$(dirname "$wine")/wineserver
