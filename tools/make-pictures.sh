#!/bin/bash
# Makes the pictures of the three dialogs that the README shows, as PNG
# files in OUTDIR, under the display that is set (run-demo.sh pictures runs
# it under a virtual one). They are made in a project folder of the Wine
# prefix's own, C:\projects\blinky, so that no machine's path shows: the
# same bytes wherever they are made. In each dialog a file is named and the
# focus is on OK, so no caret blinks; the dump dialog opens in the folder
# picked last.
#   bash tools/make-pictures.sh OUTDIR     (build/win built, DISPLAY set)
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "$1")
root=$PWD
export WINEPREFIX=${WINEPREFIX:-$root/build/win/wineprefix}
build/win/wine-run build/win/wine_session_start.exe
project=$WINEPREFIX/drive_c/projects/blinky
rm -rf "$project"
mkdir -p "$project" "$out"
cp demo/* "$project/"
printf 'void timer_init(void) {}\n' >"$project/timer.c"
printf '#include "timer.h"\n' >"$project/main.c"
printf 'TIMER module listing\n' >"$project/timer.lst"
printf ':00000001FF\n' >"$project/bootloader.hex"
printf 'session log\n' >"$project/session.log"
cd "$project"
for run in "DoLoadDebugFile --type 13 blinky.hex" "DoModuleListFile blinky.c" \
           "DoSetDumpFile session.log"; do
    set -- $run
    verb=$1 name=${!#} request='C:\projects\blinky' type=()
    [ $verb = DoSetDumpFile ] && request=2
    [ $# = 4 ] && type=("$2" "$3")
    "$root/build/win/wine-run" "$root/build/win/filepick-host.exe" "${type[@]}" \
        --steps "name $name" --screenshot "$verb.png" --choose "C:\\projects\\blinky\\$name" \
        "$verb" "$request" >/dev/null
    mv "$verb.png" "$out/$verb.png"
    echo "make-pictures: $out/$verb.png"
done
