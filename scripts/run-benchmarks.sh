#!/usr/bin/env bash
# Runs each benchmark executable of the Windows build under Wine; they print their own
# figures. Expects the session of scripts/lib/environment.sh (display, prefix, server).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
for bench in "$ROOT"/build/windows/bench/*_benchmark.exe; do
    [ -e "$bench" ] || continue
    wine "$bench" </dev/null
done
