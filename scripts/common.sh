# Shared by run.sh, test.sh and .ci/run: installs the Debian packages the build needs when they
# are missing, then configures and builds the project in ./build (or another folder).
set -euo pipefail

PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-svg-dev
    qt6-translations-l10n
    libbenchmark-dev
    libcurl4-openssl-dev libssl-dev openssl
    libgmp-dev libmpfr-dev
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

# as_root <why> <command...>: runs the command as root, through sudo when this is not root.
# Without sudo it says what to do instead and stops the script.
as_root() {
    local why=$1
    shift
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo > /dev/null 2>&1; then
        sudo "$@"
    else
        local script="./$(basename "$0")"
        cat >&2 << EOF
$why needs root, and sudo is not installed.
Either run $script as root once, or install sudo and allow yourself to use it, as root:
    su -c 'apt-get install sudo && adduser $(id -un) sudo'
then log in again and run $script once more.
EOF
        exit 1
    fi
}

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

    local why="Installing the missing packages"
    echo "Installing: ${missing[*]}"
    # sudo starts commands with a clean environment, so the variable goes through env: without
    # it, apt may stop and ask questions.
    as_root "$why" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    as_root "$why" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
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

    local why="Generating the missing locales"
    echo "Generating locales: ${missing[*]}"
    # Listed in /etc/locale.gen, so a later locale-gen keeps them.
    for name in "${missing[@]}"; do
        if grep -q "^# *${name} UTF-8\$" /etc/locale.gen 2>/dev/null; then
            as_root "$why" sed -i "s/^# *\(${name} UTF-8\)\$/\1/" /etc/locale.gen
        elif ! grep -q "^${name} UTF-8\$" /etc/locale.gen 2>/dev/null; then
            echo "${name} UTF-8" | as_root "$why" tee -a /etc/locale.gen >/dev/null
        fi
    done
    as_root "$why" locale-gen
}

PROJECT_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# configure_project <folder> [cmake option...]: configures PROJECT_ROOT/<folder> unless that is
# done already; afterwards the build itself re-runs the configuration when a CMakeLists.txt
# changes. A new folder is configured for Ninja (or for the generator CMAKE_GENERATOR names); a
# folder configured earlier keeps its generator, so it is never built over from scratch.
configure_project() {
    local folder="$PROJECT_ROOT/$1"
    shift
    if [ -f "$folder/CMakeCache.txt" ]; then
        [ -f "$folder/build.ninja" ] && return 0
        # Make knows only the targets of its last configuration, and a target named on its
        # command line is looked for before the build would configure again: refresh it.
        if [ -f "$folder/Makefile" ]; then
            cmake "$folder" >/dev/null
            return
        fi
    elif [ -z "${CMAKE_GENERATOR:-}" ]; then
        set -- -G Ninja "$@"
    fi
    cmake -S "$PROJECT_ROOT" -B "$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
}

# build_targets <folder> [target...]: builds the targets (all when none are named) in
# PROJECT_ROOT/<folder>. It prints only what it does: a build with nothing to do is silent.
build_targets() {
    local folder="$PROJECT_ROOT/$1"
    shift
    local targets=()
    [ $# -gt 0 ] && targets=(--target "$@")
    # What Ninja prints when it finds nothing to do (the check of the folders CMake globs, "no
    # work to do"), and the lines Make prints for every target even when it is up to date. The
    # "|| true": grep fails when it lets no line through; the build's status counts.
    cmake --build "$folder" -j "$(nproc)" "${targets[@]}" |
        { grep --line-buffered -v -E \
            -e '^ninja: no work to do\.$' \
            -e '^\[0/[0-9]+\] Re-checking globbed directories\.\.\.$' \
            -e '^\[ *[0-9]+%\] (Built target|Automatic MOC and UIC for target) ' \
            -e '^Consolidate compiler generated dependencies of target ' || true; }
}

# build_project [folder [cmake option...]]: configures (when needed) and builds everything in
# PROJECT_ROOT/folder (default "build").
build_project() {
    local folder="${1:-build}"
    [ $# -gt 0 ] && shift
    configure_project "$folder" "$@"
    build_targets "$folder"
}
