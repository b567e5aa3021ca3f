#!/usr/bin/env bash
# What a user sees of the monitor on the desktop: its icon in the tray and the icon's menu,
# the on-screen display's notices when the keyboard switches profile, plays a macro, changes
# the volume, locks the Windows key and when another program sends a text; a game coming to
# the front switching the profile; the spoken cues the events play; media keys reaching a
# player. Pictures go to build/demo-screenshots/desktop/ (BMP, and PNG when python3-pil is
# there).
#
# Usage: monitor-desktop-demo.sh DIST TOOLS   (inside the Wine session of scripts/lib/environment.sh)
# Works on a copy of DIST with a virtual keyboard of its own; stops everything it started. A
# monitor already running is closed for the demo and started again from DIST at the end.
set -euo pipefail
source "$(dirname "$0")/../lib/demo.sh"
demo_init "$1" "$2"
KEYBOARD_PIPE="BrenikDesktopDemo-$$"
WORK=$(mktemp -d /tmp/brenik-desktop-demo.XXXXXX)
SHOTS="$(dirname "$DIST")/demo-screenshots/desktop"
MONITOR_PID=""

stop_monitor() {
    close_monitor || true
    [ -n "$MONITOR_PID" ] && wait "$MONITOR_PID" 2>/dev/null || true
    MONITOR_PID=""
}
borrow_session_monitor
at_exit '[ -n "${KEEP_DEMO_WORK:-}" ] || rm -rf "$WORK"'
at_exit 'vkbd stop >/dev/null 2>&1'
at_exit 'desktop close "$kTitleOsd" >/dev/null 2>&1'
at_exit 'desktop close "$kTitleVolumeController" >/dev/null 2>&1; desktop close "$kTitleSystemGauge" >/dev/null 2>&1'
at_exit stop_monitor
# The display and the applets of a monitor closed a moment ago may outlive it (one started
# while it was closing): one of each runs per session, and this demo's monitor starts its own.
for companion in "$kTitleOsd" "$kTitleVolumeController" "$kTitleSystemGauge"; do
    sleep 1
    desktop close "$companion" >/dev/null 2>&1 || true
    desktop gone "$companion" 10 >/dev/null 2>&1 || true
done

