#!/usr/bin/env bash
# Runs the fuzz target for the given number of seconds on its corpus under the build folder,
# seeded from tests/fuzz/seeds/core; fails on a finding (the input is kept under
# <build>/artifacts/, libFuzzer's report in <build>/fuzz.log). Usage: scripts/fuzz.sh BUILD SECONDS
set -uo pipefail
build=$1
mkdir -p "$build/corpus" "$build/artifacts"
if ! "$build/bin/fuzz_core" -max_total_time="${2:-60}" -print_final_stats=1 -rss_limit_mb=2048 \
  -artifact_prefix="$build/artifacts/" "$build/corpus" "$(dirname "$0")/../tests/fuzz/seeds/core" \
  >"$build/fuzz.log" 2>&1; then
  grep -m3 -E 'ERROR|SUMMARY|runtime error' "$build/fuzz.log"
  echo "fuzz: FINDING (see $build/fuzz.log and $build/artifacts/)" && exit 1
fi
echo "fuzz: $(grep -o 'number_of_executed_units: *[0-9]*' "$build/fuzz.log" | grep -o '[0-9]*$') runs, no finding"
