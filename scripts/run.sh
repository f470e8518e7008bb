#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tervana.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
exec "${TERVANA_BUILD_DIR:-$top/build}/app/tervana" "$@"
