#!/usr/bin/env bash
# The main job: builds both programs, lays out the install tree build/dist/ as it ships, and
# starts the programs from it under Wine. Sets up the machine as needed.
set -euo pipefail
source "$(dirname "$0")/lib/environment.sh"
cd "$ROOT"

ensure_packages
configure_and_build windows
cmake --build --preset windows --target dist

log "install tree build/dist"
(cd "$BUILD/dist" && find . -mindepth 1 | sort)

start_session
for program in "$BUILD/dist/Monitor.exe" "$BUILD/dist/KeyFwFlash/KeyFwFlash.exe"; do
    rc=0
    wine "$program" </dev/null || rc=$?
    log "$(basename "$program") ran and ended with $rc"
    [ "$rc" -eq 0 ]
done
