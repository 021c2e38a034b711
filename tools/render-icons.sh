#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders every PNG of Ostrel's icon from the one drawing,
# packaging/org.ostrel.Ostrel.svg:
#   packaging/icons/NxN/org.ostrel.Ostrel.png  the desktop icons (32 to 256)
#   app/resources/ostrel.png                   the window icon, 32x32
#   app/resources/logo.png                     the About box logo, 64x64
# The PNGs are committed, so a build needs no SVG renderer; run this after
# changing the drawing.  Installs librsvg2-bin and imagemagick when missing.
set -euo pipefail
cd "$(dirname "$0")/.."

need=()
command -v rsvg-convert >/dev/null || need+=(librsvg2-bin)
[ -x /usr/bin/convert ] || need+=(imagemagick)
if [ ${#need[@]} -gt 0 ]; then
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  "${as_root[@]}" apt-get update
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${need[@]}"
fi

master=packaging/org.ostrel.Ostrel.svg
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# -strip leaves out the time stamps, so that an unchanged drawing renders to
# unchanged files.
for size in 32 64 128 256; do
  mkdir -p "packaging/icons/${size}x${size}"
  rsvg-convert -w "$size" -h "$size" "$master" -o "$work/icon.png"
  /usr/bin/convert "$work/icon.png" -strip "packaging/icons/${size}x${size}/org.ostrel.Ostrel.png"
done
cp "packaging/icons/32x32/org.ostrel.Ostrel.png" app/resources/ostrel.png

# The logo sits in a picture box of the About box and is stored without an
# alpha channel (24 bits per pixel), so it cannot have transparent corners:
# it is the tile as a full square, its clip grown to the whole drawing.
sed 's|<rect id="tile-shape"[^>]*/>|<rect id="tile-shape" width="32" height="32"/>|' \
  "$master" >"$work/square.svg"
grep -q '<rect id="tile-shape" width="32" height="32"/>' "$work/square.svg" ||
  { echo "render-icons: the clip of $master was not found" >&2; exit 1; }
rsvg-convert -w 64 -h 64 "$work/square.svg" -o "$work/logo.png"
/usr/bin/convert "$work/logo.png" -strip -background white -alpha remove -alpha off \
  -define png:color-type=2 -define png:bit-depth=8 app/resources/logo.png

file packaging/icons/*/org.ostrel.Ostrel.png app/resources/ostrel.png app/resources/logo.png
