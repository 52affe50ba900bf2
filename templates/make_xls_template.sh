#!/bin/sh
# Rebuilds Template_tlvx.xls from its editable source Template_tlvx.fods (edit that one in LibreOffice
# Calc and save it as a flat XML spreadsheet), with LibreOffice run headless on a profile of its own.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
soffice "-env:UserInstallation=file://$work/profile" --headless --invisible --norestore --nologo \
    --convert-to 'xls:MS Excel 97' --outdir "$work" "$here/Template_tlvx.fods" >/dev/null
test -s "$work/Template_tlvx.xls"
mv "$work/Template_tlvx.xls" "$here/Template_tlvx.xls"
echo "wrote $here/Template_tlvx.xls"
