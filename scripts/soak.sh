#!/usr/bin/env bash
# The full soak: the real Monitor.exe against the virtual keyboard, fed 10,000 mixed events,
# then left idle for 60 s; prints its handles, USER and GDI objects, threads and memory at
# the start, after half the events, at the end and after the idle time (soak_benchmark,
# monitor/app/bench/). Builds what it needs and runs in a session of its own (Xvfb and a
# wineserver, stopped again at the end). Takes about ten minutes.
#   scripts/soak.sh                      10,000 events, 60 s idle
#   scripts/soak.sh EVENTS [IDLE_SECONDS]
# The exit code is the benchmark's: 1 when the monitor died, stopped answering, or a counter
# grew with the events.
set -euo pipefail
source "$(dirname "$0")/lib/environment.sh"
cd "$ROOT"

case "${1:-}" in
    -h|--help) sed -n '2,10p' "$0"; exit 0 ;;
esac
events=${1:-10000}
idle=${2:-60}

ensure_packages
log "build: the soak benchmark and the programs it runs"
cmake --preset windows >/dev/null
cmake --build --preset windows --target soak_benchmark

start_session
log "soak: $events events, then $idle s idle"
# Wine's sound driver finds no sound card on the display server and says so on every start
# of the monitor's cues; those lines are not the soak's.
wine "$BUILD/windows/bench/soak_benchmark.exe" "$events" "$idle" </dev/null 2>&1 | grep --line-buffered -v '^ALSA lib'
