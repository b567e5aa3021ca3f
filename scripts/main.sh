#!/usr/bin/env bash
# The main job: builds both programs, lays out the install tree build/dist/ as it ships, and
# runs the monitor from it under Wine against the virtual keyboard. Sets up the machine as
# needed and stops everything it started.
set -euo pipefail
source "$(dirname "$0")/lib/environment.sh"
cd "$ROOT"

ensure_packages
ensure_nsis
configure_and_build windows
# The install tree, and the installer beside it (scripts/demo/installer-demo.sh clicks through it).
cmake --build --preset windows --target installer

DIST="$BUILD/dist"
TOOLS="$DIST/tools"
log "install tree build/dist"
(cd "$DIST" && find . -mindepth 1 | sort)

start_session
vkbd() { wine "$TOOLS/vkbd.exe" "$@" </dev/null; }
desktop() { wine "$TOOLS/desktop-tool.exe" "$@" </dev/null; }
MONITOR_TITLE=BrenikGamingKeyboardMonitor

stop_demo() {
    desktop close "$MONITOR_TITLE" >/dev/null 2>&1 || true
    desktop gone "$MONITOR_TITLE" 10 >/dev/null 2>&1 || true
    vkbd stop >/dev/null 2>&1 || true
    stop_session
}
trap stop_demo EXIT

log "the virtual keyboard"
vkbd start
vkbd status

log "Brenik Monitor, resident"
wine "$DIST/Monitor.exe" </dev/null >/dev/null 2>&1 &
desktop wait "$MONITOR_TITLE" 20
sleep 1
echo "window \"$MONITOR_TITLE\" is up; config.ini now says:"
tr -d '\r' < "$DIST/config.ini" | sed 's/^/    /'
echo "profile files written: $(cd "$DIST/config" && ls 2>/dev/null | tr '\n' ' ')"

for demo in "$ROOT"/scripts/demo/*.sh; do
    [ -e "$demo" ] || continue
    log "$(basename "$demo" .sh)"
    bash "$demo" "$DIST" "$TOOLS"
done

log "closing the monitor (WM_CLOSE, as the tray's Exit does)"
desktop close "$MONITOR_TITLE"
desktop gone "$MONITOR_TITLE" 20
echo "the monitor has ended (it leaves \"Device\" in config.ini as it stood: $(tr -d '\r' < "$DIST/config.ini" | sed -n 's/^Device=//p'))"

log "the installer (build/dist laid out afresh, as it ships)"
cmake --build --preset windows --target installer >/dev/null
ls "$DIST"/BrenikSetup-*.exe
