#!/usr/bin/env bash
# Rewrites the seed corpora under fuzz/corpus (except andi_reader's, written by the ANDI tests' builder):
# talvex-synth runs in every layout and version and the damaged files of the chromatogram tests (through
# fuzz_make_seeds of a build with tests, default build-test), the shipped data folder and template.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build-test}"
corpus="$root/fuzz/corpus"

for t in stg_file passport peak_table archive_values signal_time comps_csv section7_csv section8_csv \
         comps_time_csv typed_number odt_content odt_template; do
    rm -rf "${corpus:?}/$t"
    mkdir -p "$corpus/$t"
done
"$build/fuzz/fuzz_make_seeds" "$corpus"

# A data file whole, its first lines, and its first lines with bare LF endings.
data_seeds() {
    local file="$1" target="$2"
    cp "$root/data/$file" "$corpus/$target/shipped.csv"
    head -c 600 "$root/data/$file" >"$corpus/$target/head.csv"
    head -c 600 "$root/data/$file" | tr -d '\r' >"$corpus/$target/lf-only.csv"
}
data_seeds Comps.csv comps_csv
data_seeds TableSection7.csv section7_csv
data_seeds TableSection8.csv section8_csv
data_seeds CompsTime.csv comps_time_csv

i=0
for typed in "12,5" "3.10" "12." "---" "" "  -1.5e3" "0x1p4" "nan" "-inf" "1e400" "Ab" ".5" "+0,000"; do
    printf '%s' "$typed" >"$corpus/typed_number/$i.txt"
    i=$((i + 1))
done

cp "$root/templates/Template_tlvx.odt" "$corpus/odt_template/shipped.odt"
unzip -p "$root/templates/Template_tlvx.odt" content.xml >"$corpus/odt_content/shipped.xml"
cat >"$corpus/odt_content/small.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?><office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"><office:body><office:text><text:p>#Date<text:span>Created#</text:span></text:p><table:table><table:table-row><table:table-cell><text:p>#Table1#</text:p></table:table-cell><table:table-cell><text:p>#NameChrm#</text:p></table:table-cell></table:table-row></table:table><text:p>#MassP#</text:p></office:text></office:body></office:document-content>
XML
echo "seeds written to $corpus"
