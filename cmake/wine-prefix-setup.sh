#!/bin/sh
# Creates the Wine prefix named by WINEPREFIX (about 10 s) and sets it up
# for unattended tests: unmanaged windows (no window manager under Xvfb, so
# dialogs close at once), no crash debugger (a crash just ends the process
# with its code instead of waiting on a dialog), the symbol font of the
# title bars' buttons, and plain files standing in for the COM1 and LPT1
# devices, so that nothing ever reaches the machine's real ports (unless
# FILEPICK_PREFIX_DEVICES=wine).
set -e
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
for view in 32 64; do
    key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug'
    wine reg add "$key" /v Debugger /d no-such-debugger.exe /f /reg:$view >/dev/null 2>&1
    wine reg add "$key" /v Auto /d 1 /f /reg:$view >/dev/null 2>&1
done
wineserver -w
# Without Marlett (Debian's fonts-wine has it) the close box shows an "r".
fonts=/usr/share/wine/fonts
if [ -f $fonts/marlett.ttf ]; then
    cp $fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
fi
# Wine maps COM1 to /dev/ttyS0 at every start unless its Ports key says
# otherwise. FILEPICK_PREFIX_DEVICES=wine keeps Wine's own devices, as a
# prefix made by plain wineboot has them (the test kit's).
if [ "${FILEPICK_PREFIX_DEVICES:-}" = wine ]; then
    touch "$WINEPREFIX/.filepick-ready"
    exit 0
fi
mkdir -p "$WINEPREFIX/drive_c/stand-ins"
for device in com1 lpt1; do
    : > "$WINEPREFIX/drive_c/stand-ins/$device"
    wine reg add 'HKLM\Software\Wine\Ports' /v $device /d "$WINEPREFIX/drive_c/stand-ins/$device" \
        /f >/dev/null 2>&1
done
wineserver -w
touch "$WINEPREFIX/.filepick-ready"
