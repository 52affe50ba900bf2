#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (build-fuzz) and runs each for SECONDS_PER_TARGET
# (default 60) from its seed corpus, as many at once as there are cores, with a 512 MiB RSS limit and a
# time limit per input. Prints per target: executions, executions per second, corpus size and findings.
# A finding (crash, leak, timeout, out-of-memory) is kept as build-fuzz/findings/<target>/... until the
# next run of that target; copy it to fuzz/regressions/<target>/ once mended, so that ctest replays it.
# Exit status 1 when any target found something.
#   TALVEX_FUZZ_TARGETS="a b"  runs only those targets; TALVEX_FUZZ_RUNS=N stops each after N inputs.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

seconds="${1:-60}"
talvex_install_packages
build="$TALVEX_ROOT/build-fuzz"
CC=clang CXX=clang++ cmake -S "$TALVEX_ROOT" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTALVEX_FUZZ=ON \
    -DTALVEX_BUILD_TESTS=OFF -DTALVEX_BUILD_BENCH=OFF -DTALVEX_BUILD_GUI=OFF >/dev/null
targets="${TALVEX_FUZZ_TARGETS:-$(sed -n '/^set(TALVEX_FUZZ_TARGETS/,/)/p' "$TALVEX_ROOT/fuzz/CMakeLists.txt" |
    tr -d '()' | sed 's/set\|TALVEX_FUZZ_TARGETS//g' | tr -s ' \n' ' ')}"
cmake --build "$build" -j "$(nproc)" --target $(printf 'fuzz_%s ' $targets)

export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$TALVEX_ROOT/scripts/lsan.supp:print_suppressions=0"
# One target's run; its line of figures goes to findings/<target>.line, a failure's details to stderr.
run_target() {
    local t="$1"
    local seeds="$TALVEX_ROOT/fuzz/corpus/$t"
    local corpus="$build/corpus/$t"
    local findings="$build/findings/$t"
    # Findings of earlier runs are gone from here: mended ones belong in fuzz/regressions/.
    rm -rf "$findings"
    mkdir -p "$corpus" "$findings"
    local dict=()
    if [ -f "$TALVEX_ROOT/fuzz/dict/$t.dict" ]; then
        dict=(-dict="$TALVEX_ROOT/fuzz/dict/$t.dict")
    fi
    local runs=()
    if [ -n "${TALVEX_FUZZ_RUNS:-}" ]; then
        runs=(-runs="$TALVEX_FUZZ_RUNS")
    fi
    local log="$build/findings/$t.log"
    local status=0
    "$build/fuzz/fuzz_$t" "$corpus" "$seeds" "${dict[@]}" "${runs[@]}" -max_total_time="$seconds" \
        -rss_limit_mb=512 -malloc_limit_mb=512 -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$findings/" >"$log" 2>&1 || status=$?
    local execs rate size found
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    size=$(find "$corpus" -type f | wc -l)
    found=$(find "$findings" -type f | wc -l)
    printf '%-16s %12s %10s %8s %9s\n' "$t" "${execs:-?}" "${rate:-?}" "$size" "$found" >"$build/findings/$t.line"
    if [ "$status" -ne 0 ] || [ "$found" -ne 0 ]; then
        {
            echo "  $t: exit status $status; log $log"
            grep -m5 -E 'ERROR|SUMMARY|runtime error' "$log" | sed 's/^/  /' || true
        } >&2
        return 1
    fi
}

# As many targets at once as there are cores; the figures are printed in the targets' order.
printf '%-16s %12s %10s %8s %9s\n' target executions exec/s corpus findings
mkdir -p "$build/findings"
failed=0
pids=()
for t in $targets; do
    run_target "$t" &
    pids+=($!)
    if [ "${#pids[@]}" -ge "$(nproc)" ]; then
        wait "${pids[0]}" || failed=1
        pids=("${pids[@]:1}")
    fi
done
for pid in "${pids[@]}"; do
    wait "$pid" || failed=1
done
for t in $targets; do
    cat "$build/findings/$t.line"
done
exit "$failed"
