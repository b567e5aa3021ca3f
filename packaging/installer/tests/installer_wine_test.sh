#!/usr/bin/env bash
# The installer under Wine, as a user meets it: a silent install into the default folder
# (its name has spaces), installs refused while the updater runs or another program holds
# one of ours (nothing changed), a second install over the running monitor and its display
# (both closed and started again, the user's settings, profiles and keyboard choice kept), a
# silent uninstall (programs, logon entry, list entry and shortcuts gone, settings, profiles
# and a file of the user's kept), then an install over the kept settings and an uninstall
# answered "remove my settings too" (nothing left).
#
# Usage: installer_wine_test.sh INSTALLER SHIPPED_FILES PROGRAM_NAMES.nsh VERSION TOOLS
#   (SHIPPED_FILES: "<SHA-256> <path>" lines the installer target wrote as it packed the tree;
#   TOOLS holds vkbd.exe, vkbd-server.exe and desktop-tool.exe)
# Runs in a Wine prefix, display and wineserver of its own: Wine starts a prefix's logon
# entries whenever it boots it, and an installed monitor left running or started at logon
# would hold the monitor's mutex and shared block in every later test of a shared prefix.
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

export BRENIK_WINEPREFIX="$(cd "$(dirname "$0")/../../.." && pwd)/build/wineprefix-installer-test"
source "$(dirname "$0")/../../../scripts/lib/environment.sh"
RUN_VALUE="Brenik Monitor"
if [ -d "$WINEPREFIX" ]; then
    # A run killed on its time limit leaves its wineserver (and the monitor it installed) in
    # this prefix, and its logon entry, which the prefix's next boot would start.
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    [ ! -f "$WINEPREFIX/user.reg" ] || sed -i "/^\"$RUN_VALUE\"=/d" "$WINEPREFIX/user.reg"
fi
start_session >/dev/null

# The names the programs use, as the installer got them.
name() { sed -n "s/^!define $1 \"\(.*\)\"\$/\1/p" "$NAMES"; }
MONITOR_TITLE=$(name kTitleMonitor)
OSD_TITLE=$(name kTitleOsd)
OSD_EXE=$(name kProgramOsd)
SETTINGS_TITLE=$(name kTitleSettings)
SETTINGS_EXE=$(name kProgramSettings)
CONFIG_INI=$(name kConfigFileName)
PRODUCT="Brenik Gaming Keyboard"
RUN_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
UPDATER_EXE=KeyFwFlash.exe
UNINSTALL_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\BrenikGamingKeyboard'

PIPE="BrenikInstallerTest-$$"
MARK="kept-$$"

winpath() { printf 'Z:%s' "${1//\//\\}"; }
unixpath() { wine winepath -u "$1" </dev/null 2>/dev/null; }
windows_folder() { wine cmd /c echo "%$1%" </dev/null | tr -d '\r'; }
desktop() { wine "$TOOLS/desktop-tool.exe" "$@" </dev/null >/dev/null 2>&1; }
vkbd() { wine "$TOOLS/vkbd.exe" --pipe "$PIPE" "$@" </dev/null >/dev/null 2>&1; }
# A value of a key, as reg prints it ("name    TYPE    value"); empty when missing.
reg_value() {
    wine reg query "$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r' |
        sed -n "s/^    $2    REG_[A-Z_]*    //p"
}
no_key() { ! wine reg query "$1" </dev/null >/dev/null 2>&1; }
# The installer's default folder: it has spaces, which the command lines it writes must quote.
INSTALL_WIN="$(windows_folder LOCALAPPDATA)\\Programs\\$PRODUCT"
TARGET=$(unixpath "$INSTALL_WIN")
SHORTCUTS="$(unixpath "$(windows_folder APPDATA)")/Microsoft/Windows/Start Menu/Programs/$PRODUCT"
# The Linux process id of a Windows program run from our install folder ("" when none).
program_pid() { pgrep -f -- "Programs.$PRODUCT.*$1" | head -n1; }

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
    for pid in ${held_by:-} ${updater:-}; do kill "$pid" 2>/dev/null; done
    wine reg delete "$RUN_KEY" /v "$RUN_VALUE" /f </dev/null >/dev/null 2>&1
    wine reg delete "$UNINSTALL_KEY" /f </dev/null >/dev/null 2>&1
    rm -rf "$SHORTCUTS" "$TARGET"
    vkbd stop
    stop_session
}
trap cleanup EXIT
cleanup_before() {  # what a killed run may have left in the prefix
    wine reg delete "$RUN_KEY" /v "$RUN_VALUE" /f </dev/null >/dev/null 2>&1
    wine reg delete "$UNINSTALL_KEY" /f </dev/null >/dev/null 2>&1
    rm -rf "$SHORTCUTS" "$TARGET"
}
cleanup_before