# ---- A copy of the install tree, its kbhid.dll pointed at this demo's keyboard, and every
# notice of the on-screen display and both lines of the system gauge switched on in config.ini
# (the settings program's record: switches at bytes 0, 4, 8, 12, 16 and 24 of 344, a struct
# value with its checksum byte; written here because the settings tool has no command for the
# display settings).
INSTALL="$WORK/install"
cp -r "$DIST" "$INSTALL"
rm -rf "$INSTALL/tools" "$INSTALL/KeyFwFlash"
printf '[Backend]\r\nType=virtual\r\nPipeName=%s\r\n' "$KEYBOARD_PIPE" > "$INSTALL/kbhid.ini"
OSD_RECORD=$(/usr/bin/python3 -c '
import struct
record = bytearray(344)
for offset in (0, 4, 8, 12, 16, 24):
    struct.pack_into("<i", record, offset, 1)
print("".join("%02X" % b for b in record) + "%02X" % (sum(record) & 0xFF))')
printf '[%s]\r\n%s=%s\r\n' "$kOsdSettingsSection" "$kOsdSettingsKey" "$OSD_RECORD" >> "$INSTALL/config.ini"
# Five profiles with names, every spoken cue switched on and Winamp as the media player
# (MediaOption 3), the third one for the game "Racer.exe"; the rest loads its defaults.
NAMES=(Desktop Racing Shooter Strategy Music)
rm -f "$INSTALL"/config/*.cmp
for n in 0 1 2 3 4; do
    printf '[Setting]\r\nProFileName=%s\r\nProfileSwitchSound=1\r\nMacroLiveRecordSound=1\r\nLayerSwitchSound=1\r\nCountdownTimerSound=1\r\nMediaOption=3\r\n' \
        "${NAMES[$n]}" > "$INSTALL/config/Default$n.cmp"
    [ $n -eq 2 ] && printf 'GameFile=  D:\\Games\\Racer\\Racer.exe  \r\n' >> "$INSTALL/config/Default$n.cmp"
done
# The volume controller follows a stand-in system volume here (Wine's endpoint cannot be set):
# VolumeBar.ini beside it names the file that holds the level.
SYSTEM_VOLUME="$WORK/system-volume.ini"
printf '[SystemVolume]\r\nLevel=50\r\n' > "$SYSTEM_VOLUME"
printf '[SystemVolume]\r\nType=stand-in\r\nFile=%s\r\n' "$(winpath "$SYSTEM_VOLUME")" > "$INSTALL/Applets/VolumeBar.ini"
system_volume() { tr -d '\r' < "$SYSTEM_VOLUME" | sed -n 's/^Level=//p'; }
rm -rf "$SHOTS"
mkdir -p "$SHOTS"

vkbd start >/dev/null
say "Brenik Monitor starts with the keyboard plugged in"
# Wine's winmm trace names every file PlaySound opens: the spoken cues are read off it below.
(cd "$INSTALL" && WINEDEBUG=-all,+winmm exec wine "$INSTALL/Monitor.exe" </dev/null >/dev/null 2>"$WORK/monitor.log") &
MONITOR_PID=$!
desktop wait "$kTitleMonitor" 20 >/dev/null
desktop wait "$kTitleOsd" 20 >/dev/null && echo "the on-screen display \"$kProgramOsd\" was started with it"
# The first synchronisation: this keyboard does not hold the token config.ini names, so the
# monitor reads every setting back (about 20 s) before it takes the keyboard's events.
wait_for_trace "$WORK/trace.txt" "SET host-state value=1" 120
desktop wait "class:__winex11_standalone_tray" 5 >/dev/null 2>&1 && shot tray-icon "class:__winex11_standalone_tray"
echo "the tray shows the keyboard icon, tip \"GRIM HERON Brenik\""

say "a right click on the icon opens its menu"
desktop post "$kTitleMonitor" 1036 102 0x0204 >/dev/null   # the shell's callback: WM_RBUTTONDOWN
if desktop wait "class:#32768" 10 >/dev/null; then
    sleep 0.5
    shot tray-menu
    shot tray-menu-close "class:#32768"
    desktop post "class:#32768" 0x0100 0x1B >/dev/null     # Escape closes it
    desktop gone "class:#32768" 10 >/dev/null
    echo "\"Configuration\" (bold, the default) and \"Exit\"; Escape closed it"
fi

if desktop wait "$kTitleSystemGauge" 20 >/dev/null; then
    sleep 2.5  # two readings: the processor's use needs two samples
    shot system-gauge "$kTitleSystemGauge"
    shot system-gauge-on-the-desktop
    echo "the system gauge \"$kProgramSystemGauge\" shows the processor's and the memory's use in the top-right corner"
fi

notice() {  # picture name, what happened
    sleep 0.4
    shot "$1" "$kTitleOsd"
    echo "$2"
}
say "the on-screen display's notices"
vkbd profile 2 >/dev/null
notice osd-profile "profile key 2: the display shows the profile that became current"
sleep 1.5
vkbd volume 65 >/dev/null
notice osd-volume "the volume knob turned to 65"
for _ in $(seq 1 20); do [ "$(system_volume)" = 65 ] && break; sleep 0.25; done
echo "  the volume controller \"$kProgramVolumeBar\" set the system volume to $(system_volume)"
# Another program turns the system volume to 30: the keyboard's volume display follows.
vkbd trace clear >/dev/null
printf '[SystemVolume]\r\nLevel=30\r\n' > "$SYSTEM_VOLUME"
desktop post "$kTitleVolumeController" 0x8002 0 0 >/dev/null   # the stand-in's "changed" (WM_APP + 2)
wait_for_trace "$WORK/volume-trace.txt" "SET volume" 10 &&
    echo "  the system volume turned to 30 elsewhere; the keyboard was sent: $(keyboard_reports "$WORK/volume-trace.txt" | grep '^SET volume')"
sleep 1.5
vkbd winlock 2 on >/dev/null
notice osd-windows-key "the Windows key of profile 2 locked"
sleep 1.5
desktop copydata "$kTitleMonitor" "Hello from another program" >/dev/null
notice osd-text "a text sent by another program (WM_COPYDATA)"
sleep 1.5
vkbd record-macro 4 0x0B 0x08 0x0F 0x0F 0x12 >/dev/null   # "hello" on key 4
wait_for_trace "$WORK/trace.txt" "GET macro profile=1 key=3" 20   # the monitor reads it back
sleep 1   # and stores it
vkbd play-macro 4 >/dev/null
notice osd-macro "the macro on key 4 played"

say "the spoken cues of the layer switch and the countdown timer"
vkbd layer extended >/dev/null; sleep 1.2
vkbd layer standard >/dev/null; sleep 1.2
for step in 1 2 3 4 5 6 7 8; do vkbd countdown $step >/dev/null; sleep 0.6; done
vkbd countdown stop >/dev/null; sleep 1
echo "the extended and standard layer, the countdown from \"timer activated\" to \"go\", and its stop"

say "a game comes to the front: the profile that names it becomes current"
mkdir -p "$WORK/game"
cp "$TOOLS/game_stand_in.exe" "$WORK/game/Racer.exe"
(cd "$WORK/game" && exec wine "$WORK/game/Racer.exe" </dev/null >/dev/null 2>&1) &
GAME_PID=$!
for _ in $(seq 1 100); do
    grep -q '^CurrentProfile=2' <(tr -d '\r' < "$INSTALL/config.ini") && break
    sleep 0.1
done
if grep -q '^CurrentProfile=2' <(tr -d '\r' < "$INSTALL/config.ini"); then
    shot osd-game "$kTitleOsd"
    echo "\"Racer.exe\" started and in front: profile 3 (\"Shooter\", GameFile \"  D:\\Games\\Racer\\Racer.exe  \") became current"
    echo "(under Wine the 2-second game timer does this; on Windows the foreground event makes it at once)"
else
    echo "the game was not detected"
fi
desktop close "Racer.exe" >/dev/null 2>&1 || true
wait "$GAME_PID" 2>/dev/null || true
sleep 1.5

say "media keys on the keyboard reach the player (a stand-in with Winamp's window)"
PLAYER_LOG="$WORK/player.txt"
wine "$TOOLS/media_player_stand_in.exe" --player=winamp </dev/null >"$PLAYER_LOG" 2>/dev/null &
PLAYER_PID=$!
if desktop wait "class:Winamp v1.x" 20 >/dev/null; then
    for key in 0x23 0x23 0x21 0x22 0x24; do vkbd media $key >/dev/null; sleep 0.6; done
    echo "play/pause, play/pause, next, previous, stop; the player received:"
    sleep 0.5
    desktop close "class:Winamp v1.x" >/dev/null 2>&1 || true
    wait "$PLAYER_PID" 2>/dev/null || true
    tr -d '\r' < "$PLAYER_LOG" | sed 's/^/    /'
fi

stop_monitor
say "the sound cues the monitor played (the files PlaySound opened, from Wine's winmm trace)"
"$(dirname "$0")/../../monitor/sound/played-cues.sh" "$WORK/monitor.log" | sed 's/^/    /'

pictures_as_png "$SHOTS"
say "pictures of what the user saw: $SHOTS"
ls "$SHOTS" | sed 's/^/    /'
