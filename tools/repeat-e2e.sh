#!/bin/bash
# Runs the whole Windows test set N times in a row (default 20) in one
# display session and reports how many rounds failed, and which tests.
#   bash tools/repeat-e2e.sh [N]
set -uo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-20}
bash tools/install-deps.sh || exit 1
bash tools/build.sh win >/dev/null || exit 1
export WINEPREFIX=$PWD/build/win/wineprefix
wineserver -k 2>/dev/null || true
script='
failed=0
for round in $(seq 1 "$0"); do
    if ctest --test-dir build/win -j"$(nproc)" --output-on-failure > "build/win/round-$round.log" 2>&1; then
        echo "round $round: passed"
    else
        failed=$((failed + 1))
        echo "round $round: FAILED: $(grep -E "^\s+[0-9]+ - " "build/win/round-$round.log" | tr -s " " | tr "\n" ";")"
    fi
done
wineserver -k 2>/dev/null
echo "$((${0} - failed)) passed, $failed failed"
[ $failed = 0 ]'
if [ -n "${DISPLAY:-}" ]; then
    bash -c "$script" "$rounds"
else
    xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "$script" "$rounds"
fi