# Into the default folder: no /D.
install() { wine "$INSTALLER" /S </dev/null >/dev/null 2>&1; }
install_refused() {  # exits with 2, the code for "a program is in the way"
    wine "$INSTALLER" /S </dev/null >/dev/null 2>&1
    equal "$?" 2
}
# The uninstaller runs from a copy in the temporary folder and returns at once: it has
# finished when it has removed itself.
uninstall() {
    wine "$TARGET/Uninstall.exe" /S </dev/null >/dev/null 2>&1 || return 1
    for _ in $(seq 150); do [ -e "$TARGET/Uninstall.exe" ] || return 0; sleep 0.2; done
    return 1
}

shipped_files() { cut -d' ' -f2- "$SHIPPED"; }
installed_programs() { (cd "$TARGET" && find . -type f ! -path './config/*' ! -name Uninstall.exe | sort); }
same_as_shipped() {  # [first]: the keyboard files too, which only the user changes
    local hash file
    while read -r hash file; do
        # The monitor writes its config.ini as it runs; the user changes the kbhid.ini files below.
        case "$file" in ./"$CONFIG_INI") continue ;; esac
        if [ "${1:-}" != first ]; then
            case "$file" in */kbhid.ini) continue ;; esac
        fi
        [ "$(sha256sum < "$TARGET/$file" | cut -d' ' -f1)" = "$hash" ] ||
            { echo "    $file is not the shipped one"; return 1; }
    done < "$SHIPPED"
}
left_in_folder() { (cd "$TARGET" && find . -mindepth 1 ! -path './config/*' | sort | tr '\n' ' '); }
# A process that has ended (a zombie whose parent has not yet collected it has ended too).
has_ended() { [ -n "$1" ] && { [ ! -d "/proc/$1" ] || grep -q '^State:[[:space:]]*Z' "/proc/$1/status" 2>/dev/null; }; }
still_runs() { [ -n "$1" ] && ! has_ended "$1"; }
wait_ended() { for _ in $(seq 50); do [ -z "$(program_pid "$1")" ] && return 0; sleep 0.2; done; return 1; }

if desktop wait "$MONITOR_TITLE" 0.1; then
    echo "a monitor runs in this session already; the test's installs close it"
fi

echo "-- silent install into the default folder, $INSTALL_WIN"
check "the silent install succeeds" install
check "the installed programs are the shipped ones" equal "$(installed_programs)" "$(shipped_files)"
check "every installed file is the shipped file" same_as_shipped first
for ini in kbhid.ini KeyFwFlash/kbhid.ini; do
    check "$ini chooses the real keyboard" has_line "$TARGET/$ini" "Type=hardware"
done
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
for link in "Brenik Monitor:Monitor.exe" "Keyboard Settings:Brenik Option.exe" "Firmware Update:KeyFwFlash.exe" "Uninstall $PRODUCT:Uninstall.exe"; do
    check "the shortcut ${link%%:*} leads to ${link#*:}" \
        grep -q "${link#*:}" <(tr -d '\0' < "$SHORTCUTS/${link%%:*}.lnk" 2>/dev/null)
done
check "the installed monitor runs" desktop wait "$MONITOR_TITLE" 20
first_monitor=$(program_pid Monitor.exe)
check "the monitor runs from the install folder" test -n "$first_monitor"

echo "-- the monitor with a keyboard and the display; the user changes settings and a profile"
desktop close "$MONITOR_TITLE"
check "the monitor closes to take another keyboard" desktop gone "$MONITOR_TITLE" 20
wait_ended Monitor.exe
printf '[Backend]\r\nType=virtual\r\nPipeName=%s\r\n' "$PIPE" > "$TARGET/kbhid.ini"
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
# A shipped file changed: an install that writes anything puts the shipped one back.
CUE=Wave/Timer/go.wav
printf 'changed' >> "$TARGET/$CUE"
cue_changed=$(sha256sum < "$TARGET/$CUE")

echo "-- installs refused while the updater runs, or while another program holds one of ours"
(cd "$TARGET/KeyFwFlash" && wine "$TARGET/KeyFwFlash/$UPDATER_EXE" </dev/null >/dev/null 2>&1 &)
for _ in $(seq 50); do updater=$(program_pid "$UPDATER_EXE"); [ -n "$updater" ] && break; sleep 0.2; done
sleep 2  # it takes its mutex first thing, then shows its first question
check "the updater runs from the install folder" test -n "$updater"
check "a silent install while the updater runs exits with 2" install_refused
check "the updater was not closed" still_runs "$updater"
check "the monitor was not closed" still_runs "$running_monitor"
check "nothing was written" equal "$(sha256sum < "$TARGET/$CUE")" "$cue_changed"
kill "$updater"
wait_ended "$UPDATER_EXE"
# A program the installer does not know, running as one of ours, so Windows keeps the file.
held="$TARGET/BrenikSettings.exe"
cp "$TOOLS/desktop-tool.exe" "$held"
(cd "$TARGET" && wine "$held" wait "Brenik installer test: no such window" 120 </dev/null >/dev/null 2>&1 &)
for _ in $(seq 50); do held_by=$(program_pid BrenikSettings.exe); [ -n "$held_by" ] && break; sleep 0.2; done
sleep 1
check "a silent install while another program holds one of ours exits with 2" install_refused
check "nothing was written while it was held" equal "$(sha256sum < "$TARGET/$CUE")" "$cue_changed"
check "the monitor runs again after the refused install" desktop wait "$MONITOR_TITLE" 20
kill "$held_by"
wait_ended BrenikSettings.exe
running_monitor=$(program_pid Monitor.exe)
desktop wait "$OSD_TITLE" 30
running_osd=$(program_pid "$OSD_EXE")

