#!/bin/bash
# Every link of the README and the guides resolves: the file it names
# exists, and so does the heading its #anchor names (as GitHub makes
# anchors: lower case, punctuation dropped, blanks as '-').
set -uo pipefail
cd "$(dirname "$0")/../.."
failures=0
anchors() { sed -n 's/^#\{1,6\} \(.*\)$/\1/p' "$1" | tr 'A-Z' 'a-z' | sed 's/[^a-z0-9 _-]//g; s/ /-/g'; }
for page in README.md CHANGELOG.md docs/*.md; do
    dir=$(dirname "$page")
    while IFS= read -r link; do
        case $link in http://*|https://*|mailto:*) continue ;; esac
        file=${link%%#*}
        anchor=${link#"$file"}
        target=$page
        [ -n "$file" ] && target=$dir/$file
        if [ ! -e "$target" ]; then
            echo "$page: the link $link names no file"
            failures=$((failures + 1))
        elif [ -n "$anchor" ] && ! anchors "$target" | grep -qx -- "${anchor#\#}"; then
            echo "$page: the link $link names no heading of $target"
            failures=$((failures + 1))
        fi
    done < <(grep -o '](\([^)]*\))' "$page" | sed 's/^](\(.*\))$/\1/')
done
echo "links: $failures broken"
[ $failures = 0 ]
