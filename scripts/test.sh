#!/usr/bin/env bash
# Installs what is missing, builds the sanitizer test build and runs the suite headless.
#   bash scripts/test.sh          AddressSanitizer + UndefinedBehaviorSanitizer (build/test)
#   PELLWERK_TSAN=1 bash scripts/test.sh   ThreadSanitizer on the printer link and backend tests (build/tsan)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/scripts/packages.sh"
ensure_packages "${RUNTIME_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
setup_ccache

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=0"
export LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
JOBS="$(nproc)"

if [ "${PELLWERK_TSAN:-0}" = "1" ]; then
  BUILD="$ROOT/build/tsan"
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELLWERK_TSAN=ON >/dev/null
  cmake --build "$BUILD" -j "$JOBS"
  export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"
  cd "$BUILD" && exec ctest --output-on-failure -j "$JOBS" -L link
fi

BUILD="$ROOT/build/test"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPELLWERK_SANITIZE=ON >/dev/null
cmake --build "$BUILD" -j "$JOBS"
cd "$BUILD"
ctest --output-on-failure -j "$JOBS"
