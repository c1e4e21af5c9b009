#!/usr/bin/env bash
# Builds Velmora and starts it; where there is no screen, on a virtual display, and says so.
source "$(dirname "$0")/scripts/common.sh"
install_missing_packages "${PROGRAM_PACKAGES[@]}"
hand_back_to_owner
configure_project build
# The program and the help program it starts; the tests and benchmarks wait for ./test.sh.
build_targets build velmora velmora-help
program="$PROJECT_ROOT/build/app/velmora"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$program"
fi

# The virtual display lets in only clients that hold its key, kept here for the user.
key="$PROJECT_ROOT/build/virtual-display.key"
# shellcheck disable=SC2016 # expanded by the shell that xvfb-run starts
exec xvfb-run -a -f "$key" -s "-screen 0 1024x768x24" bash -c '
    echo "There is no display here: Velmora runs on the virtual display $DISPLAY, which no"
    echo "screen shows. To see it, take a picture of it (import is in the imagemagick package):"
    echo "    XAUTHORITY=$1 DISPLAY=$DISPLAY import -window root $2/velmora.png"
    echo "Ctrl+C ends Velmora."
    exec "$0"' "$program" "$key" "$PROJECT_ROOT/build"
