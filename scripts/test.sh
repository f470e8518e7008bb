#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
TERVANA_CMAKE_ARGS="-DTERVANA_WERROR=ON ${TERVANA_CMAKE_ARGS:-}" "$top/scripts/build.sh"
cd "${TERVANA_BUILD_DIR:-$top/build}"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" --timeout 300

# The tests labelled "threads" (the reading runs and fast mode) again under ThreadSanitizer,
# in a build folder of their own holding only them: a data race fails them at every run.
tsan=${TERVANA_TSAN_BUILD_DIR:-$top/build-tsan}
tsan_flags=-fsanitize=thread
cmake -S "$top" -B "$tsan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTERVANA_WERROR=ON \
  -DCMAKE_CXX_FLAGS="$tsan_flags" -DCMAKE_C_FLAGS="$tsan_flags" -DCMAKE_EXE_LINKER_FLAGS="$tsan_flags" \
  ${TERVANA_CMAKE_ARGS:-} >/dev/null
cmake --build "$tsan" -j "$(nproc)" --target acquisition_fast_test acquisition_run_test acquisition_fast_run_test
cd "$tsan"
ctest --output-on-failure -j "$(nproc)" --timeout 300 -L threads
