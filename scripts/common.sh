# Shared by run.sh, test.sh and .ci/run: installs the Debian packages the build needs when they
# are missing, then configures and builds the project in ./build (or another folder).
set -euo pipefail

# What the program needs to build and run (run.sh); xvfb for a machine without a screen.
PROGRAM_PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev libxkbcommon-dev qt6-svg-dev
    qt6-translations-l10n
    libcurl4-openssl-dev libssl-dev openssl
    libgmp-dev libmpfr-dev
    libfontconfig-dev
    fonts-dejavu-core fonts-dejavu-extra
    xvfb xauth
)
# What the tests and benchmarks need besides (test.sh): a session bus for the launcher entry,
# the locales, the package and metadata checks, the tracing of the install test.
TEST_PACKAGES=(
    libbenchmark-dev
    dbus
    locales
    desktop-file-utils appstream lintian strace procps
)
PACKAGES=("${PROGRAM_PACKAGES[@]}" "${TEST_PACKAGES[@]}")

# The locales the tests run under: the page tests under a comma (ru) and a full stop (en) as the
# decimal separator, velmora-cli under all three languages' locales.
TEST_LOCALES=(ru_RU.UTF-8 en_US.UTF-8 uk_UA.UTF-8)

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
Either run $script as root once (it installs what is missing, then asks you to run it again as
$(id -un)), or install sudo and allow yourself to use it, as root:
    su -c 'apt-get update && apt-get install sudo && adduser $(id -un) sudo'
then log in again and run $script once more.
EOF
        exit 1
    fi
}

# install_missing_packages [package...]: the given packages, or all of PACKAGES.
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
    # apt and dpkg talk at length even when asked to be quiet (some 2,000 lines on a fresh
    # machine): their words go to a log, and the user reads a summary.
    local log
    log="$(mktemp "${TMPDIR:-/tmp}/velmora-apt.XXXXXX")"
    echo "Installing ${#missing[@]} missing packages: ${missing[*]}"
    echo "(apt's output goes to $log)"
    # Asked first, where the user sees it: sudo's password, or what to do without sudo.
    as_root "$why" true
    # sudo starts commands with a clean environment, so the variable goes through env: without
    # it, apt may stop and ask questions.
    if ! as_root "$why" env DEBIAN_FRONTEND=noninteractive apt-get update -qq >> "$log" 2>&1 ||
        ! as_root "$why" env DEBIAN_FRONTEND=noninteractive \
            apt-get install -y -qq "${missing[@]}" >> "$log" 2>&1; then
        tail -n 20 "$log" >&2
        echo "Installing the packages failed; all of apt's output is in $log." >&2
        exit 1
    fi
    echo "Done: $(grep -c '^Setting up ' "$log" || true) package(s) set up, the ones asked for" \
        "and what they need."
}

# hand_back_to_owner: when root runs a script in a tree that belongs to someone else, it stops
# after the packages and locales, and tells to run it again as the owner: a build folder made by
# root would be root's, and the owner's next build could neither write nor delete it.
hand_back_to_owner() {
    [ "$(id -u)" -eq 0 ] || return 0
    local owner
    owner="$(stat -c %U "$PROJECT_ROOT")"
    [ "$owner" != root ] || return 0
    echo "The packages and locales are in place. Now run ./$(basename "$0") as $owner (not as" \
        "root), so that the build folder belongs to $owner:"
    echo "    su - $owner    # or log in as $owner, then in $PROJECT_ROOT: ./$(basename "$0")"
    exit 0
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

