#!/usr/bin/env bash
# The settings program as a user meets it: opened from the tray menu of the running monitor,
# each of its pages, a change of profile 1's key colour applied, the status line it goes
# through and what the keyboard received; key 3 made a macro recorded in the macro editor,
# the review of what Apply sends, and what the keyboard received for it; then the same pages
# at 144 DPI (150 %). Pictures go
# to build/demo-screenshots/settings/ (BMP, and PNG when python3-pil is there), each named
# after its page and DPI (profiles-96.png, profiles-144.png, ...).
#
# Usage: settings-program-demo.sh DIST TOOLS   (inside the Wine session of scripts/lib/environment.sh)
# Shows the monitor from DIST against the session's virtual keyboard, as the main job runs
# them; whichever of the two is not running is started for the demo and stopped at its end.
# The DPI is set in the session's registry for the program's second run only and put back.
set -euo pipefail
source "$(dirname "$0")/../lib/demo.sh"
demo_init "$1" "$2"
WORK=$(mktemp -d /tmp/brenik-program-demo.XXXXXX)
SHOTS="$(dirname "$DIST")/demo-screenshots/settings"
at_exit 'rm -rf "$WORK"'

# The program's own resource ids (option/app/option_resources.h), as "window>id" targets.
PROGRAM="$kTitleSettings"
PROFILE_LIST="$PROGRAM>1004"   # IDC_PROFILE, the profile the pages show
TABS="$PROGRAM>1005"           # IDC_TABS
STATUS="$PROGRAM>1006"         # IDC_STATUS, the status line under the pages
APPLY="$PROGRAM>1008"          # IDC_APPLY
CANCEL="$PROGRAM>2"            # IDCANCEL
KEY_HEX="$PROGRAM>1303"        # IDC_KEY_HEX, the key colour as six hex digits (Lighting page)
REVIEW_BUTTON="$PROGRAM>1011"  # IDC_REVIEW, "Review changes..."
KEY_3="$PROGRAM>1802"          # the numbered key 3 on the Keys and macros page (1800 + entry)
DOES="$PROGRAM>1908"           # IDC_DOES, what the picked numbered key does; item 2 is "A macro"
EDIT_MACRO="$PROGRAM>1922"     # IDC_EDIT_MACRO, "Edit macro..."
EDITOR="Macro for key 3 of profile 1"   # the macro editor's title
RECORD="$EDITOR>2033"          # IDC_MACRO_RECORD, "Record" / "Stop"
RECORDING_BOX="$EDITOR>2034"   # IDC_MACRO_RECORDING_BOX, where the keys are typed
MACRO_NAME="$EDITOR>2001"      # IDC_MACRO_NAME
MACRO_STATUS="$EDITOR>2050"    # IDC_MACRO_STATUS, the editor's line
REVIEW="Review changes"        # the review's title; its list is 2101, its Apply button IDOK
PAGES=(profiles keys lighting switches display history)
LIGHTING_TAB=2
KEYS_TAB=1

status_line() { desktop text "$STATUS" 2>/dev/null | tr -d '\r'; }
# Prints each new text of the status line until it reads TEXT; fails after SECONDS.
follow_status_until() {  # TEXT SECONDS
    local end=$((SECONDS + $2)) last="" now
    while [ $SECONDS -lt "$end" ]; do
        now=$(status_line)
        if [ -n "$now" ] && [ "$now" != "$last" ]; then
            echo "    status: $now"
            last=$now
        fi
        [ "$now" = "$1" ] && return 0
        sleep 0.2
    done
    echo "    (the status line did not reach \"$1\" in $2 s)"
    return 1
}

# The tray icon's menu, as a user opens the program: a right click, Down to its first item
# ("Configuration"; a menu opens with nothing highlighted, so Enter alone chooses nothing), Enter.
open_from_tray() {
    desktop post "$kTitleMonitor" 1036 102 0x0204 >/dev/null   # the shell's callback: WM_RBUTTONDOWN
    desktop wait "class:#32768" 10 >/dev/null
    sleep 0.3
    desktop post "class:#32768" 0x0100 0x28 >/dev/null          # WM_KEYDOWN, Down
    sleep 0.3
    desktop post "class:#32768" 0x0100 0x0D >/dev/null          # WM_KEYDOWN, Enter
    desktop wait "$PROGRAM" 20 >/dev/null
    desktop wait "$STATUS" 10 >/dev/null
    sleep 1   # its first reading of the monitor's settings
}
close_program() {
    desktop click "$CANCEL" >/dev/null 2>&1 || desktop close "$PROGRAM" >/dev/null 2>&1 || true
    desktop gone "$PROGRAM" 10 >/dev/null 2>&1
}
picture_every_page() {  # DPI
    local page
    for page in "${!PAGES[@]}"; do
        desktop tab "$TABS" $page >/dev/null
        sleep 0.5
        shot "${PAGES[page]}-$1" "$PROGRAM"
    done
    desktop tab "$TABS" 0 >/dev/null
    echo "    pictures: $(printf '%s ' "${PAGES[@]/%/-$1.png}")"
}

