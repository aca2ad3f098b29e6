#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Remakes the launcher icons from the window's icon: the scalable SVG, then
# the PNGs of each size from the SVG. Needs a build folder (for the
# kelimbo-icon-svg program) and rsvg-convert (Debian package librsvg2-bin).
#   packaging/make-icons.sh BUILD_FOLDER
set -euo pipefail
build=${1:?usage: make-icons.sh BUILD_FOLDER}
here=$(cd "$(dirname "$0")" && pwd)
id=org.kelimbo.Kelimbo

cmake --build "$build" --target kelimbo-icon-svg
"$build/packaging/kelimbo-icon-svg" >"$here/icons/$id.svg"
for size in 48 64 128 256; do
    mkdir -p "$here/icons/$size"
    rsvg-convert --width "$size" --height "$size" --output "$here/icons/$size/$id.png" \
        "$here/icons/$id.svg"
done
