#!/usr/bin/env bash
# Every test: the native unit tests (ASan, UBSan), the fuzz targets briefly, then the Windows
# programs and tests under Wine, with the benchmarks' figures printed on the way. Sets up the
# machine as needed.
set -euo pipefail
source "$(dirname "$0")/lib/environment.sh"
cd "$ROOT"

ensure_packages
ensure_nsis
configure_and_build native
configure_and_build windows
# The installer (and build/dist) for its test under Wine.
cmake --build --preset windows --target installer

native=0
log "native unit tests"
ctest --preset native || native=$?

# Every fuzz target for a few seconds on its seeds and past crashes (scripts/fuzz.sh --long
# runs them for real).
fuzz=0
"$ROOT/scripts/fuzz.sh" --short || fuzz=$?

start_session
log "benchmarks"
benchmarks=0
"$ROOT/scripts/run-benchmarks.sh" || benchmarks=$?

log "Windows tests under Wine"
windows=0
ctest --preset windows || windows=$?
[ "$benchmarks" -eq 0 ] || echo "== some benchmarks failed (see above)"
[ "$fuzz" -eq 0 ] || echo "== some fuzz targets failed (see above)"
[ "$native" -eq 0 ] && [ "$fuzz" -eq 0 ] && [ "$windows" -eq 0 ] && [ "$benchmarks" -eq 0 ]
