#!/bin/bash
# Checks that the tests catch the faults listed in tests/faults.txt: each is
# applied in turn to a scratch copy of the sources (build/faults), which is
# built incrementally, then the native tests and the Windows tests run, the
# Windows ones without stopping at their first failure.
# Prints, per fault, the tests that failed, and in brackets the Windows
# tests' rows that did (or that the build broke), and the time taken; then
# the faults no test caught.
#   bash tools/check-faults.sh [--first] [PATTERN]  only faults whose text matches
#   bash tools/check-faults.sh [--first] +N         from the Nth fault on (1 = first)
# --first: each fault only until a test catches it (the native tests, then
# the Windows tests, stopping at the first failure), naming that catcher:
# the whole catalogue in about an hour instead of three. The format check
# runs last, for a fault nothing else caught.
# On demand, not in CI: about a minute and a half a fault (a third of
# that with --first), more where waits run out.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
first_only=0
if [ "${1:-}" = --first ]; then
    first_only=1
    shift
fi
pattern=${1:-}
first=1
if [[ $pattern == +[0-9]* ]]; then
    first=${pattern#+}
    pattern=""
fi
scratch=$root/build/faults
bash tools/install-deps.sh >/dev/null || exit 1

# The sources as they are now (tracked and new files): a pristine copy to
# restore from, and the scratch copy that is built and faulted.
tree=$scratch/tree
pristine=$scratch/pristine
rm -rf "$pristine"
mkdir -p "$tree" "$pristine"
git ls-files -co --exclude-standard -z | tar --null -T - -cf - | tar -xf - -C "$pristine"
# Only what differs is copied, as a new file: one left faulted by a run that
# was stopped must be built again.
(cd "$pristine" && find . -type f) | while IFS= read -r file; do
    cmp -s "$pristine/$file" "$tree/$file" ||
        { mkdir -p "$(dirname "$tree/$file")" && cp "$pristine/$file" "$tree/$file"; }
done
if [ ! -f "$tree/build/win/CMakeCache.txt" ]; then
    (cd "$tree" && bash tools/build.sh all >/dev/null 2>&1)
fi
# Every row runs, so that each fault shows all the rows that catch it;
# with --first, each test program stops at its first failure.
if [ $first_only = 1 ]; then
    cmake "$tree/build/win" -DFILEPICK_FAIL_FAST=ON >/dev/null
else
    cmake "$tree/build/win" -DFILEPICK_FAIL_FAST=OFF >/dev/null
fi

# Applies one edit; fails unless the original stands exactly once.
edit() {
    FROM=$2 TO=$3 perl -0777 -i -pe '
        BEGIN { ($f, $t) = ($ENV{FROM}, $ENV{TO}); s/\{NL\}/\n/g for $f, $t }
        my $n = () = /\Q$f\E/g;
        die "the original stands $n times\n" if $n != 1;
        s/\Q$f\E/$t/' "$tree/$1"
}

# The format check catches the layout of almost any edit, not what it breaks:
# it counts only for a fault that no other test catches.
layout_test='^Sources\.FormatHolds$'

run_tests() {
    local failed=""
    ctest --test-dir "$tree/build/native" -j"$(nproc)" -E "$layout_test" >"$scratch/native.log" 2>&1 ||
        failed+=$(sed -n 's/^\s*[0-9]* - \(.*\) (.*)$/\1/p' "$scratch/native.log" | tr '\n' ' ')
    if [ $first_only = 1 ] && [ -n "$failed" ]; then
        echo "$failed"
        return
    fi
    local stop=""
    [ $first_only = 0 ] || stop=--stop-on-failure
    export WINEPREFIX=$tree/build/win/wineprefix
    wineserver -k 2>/dev/null
    xvfb-run -a -s "-screen 0 1280x1024x24" bash -c \
        'ctest --test-dir "$0/build/win" -j"$(nproc)" $2 --output-on-failure > "$1/win.log" 2>&1
         wineserver -k 2>/dev/null' "$tree" "$scratch" "$stop"
    failed+=$(sed -n 's/^\s*[0-9]* - \(win\.[^ ]*\) (.*)$/\1/p' "$scratch/win.log" | tr '\n' ' ')
    local rows
    rows=$(sed -n 's/^\[  FAILED  \] \([^ ,]*[/.][^ ,]*\).*/\1/p' "$scratch/win.log" | sort -u | tr '\n' ' ')
    if [ -z "$failed" ] && [ -z "$rows" ] &&
        ! ctest --test-dir "$tree/build/native" -R "$layout_test" >"$scratch/layout.log" 2>&1; then
        failed="Sources.FormatHolds "
    fi
    echo "$failed${rows:+[${rows% }]}"
}

uncaught=()
count=0
index=0
name=""
edits=()
check() {
    [ -n "$name" ] || return
    index=$((index + 1))
    if [ -n "$pattern" ] && [[ "$name" != *$pattern* ]]; then return; fi
    [ $index -ge $first ] || return
    count=$((count + 1))
    local start=$SECONDS result ok=1
    for line in "${edits[@]}"; do
        IFS=$'\t' read -r file from to <<<"$line"
        edit "$file" "$from" "$to" 2>"$scratch/edit.log" || { ok=0; break; }
    done
    if [ $ok = 0 ]; then
        result="NOT APPLIED: $(cat "$scratch/edit.log")"
    elif ! (cd "$tree" && bash tools/build.sh all >"$scratch/build.log" 2>&1); then
        result="the build broke"
    else
        result=$(run_tests)
        [ -n "$result" ] || { result="NOT CAUGHT"; uncaught+=("$name"); }
    fi
    printf '%-72s %4ds  %s\n' "$name" $((SECONDS - start)) "$result"
    # Back to the sources as they were.
    for line in "${edits[@]}"; do
        cp "$pristine/${line%%$'\t'*}" "$tree/${line%%$'\t'*}"
    done
}

while IFS= read -r line || [ -n "$line" ]; do
    case $line in
        '#'*) ;;
        '') check; name=""; edits=() ;;
        *$'\t'*) edits+=("$line") ;;
        *) name=$line ;;
    esac
done < tests/faults.txt
check
(cd "$tree" && bash tools/build.sh all >/dev/null 2>&1)
echo
echo "${#uncaught[@]} of $count faults caught by no test${uncaught:+:}"
for name in "${uncaught[@]}"; do echo "  $name"; done
