#!/usr/bin/env bash
# Builds the Debian package pellwerk_VERSION_amd64.deb from a release build of
# the two programs (build/package) and checks it with lintian.
#   bash scripts/package.sh        the package lands in build/package/
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/scripts/packages.sh"
ensure_packages "${RUNTIME_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
setup_ccache

BUILD="$ROOT/build/package"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELLWERK_TESTS=OFF >/dev/null
# Only what the package holds: the two programs and the compressed pages.
cmake --build "$BUILD" -j "${JOBS:-2}" --target pellwerk pellwerk-cli pellwerk_dist_docs
rm -f "$BUILD"/pellwerk_*.deb
(cd "$BUILD" && cpack -G DEB >/dev/null)
DEB="$(ls "$BUILD"/pellwerk_*_amd64.deb)"
echo "Paket: $DEB"
# Errors fail the script; warnings and notes are listed.
lintian --fail-on error --info "$DEB"
