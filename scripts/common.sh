# Shared by run.sh, test.sh and .ci/run: installs the Debian packages the build needs when they
# are missing, then configures and builds the project in ./build (or another folder).
set -euo pipefail

PACKAGES=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libbenchmark-dev
    fonts-dejavu-core fonts-dejavu-extra
    xvfb xauth
)

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

PROJECT_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# build_project [folder [cmake option...]]: configures and builds into PROJECT_ROOT/folder
# (default "build").
build_project() {
    local folder="${1:-build}"
    [ $# -gt 0 ] && shift
    cmake -S "$PROJECT_ROOT" -B "$PROJECT_ROOT/$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$PROJECT_ROOT/$folder" -j "$(nproc)"
}