(cd "$TARGET" && wine "$TARGET/$SETTINGS_EXE" </dev/null >/dev/null 2>&1 &)
check "the settings program runs from the install folder" desktop wait "$SETTINGS_TITLE" 20
running_settings=$(program_pid "$SETTINGS_EXE")

echo "-- silent install over the running monitor and settings program"
check "the install over the running monitor succeeds" install
check "the earlier monitor has ended" has_ended "$running_monitor"
check "the earlier display has ended" has_ended "$running_osd"
check "the earlier settings program has ended" has_ended "$running_settings"
check "a new monitor runs" desktop wait "$MONITOR_TITLE" 20
new_monitor=$(program_pid Monitor.exe)
check "the new monitor is another process from the install folder" \
    test -n "$new_monitor" -a "$new_monitor" != "$running_monitor"
check "config.ini keeps the user's change" has_line "$TARGET/$CONFIG_INI" "Marker=$MARK"
check "the profile keeps the user's change" has_line "$TARGET/config/Default0.cmp" "Marker=$MARK"
check "kbhid.ini keeps the user's keyboard" has_line "$TARGET/kbhid.ini" "PipeName=$PIPE"
check "the programs are the shipped ones again" same_as_shipped

echo "-- silent uninstall"
printf 'mine' > "$TARGET/Wave/mine.wav"
check "the silent uninstall ends" uninstall
check "the monitor has ended" desktop gone "$MONITOR_TITLE" 5
check "the monitor's process has ended" wait_ended Monitor.exe
check "the display's process has ended" wait_ended "$OSD_EXE"
check "only the user's files are left" equal "$(left_in_folder)" \
    "./KeyFwFlash ./KeyFwFlash/kbhid.ini ./Wave ./Wave/mine.wav ./config ./$CONFIG_INI ./kbhid.ini "
check "config.ini is kept as the user left it" has_line "$TARGET/$CONFIG_INI" "Marker=$MARK"
check "the profiles are kept" has_line "$TARGET/config/Default0.cmp" "Marker=$MARK"
check "the user's keyboard is kept" has_line "$TARGET/kbhid.ini" "PipeName=$PIPE"
check "the logon entry is gone" test -z "$(reg_value "$RUN_KEY" "$RUN_VALUE")"
check "the list entry is gone" no_key "$UNINSTALL_KEY"
check "the shortcuts are gone" test ! -e "$SHORTCUTS"

echo "-- install over the kept settings, then uninstall with them"
rm "$TARGET/Wave/mine.wav"
check "the install over the kept settings succeeds" install
check "config.ini is still the user's" has_line "$TARGET/$CONFIG_INI" "Marker=$MARK"
check "the monitor runs" desktop wait "$MONITOR_TITLE" 20
# The uninstaller's pages: Uninstall, then "Remove your settings...?" answered Yes, then Close.
WM_COMMAND=0x111
wine "$TARGET/Uninstall.exe" </dev/null >/dev/null 2>&1 &
check "the uninstaller shows its first page" desktop wait "class:#32770" 30
sleep 1
desktop post "class:#32770" $WM_COMMAND 1 0
# The question is the topmost window of that class once it shows; Yes is 6.
for _ in $(seq 150); do
    [ -e "$TARGET/$CONFIG_INI" ] || break
    desktop post "class:#32770" $WM_COMMAND 6 0
    sleep 0.2
done
for _ in $(seq 150); do [ -e "$TARGET/Uninstall.exe" ] || break; sleep 0.2; done
for _ in $(seq 50); do [ -e "$TARGET" ] || break; sleep 0.2; done  # the folder goes last
check "the uninstall that removes the settings leaves nothing" \
    equal "$([ ! -e "$TARGET" ] || (cd "$TARGET" && find . | sort | tr '\n' ' '))" ""
check "the logon entry is gone again" test -z "$(reg_value "$RUN_KEY" "$RUN_VALUE")"
check "the list entry is gone again" no_key "$UNINSTALL_KEY"
desktop post "class:#32770" $WM_COMMAND 1 0
check "the uninstaller closes" desktop gone "class:#32770" 20

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
