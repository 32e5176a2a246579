#!/usr/bin/env bash
# Renders the application icon at the usual hicolor sizes from quillmere.svg
# (needs rsvg-convert from librsvg2-bin). The PNGs are kept in the repository,
# so building needs neither tool; run this again after editing the drawing.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" quillmere.svg -o "quillmere-$size.png"
done
# Smaller files: metadata stripped, best compression, where ImageMagick is there.
if command -v convert >/dev/null 2>&1; then
  for f in quillmere-*.png; do
    convert "$f" -strip -define png:compression-level=9 "PNG32:$f"
  done
fi
ls -l quillmere-*.png
