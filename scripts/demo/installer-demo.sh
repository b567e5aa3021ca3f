#!/usr/bin/env bash
# The installer as a user clicks through it: its pages (welcome, folder, progress, finish)
# and the uninstaller's confirmation and its question whether the settings and profiles go
# too (answered No). Pictures go to build/demo-screenshots/installer/ (BMP, and PNG when
# python3-pil is there).
#
# Usage: installer-demo.sh DIST TOOLS   (DIST holds BrenikSetup-<version>.exe)
# Runs in a Wine prefix, display and wineserver of its own, so the monitor it installs and its
# logon entry never meet the caller's session; stops all it started and removes the install.
set -euo pipefail
source "$(dirname "$0")/../lib/demo.sh"
demo_init "$1" "$2"
INSTALLER=$(ls "$DIST"/BrenikSetup-*.exe 2>/dev/null | head -n1)
[ -n "$INSTALLER" ] || { echo "no installer in $DIST (cmake --build --preset windows --target installer)"; exit 1; }
SETUP_TITLE="class:#32770"  # the installer's window: its title changes with each page
UNINSTALL_TITLE="class:#32770"
WM_COMMAND=0x111
NEXT=1  # the pages' Next/Install/Finish button; a message box's No is 7
IDNO=7

SHOTS="$(dirname "$DIST")/demo-screenshots/installer"
WORK=$(mktemp -d /tmp/brenik-installer-demo.XXXXXX)
TARGET="$WORK/Brenik"

export BRENIK_WINEPREFIX="$(dirname "$DIST")/wineprefix-installer-demo"
source "$(dirname "$0")/../lib/environment.sh"
start_session >/dev/null
at_exit stop_session
at_exit 'rm -rf "$WORK"'
at_exit uninstall

press() { desktop post "$1" $WM_COMMAND "$2" 0 >/dev/null; }
# Whatever the demo left installed goes, silently, and the logon entry with it.
uninstall() {
    desktop close "$kTitleMonitor" >/dev/null 2>&1 || true
    if [ -f "$TARGET/Uninstall.exe" ]; then
        wine "$TARGET/Uninstall.exe" /S </dev/null >/dev/null 2>&1 || true
        for _ in $(seq 100); do [ -e "$TARGET/Uninstall.exe" ] || break; sleep 0.2; done
    fi
    wine reg delete 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v "Brenik Monitor" /f >/dev/null 2>&1 || true
}

rm -rf "$SHOTS"
mkdir -p "$SHOTS"
echo "installer: $INSTALLER"
wine "$INSTALLER" "/D=$(winpath "$TARGET")" </dev/null >/dev/null 2>&1 &
desktop wait "$SETUP_TITLE" 30 >/dev/null
sleep 1
shot 1-welcome "$SETUP_TITLE"
press "$SETUP_TITLE" $NEXT
sleep 1
shot 2-folder "$SETUP_TITLE"
press "$SETUP_TITLE" $NEXT
desktop wait "$kTitleMonitor" 30 >/dev/null  # started as the last step of the install
sleep 1
shot 3-installed "$SETUP_TITLE"
press "$SETUP_TITLE" $NEXT
sleep 1
shot 4-finish "$SETUP_TITLE"
press "$SETUP_TITLE" $NEXT
desktop gone "$SETUP_TITLE" 20 >/dev/null
echo "installed into $(winpath "$TARGET"); the monitor runs: $(cd "$TARGET" && ls | tr '\n' ' ')"

wine "$TARGET/Uninstall.exe" </dev/null >/dev/null 2>&1 &
desktop wait "$UNINSTALL_TITLE" 30 >/dev/null
sleep 1
shot 5-uninstall-confirm "$UNINSTALL_TITLE"
press "$UNINSTALL_TITLE" $NEXT
desktop gone "$kTitleMonitor" 30 >/dev/null  # closed before the question
sleep 2
shot 6-uninstall-question
press "$UNINSTALL_TITLE" $IDNO  # the question box is the topmost window of that class
for _ in $(seq 150); do [ -e "$TARGET/Uninstall.exe" ] || break; sleep 0.2; done  # removed last
sleep 1
shot 7-uninstalled "$UNINSTALL_TITLE"
press "$UNINSTALL_TITLE" $NEXT
desktop gone "$UNINSTALL_TITLE" 20 >/dev/null
echo "uninstalled; kept for a later installation: $(cd "$TARGET" && ls | tr '\n' ' ')"

pictures_as_png "$SHOTS"
echo "pictures: $(ls "$SHOTS" | grep -c '\.bmp$') in $SHOTS"
