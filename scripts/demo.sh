#!/usr/bin/env bash
# Installs what is missing, builds Talvex and runs the main job on the bundled example session.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

talvex_install_packages
talvex_build "$TALVEX_ROOT/build" -DTALVEX_BUILD_TESTS=OFF -DTALVEX_BUILD_BENCH=OFF

cli="$TALVEX_ROOT/build/bin/talvex-cli"
tables="$TALVEX_ROOT/build/example-tables"

# One session over the bundled example files and the shipped data folder, as the desktop program would
# hold it; an empty profile so that the operator's stored settings play no part.
export XDG_CONFIG_HOME="$TALVEX_ROOT/build/example-profile"
mkdir -p "$XDG_CONFIG_HOME"
"$cli" run --data-dir "$TALVEX_ROOT/data" --tables "$tables" "$TALVEX_ROOT"/examples/*.stg

echo "=== Chromatogram list"
cat "$tables/list.tsv"
for peaks in "$tables"/peaks-*.tsv; do
    echo
    echo "=== Peaks of list entry $(basename "$peaks" .tsv | cut -d- -f2)"
    cat "$peaks"
done
echo
echo "=== Message log"
tr -d '\r' < "$tables/log.txt"
echo
echo "All tables are in $tables"
