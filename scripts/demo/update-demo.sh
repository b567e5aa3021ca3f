#!/usr/bin/env bash
# The firmware update as a user sees it: KeyFwFlash.exe, installed in DIST/KeyFwFlash/ with
# its own kbhid.dll, kbhid.ini and config.ini, is started without an argument; a small driver
# program clicks OK in the confirmation, watches the transfer and clicks OK in the success
# dialog, and KeyFwFlash closes the running monitor and starts it again afterwards. The
# pictures of what the user saw go to build/demo-screenshots/update/ (BMP, and PNG too when
# python3-pil is there); the image the virtual keyboard kept is compared with the file.
#
# Usage: update-demo.sh DIST TOOLS   (inside the Wine session of scripts/lib/environment.sh)
# Updates the session's virtual keyboard, with the monitor from DIST running, as the main job
# runs them; whichever of the two is not running is started for the demo and stopped at its end.
set -euo pipefail
source "$(dirname "$0")/../lib/demo.sh"
demo_init "$1" "$2"
UPDATER_DIR="$DIST/KeyFwFlash"
SHOTS="$(dirname "$DIST")/demo-screenshots/update"
WORK=$(mktemp -d /tmp/brenik-update-demo.XXXXXX)
at_exit 'rm -rf "$WORK"'

for file in KeyFwFlash.exe kbhid.dll kbhid.ini config.ini; do
    [ -e "$UPDATER_DIR/$file" ] || { echo "update demo: $UPDATER_DIR/$file is missing" >&2; exit 1; }
done
[ -e "$TOOLS/update-demo-driver.exe" ] || { echo "update demo: $TOOLS/update-demo-driver.exe is missing" >&2; exit 1; }

IMAGE_NAME=$(tr -d '\r' < "$UPDATER_DIR/config.ini" | awk -F= 'tolower($0) ~ /^\[/ { s = tolower($0) } s == "[firmware]" && tolower($1) == "name" { print substr($0, index($0, "=") + 1); exit }')
IMAGE="$UPDATER_DIR/${IMAGE_NAME:-firmware.bin}"
if [ ! -e "$IMAGE" ]; then
    # A firmware image of our own making: 40 blocks and a short one.
    head -c $((40 * 1024 + 300)) /dev/urandom > "$IMAGE"
    echo "wrote a firmware image of $(stat -c %s "$IMAGE") bytes to KeyFwFlash/$(basename "$IMAGE")"
fi

need_session_monitor

say "the keyboard before the update"
vkbd set dfu-version 105 >/dev/null
vkbd dump | grep -E '"(finishedUpdates|imageSize)"' | sed 's/^ */    /' || true

say "KeyFwFlash.exe, clicked through as a user would"
rm -rf "$SHOTS"
mkdir -p "$SHOTS"
rc=0
wine "$TOOLS/update-demo-driver.exe" --updater="$(winpath "$UPDATER_DIR/KeyFwFlash.exe")" \
    --shots="$(winpath "$SHOTS")" </dev/null || rc=$?
# The driver photographs the screen as soon as the monitor's window is back; its tray icon
# follows a moment later, so the screen again once the tray shows it.
if desktop wait "class:__winex11_standalone_tray" 20 >/dev/null 2>&1; then
    sleep 1
    shot 6-screen-after
fi

say "the keyboard after the update"
vkbd dump | grep -E '"(finishedUpdates|imageSize)"' | sed 's/^ */    /' || true
vkbd image "$(winpath "$WORK/kept.bin")" >/dev/null
if cmp -s "$IMAGE" "$WORK/kept.bin"; then
    echo "the image the keyboard kept equals $(basename "$IMAGE") ($(stat -c %s "$IMAGE") bytes)"
else
    echo "the image the keyboard kept differs from $(basename "$IMAGE")"
    rc=1
fi

pictures_as_png "$SHOTS"
echo "pictures of what the user saw: $SHOTS"
ls "$SHOTS" | sed 's/^/    /'
exit $rc
