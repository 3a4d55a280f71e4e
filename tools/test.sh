#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite headless.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/tools/deps.sh"
"$here/tools/build.sh"
export QT_QPA_PLATFORM=offscreen
cd "${TROVIK_BUILD_DIR:-$here/build}"
ctest --output-on-failure -j"$(nproc)" --timeout 300
