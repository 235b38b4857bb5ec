#!/bin/bash
# Configures (once) and builds the two build trees:
#   build/win     filepick.exe, filepick-host.exe and the Windows tests
#   build/native  the portable code and its unit tests, with sanitizers
#                 (clang)
# Usage: bash tools/build.sh [win|native|all] [cmake --build arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
which=${1:-all}
shift || true
jobs=$(nproc)

if [ "$which" = win ] || [ "$which" = all ]; then
    if [ ! -f build/win/CMakeCache.txt ]; then
        cmake -S . -B build/win --toolchain cmake/mingw-i686.cmake \
            -DCMAKE_BUILD_TYPE=Release >/dev/null
    fi
    cmake --build build/win -j"$jobs" "$@"
fi
if [ "$which" = native ] || [ "$which" = all ]; then
    if [ ! -f build/native/CMakeCache.txt ]; then
        cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug \
            -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    fi
    cmake --build build/native -j"$jobs" "$@"
fi
