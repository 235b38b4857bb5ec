#!/bin/bash
# Installs Debian packages with apt-get, and survives a mirror in mid-sync.
# Usage: bash tools/install-packages.sh [apt-get install options...] PACKAGE...
#
# apt-get update retries each download itself, then once more after a pause.
# Where an index still fails ("File has unexpected size ... Mirror sync in
# progress?"), it goes on with the indexes that loaded. If the install then
# fails, it is tried once more with the security suite's priority lowered:
# with the suite's i386 index missing, the 32-bit libraries exist only in the
# main suite's versions while their 64-bit twins want the security suite's;
# lowered, both resolve from the suites that loaded. The preferences file is
# a temporary one, given on the command line; nothing is left in /etc/apt.
set -euo pipefail

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }
pause=${FILEPICK_APT_PAUSE:-30}
log=$(mktemp)
preferences=$(mktemp)
trap 'rm -f "$log" "$preferences"' EXIT

# Prints the indexes apt-get could not fetch, one a line.
failed_indexes() { sed -n 's/^[EW]: Failed to fetch \([^ ]*\).*/\1/p' "$log" | sort -u; }

update() { as_root apt-get update -qq -o Acquire::Retries=3 >"$log" 2>&1; }

if ! update; then
    echo "install-packages: apt-get update failed; trying again in $pause s" >&2
    sleep "$pause"
    if ! update; then
        cat "$log" >&2
        echo "install-packages: going on with the indexes that loaded; these did not:" >&2
        failed_indexes | sed 's/^/    /' >&2
    fi
fi

install() {
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$@" >/dev/null
}
install "$@" && exit 0

failed=$(failed_indexes)
if [ -n "$failed" ]; then
    printf 'Package: *\nPin: release l=Debian-Security\nPin-Priority: 100\n' >"$preferences"
    chmod a+r "$preferences"
    echo "install-packages: installing again with the security suite's priority lowered to 100," \
         "as an index did not load" >&2
    install -o Dir::Etc::Preferences="$preferences" "$@" && exit 0
    echo "install-packages: the install failed; the index that did not load:" >&2
    printf '    %s\n' $failed >&2
    echo "install-packages: once the mirror has synced, run again: bash tools/install-deps.sh" >&2
else
    echo "install-packages: apt-get install $* failed" >&2
fi
exit 1
