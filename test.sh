#!/usr/bin/env bash
# Builds Velmora and runs every test.
source "$(dirname "$0")/scripts/common.sh"
install_missing_packages
install_missing_locales
build_project
cd "$(dirname "$0")/build"
exec ctest --output-on-failure -j "$(nproc)"
