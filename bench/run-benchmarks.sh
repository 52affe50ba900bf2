#!/usr/bin/env bash
# Builds and runs the benchmarks, then measures the peak memory of `talvex-cli info` on a file of
# 1 000 000 samples against its size and against the program's own baseline on a tiny file.
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
[ -x "$build/bin/bench_plot" ] && QT_QPA_PLATFORM=offscreen "$build/bin/bench_plot"
[ -x "$build/bin/bench_keystroke" ] && QT_QPA_PLATFORM=offscreen "$build/bin/bench_keystroke"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$build/bin/talvex-synth" --seed 7 --samples 1000000 --step 0.0001 --peaks 1000 "$work/big.stg"
"$build/bin/talvex-synth" --seed 7 --samples 100 --peaks 0 "$work/tiny.stg"
rss() { /usr/bin/time -v "$build/bin/talvex-cli" info "$1" 2>&1 >/dev/null | awk -F': ' '/Maximum resident/ {print $2}'; }
size_kb=$(( $(stat -c %s "$work/big.stg") / 1024 ))
big_kb=$(rss "$work/big.stg")
base_kb=$(rss "$work/tiny.stg")
echo "talvex-cli info peak memory: ${big_kb} KiB on a ${size_kb} KiB file; baseline ${base_kb} KiB on a tiny file"
echo "  (big - baseline) / file size = $(awk -v b="$big_kb" -v t="$base_kb" -v s="$size_kb" 'BEGIN {printf "%.2f", (b - t) / s}') (target: under 3)"
