#!/usr/bin/env bash
# Installs the pinned JavaScript tools of the browser tests (playwright-core) from the lock file,
# unless node_modules already holds exactly the locked version.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v npm >/dev/null || { echo "npm is missing (scripts/install-deps.sh web)" >&2; exit 1; }
wanted=$(node -p 'require("./package-lock.json").packages["node_modules/playwright-core"].version')
have=$(node -p 'try { require("./node_modules/playwright-core/package.json").version } catch { "" }')
[ "$have" = "$wanted" ] && exit 0
npm ci --no-audit --no-fund --loglevel=error
