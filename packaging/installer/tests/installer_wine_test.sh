#!/usr/bin/env bash
# The installer under Wine, as a user meets it: a silent install into a fresh folder, a
# second install over the running monitor and its display (both closed and started again,
# the user's settings, profiles and keyboard choice kept), then a silent uninstall (programs,
# logon entry, list entry and shortcuts gone, settings and profiles kept).
#
# Usage: installer_wine_test.sh INSTALLER SHIPPED_FILES PROGRAM_NAMES.nsh VERSION TOOLS
#   (SHIPPED_FILES: "<SHA-256> <path>" lines the installer target wrote as it packed the tree;
#   inside the Wine session of scripts/lib/environment.sh; TOOLS holds vkbd.exe,
#   vkbd-server.exe and desktop-tool.exe)
# Wine runs a prefix's logon entries whenever it starts, so whatever the outcome the test
# leaves no installation, logon entry or list entry behind.
set -uo pipefail
INSTALLER=$1
SHIPPED=$2
NAMES=$3
VERSION=$4
TOOLS=$(cd "$5" && pwd)

if [ ! -f "$INSTALLER" ] || [ ! -f "$SHIPPED" ]; then
    echo "no installer at $INSTALLER: build the installer target first"
    exit 1
fi

# The names the programs use, as the installer got them.
name() { sed -n "s/^!define $1 \"\(.*\)\"\$/\1/p" "$NAMES"; }
MONITOR_TITLE=$(name kTitleMonitor)
OSD_TITLE=$(name kTitleOsd)
OSD_EXE=$(name kProgramOsd)
CONFIG_INI=$(name kConfigFileName)
PRODUCT="Brenik Gaming Keyboard"
RUN_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
RUN_VALUE="Brenik Monitor"
UNINSTALL_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\BrenikGamingKeyboard'

WORK=$(mktemp -d /tmp/brenik-installer-test.XXXXXX)
# NSIS takes /D= only unquoted, so the folder has no space (the default one has).
TARGET="$WORK/Brenik"
PIPE="BrenikInstallerTest-$$"
MARK="kept-$$"

winpath() { printf 'Z:%s' "${1//\//\\}"; }
desktop() { wine "$TOOLS/desktop-tool.exe" "$@" </dev/null >/dev/null 2>&1; }
vkbd() { wine "$TOOLS/vkbd.exe" --pipe "$PIPE" "$@" </dev/null >/dev/null 2>&1; }
# A value of a key, as reg prints it ("name    TYPE    value"); empty when missing.
reg_value() {
    wine reg query "$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r' |
        sed -n "s/^    $2    REG_[A-Z_]*    //p"
}
no_key() { ! wine reg query "$1" </dev/null >/dev/null 2>&1; }
# The Linux process id of a Windows program run from our install folder ("" when none).
program_pid() { pgrep -f -- "$(basename "$WORK").Brenik.*$1" | head -n1; }
INSTALL_WIN=$(winpath "$TARGET")
SHORTCUTS=$(wine winepath -u "$(wine cmd /c echo %APPDATA% </dev/null | tr -d '\r')" 2>/dev/null)"/Microsoft/Windows/Start Menu/Programs/$PRODUCT"

passed=0
failed=0
check() {  # description, then the command that must succeed
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $what"
    fi
}
equal() { [ "$1" = "$2" ] || { echo "    got \"$1\", expected \"$2\""; return 1; }; }
has_line() { tr -d '\r' < "$1" | grep -qxF "$2"; }

