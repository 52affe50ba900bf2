#!/usr/bin/env bash
# Builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan) and runs the whole
# suite there; the first report of either stops the test that made it. Benchmarks are not built;
# TALVEX_SANITIZE_GUI=OFF leaves out the desktop program and its tests too (a fifth of the build).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

talvex_install_packages
# Line tables only: the sanitizers' reports keep their file and line, and the build takes less time than
# with full debugging information. (GCC 12 at -O1 sees a false overflow in a std::fill and stops.)
talvex_build "$TALVEX_ROOT/build-asan" -DTALVEX_WERROR=ON -DTALVEX_SANITIZE=ON -DTALVEX_BUILD_TESTS=ON \
    -DTALVEX_BUILD_BENCH=OFF -DTALVEX_BUILD_GUI="${TALVEX_SANITIZE_GUI:-ON}" \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG"
talvex_start_postgresql
cd "$TALVEX_ROOT/build-asan"
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$TALVEX_ROOT/scripts/lsan.supp:print_suppressions=0"
ctest --output-on-failure -j "$(nproc)"
