#!/usr/bin/env bash
# Installs what is missing, builds Vornix for the browser and serves it on this machine:
#   ./web.sh [PORT]     (8080 unless a port is given), then open the address it prints.
# The site folder build/web-release/site/ is static and works as it is from any web host.
set -euo pipefail
cd "$(dirname "$0")"
port="${1:-8080}"

scripts/install-deps.sh web
cmake --preset web-release >/dev/null
cmake --build --preset web-release --target vornix_site -j "$(nproc)"

echo "Vornix in a browser: http://127.0.0.1:${port}/  (Ctrl+C ends the server)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build/web-release/site
