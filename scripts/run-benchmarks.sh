#!/usr/bin/env bash
# Runs each benchmark executable of the Windows build under Wine; they print their own
# figures and end non-zero when what they measured came out wrong. Expects the session of
# scripts/lib/environment.sh (display, prefix, server).
# A benchmark that ends badly is run once more, saying so, before it counts as failed: the
# real-time ones take about 40 s each under a shared wineserver, and one bad run must not
# hide whether the code is at fault. The second run has Wine's exception trace on, and its
# last lines are printed if it fails too, so a crash shows where it happened. Every benchmark
# runs; the exit code tells if any failed.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
failed=()
for bench in "$ROOT"/build/windows/bench/*_benchmark.exe; do
    [ -e "$bench" ] || continue
    name=$(basename "$bench" .exe)
    rc=0
    wine "$bench" </dev/null || rc=$?
    if [ "$rc" -ne 0 ]; then
        echo "$name ended with $rc; running it once more, with Wine's exception trace"
        rc=0
        trace=$(mktemp)
        WINEDEBUG="${WINEDEBUG:+$WINEDEBUG,}+seh" wine "$bench" </dev/null 2>"$trace" || rc=$?
        if [ "$rc" -ne 0 ]; then
            echo "$name ended with $rc again; the end of its exception trace:"
            grep -E "seh|exception|backtrace|^=>" "$trace" | tail -20 | sed 's/^/    /'
        fi
        rm -f "$trace"
    fi
    [ "$rc" -eq 0 ] || failed+=("$name ($rc)")
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "benchmarks that failed: ${failed[*]}"
    exit 1
fi
