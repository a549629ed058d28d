#!/bin/sh
# Renders the program's icon, packaging/tintora.svg, into the PNG sizes that the
# desktop entry and the Debian package ship (packaging/icons/NxN.png) with
# rsvg-convert (Debian package librsvg2-bin); the build puts the same PNGs into
# the program for its windows. The PNGs are committed, so building does not
# need the tool; run this script after changing the icon.
set -eu
cd "$(dirname "$0")/../packaging"
if ! command -v rsvg-convert >/dev/null 2>&1; then
    echo "rsvg-convert not found: install the Debian package librsvg2-bin" >&2
    exit 1
fi
mkdir -p icons
for size in 16 22 24 32 48 64 128 256 512; do
    rsvg-convert --width "$size" --height "$size" --output "icons/${size}x${size}.png" tintora.svg
done
echo "wrote packaging/icons/*.png"
