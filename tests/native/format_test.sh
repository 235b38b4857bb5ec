#!/bin/bash
# The C and C++ sources hold the project's format (.clang-format, as
# clang-format 14 of Debian 12 applies it; other versions lay out some
# lines otherwise). Names each file clang-format would change.
set -uo pipefail
cd "$(dirname "$0")/../.."
format=$(command -v clang-format-14 || command -v clang-format) || {
    echo "clang-format 14 is missing: run bash tools/install-deps.sh"
    exit 1
}
mapfile -t files < <(find src host driver bench examples include tests resources \
                          \( -name '*.c' -o -name '*.cpp' -o -name '*.h' \) | sort)
# --dry-run reports each line it would change as FILE:LINE:COLUMN: error.
differing=$("$format" --dry-run "${files[@]}" 2>&1 | sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: .*/\1/p' | sort -u)
for file in $differing; do
    echo "$file: not in the project's format; $format -i $file lays it out"
done
echo "format: $(printf '%s' "$differing" | grep -c .) of ${#files[@]} files differ"
[ -z "$differing" ]
