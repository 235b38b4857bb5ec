#!/bin/sh
# Runs a test program on a Wine prefix whose C: is a 256 KiB tmpfs, so that
# the drive really fills up. The prefix's own system and profile folders are
# linked from the small drive; everything the tests write lands on it.
#   full-disk.sh BUILD_DIR PROGRAM [ARGUMENTS...]
# Exits 77 (skipped) where no tmpfs can be mounted (not root).
set -u
build=$1
shift
prefix=$build/wineprefix-full
drive=$build/full-disk-c
export FILEPICK_WINEPREFIX=$prefix
# Made once, like every prefix of the tree, with its C: a folder of its own.
"$build/wine-run" "$build/wine_session_start.exe" || exit 1
mkdir -p "$drive"
if ! mountpoint -q "$drive"; then
    if ! mount -t tmpfs -o size=256k filepick-full-disk "$drive" 2>/dev/null; then
        echo "full-disk: cannot mount a tmpfs here (root is needed); skipped"
        exit 77
    fi
fi
for entry in windows users ProgramData "Program Files" "Program Files (x86)" stand-ins; do
    ln -sfn "$prefix/drive_c/$entry" "$drive/$entry"
done
ln -sfn "$drive" "$prefix/dosdevices/c:"
"$build/wine-run" "$@"
status=$?
ln -sfn ../drive_c "$prefix/dosdevices/c:"
WINEPREFIX=$prefix wineserver -k 2>/dev/null
WINEPREFIX=$prefix wineserver -w 2>/dev/null
umount "$drive" 2>/dev/null
exit $status
