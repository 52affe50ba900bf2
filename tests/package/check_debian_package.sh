#!/usr/bin/env bash
# Builds the Debian package from a finished build folder into a temporary folder and checks it: the
# control fields, the files and where they lie, the programs' RPATH, the command line run from the
# unpacked tree (it must find its library and the template under share/talvex), and lintian without
# errors. Exits 77 (skipped) after the other checks when lintian is not installed.
#   check_debian_package.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build="$1"
source="$2"
work="$(mktemp -d "${TMPDIR:-/tmp}/talvex-package-XXXXXX")"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; exit 1; }
debs=("$work"/out/talvex_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: no single talvex_*.deb" >&2; exit 1; }
deb="${debs[0]}"
echo "package: $(basename "$deb")"

# Control fields.
[ "$(dpkg-deb -f "$deb" Package)" = talvex ] || fail "package name is not talvex"
depends="$(dpkg-deb -f "$deb" Depends)"
recommends="$(dpkg-deb -f "$deb" Recommends)"
echo "Depends: $depends"
echo "Recommends: $recommends"
for dep in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins libgsf-1- libpugixml libzip libicu libnetcdf \
    libssl libc6 libstdc++6; do
    grep -q "$dep" <<<"$depends" || fail "Depends lacks $dep"
done
for rec in libreoffice-calc libreoffice-writer python3-uno qt6-translations-l10n; do
    grep -q "$rec" <<<"$recommends" || fail "Recommends lacks $rec"
done
if grep -q "libreoffice\|python3-uno" <<<"$depends"; then
    fail "LibreOffice must only be recommended"
fi

# The files, where the file-system hierarchy wants them, and nothing else outside /usr.
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' | sort >"$work/files"
echo "files:"
grep -v '/$' "$work/files" | sed 's/^/  /'
for f in /usr/bin/talvex /usr/bin/talvex-cli /usr/lib/talvex/libbrisquel.so \
    /usr/share/talvex/Template_tlvx.odt /usr/share/talvex/Template_tlvx.xls /usr/share/talvex/spreadsheet_bridge.py \
    /usr/share/talvex/Talvex/Comps.csv /usr/share/talvex/Talvex/CompsTime.csv \
    /usr/share/talvex/Talvex/TableSection7.csv /usr/share/talvex/Talvex/TableSection8.csv \
    /usr/share/talvex/archive-postgresql.sql \
    /usr/share/applications/talvex.desktop /usr/share/icons/hicolor/scalable/apps/talvex.svg \
    /usr/share/mime/packages/talvex-session.xml /usr/share/man/man1/talvex.1.gz /usr/share/man/man1/talvex-cli.1.gz \
    /usr/share/doc/talvex/copyright /usr/share/doc/talvex/changelog.gz; do
    grep -qx "$f" "$work/files" || fail "missing $f"
done
grep -v '^/usr/' "$work/files" | grep -vx '/' && fail "files outside /usr"
grep -q 'talvex-synth\|/usr/bin/Template_tlvx\|/usr/bin/.*\.py\|/usr/lib/libbrisquel' "$work/files" &&
    fail "a test tool or a file in the old place"

dpkg-deb -c "$deb" | awk '$2 != "root/root" {print $6}' | grep . && fail "files not owned by root"

# The unpacked programs find their library through the RPATH and the template under share/talvex.
root="$work/root"
dpkg-deb -x "$deb" "$root"
for program in talvex talvex-cli; do
    runpath="$(readelf -d "$root/usr/bin/$program" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')"
    [ "$runpath" = '$ORIGIN/../lib/talvex' ] || fail "$program RUNPATH is '$runpath'"
done
"$root/usr/bin/talvex-cli" --help >/dev/null || fail "talvex-cli does not start from the package"
mkdir "$work/empty"
(cd "$work/empty" &&
    "$root/usr/bin/talvex-cli" run --data-dir "$root/usr/share/talvex/Talvex" --odt "$work/report.odt" \
        "$source"/examples/*.stg >"$work/run.log" 2>&1) || { cat "$work/run.log" >&2; fail "talvex-cli run --odt failed"; }
[ -s "$work/report.odt" ] || fail "no report written from the installed template"
if man --warnings -l "$root/usr/share/man/man1/talvex.1.gz" 2>&1 >/dev/null | grep -q .; then
    fail "talvex.1 has roff warnings"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
if ! command -v lintian >/dev/null 2>&1; then
    echo "lintian is not installed: not checked (install it with the set-up commands)"
    exit 77
fi
lintian --fail-on error --tag-display-limit 0 "$deb"
echo "lintian: no errors"
