#!/bin/bash
# tools/install-packages.sh against a stand-in apt-get whose index downloads
# fail as a mirror in mid-sync makes them fail. Each case: what the update
# does, what the install does without and with the lowered security suite,
# the exit status expected, and text the output must hold.
set -uo pipefail
script=$(cd "$(dirname "$0")/../.." && pwd)/tools/install-packages.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
# The stand-in: APT_UPDATE and APT_INSTALL (plain, pinned) are "ok" or "fail".
cat >"$work/bin/apt-get" <<'EOF'
#!/bin/bash
echo "apt-get $*" >>"$APT_CALLS"
case " $* " in
*" update "*)
    [ "$APT_UPDATE" = ok ] && exit 0
    echo "E: Failed to fetch http://mirror.invalid/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (1 != 2). Mirror sync in progress?" >&2
    exit 100 ;;
*" Dir::Etc::Preferences="*)
    file=$(printf '%s\n' "$@" | sed -n 's/^Dir::Etc::Preferences=//p')
    grep -q '^Pin: release l=Debian-Security$' "$file" && grep -q '^Pin-Priority: 100$' "$file" || exit 99
    [ "$APT_PINNED" = ok ] ;;
*)  [ "$APT_INSTALL" = ok ] || { echo "E: Unable to correct problems, you have held broken packages." >&2; exit 100; } ;;
esac
EOF
printf '#!/bin/sh\nexec "$@"\n' >"$work/bin/sudo"
chmod +x "$work/bin/apt-get" "$work/bin/sudo"

failures=0
# name, update, install, pinned install, exit status, updates and installs made, text of the output
check() {
    local name=$1 update=$2 install=$3 pinned=$4 expected=$5 calls=$6 holds=$7
    : >"$work/calls"
    output=$(PATH="$work/bin:$PATH" APT_CALLS="$work/calls" APT_UPDATE=$update APT_INSTALL=$install \
             APT_PINNED=$pinned FILEPICK_APT_PAUSE=0 bash "$script" wine32 2>&1)
    status=$?
    got="$(grep -c ' update' "$work/calls") updates, $(grep -c ' install ' "$work/calls") installs"
    if [ $status != "$expected" ] || [ "$got" != "$calls" ] || ! grep -qF -- "$holds" <<<"$output"; then
        echo "FAILED: $name: exit $status (expected $expected), $got (expected $calls), output:"
        echo "$output" | sed 's/^/    /'
        failures=$((failures + 1))
    else
        echo "ok: $name"
    fi
}
check "a failed index: the update again after a pause, then an install with the security suite lowered" \
      fail fail ok 0 "2 updates, 2 installs" "lowered to 100"
check "an install that fails even so names the index that did not load" \
      fail fail fail 1 "2 updates, 2 installs" "    http://mirror.invalid/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz"
check "with every index loaded, a failed install is not tried with priorities changed" \
      ok fail ok 1 "1 updates, 1 installs" "apt-get install wine32 failed"
check "a failed index alone does not stop an install that works" \
      fail ok fail 0 "2 updates, 1 installs" "going on with the indexes that loaded"
[ $failures = 0 ]