# The Keys and macros page, key 3 picked, made a macro when DOES (its item) is given, its editor open.
open_macro_editor_of_key_3() {  # [DOES]
    desktop tab "$TABS" $KEYS_TAB >/dev/null
    desktop click "$KEY_3" >/dev/null
    sleep 0.3
    if [ -n "${1:-}" ]; then
        desktop select "$DOES" "$1" >/dev/null
        sleep 0.3
    fi
    desktop click "$EDIT_MACRO" >/dev/null
    desktop wait "$EDITOR" 10 >/dev/null
    sleep 0.5
}

# ---- The DPI Wine gives a program it starts: LogPixels under HKCU\Control Panel\Desktop (the
# system DPI) and HKEY_CURRENT_CONFIG\Software\Fonts (the fonts' scale), read when it starts.
DPI_KEYS=('HKCU\Control Panel\Desktop' 'HKCC\Software\Fonts')
registry_dpi() {  # KEY: the LogPixels value there, in decimal, or nothing
    local hex
    hex=$(wine reg query "$1" /v LogPixels 2>/dev/null | tr -d '\r' | awk '$1 == "LogPixels" {print $3}')
    [ -n "$hex" ] && echo $((hex))
    return 0
}
set_registry_dpi() {  # KEY DPI (empty: no value)
    if [ -n "$2" ]; then
        wine reg add "$1" /v LogPixels /t REG_DWORD /d "$2" /f >/dev/null 2>&1
    else
        wine reg delete "$1" /v LogPixels /f >/dev/null 2>&1 || true
    fi
}
set_dpi_for_a_while() {  # DPI: set now, put back as it was when the demo ends
    local key before
    for key in "${DPI_KEYS[@]}"; do
        before=$(registry_dpi "$key")
        at_exit "set_registry_dpi '$key' '$before'"
        set_registry_dpi "$key" "$1"
    done
}

# ---- Where the program keeps its window's last place and size (option/app/window_placement_win32.cpp).
# Each run here starts without it, so that the pictures show the window as it first opens at
# that DPI; the user's own is put back when the demo ends.
PLACEMENT_KEY='HKCU\Software\Brenik\Brenik Option'
saved_placement() { wine reg query "$PLACEMENT_KEY" /v Placement 2>/dev/null | tr -d '\r' | awk '$1 == "Placement" {print $3}'; }
put_back_placement() {  # HEX (empty: none)
    if [ -n "$1" ]; then
        wine reg add "$PLACEMENT_KEY" /v Placement /t REG_BINARY /d "$1" /f >/dev/null 2>&1
    else
        wine reg delete "$PLACEMENT_KEY" /v Placement /f >/dev/null 2>&1 || true
    fi
}
forget_placement() { put_back_placement ""; }
at_exit "put_back_placement '$(saved_placement)'"

need_session_monitor
# A monitor just started first synchronises with the keyboard: let that end, so that what the
# keyboard is sent below is the program's doing alone.
wait_for_quiet_keyboard "$WORK"
desktop gone "$PROGRAM" 1 >/dev/null 2>&1 || close_program
rm -rf "$SHOTS"
mkdir -p "$SHOTS"
forget_placement

# Two profiles with a picture (a JPEG and a BMP) and two naming the same game, set through the
# settings tool, so that the Profiles page shows them. The pictures are drawn here (python3-pil,
# which the main job installs) and kept beside the screenshots, where the profiles point.
PICTURES="$(dirname "$DIST")/demo-pictures"
if /usr/bin/python3 -c 'import PIL' 2>/dev/null; then
    mkdir -p "$PICTURES"
    /usr/bin/python3 - "$PICTURES" <<'PY'
import sys
from PIL import Image, ImageDraw
folder = sys.argv[1]
for name, colours, fmt in (("racing.jpg", ((200, 30, 30), (250, 200, 40)), "JPEG"),
                           ("raid.bmp", ((30, 60, 160), (120, 220, 255)), "BMP")):
    picture = Image.new("RGB", (160, 100), colours[0])
    draw = ImageDraw.Draw(picture)
    for x in range(0, 160, 20):
        draw.polygon([(x, 100), (x + 10, 30), (x + 20, 100)], fill=colours[1])
    picture.save(folder + "/" + name, fmt)
