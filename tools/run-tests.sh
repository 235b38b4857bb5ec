#!/bin/bash
# Installs what is missing, builds both trees and runs every test: the
# native unit tests (AddressSanitizer, UBSan) and then the Windows tests
# under Wine, inside one display session (a virtual one when none is set).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
bash tools/build.sh all

jobs=$(nproc)
ctest --test-dir build/native --output-on-failure -j"$jobs"

export WINEPREFIX=$PWD/build/win/wineprefix
# A Wine server left from another display session would serve this run
# without a display: end it first.
wineserver -k 2>/dev/null || true
windows_tests='ctest --test-dir build/win --output-on-failure --stop-on-failure -j'"$jobs"'; status=$?; wineserver -k 2>/dev/null; exit $status'
if [ -n "${DISPLAY:-}" ]; then
    bash -c "$windows_tests"
else
    xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "$windows_tests"
fi
