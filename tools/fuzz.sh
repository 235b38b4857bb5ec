#!/bin/bash
# A long fuzzing campaign: every libFuzzer target for RUNS executions
# (default 10 million), one after another, printing each one's final stats.
# Finds go to build/native/tests/fuzz/ as crash-* files.
#   bash tools/fuzz.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10000000}
bash tools/build.sh native >/dev/null
cd build/native/tests/fuzz
for target in command_line exchange_read; do
    echo "== fuzz_$target: $runs runs"
    mkdir -p corpus-$target
    ./fuzz_$target -runs="$runs" -print_final_stats=1 corpus-$target \
        ../../../../tests/fuzz/corpus/$target 2>&1 |
        grep -E "stat::number_of_executed_units|stat::peak_rss|ERROR|crash-|Done" || true
done
