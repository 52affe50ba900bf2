#!/usr/bin/env bash
# Installs what is missing, builds Talvex and runs the main job on the bundled example session.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

talvex_install_packages
talvex_build "$TALVEX_ROOT/build" -DTALVEX_BUILD_TESTS=OFF -DTALVEX_BUILD_BENCH=OFF

cli="$TALVEX_ROOT/build/bin/talvex-cli"
for file in "$TALVEX_ROOT"/examples/*.stg; do
    echo "=== $(basename "$file")"
    "$cli" info "$file"
    echo
done
