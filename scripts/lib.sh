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
