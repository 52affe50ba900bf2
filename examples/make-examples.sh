#!/usr/bin/env bash
# Rebuilds the example session of this folder with talvex-synth: one degassing-gas set (three analyses on
# FID, TCD-1 and TCD-2, a blank run and both operational controls) and one condensate set (three
# analyses, a blank run, a calibration run and both controls). The same runs go into andi/ as ANDI/AIA
# chromatography files (*.cdf), so the session can be run from either format. The same tool version
# writes them byte for byte again. Usage: examples/make-examples.sh [PATH/TO/talvex-synth]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
synth="${1:-$here/../build/bin/talvex-synth}"

rm -f "$here"/*.stg "$here"/andi/*.cdf
"$synth" --set gas --folder "$here" --seed 1
"$synth" --set condensate --folder "$here" --seed 1
"$synth" --set gas --folder "$here/andi" --seed 1 --format cdf
"$synth" --set condensate --folder "$here/andi" --seed 1 --format cdf