cleanup() {
    desktop close "$MONITOR_TITLE"
    desktop gone "$MONITOR_TITLE" 20
    if [ -f "$TARGET/Uninstall.exe" ]; then
        wine "$TARGET/Uninstall.exe" /S </dev/null >/dev/null 2>&1
        for _ in $(seq 100); do [ -e "$TARGET/Uninstall.exe" ] || break; sleep 0.2; done
    fi
    desktop close "$OSD_TITLE"
    wine reg delete "$RUN_KEY" /v "$RUN_VALUE" /f </dev/null >/dev/null 2>&1
    wine reg delete "$UNINSTALL_KEY" /f </dev/null >/dev/null 2>&1
    rm -rf "$SHORTCUTS"
    vkbd stop
    rm -rf "$WORK"
}
trap cleanup EXIT

install() { wine "$INSTALLER" /S "/D=$INSTALL_WIN" </dev/null >/dev/null 2>&1; }
# The uninstaller runs from a copy in the temporary folder and returns at once: it has
# finished when it has removed itself.
uninstall() {
    wine "$TARGET/Uninstall.exe" /S </dev/null >/dev/null 2>&1 || return 1
    for _ in $(seq 150); do [ -e "$TARGET/Uninstall.exe" ] || return 0; sleep 0.2; done
    return 1
}

shipped_files() { cut -d' ' -f2- "$SHIPPED"; }
installed_programs() { (cd "$TARGET" && find . -type f ! -path './config/*' ! -name Uninstall.exe | sort); }
same_as_shipped() {
    local hash file
    while read -r hash file; do
        case "$file" in */"$CONFIG_INI" | */kbhid.ini) continue ;; esac  # the user's, changed below
        [ "$(sha256sum < "$TARGET/$file" | cut -d' ' -f1)" = "$hash" ] ||
            { echo "    $file is not the shipped one"; return 1; }
    done < "$SHIPPED"
}

if desktop wait "$MONITOR_TITLE" 0.1; then
    echo "a monitor runs in this session already; the test's installs close it"
fi

echo "-- silent install into $INSTALL_WIN"
check "the silent install succeeds" install
check "the installed programs are the shipped ones" equal "$(installed_programs)" "$(shipped_files)"
check "every installed file is the shipped file" same_as_shipped
check "no developer tools are installed" test ! -e "$TARGET/tools"
check "the profiles' folder is there" test -d "$TARGET/config"
check "the uninstaller is there" test -f "$TARGET/Uninstall.exe"
check "the logon entry starts the installed monitor" \
    equal "$(reg_value "$RUN_KEY" "$RUN_VALUE")" "\"$INSTALL_WIN\\Monitor.exe\""
check "list entry: DisplayName" equal "$(reg_value "$UNINSTALL_KEY" DisplayName)" "$PRODUCT"
check "list entry: DisplayVersion" equal "$(reg_value "$UNINSTALL_KEY" DisplayVersion)" "$VERSION"
check "list entry: Publisher" test -n "$(reg_value "$UNINSTALL_KEY" Publisher)"
check "list entry: InstallLocation" equal "$(reg_value "$UNINSTALL_KEY" InstallLocation)" "$INSTALL_WIN"
check "list entry: DisplayIcon" equal "$(reg_value "$UNINSTALL_KEY" DisplayIcon)" "$INSTALL_WIN\\Monitor.exe"
check "list entry: UninstallString" \
    equal "$(reg_value "$UNINSTALL_KEY" UninstallString)" "\"$INSTALL_WIN\\Uninstall.exe\""
check "list entry: QuietUninstallString" \
    equal "$(reg_value "$UNINSTALL_KEY" QuietUninstallString)" "\"$INSTALL_WIN\\Uninstall.exe\" /S"
check "list entry: NoModify" equal "$(reg_value "$UNINSTALL_KEY" NoModify)" "0x1"
check "list entry: NoRepair" equal "$(reg_value "$UNINSTALL_KEY" NoRepair)" "0x1"
size_kb=$(reg_value "$UNINSTALL_KEY" EstimatedSize)
folder_kb=$(du -sk --apparent-size "$TARGET" | cut -f1)
check "list entry: EstimatedSize is the folder's size in KB" \
    test "$((size_kb))" -ge "$((folder_kb / 2))" -a "$((size_kb))" -le "$((folder_kb * 2))"
