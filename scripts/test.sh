#!/usr/bin/env bash
# Installs what is missing, builds Talvex with warnings as errors and runs every test.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

talvex_install_packages
talvex_build "$TALVEX_ROOT/build-test" -DTALVEX_WERROR=ON -DTALVEX_BUILD_TESTS=ON -DTALVEX_BUILD_BENCH=ON
talvex_start_postgresql
cd "$TALVEX_ROOT/build-test"
ctest --output-on-failure -j "$(nproc)"
