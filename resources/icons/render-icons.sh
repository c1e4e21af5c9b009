#!/usr/bin/env bash
# Renders the program's icon from its SVG into the hicolor PNG sizes the desktop asks for.
# Run by hand after changing the SVG (needs rsvg-convert, Debian package librsvg2-bin); the
# PNGs are kept in the repository so a build needs no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")/hicolor"
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" scalable/apps/velmora.svg -o "${size}x${size}/apps/velmora.png"
done
