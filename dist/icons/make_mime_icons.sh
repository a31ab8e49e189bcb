#!/usr/bin/env bash
# Redraws the committed PNG sizes of the label file icon from its SVG.
# Needs rsvg-convert (Debian: librsvg2-bin); the build itself never runs it.
set -euo pipefail
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" "$HERE/application-x-pellwerk.svg" -o "$HERE/application-x-pellwerk_$size.png"
done
