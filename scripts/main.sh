#!/usr/bin/env bash
# The main job: builds both programs, lays out the install tree build/dist/ as it ships, and
# runs the monitor from it under Wine against the virtual keyboard. Sets up the machine as
# needed and stops everything it started.
set -euo pipefail
source "$(dirname "$0")/lib/environment.sh"
cd "$ROOT"

# The demos, in this order. Each stands on its own (scripts/demo/*.sh say what they need and
# start what is missing); the order is the story: the installer first, then the monitor alone
# with a keyboard of its own and on the desktop, the settings tool and then the settings
# program through the session's monitor, and last the update, which closes that monitor and
# starts it again.
DEMOS=(installer-demo monitor-demo monitor-desktop-demo settings-tool-demo settings-program-demo update-demo)

ensure_packages
ensure_nsis
ensure_tools python3-pil  # the demos' pictures as PNG too
configure_and_build windows
# The install tree, and the installer beside it (scripts/demo/installer-demo.sh clicks through it).
cmake --build --preset windows --target installer

DIST="$BUILD/dist"
source "$ROOT/scripts/lib/demo.sh"
demo_init "$DIST" "$DIST/tools"
log "install tree build/dist"
(cd "$DIST" && find . -mindepth 1 | sort)

start_session
at_exit stop_session
at_exit 'vkbd stop >/dev/null 2>&1'
at_exit 'desktop close "$kTitleMonitor" >/dev/null 2>&1; desktop gone "$kTitleMonitor" 10 >/dev/null 2>&1'

log "the virtual keyboard"
vkbd start
vkbd status

log "Brenik Monitor, resident"
wine "$DIST/Monitor.exe" </dev/null >/dev/null 2>&1 &
desktop wait "$kTitleMonitor" 20
sleep 1
echo "window \"$kTitleMonitor\" is up; config.ini now says:"
tr -d '\r' < "$DIST/$kConfigFileName" | sed 's/^/    /'
echo "profile files written: $(cd "$DIST/config" && ls 2>/dev/null | tr '\n' ' ')"

for demo in "${DEMOS[@]}"; do
    log "$demo"
    bash "$ROOT/scripts/demo/$demo.sh" "$DIST" "$TOOLS"
done

log "closing the monitor (WM_CLOSE, as the tray's Exit does)"
desktop close "$kTitleMonitor"
desktop gone "$kTitleMonitor" 20
echo "the monitor has ended (it leaves \"$kConfigDeviceKey\" in config.ini as it stood: $(tr -d '\r' < "$DIST/$kConfigFileName" | sed -n "s/^$kConfigDeviceKey=//p"))"

log "the installer (build/dist laid out afresh, as it ships)"
cmake --build --preset windows --target installer >/dev/null
ls "$DIST"/BrenikSetup-*.exe
