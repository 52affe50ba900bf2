#!/usr/bin/env bash
# Builds and runs the benchmarks, then measures whole runs of the command-line program against `cat`
# (`talvex-cli info` of a file of 10 000 000 samples and 10 000 peaks, `talvex-cli --version`) and the peak
# memory of `talvex-cli info` on a file of 1 000 000 samples against its size and against the program's own
# baseline on a tiny file. Every figure with a target is printed as `NAME: X (target: Y)`.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build-bench}"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTALVEX_BUILD_TESTS=OFF -DTALVEX_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null

"$build/bin/bench_chromatogram"
"$build/bin/bench_andi"
"$build/bin/bench_section7"
"$build/bin/bench_condensate"
"$build/bin/bench_odt_export"
"$build/bin/bench_session"
"$build/bin/bench_curve"
# The archive on SQLite, and on a throw-away PostgreSQL server's Unix socket.
(source "$root/scripts/lib.sh" && talvex_start_postgresql && "$build/bin/bench_archive")
QT_QPA_PLATFORM=offscreen "$build/bin/bench_chart"
[ -x "$build/bin/bench_plot" ] && QT_QPA_PLATFORM=offscreen "$build/bin/bench_plot"
[ -x "$build/bin/bench_keystroke" ] && QT_QPA_PLATFORM=offscreen "$build/bin/bench_keystroke"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$build/bin/talvex-synth" --seed 7 --samples 1000000 --step 0.0001 --peaks 1000 "$work/big.stg"
"$build/bin/talvex-synth" --seed 7 --samples 100 --peaks 0 "$work/tiny.stg"
rss() { /usr/bin/time -v "$build/bin/talvex-cli" info "$1" 2>&1 >/dev/null | awk -F': ' '/Maximum resident/ {print $2}'; }
"$build/bin/talvex-synth" --seed 7 --samples 10000000 --step 0.00001 --peaks 10000 "$work/huge.stg"

# The fastest of five batches of `runs` runs of a command, in milliseconds per run.
per_run_ms() {
    local runs=$1 best="" start end ms
    shift
    for _ in 1 2 3 4 5; do
        start=$(date +%s%N)
        for ((i = 0; i < runs; ++i)); do "$@" >/dev/null; done
        end=$(date +%s%N)
        ms=$(awk -v a="$start" -v b="$end" -v n="$runs" 'BEGIN {printf "%.4f", (b - a) / n / 1e6}')
        if [ -z "$best" ] || awk -v m="$ms" -v b="$best" 'BEGIN {exit !(m < b)}'; then best=$ms; fi
    done
    echo "$best"
}
figure() { awk -v n="$1" -v a="$2" -v b="$3" -v t="$4" 'BEGIN {printf "%s: %.3g (target: %s)\n", n, a / b, t}'; }
info_ms=$(per_run_ms 3 "$build/bin/talvex-cli" info "$work/huge.stg")
cat_ms=$(per_run_ms 3 cat "$work/huge.stg")
echo "talvex-cli info of 10 000 000 samples and 10 000 peaks: ${info_ms} ms; cat of the file: ${cat_ms} ms"
figure "talvex-cli info of 10 M samples, 10 000 peaks / cat of the file" "$info_ms" "$cat_ms" "<= 6"
version_ms=$(per_run_ms 50 "$build/bin/talvex-cli" --version)
null_ms=$(per_run_ms 50 cat /dev/null)
echo "talvex-cli --version: ${version_ms} ms; cat /dev/null: ${null_ms} ms"
figure "talvex-cli --version / cat /dev/null" "$version_ms" "$null_ms" "<= 2"

size_kb=$(( $(stat -c %s "$work/big.stg") / 1024 ))
big_kb=$(rss "$work/big.stg")
base_kb=$(rss "$work/tiny.stg")
echo "talvex-cli info peak memory: ${big_kb} KiB on a ${size_kb} KiB file; baseline ${base_kb} KiB on a tiny file"
figure "talvex-cli info peak memory above its baseline / file size" "$(( big_kb - base_kb ))" "$size_kb" "< 3"
