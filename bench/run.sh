#!/bin/bash
# Benchmarks filepick.exe under Wine against floor programs built here:
# start-to-exit, start-to-dialog-ready, OK-to-reply and peak working set
# (each run interleaved with its floor's; the median ratio of the pairs
# with its 95% bootstrap interval), then the stripped sizes and
# filepick.exe's imports.
#   bash bench/run.sh [PAIRS]      (default 70)
set -euo pipefail
cd "$(dirname "$0")/.."
reps=${1:-70}
bash tools/install-deps.sh
bash tools/build.sh win --target filepick floor_exit floor_dialog bench_driver >/dev/null

export WINEPREFIX=$PWD/build/win/wineprefix
demo="Z:$(pwd -P)/demo"
demo=${demo//\//\\}
wineserver -k 2>/dev/null || true
run='build/win/wine-run build/win/wine_session_start.exe 2>/dev/null || true
     build/win/wine-run build/win/bench_driver.exe "$0" "$1"; status=$?
     wineserver -k 2>/dev/null; exit $status'
bash tools/build.sh win --target wine_session_start >/dev/null
if [ -n "${DISPLAY:-}" ]; then
    bash -c "$run" "$reps" "$demo"
else
    xvfb-run -a bash -c "$run" "$reps" "$demo"
fi

size() { stat -c %s "$1"; }
picker=$(size build/win/filepick.exe)
floor=$(size build/win/floor_dialog.exe)
awk -v p="$picker" -v f="$floor" 'BEGIN {
    printf "| stripped size | %.1f KiB | %.1f KiB | %.3f | - | <= 1.25 and < 64 KiB: %s |\n",
           p / 1024, f / 1024, p / f, (p / f <= 1.25 && p < 65536) ? "met" : "not met" }'
echo
echo "filepick.exe imports: $(i686-w64-mingw32-objdump -p build/win/filepick.exe |
    sed -n 's/^\tDLL Name: //p' | tr '\n' ' ')"
