#!/usr/bin/env bash
# Rebuilds the example session of this folder with talvex-synth: one degassing-gas set (three analyses on
# FID, TCD-1 and TCD-2, a blank run and both operational controls) and one condensate set (three
# analyses, a blank run, a calibration run and both controls). The same runs go into andi/ as ANDI/AIA
# chromatography files (*.cdf), so the session can be run from either format. The same tool version
# writes them byte for byte again; example.tlvx records the example session.
# Usage: examples/make-examples.sh [PATH/TO/talvex-synth]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
synth="${1:-$here/../build/bin/talvex-synth}"

rm -f "$here"/*.stg "$here"/andi/*.cdf
"$synth" --set gas --folder "$here" --seed 1
"$synth" --set condensate --folder "$here" --seed 1
"$synth" --set gas --folder "$here/andi" --seed 1 --format cdf
"$synth" --set condensate --folder "$here/andi" --seed 1 --format cdf

# The example session over these runs and the shipped data folder, with the degassing inputs typed as on
# the degassing page (method A; the formula takes the pressure in kPa and the temperature in kelvins), the
# instrument name and the default settings; the demo replays it. A fixed save time and an empty profile
# make it the same file every time.
cli="$(dirname "$synth")/talvex-cli"
profile="$(mktemp -d)"
trap 'rm -rf "$profile"' EXIT
(
    cd "$here"
    XDG_CONFIG_HOME="$profile" SOURCE_DATE_EPOCH=1709626029 "$cli" run --data-dir ../data \
        --device "ГХ-2 зав. № 114" --method A --pressure 99,8 --temperature 293,6 \
        --gas-volume1 0.0118 --gas-volume2 0.0004 --cond-mass1 84.6 --cond-mass2 1.7 \
        --save-session example.tlvx *.stg
)
