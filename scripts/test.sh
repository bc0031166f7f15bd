#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite.
#   scripts/test.sh                  normal build in build/
#   scripts/test.sh asan             AddressSanitizer + UndefinedBehaviorSanitizer in build-asan/
#   scripts/test.sh tsan             ThreadSanitizer in build-tsan/, tests labelled "threaded"
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

mode=${1:-normal}
jobs=$(nproc)
case "$mode" in
  normal) dir=build; extra=(); select=(); targets=() ;;
  asan) dir=build-asan; extra=(-DPROJECT_SANITIZE=address,undefined -DCMAKE_BUILD_TYPE=Debug -DPROJECT_BENCHMARKS=OFF); select=(); targets=() ;;
  # Only the threaded tests run under ThreadSanitizer, so only they are built.
  tsan) dir=build-tsan; extra=(-DPROJECT_SANITIZE=thread -DCMAKE_BUILD_TYPE=Debug -DPROJECT_BENCHMARKS=OFF); select=(-L threaded); targets=(--target threaded_tests) ;;
  *) echo "usage: scripts/test.sh [normal|asan|tsan]" >&2; exit 2 ;;
esac

cmake -S . -B "$dir" -G Ninja -DCI_WERROR=ON "${extra[@]}" >/dev/null
cmake --build "$dir" -j "$jobs" "${targets[@]}"
supp="$PWD/scripts/sanitizers"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$supp/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$supp/tsan.supp
ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 600 "${select[@]}"
