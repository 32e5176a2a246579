#!/usr/bin/env bash
# Draws the workshop door of the Library (demo/Areas/workshop.png, 60 x 100,
# a 16-colour PNG under 1 KB) with ImageMagick: a wooden door with a brass
# gear and knob.
#
#   demo/art/make-workshop-art.sh   (needs ImageMagick 6 "convert")
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
out="$here/../Areas"
[ -d "$out" ] || { echo "make-workshop-art: $out is missing" >&2; exit 1; }
C="${CONVERT:-}"
if [ -z "$C" ]; then
  for candidate in /usr/bin/convert-im6.q16 /usr/bin/convert convert; do
    if "$candidate" -version 2>/dev/null | grep -q ImageMagick; then C="$candidate"; break; fi
  done
fi
[ -n "$C" ] || { echo "make-workshop-art: ImageMagick's convert is missing" >&2; exit 1; }

"$C" -size 60x100 xc:'#6b4a2b' -fill '#8a6238' -draw 'rectangle 6,6 53,93' \
  -fill none -stroke '#c9a227' -strokewidth 4 -draw 'circle 30,42 30,30' \
  -strokewidth 3 -draw 'line 30,24 30,60 line 12,42 48,42' \
  -stroke none -fill '#e0c060' -draw 'circle 46,62 46,59' \
  -depth 8 -colors 16 -strip "PNG8:$out/workshop.png"
ls -l "$out/workshop.png"
