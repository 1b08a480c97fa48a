#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in a build folder of
# its own (build-san, or $TOLMAR_SANITIZE_DIR) and runs every test there. Any sanitizer report
# fails the test that caused it. Extra arguments go to ctest (for example -R model_tests).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${TOLMAR_SANITIZE_DIR:-$here/build-san}
jobs=${TOLMAR_JOBS:-$(nproc)}
"$here/scripts/deps.sh"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" -DTOLMAR_SANITIZE=ON
fi
cmake --build "$build" -j "$jobs"
cd "$build"
# Stop at the first report, with the stack of where it came from.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_stack_use_after_return=1:strict_init_order=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --output-on-failure -j "$jobs" "$@"
