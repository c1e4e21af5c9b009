#!/usr/bin/env bash
# Builds Velmora and runs every test.
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

install_missing_packages
install_missing_locales
hand_back_to_owner
configure_project "$folder" "${options[@]}"
build_targets "$folder" "${targets[@]}"
cd "$PROJECT_ROOT/$folder"
exec ctest --output-on-failure -j "$(nproc)" "${tests[@]}"
