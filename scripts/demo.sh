#!/usr/bin/env bash
# Installs what is missing, builds Talvex and runs the main job on the bundled example session.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

talvex_install_packages
talvex_build "$TALVEX_ROOT/build" -DTALVEX_BUILD_TESTS=OFF -DTALVEX_BUILD_BENCH=OFF

cli="$TALVEX_ROOT/build/bin/talvex-cli"
out="$TALVEX_ROOT/build/example"
rm -rf "$out"
mkdir -p "$out"

# One session over the bundled example files and the shipped data folder, as the desktop program would
# hold it, with the degassing run's inputs typed as on the degassing page (method A; the formula takes
# the pressure in kPa and the temperature in kelvins as typed). An empty profile, so that the operator's
# stored settings play no part.
export XDG_CONFIG_HOME="$out/profile"
"$cli" run --data-dir "$TALVEX_ROOT/data" --tables "$out/tables" --xml "$out/report.xml" --json "$out/results.json" \
    --odt "$out/report.odt" --pdf "$out/report.pdf" --xls "$out/protocol.xls" \
    --device "ГХ-2 зав. № 114" \
    --method A --pressure 99,8 --temperature 293,6 --gas-volume1 0.0118 --gas-volume2 0.0004 \
    --cond-mass1 84.6 --cond-mass2 1.7 \
    "$TALVEX_ROOT"/examples/*.stg

echo "=== Chromatogram list"
cat "$out/tables/list.tsv"
echo
echo "=== Degassing"
cat "$out/tables/degassing.tsv"
echo
echo "=== Composition of the unstable liquid"
cat "$out/tables/nlh.tsv"
echo
echo "=== Message log"
tr -d '\r' < "$out/tables/log.txt"
echo
echo
echo "Every table is in $out/tables; the report is $out/report.odt and $out/report.pdf (the report document"
echo "as XML: $out/report.xml), the spreadsheet protocol $out/protocol.xls, all results $out/results.json"
