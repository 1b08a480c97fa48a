#!/usr/bin/env bash
# Builds the program and starts it; an argument is the data file to open.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/build.sh"
exec "${TOLMAR_BUILD_DIR:-$here/build}/bin/tolmar" "$@"
