#!/usr/bin/env bash
# Redraws the logo pictures in app/resources/ (the committed PNG files and the
# multi-size icon). Needs a configured build folder and ImageMagick's convert.
#   bash app/resources/tools/make_logo.sh [build-folder]
set -euo pipefail
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ROOT="$(cd "$HERE/../.." && pwd)"
BUILD="${1:-$ROOT/build/logo}"
[ -f "$BUILD/build.ninja" ] || cmake -S "$ROOT" -B "$BUILD" -G Ninja -DPELLWERK_TESTS=OFF >/dev/null
cmake --build "$BUILD" --target pellwerk_make_logo
QT_QPA_PLATFORM=offscreen "$BUILD/app/resources/pellwerk_make_logo" "$HERE"
convert "$HERE"/icons/pellwerk_{16,24,32,48,64,128}.png "$HERE/pellwerk.ico"