PY
    settings_tool() { wine "$DIST/BrenikSettings.exe" "$@" </dev/null >/dev/null 2>&1; }
    settings_tool set 1 picture "$(winpath "$PICTURES/racing.jpg")"
    settings_tool set 2 picture "$(winpath "$PICTURES/raid.bmp")"
    settings_tool set 3 game 'C:\Games\Racer\Racer.exe'
    settings_tool set 5 game 'D:\Other\RACER.EXE'
    say "before: the settings tool gave profile 1 a JPEG picture, profile 2 a BMP, and profiles 3 and 5 one game"
fi

say "$kProgramSettings: opened from the tray icon's menu (right click, Down, Enter on \"Configuration\")"
open_from_tray
echo "    the window \"$PROGRAM\" is open"
echo "    status: $(status_line)"

say "its six pages, at 96 DPI"
picture_every_page 96

say "profile 1's key colour set to 00A0FF on the Lighting page, then Apply"
desktop select "$PROFILE_LIST" 0 >/dev/null   # profile 1 in the list above the pages
desktop tab "$TABS" $LIGHTING_TAB >/dev/null
desktop settext "$KEY_HEX" 00A0FF >/dev/null
sleep 0.3
shot lighting-edited-96 "$PROGRAM"
vkbd trace clear >/dev/null
desktop click "$APPLY" >/dev/null
follow_status_until "Saved on the keyboard." 60 || true
shot lighting-applied-96 "$PROGRAM"

say "what the keyboard received for it"
reports=$(keyboard_reports "$WORK/trace.txt")
printf '%s\n' "${reports:-(nothing)}" | sed 's/^/    keyboard: /'
# The lighting report's bytes follow its line in the trace; bytes 6 to 8 are the key colour.
colour=$(tr -d '\r' < "$WORK/trace.txt" | grep -A1 -E '^[0-9.]+ SET lighting' | sed -n 2p | awk '{print $7, $8, $9}')
[ -n "$colour" ] && echo "    the lighting report's key colour (bytes 6 to 8): $colour"

say "key 3 of profile 1 made a macro on the Keys and macros page: recorded by typing \"fire\" in the macro editor"
open_macro_editor_of_key_3 2   # "A macro"
shot macro-editor-96 "$EDITOR"
desktop click "$RECORD" >/dev/null
sleep 0.3
desktop type "$RECORDING_BOX" fire 150
desktop click "$RECORD" >/dev/null
sleep 0.3
desktop settext "$MACRO_NAME" Fire >/dev/null
echo "    editor: $(desktop text "$MACRO_STATUS" | tr -d '\r')"
sleep 0.3
shot macro-editor-recorded-96 "$EDITOR"
desktop click "$EDITOR>1" >/dev/null
desktop gone "$EDITOR" 10 >/dev/null
sleep 0.5
shot keys-macro-96 "$PROGRAM"

say "Review changes: what Apply will send, in the order it is sent"
desktop click "$REVIEW_BUTTON" >/dev/null
desktop wait "$REVIEW" 10 >/dev/null
sleep 0.5
desktop items "$REVIEW>2101" | tr -d '\r' | sed 's/^/    review: /'
shot review-96 "$REVIEW"
vkbd trace clear >/dev/null
say "Apply, from the review"
desktop click "$REVIEW>1" >/dev/null
follow_status_until "Saved on the keyboard." 60
reports=$(keyboard_reports "$WORK/trace.txt")
printf '%s\n' "${reports:-(nothing)}" | sed 's/^/    keyboard: /'

say "closed with Cancel (nothing is left to apply)"
close_program && echo "    the window is gone"

say "the same pages at 144 DPI (150 %), as on a high-resolution screen"
set_dpi_for_a_while 144
echo "    LogPixels=144 in the registry for this run; put back when the demo ends"
forget_placement
open_from_tray
picture_every_page 144
open_macro_editor_of_key_3
shot macro-editor-144 "$EDITOR"
echo "    picture: macro-editor-144.png (key 3's macro as applied)"
desktop click "$EDITOR>2" >/dev/null
desktop gone "$EDITOR" 10 >/dev/null
close_program && echo "    closed again"

pictures_as_png "$SHOTS"
say "pictures of what the user saw: $SHOTS"
ls "$SHOTS" | grep -v '\.bmp$' | sed 's/^/    /' || ls "$SHOTS" | sed 's/^/    /'
