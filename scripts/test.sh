#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
TERVANA_CMAKE_ARGS="-DTERVANA_WERROR=ON ${TERVANA_CMAKE_ARGS:-}" "$top/scripts/build.sh"
cd "${TERVANA_BUILD_DIR:-$top/build}"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" --timeout 300

# The tests labelled "threads" (the reading thread, reading runs, fast mode, reading runs
# started from the main window) again under ThreadSanitizer, in a build folder of their own
# holding only them: a data race fails them at every run. The target tervana_thread_tests
# depends on every executable given that label, so no list is kept here.
threads_here=$(ctest -N -L threads | sed -n 's/^Total Tests: //p')
tsan=${TERVANA_TSAN_BUILD_DIR:-$top/build-tsan}
tsan_flags=-fsanitize=thread
cmake -S "$top" -B "$tsan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTERVANA_WERROR=ON \
  -DCMAKE_CXX_FLAGS="$tsan_flags" -DCMAKE_C_FLAGS="$tsan_flags" -DCMAKE_EXE_LINKER_FLAGS="$tsan_flags" \
  ${TERVANA_CMAKE_ARGS:-} >/dev/null
cmake --build "$tsan" -j "$(nproc)" --target tervana_thread_tests
cd "$tsan"
# A labelled test whose executable the pass did not build would be missing here, not failing.
threads_tsan=$(ctest -N -L threads | sed -n 's/^Total Tests: //p')
if [ "$threads_tsan" != "$threads_here" ]; then
  echo "ThreadSanitizer pass: $threads_tsan tests labelled threads, the main build has $threads_here" >&2
  exit 1
fi
# Qt's libraries are not built for the checker; scripts/tsan.supp says what that leaves out.
TSAN_OPTIONS="suppressions=$top/scripts/tsan.supp ${TSAN_OPTIONS:-}" QT_QPA_PLATFORM=offscreen \
  ctest --output-on-failure -j "$(nproc)" --timeout 300 -L threads
