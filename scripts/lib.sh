# Shared by the set-up scripts: installs the Debian packages Talvex needs and builds it.
# Sourced, not run.

TALVEX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Packages the build, the tests and the examples need on Debian 12.
TALVEX_PACKAGES=(
    build-essential cmake pkg-config git time
    libgsf-1-dev libicu-dev libpugixml-dev libzip-dev zlib1g-dev qt6-base-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    libssl-dev # SHA-256 of the files a result was computed from
    libnetcdf-dev # ANDI/AIA chromatography files (*.cdf)
    locales # the sources localedef makes ru_RU.UTF-8 from, for the tests under a Russian locale
    nlohmann-json3-dev # session files (*.tlvx)
    # the PDF report (LibreOffice headless) and the template's build script
    python3 libreoffice-writer-nogui fonts-dejavu-core
    libreoffice-calc-nogui python3-uno # the spreadsheet export (LibreOffice Calc over UNO)
    clang libclang-rt-14-dev # the fuzz targets (libFuzzer) of scripts/fuzz.sh
    qt6-translations-l10n # Qt's own dialogs, buttons and context menus in Russian
    # the Debian package (cpack -G DEB) and its check: dependencies, ELF types, manual pages, lintian
    dpkg-dev file man-db lintian
    libsqlite3-dev # the results archive, one local file
    libpq-dev postgresql # the results archive shared by workstations; the tests start a real server
)

talvex_install_packages() {
    local missing=()
    local p
    for p in "${TALVEX_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing missing packages: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            sudo="sudo"
        else
            echo "error: these packages are missing and installing them needs root: ${missing[*]}" >&2
            return 1
        fi
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# talvex_build BUILD_DIR [extra cmake options...]
talvex_build() {
    local dir="$1"
    shift
    cmake -S "$TALVEX_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$dir" -j "$(nproc)"
}

# talvex_start_postgresql: a throw-away PostgreSQL server for the archive tests. initdb into a temporary
# folder as an unprivileged user (the package's `postgres` user when running as root), trust
# authentication, no TCP port: it listens only on a Unix socket in that folder. Exports
# TALVEX_TEST_POSTGRESQL (a URL the tests create their own databases through) and
# TALVEX_REQUIRE_POSTGRESQL=1; an EXIT trap stops the server and removes the folder.
talvex_start_postgresql() {
    local bindir
    bindir="$(find /usr/lib/postgresql -mindepth 2 -maxdepth 2 -name bin -type d 2>/dev/null | sort -V | tail -n 1)"
    if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ]; then
        echo "error: the PostgreSQL server (Debian package postgresql) is not installed" >&2
        return 1
    fi
    TALVEX_PG_DIR="$(mktemp -d /tmp/talvex-pg.XXXXXX)"
    TALVEX_PG_BIN="$bindir"
    TALVEX_PG_AS=()
    if [ "$(id -u)" -eq 0 ]; then
        chown postgres: "$TALVEX_PG_DIR"
        TALVEX_PG_AS=(runuser -u postgres --)
    fi
    "${TALVEX_PG_AS[@]}" "$bindir/initdb" -D "$TALVEX_PG_DIR/data" -U talvex_test -A trust -E UTF8 --no-sync \
        >"$TALVEX_PG_DIR/initdb.log" 2>&1 || { cat "$TALVEX_PG_DIR/initdb.log" >&2; return 1; }
    # Throw-away data: no fsync. Enough connections for ctest -j 8 with a few processes per test.
    "${TALVEX_PG_AS[@]}" "$bindir/pg_ctl" -D "$TALVEX_PG_DIR/data" -l "$TALVEX_PG_DIR/server.log" -w -s \
        -o "-c listen_addresses='' -c unix_socket_directories=$TALVEX_PG_DIR -c fsync=off -c max_connections=200" \
        start || { cat "$TALVEX_PG_DIR/server.log" >&2; return 1; }
    trap talvex_stop_postgresql EXIT
    export TALVEX_TEST_POSTGRESQL="postgresql://talvex_test@/postgres?host=$TALVEX_PG_DIR"
    export TALVEX_REQUIRE_POSTGRESQL=1
}

talvex_stop_postgresql() {
    if [ -n "${TALVEX_PG_DIR:-}" ] && [ -d "$TALVEX_PG_DIR" ]; then
        "${TALVEX_PG_AS[@]}" "$TALVEX_PG_BIN/pg_ctl" -D "$TALVEX_PG_DIR/data" -m immediate -w -s stop || true
        rm -rf "$TALVEX_PG_DIR"
    fi
}
