#!/usr/bin/env bash
# Runs every fuzz target for the given number of seconds with its own corpus under the build
# folder, seeded from tests/fuzz/seeds/<target> where present. Prints each target's executions
# and fails when any target finds a crash (the input is kept under <build>/artifacts/).
# Usage: scripts/fuzz.sh BUILD_DIR SECONDS
set -uo pipefail
build=$1
seconds=${2:-60}
repo=$(cd "$(dirname "$0")/.." && pwd)
status=0
for exe in "$build"/bin/fuzz_*; do
  name=$(basename "$exe")
  target=${name#fuzz_}
  corpus="$build/corpus/$target"
  artifacts="$build/artifacts/$target/"
  mkdir -p "$corpus" "$artifacts"
  seeds=()
  [ -d "$repo/tests/fuzz/seeds/$target" ] && seeds=("$repo/tests/fuzz/seeds/$target")
  log="$build/$name.log"
  "$exe" -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=2048 \
    -artifact_prefix="$artifacts" "$corpus" "${seeds[@]}" >"$log" 2>&1
  rc=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1)
  if [ $rc -ne 0 ]; then
    status=1
    echo "fuzz $target: FINDING after ${runs:-?} runs (see $log and $artifacts)"
    grep -m3 -E 'ERROR|SUMMARY|runtime error' "$log" | sed 's/^/    /'
  else
    echo "fuzz $target: ${runs:-?} runs in ${seconds} s, ${cov:-cov: ?}, corpus $(ls "$corpus" | wc -l) inputs, no finding"
  fi
done
exit $status
