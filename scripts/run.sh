#!/usr/bin/env bash
# Installs what is missing, builds the release build and starts the editor.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/scripts/packages.sh"
ensure_packages "${RUNTIME_PACKAGES[@]}"
setup_ccache

BUILD="$ROOT/build/release"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELLWERK_TESTS=OFF >/dev/null
cmake --build "$BUILD" --target pellwerk

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "MIRVO Pellwerk braucht eine grafische Oberfläche: es ist kein Bildschirm (DISPLAY oder WAYLAND_DISPLAY) gesetzt." >&2
  exit 1
fi
exec "$BUILD/app/pellwerk"
