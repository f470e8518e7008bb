#!/bin/sh
# Includes run down: the program's folders include nothing of the tools, tests, fuzz targets
# or benchmarks; a tool includes nothing of the tests, fuzz targets or benchmarks; and only a
# benchmark includes a benchmark's file (what bench/ and tools/ both need lives in tools/).
# Usage: include_floors.sh <source tree>
cd "$1" || exit 2
status=0

# Folders (one a word) and the top folders their files must not include from.
check() {
  folders=$1
  banned=$2
  hits=$(grep -rnE --include='*.h' --include='*.cpp' \
           "^[[:space:]]*#[[:space:]]*include[[:space:]]*[\"<](\.\./)*($banned)/" $folders 2>/dev/null)
  if [ -n "$hits" ]; then
    echo "$hits"
    echo "  ^ $folders must not include from $banned" | tr '|' ','
    status=1
  fi
}

check "platform instrument controls ui display export history acquisition devconfig app" "tools|tests|fuzz|bench"
check "tools" "tests|fuzz|bench"
check "tests fuzz" "bench"
exit $status