for link in "Brenik Monitor:Monitor.exe" "Firmware Update:KeyFwFlash.exe" "Uninstall $PRODUCT:Uninstall.exe"; do
    check "the shortcut ${link%%:*} leads to ${link#*:}" \
        grep -q "${link#*:}" <(tr -d '\0' < "$SHORTCUTS/${link%%:*}.lnk" 2>/dev/null)
done
check "the installed monitor runs" desktop wait "$MONITOR_TITLE" 20
first_monitor=$(program_pid Monitor.exe)
check "the monitor runs from the install folder" test -n "$first_monitor"

echo "-- the monitor with a keyboard and the display; the user changes settings and a profile"
desktop close "$MONITOR_TITLE"
check "the monitor closes to take another keyboard" desktop gone "$MONITOR_TITLE" 20
for _ in $(seq 50); do [ -z "$(program_pid Monitor.exe)" ] && break; sleep 0.2; done
sed -i "s/^PipeName=[^\r]*/PipeName=$PIPE/" "$TARGET/kbhid.ini"
check "a virtual keyboard for the test" vkbd start
(cd "$TARGET" && wine "$TARGET/Monitor.exe" </dev/null >/dev/null 2>&1 &)
check "the monitor runs again" desktop wait "$MONITOR_TITLE" 20
check "the monitor starts the display for the keyboard" desktop wait "$OSD_TITLE" 30
running_monitor=$(program_pid Monitor.exe)
running_osd=$(program_pid "$OSD_EXE")
check "both programs run from the install folder" test -n "$running_monitor" -a -n "$running_osd"
# Sections of its own, which the monitor keeps when it saves these files as it closes.
printf '[InstallerTest]\r\nMarker=%s\r\n' "$MARK" >> "$TARGET/$CONFIG_INI"
printf '[InstallerTest]\r\nMarker=%s\r\n' "$MARK" >> "$TARGET/config/Default0.cmp"

echo "-- silent install over the running monitor"
check "the install over the running monitor succeeds" install
check "the earlier monitor has ended" test ! -d "/proc/$running_monitor"
check "the earlier display has ended" test ! -d "/proc/$running_osd"
check "a new monitor runs" desktop wait "$MONITOR_TITLE" 20
new_monitor=$(program_pid Monitor.exe)
check "the new monitor is another process from the install folder" \
    test -n "$new_monitor" -a "$new_monitor" != "$running_monitor"
check "config.ini keeps the user's change" has_line "$TARGET/$CONFIG_INI" "Marker=$MARK"
check "the profile keeps the user's change" has_line "$TARGET/config/Default0.cmp" "Marker=$MARK"
check "kbhid.ini keeps the user's keyboard" has_line "$TARGET/kbhid.ini" "PipeName=$PIPE"
check "the programs are the shipped ones again" same_as_shipped

echo "-- silent uninstall"
check "the silent uninstall ends" uninstall
check "the monitor has ended" desktop gone "$MONITOR_TITLE" 5
check "the monitor's process has ended" test -z "$(program_pid Monitor.exe)"
check "the display's process has ended" test -z "$(program_pid "$OSD_EXE")"
check "only the settings and profiles are left" \
    equal "$(cd "$TARGET" && find . -mindepth 1 ! -path './config/*' | sort | tr '\n' ' ')" "./config ./$CONFIG_INI "
check "config.ini is kept as the user left it" has_line "$TARGET/$CONFIG_INI" "Marker=$MARK"
check "the profiles are kept" has_line "$TARGET/config/Default0.cmp" "Marker=$MARK"
check "the logon entry is gone" test -z "$(reg_value "$RUN_KEY" "$RUN_VALUE")"
check "the list entry is gone" no_key "$UNINSTALL_KEY"
check "the shortcuts are gone" test ! -e "$SHORTCUTS"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
