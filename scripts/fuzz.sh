#!/usr/bin/env bash
# The libFuzzer targets (cmake preset "fuzz"): builds them, then runs each one on its committed
# seeds, the inputs that once crashed it and what earlier runs found (build/fuzz/corpus/).
#   scripts/fuzz.sh --short            a few seconds each; the test command runs this
#   scripts/fuzz.sh --long             each to 10,000,000 executions, then a table
#   scripts/fuzz.sh --seconds S | --runs N   [TARGET...]
# One line per target: executions and the result. A crashing input is left in
# build/fuzz/artifacts/; copy it to <part>/fuzz/crashes/<target>/ with its fix and unit test.
set -euo pipefail
source "$(dirname "$0")/lib/environment.sh"
cd "$ROOT"

limit=(-max_total_time=4)
table=""
targets=()
while [ $# -gt 0 ]; do
    case "$1" in
        --short) limit=(-max_total_time=4) ;;
        --long) limit=(-runs=10000000); table=1 ;;
        --seconds) shift; limit=(-max_total_time="$1") ;;
        --runs) shift; limit=(-runs="$1") ;;
        -h|--help) sed -n '2,9p' "$0"; exit 0 ;;
        *) targets+=("$1") ;;
    esac
    shift
done

ensure_fuzz_tools
log "build: fuzz"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz | tail -n 1

# A small quarantine and short allocation stacks: several times the executions per second on
# this code, which allocates in every call (std::function), with every check still on.
export ASAN_OPTIONS="quarantine_size_mb=16:malloc_context_size=8:detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

FUZZ="$BUILD/fuzz"
mkdir -p "$FUZZ/corpus" "$FUZZ/artifacts" "$FUZZ/logs"
failed=0
rows=()
log "fuzz targets (${limit[*]})"
for manifest in "$FUZZ"/fuzzers/*.fuzzer; do
    name=$(basename "$manifest" .fuzzer)
    if [ ${#targets[@]} -gt 0 ] && [[ ! " ${targets[*]} " =~ " $name " ]]; then continue; fi
    executable=$(sed -n 's/^executable=//p' "$manifest")
    corpus=$(sed -n 's/^corpus=//p' "$manifest")
    crashes=$(sed -n 's/^crashes=//p' "$manifest")
    [ -x "$executable" ] || continue
    # Git keeps no empty folder: a target whose seeds were never committed would make libFuzzer
    # stop before its first execution on a fresh clone.
    if [ ! -d "$corpus" ] || [ -z "$(ls -A "$corpus")" ]; then
        printf '   %-28s no seed inputs in %s\n' "$name" "$corpus"
        rows+=("$(printf '| %-28s | %11s | %7s | %8s | %-5s |' "$name" 0 0 0 SEEDS)")
        failed=1
        continue
    fi
    work="$FUZZ/corpus/$name"
    mkdir -p "$work"
    dirs=("$work" "$corpus")
    [ -d "$crashes" ] && dirs+=("$crashes")
    logfile="$FUZZ/logs/$name.log"
    started=$(date +%s)
    result=ok
    "$executable" "${limit[@]}" -max_len=4096 -timeout=25 -print_final_stats=1 \
        -artifact_prefix="$FUZZ/artifacts/$name-" "${dirs[@]}" >"$logfile" 2>&1 || result=CRASH
    seconds=$(( $(date +%s) - started ))
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$logfile" | tail -n 1)
    executions=${executions:-0}
    rate=$(( executions / (seconds > 0 ? seconds : 1) ))
    if [ "$result" = ok ]; then
        printf '   %-28s %11s executions  %5s s  ok\n' "$name" "$executions" "$seconds"
    else
        printf '   %-28s %11s executions  %5s s  CRASH (see %s)\n' "$name" "$executions" "$seconds" "$logfile"
        { grep -E 'property failed|ERROR:|SUMMARY|Test unit written' "$logfile" || tail -n 3 "$logfile"; } \
            | head -n 5 | sed 's/^/      /'
        failed=1
    fi
    rows+=("$(printf '| %-28s | %11s | %7s | %8s | %-5s |' "$name" "$executions" "$seconds" "$rate" "$result")")
done

if [ -n "$table" ]; then
    echo
    printf '| %-28s | %11s | %7s | %8s | %-5s |\n' target executions seconds "exec/s" result
    printf '|%s|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..30})" "$(printf -- '-%.0s' {1..13})" "$(printf -- '-%.0s' {1..9})" \
        "$(printf -- '-%.0s' {1..10})" "$(printf -- '-%.0s' {1..7})"
    printf '%s\n' "${rows[@]}"
fi
exit "$failed"
