#!/bin/bash
# Installs what building and testing filepick needs on Debian 12, and only
# what is missing: the i686 MinGW-w64 toolchain, Wine (32- and 64-bit) and
# its fonts, Xvfb, GoogleTest sources, clang with its sanitizer
# runtime, xmllint (the manifest check), the zh_CN.UTF-8 locale (the
# tests' run under the double-byte code page 936), zip (reproducible zips),
# osslsigncode and openssl (signing, and its test), and npm with
# action-validator (the check of the hosted Windows workflow).
#
# Wine's 32-bit side is a 32-bit Linux program. Where the kernel cannot run
# those (some virtual machines lack 32-bit support), they run through
# qemu-user instead: qemu 8 or later from bookworm-backports (7.2 handles
# Wine's address-space reservations so slowly that each start takes a
# minute), registered with binfmt_misc.
set -euo pipefail

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

packages=(cmake make g++ g++-mingw-w64-i686 mingw-w64-tools wine wine32 wine64
          fonts-wine xvfb xauth googletest clang clang-format-14 libclang-rt-14-dev
          libxml2-utils locales zip osslsigncode openssl)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"; }

install_packages() { bash "$(dirname "$0")/install-packages.sh" "$@"; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
fi
missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
    echo "install-deps: installing ${missing[*]}"
    install_packages "${missing[@]}"
fi

# The workflow validator, from the npm registry (Debian's npm where the
# machine has no npm of its own).
if ! command -v action-validator >/dev/null; then
    if ! command -v npm >/dev/null; then
        install_packages npm
    fi
    echo "install-deps: installing action-validator (npm)"
    as_root npm install -g --silent @action-validator/cli@0.6.0 >/dev/null
fi

# Wine takes its ANSI code page from the locale, and makes non-ASCII file
# names only in a locale the machine has.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
    as_root localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi

# Can this machine run 32-bit Linux programs by itself? Our own qemu
# registration is set aside for the question.
entry=/proc/sys/fs/binfmt_misc/qemu-i386
if [ -e $entry ]; then echo -1 | as_root tee $entry >/dev/null; fi
if /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    exit 0
fi

qemu_major() { qemu-i386-static --version 2>/dev/null | sed -n 's/.*version \([0-9]*\)\..*/\1/p'; }
if [ "$(qemu_major || true)" = "" ] || [ "$(qemu_major)" -lt 8 ]; then
    echo "install-deps: this kernel cannot run 32-bit programs; installing qemu-user from backports"
    # Backports from the Debian mirror this machine already uses.
    list=/etc/apt/sources.list.d/filepick-backports.list
    if ! apt-get indextargets --format '$(CODENAME)' | grep -qx bookworm-backports; then
        mirror=$(apt-get indextargets --format '$(SITE) $(CODENAME)' | awk '$2 == "bookworm" { print $1; exit }')
        if [ -z "$mirror" ]; then
            echo "install-deps: no bookworm source is set up; add one and run again" >&2
            exit 1
        fi
        echo "deb $mirror bookworm-backports main" | as_root tee $list >/dev/null
    fi
    install_packages -t bookworm-backports qemu-user-static
fi
if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
    as_root mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
fi
# 32-bit x86 ELF executables and shared objects; F: the interpreter is
# opened now, so it works inside any mount namespace later.
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
echo ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386-static:F" |
    as_root tee /proc/sys/fs/binfmt_misc/register >/dev/null
/lib/ld-linux.so.2 --version >/dev/null 2>&1 || {
    echo "install-deps: 32-bit programs still cannot run; Wine will not work" >&2
    exit 1
}
