#!/usr/bin/env bash
# Builds Velmora and runs every test. With CI set in the environment, warnings are errors.
#   --sanitize          with AddressSanitizer and UndefinedBehaviorSanitizer, in build-sanitize
#   --sanitize=thread   with ThreadSanitizer, in build-tsan: only the tests labelled "threads",
#                       and only what they need is built
source "$(dirname "$0")/scripts/common.sh"

folder=build
options=()
targets=()
tests=()
case "${1:-}" in
"") ;;
--sanitize | --sanitize=address)
    folder=build-sanitize
    options=(-DVELMORA_SANITIZE=address,undefined)
    ;;
--sanitize=thread)
    folder=build-tsan
    options=(-DVELMORA_SANITIZE=thread)
    targets=(thread-tests)
    tests=(-L threads)
    ;;
*)
    echo "usage: $0 [--sanitize | --sanitize=thread]" >&2
    exit 2
    ;;
esac

# CI (the variable CI set, as CI services and .ci/run set it) builds with warnings as errors; a
# folder configured before without them gets them now.
if [ -n "${CI:-}" ]; then
    options+=(-DVELMORA_WERROR=ON)
fi

install_missing_packages
install_missing_locales
hand_back_to_owner
configure_project "$folder" "${options[@]}"
if [ -n "${CI:-}" ] && ! grep -qx 'VELMORA_WERROR:BOOL=ON' "$PROJECT_ROOT/$folder/CMakeCache.txt"; then
    cmake "$PROJECT_ROOT/$folder" -DVELMORA_WERROR=ON >/dev/null
fi
build_targets "$folder" "${targets[@]}"
cd "$PROJECT_ROOT/$folder"
exec ctest --output-on-failure -j "$(nproc)" "${tests[@]}"
