#!/usr/bin/env bash
# Rebuilds the example chromatogram files of this folder with talvex-synth; the same tool version writes
# them byte for byte again. Usage: examples/make-examples.sh [PATH/TO/talvex-synth]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
synth="${1:-$here/../build/bin/talvex-synth}"

"$synth" --seed 101 --samples 12000 --step 0.0025 --peaks 14 --noise 0.01 --drift 0.02 \
    --sample-name "Проба 1" --method "ПИД ГД" --operator "Смирнова" --sampling-point "Сепаратор С-1" \
    --sampling-site "УКПГ-2" --comment "Газ дегазации" --analysis-time "2024-03-05 09:12:40" \
    "$here/gas-fid-1.stg"
"$synth" --seed 102 --samples 8000 --step 0.0025 --peaks 6 --noise 0.005 --wide-strings \
    --sample-name "Проба 1" --method "ДТП-1 ГД" --operator "Смирнова" --sampling-point "Сепаратор С-1" \
    --analysis-time "2024-03-05 09:12:42" "$here/gas-tcd1-1.stg"
"$synth" --seed 201 --samples 120000 --step 0.0005 --peaks 60 --noise 0.02 --drift 0.05 \
    --passport-version 2 --table-version 3 --long-dates \
    --sample-name "Проба 1 ДК" --method "ПИД ДК" --operator "Смирнова" --comment "Дегазированный конденсат" \
    --analysis-time "2024-03-05 11:40:00" "$here/condensate-fid-1.stg"
"$synth" --seed 301 --samples 4000 --step 0.005 --peaks 8 --passport-version 1 --table-version legacy \
    --sample-name "Холостая" --method "ПИД ГД" --analysis-time "2024-03-05 08:30:00" "$here/gas-blank.stg"
