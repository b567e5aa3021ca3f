#!/bin/bash
# Runs a Windows test under Wine with its Unix standard error also written to a file, which
# the test reads back while it runs. Wine writes its trace lines (WINEDEBUG) to the Unix
# standard error, and a child process inherits that one, whatever Windows handles it is given:
# so the trace of a program the test starts lands here. winmm's own lines stay out of the
# console copy; everything else still reaches it.
#
# Usage: with_wine_log.sh LOG WINE TEST.exe [ARGUMENT...]
set -euo pipefail
log=$1
shift
: > "$log"
exec "$@" 2> >(tee -a "$log" | grep --line-buffered -v -e ':trace:winmm:' -e '^ALSA lib ' >&2)
