# Shared by run.sh, test.sh and .ci/run: installs the Debian packages the build needs when they
# are missing, then configures and builds the project in ./build (or another folder).
set -euo pipefail

PACKAGES=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    qt6-translations-l10n
    libbenchmark-dev
    libcurl4-openssl-dev libssl-dev openssl
    libfontconfig-dev
    dbus
    fonts-dejavu-core fonts-dejavu-extra
    xvfb xauth
    locales
    desktop-file-utils appstream lintian strace procps
)

# The page tests run once under each: a comma and a full stop as the decimal separator.
TEST_LOCALES=(ru_RU.UTF-8 en_US.UTF-8)

# Only the fuzzing step of .ci/run needs these: libFuzzer comes with clang.
FUZZ_PACKAGES=(clang libclang-rt-dev)

# install_missing_packages [package...]: the given packages, or PACKAGES.
install_missing_packages() {
    local wanted=("$@") missing=()
    [ ${#wanted[@]} -eq 0 ] && wanted=("${PACKAGES[@]}")
    for package in "${wanted[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
}

# Generates the test locales the C library does not have yet (needs the locales package).
install_missing_locales() {
    local available missing=() name
    available="$(locale -a 2>/dev/null || true)"
    for name in "${TEST_LOCALES[@]}"; do
        # "locale -a" lists ru_RU.UTF-8 as ru_RU.utf8.
        grep -qx "${name%.UTF-8}.utf8" <<<"$available" || missing+=("$name")
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Generating locales: ${missing[*]}"
    # Listed in /etc/locale.gen, so a later locale-gen keeps them.
    for name in "${missing[@]}"; do
        if grep -q "^# *${name} UTF-8\$" /etc/locale.gen 2>/dev/null; then
            "${sudo[@]}" sed -i "s/^# *\(${name} UTF-8\)\$/\1/" /etc/locale.gen
        elif ! grep -q "^${name} UTF-8\$" /etc/locale.gen 2>/dev/null; then
            echo "${name} UTF-8" | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
        fi
    done
    "${sudo[@]}" locale-gen
}

PROJECT_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# build_project [folder [cmake option...]]: configures and builds into PROJECT_ROOT/folder
# (default "build").
build_project() {
    local folder="${1:-build}"
    [ $# -gt 0 ] && shift
    cmake -S "$PROJECT_ROOT" -B "$PROJECT_ROOT/$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$PROJECT_ROOT/$folder" -j "$(nproc)"
}
