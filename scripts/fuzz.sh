#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang's libFuzzer, ASan and UBSan, and runs each for a
# given time. Usage: scripts/fuzz.sh [seconds per target] [target...]
# Targets: history_file language_file ini_file display_records modbus_reply stream_records help_file xls_workbook
# export_options export_styles export_dialog_options
# Environment: TERVANA_FUZZ_JOBS targets at once, and compiler jobs while building (default 3),
# TERVANA_FUZZ_DIR build folder (default ./build-fuzz). Needs clang and libclang-rt-dev (Debian:
# clang-14, libclang-rt-14-dev).
#
# Each target starts from its committed seeds (fuzz/corpus/<target>) and keeps what it finds in
# <build folder>/corpus/<target>, so later runs go on from there. A fault leaves its input in
# <build folder>/artifacts/<target>/; add it to fuzz/corpus/<target> once it is mended, so the
# replay test (fuzz_replay_<target>) keeps it mended. Exits non-zero when any target found one.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-120}
shift || true
all=(history_file language_file ini_file display_records modbus_reply stream_records help_file environment_file xls_workbook
  export_options export_styles export_dialog_options)
targets=("$@")
[ "${#targets[@]}" -eq 0 ] && targets=("${all[@]}")
jobs=${TERVANA_FUZZ_JOBS:-3}
if ! [[ $jobs =~ ^[1-9][0-9]*$ ]]; then
  echo "fuzz.sh: TERVANA_FUZZ_JOBS must be a whole number above 0, not '$jobs'" >&2
  exit 2
fi
out=${TERVANA_FUZZ_DIR:-$top/build-fuzz}

cc=$(command -v clang-14 || command -v clang)
cxx=$(command -v clang++-14 || command -v clang++)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$top" -B "$out" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx" \
  -DTERVANA_FUZZ=ON -DBUILD_TESTING=OFF "${launcher[@]}" >/dev/null
cmake --build "$out" -j "$jobs" --target $(printf 'fuzz_%s ' "${targets[@]}")

# Inputs of text files may be long; records and replies are short.
max_len() {
  case $1 in
    history_file|ini_file|language_file|help_file|export_options|export_styles|export_dialog_options) echo 65536 ;;
    stream_records|environment_file) echo 8192 ;;
    xls_workbook) echo 32768 ;;
    *) echo 4096 ;;
  esac
}

run_one() {
  local t=$1
  mkdir -p "$out/corpus/$t" "$out/artifacts/$t" "$out/logs"
  # An input of this size that needs half a gigabyte, or ten seconds, is a fault.
  "$out/fuzz/fuzz_$t" "$out/corpus/$t" "$top/fuzz/corpus/$t" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=512 \
    -max_len="$(max_len "$t")" -print_final_stats=1 -artifact_prefix="$out/artifacts/$t/" \
    >"$out/logs/$t.log" 2>&1 || true
}

running=0
for t in "${targets[@]}"; do
  echo "fuzzing $t for $seconds s"
  run_one "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait

status=0
printf '\n%-16s %12s %8s %8s %8s %9s %s\n' target executions exec/s cov ft 'peak MB' faults
for t in "${targets[@]}"; do
  log="$out/logs/$t.log"
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  rss=$(sed -n 's/^stat::peak_rss_mb: *//p' "$log" | tail -1)
  faults=$(find "$out/artifacts/$t" -type f | wc -l)
  printf '%-16s %12s %8s %8s %8s %9s %s\n' "$t" "${execs:--}" "${speed:--}" "${cov:--}" "${ft:--}" "${rss:--}" "$faults"
  if [ "$faults" -gt 0 ]; then
    status=1
    find "$out/artifacts/$t" -type f -printf '  %p\n'
  fi
done
exit $status
