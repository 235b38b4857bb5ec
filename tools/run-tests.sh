#!/bin/bash
# Installs what is missing, builds both trees and runs every test: the
# native unit tests (AddressSanitizer, UBSan) and then the Windows tests
# under Wine, inside one display session (a virtual one when none is set).
set -euo pipefail
cd "$(dirname "$0")/.."
tier=""
if [ "${1:-}" = --quick ] && [ $# = 1 ]; then
    tier="-L quick"
elif [ $# -gt 0 ]; then
    case $1 in
        -h|--help) ;;
        *) echo "run-tests: unknown argument $1" >&2 ;;
    esac
    echo "usage: bash tools/run-tests.sh [--quick]"
    echo "  installs what is missing (Debian 12), builds build/win and build/native,"
    echo "  and runs every test: native unit tests, then the Windows tests under Wine."
    echo "  --quick: of the Windows tests only the dialog tables, not the release tier"
    echo "  (package, kit, reproducible build, signing, pictures)."
    [ "$1" = -h ] || [ "$1" = --help ]
    exit $?
fi
bash tools/install-deps.sh
bash tools/build.sh all

jobs=$(nproc)
ctest --test-dir build/native --output-on-failure -j"$jobs"

export WINEPREFIX=$PWD/build/win/wineprefix
# A Wine server left from another display session would serve this run
# without a display: end it first.
wineserver -k 2>/dev/null || true
# The four prefixes are made first, one after the other, where their
# making shows (about 20 s each, on the first run only).
windows_tests='for prefix in wineprefix:C.UTF-8 wineprefix-936:zh_CN.UTF-8 wineprefix-full:C.UTF-8 \
                             wineprefix-kit:C.UTF-8:wine; do
                   IFS=: read -r name locale devices <<<"$prefix"
                   FILEPICK_WINEPREFIX=$PWD/build/win/$name FILEPICK_LOCALE=$locale \
                       FILEPICK_PREFIX_DEVICES=$devices \
                       build/win/wine-run build/win/wine_session_start.exe || exit 1
               done
               wineserver -k 2>/dev/null
               ctest --test-dir build/win --output-on-failure --stop-on-failure -j'"$jobs $tier"'
               status=$?; wineserver -k 2>/dev/null; exit $status'
if [ -n "${DISPLAY:-}" ]; then
    bash -c "$windows_tests"
else
    xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "$windows_tests"
fi
