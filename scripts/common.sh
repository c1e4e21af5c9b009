# Shared by run.sh and test.sh: installs the Debian packages the build needs when they are
# missing, then configures and builds the project in ./build.
set -euo pipefail

PACKAGES=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libbenchmark-dev
    libcurl4-openssl-dev
    dbus
    fonts-dejavu-core fonts-dejavu-extra
    xvfb xauth
    locales
    desktop-file-utils appstream lintian strace procps
)

# The page tests run once under each: a comma and a full stop as the decimal separator.
TEST_LOCALES=(ru_RU.UTF-8 en_US.UTF-8)

install_missing_packages() {
    local missing=()
    for package in "${PACKAGES[@]}"; do
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

build_project() {
    local root
    root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$root/build" -j "$(nproc)"
}
