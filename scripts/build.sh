#!/usr/bin/env bash
# Configures and builds Tervana into ./build (or $TERVANA_BUILD_DIR).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${TERVANA_BUILD_DIR:-$top/build}
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=${TERVANA_BUILD_TYPE:-RelWithDebInfo} ${TERVANA_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j "$(nproc)"
