#!/usr/bin/env bash
# Builds Tovrik from scratch and runs every test. With --sanitize, the build
# and the tests run under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"

build_dir=build
sanitize=OFF
if [[ "${1:-}" == "--sanitize" ]]; then
  build_dir=build-sanitize
  sanitize=ON
fi

bash tools/setup-machine.sh
cmake -S . -B "$build_dir" -G Ninja -DTOVRIK_SANITIZE=$sanitize -DTOVRIK_BENCH=$([[ $sanitize == ON ]] && echo OFF || echo ON)
cmake --build "$build_dir" -j2
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$PWD/.ci/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build_dir" --output-on-failure -j2
