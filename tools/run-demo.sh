#!/bin/bash
# The main job: builds filepick and lets a user pick a file through it, the
# way the host debugger does, in the demo folder shipped with the sources.
#
#   bash tools/run-demo.sh [DoLoadDebugFile | DoModuleListFile | DoSetDumpFile]
#   bash tools/run-demo.sh pictures
#
# With a display set, the real dialog opens there and you pick. Without
# one, it runs under a virtual display, picks a demo file by script, saves
# a screenshot of the open dialog (once it has painted) under build/win/,
# and prints the reply. "pictures" does that for all three dialogs and
# puts the screenshots into docs/images/, where the README shows them.
set -euo pipefail
cd "$(dirname "$0")/.."
verb=${1:-DoLoadDebugFile}
case $verb in
    DoLoadDebugFile|DoModuleListFile|DoSetDumpFile|pictures) ;;
    *)
        [ "$verb" = -h ] || [ "$verb" = --help ] || echo "run-demo: unknown argument $verb" >&2
        echo "usage: bash tools/run-demo.sh [DoLoadDebugFile | DoModuleListFile | DoSetDumpFile]"
        echo "       bash tools/run-demo.sh pictures"
        echo "  shows the dialog (on DISPLAY, or picked by script on a virtual display);"
        echo "  pictures: remakes docs/images/*.png"
        [ "$verb" = -h ] || [ "$verb" = --help ]
        exit $? ;;
esac
if [ "$verb" = pictures ]; then
    bash tools/install-deps.sh
    bash tools/build.sh win --target filepick filepick-host wine_session_start >/dev/null
    export WINEPREFIX=$PWD/build/win/wineprefix
    wineserver -k 2>/dev/null || true
    xvfb-run -a -s "-screen 0 1280x1024x24" \
        bash -c 'bash tools/make-pictures.sh docs/images; status=$?; wineserver -w; exit $status'
    exit $?
fi

bash tools/install-deps.sh
bash tools/build.sh win --target filepick filepick-host >/dev/null

demo="Z:$(pwd -P)/demo"
demo=${demo//\//\\}
case $verb in
    DoLoadDebugFile) request=$demo; pick="$demo\\blinky.hex"; type=(--type 13) ;;
    DoModuleListFile) request=$demo; pick="$demo\\Blinky main module listing.lst"; type=() ;;
    DoSetDumpFile) request=2; pick="Z:$(pwd -P)/build/win/demo-session.log"; type=() ;;
    *) echo "run-demo: unknown verb $verb" >&2; exit 2 ;;
esac
export WINEPREFIX=$PWD/build/win/wineprefix
host=(build/win/wine-run build/win/filepick-host.exe)
# A Wine server left from another display session would serve this one
# without a display: end it first.
wineserver -k 2>/dev/null || true

if [ -n "${DISPLAY:-}" ]; then
    echo "run-demo: display $DISPLAY is set: pick a file in the dialog ($verb)."
    "${host[@]}" "$verb" "$request"
    exit $?
fi

shot=build/win/demo-$verb.png
echo "run-demo: no display: running under a virtual one; picking $pick by script."
set +e
rm -f "$shot"
xvfb-run -a bash -c '"$@"; status=$?; wineserver -w; exit $status' run-demo \
    "${host[@]}" "${type[@]}" --steps "name ${pick##*\\}" --screenshot "$shot" --choose "$pick" \
    "$verb" "$request"
status=$?
set -e
if [ -f "$shot" ]; then
    echo "run-demo: screenshot of the open dialog: $shot"
fi
exit $status
