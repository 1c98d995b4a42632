#!/usr/bin/env bash
# Runs the fuzz target for the given number of seconds on its corpus under the build folder,
# seeded from tests/fuzz/seeds/core; fails on a finding (the input is kept under
# <build>/artifacts/). Usage: scripts/fuzz.sh BUILD_DIR SECONDS
set -uo pipefail
build=$1
repo=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$build/corpus" "$build/artifacts"
"$build/bin/fuzz_core" -max_total_time="${2:-60}" -print_final_stats=1 -rss_limit_mb=2048 \
  -artifact_prefix="$build/artifacts/" "$build/corpus" "$repo/tests/fuzz/seeds/core" \
  >"$build/fuzz.log" 2>&1
rc=$?
runs=$(grep -o 'number_of_executed_units: *[0-9]*' "$build/fuzz.log" | grep -o '[0-9]*$')
if [ $rc -ne 0 ]; then
  echo "fuzz: FINDING after ${runs:-?} runs (see $build/fuzz.log and $build/artifacts/)"
  grep -m3 -E 'ERROR|SUMMARY|runtime error' "$build/fuzz.log" | sed 's/^/    /'
  exit 1
fi
echo "fuzz: ${runs:-?} runs in ${2:-60} s, no finding"
