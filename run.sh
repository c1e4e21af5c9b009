#!/usr/bin/env bash
# Builds Velmora and starts it (under a virtual display when there is no screen).
source "$(dirname "$0")/scripts/common.sh"
install_missing_packages
build_project
cd "$(dirname "$0")"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec ./build/app/velmora
else
    exec xvfb-run -a ./build/app/velmora
fi
