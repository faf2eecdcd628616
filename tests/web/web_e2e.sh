#!/usr/bin/env bash
# Runs the browser end-to-end test against a built site folder, after making sure that Debian's
# Chromium and the pinned playwright-core are there.
#   web_e2e.sh SITE_DIR [ARTIFACTS_DIR]
set -euo pipefail

site=$(realpath "$1")
artifacts=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)

for file in index.html page.js vornix.js vornix.wasm textures/icons.bmp; do
  [ -f "$site/$file" ] || { echo "FAIL: $site/$file missing (build the web-release preset)"; exit 1; }
done
[ -x "${VORNIX_CHROMIUM:-/usr/bin/chromium}" ] || { echo "FAIL: no Chromium (scripts/install-deps.sh web)"; exit 1; }
"$top/scripts/web-tools.sh"

exec node "$here/web_e2e.mjs" "$site" ${artifacts:+"$artifacts"}
