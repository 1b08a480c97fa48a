#!/usr/bin/env bash
# Configures and builds into build/ (or $TOLMAR_BUILD_DIR).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/deps.sh"
build=${TOLMAR_BUILD_DIR:-$here/build}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${TOLMAR_BUILD_TYPE:-Debug} \
    -DCMAKE_CXX_FLAGS_DEBUG="-O0 -g1" "$@"
fi
cmake --build "$build" -j "$(nproc)"
