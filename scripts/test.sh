#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
TERVANA_CMAKE_ARGS="-DTERVANA_WERROR=ON ${TERVANA_CMAKE_ARGS:-}" "$top/scripts/build.sh"
cd "${TERVANA_BUILD_DIR:-$top/build}"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" --timeout 300
