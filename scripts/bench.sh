#!/usr/bin/env bash
# Builds the benchmarks in release mode and prints every figure.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/scripts/packages.sh"
ensure_packages "${RUNTIME_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
setup_ccache

BUILD="$ROOT/build/bench"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELLWERK_TESTS=OFF -DPELLWERK_BENCH=ON >/dev/null
cmake --build "$BUILD" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
status=0
for b in $(find "$BUILD/bench" -maxdepth 2 -type f -executable -name 'bench_*' | sort); do
  echo "== $(basename "$b")"
  if [ "$#" -gt 0 ]; then "$b" "$@" || status=1; else "$b" || status=1; fi
done
exit $status
