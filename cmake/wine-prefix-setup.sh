#!/bin/sh
# Creates the Wine prefix named by WINEPREFIX (about 10 s) and sets it up
# for unattended tests: unmanaged windows (no window manager under Xvfb, so
# dialogs close at once) and no crash debugger (a crash just ends the
# process with its code instead of waiting on a dialog).
set -e
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
for view in 32 64; do
    key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug'
    wine reg add "$key" /v Debugger /d no-such-debugger.exe /f /reg:$view >/dev/null 2>&1
    wine reg add "$key" /v Auto /d 1 /f /reg:$view >/dev/null 2>&1
done
wineserver -w
touch "$WINEPREFIX/.filepick-ready"
