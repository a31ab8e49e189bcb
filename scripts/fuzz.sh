#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz with clang and libFuzzer (build/fuzz,
# AddressSanitizer + UndefinedBehaviorSanitizer) and runs each one for the
# given time, one after the other.
#   bash scripts/fuzz.sh          60 seconds per target
#   bash scripts/fuzz.sh 10       10 seconds per target
#   bash scripts/fuzz.sh 60 png   only the named targets
# New interesting inputs go to build/fuzz/corpus/<name>/ (the corpus in the
# repository is read, never written); a crash or a broken property leaves its
# input in build/fuzz/findings/<name>/. Copy such an input into
# tests/fuzz/corpus/<name>/ together with the fix, so that the replay tests of
# scripts/test.sh keep it fixed.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/scripts/packages.sh"
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
ensure_packages "${RUNTIME_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"
setup_ccache

SECONDS_EACH="${1:-60}"
shift || true
BUILD="$ROOT/build/fuzz"
CORPORA="$ROOT/tests/fuzz/corpus"
JOBS="$(nproc)"

if [ $# -gt 0 ]; then
  NAMES=("$@")
else
  NAMES=()
  for d in "$CORPORA"/*/; do NAMES+=("$(basename "$d")"); done
fi

cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DPELLWERK_FUZZ=ON -DPELLWERK_TESTS=OFF >/dev/null
TARGETS=()
for n in "${NAMES[@]}"; do TARGETS+=("fuzz_$n"); done
cmake --build "$BUILD" -j "$JOBS" --target "${TARGETS[@]}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=0"
export LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export HOME="$BUILD/home"
mkdir -p "$HOME"

SUMMARY=()
FAILED=0
for n in "${NAMES[@]}"; do
  work="$BUILD/corpus/$n"
  findings="$BUILD/findings/$n"
  log="$BUILD/logs/$n.log"
  mkdir -p "$work" "$findings" "$(dirname "$log")"
  echo "== fuzz_$n: ${SECONDS_EACH} s"
  dict=()
  if [ -f "$ROOT/tests/fuzz/$n.dict" ]; then dict=(-dict="$ROOT/tests/fuzz/$n.dict"); fi
  set +e
  "$BUILD/tests/fuzz/fuzz_$n" -max_total_time="$SECONDS_EACH" -timeout=25 -rss_limit_mb=2560 \
    -print_final_stats=1 -artifact_prefix="$findings/" "${dict[@]}" "$work" "$CORPORA/$n" >"$log" 2>&1
  rc=$?
  set -e
  execs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)"
  if [ $rc -eq 0 ]; then
    SUMMARY+=("fuzz_$n: ${execs:-?} Ausführungen, keine Funde")
  else
    FAILED=1
    SUMMARY+=("fuzz_$n: ${execs:-?} Ausführungen, FUND (Exit $rc) – siehe $log und $findings/")
    grep -E '^(==[0-9]+==ERROR|SUMMARY:|fuzz property broken|.*runtime error:)' "$log" | head -5 || true
  fi
done

echo
printf '%s\n' "${SUMMARY[@]}"
exit $FAILED
