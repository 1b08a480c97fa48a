#!/usr/bin/env bash
# Builds everything and runs every test.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/build.sh"
cd "${TOLMAR_BUILD_DIR:-$here/build}"
ctest --output-on-failure -j "$(nproc)" "$@"
