#!/usr/bin/env bash
# Configures and builds into ./build (or $TROVIK_BUILD_DIR), as a Release
# build unless $TROVIK_BUILD_TYPE names another (RelWithDebInfo to debug).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${TROVIK_BUILD_DIR:-$here/build}
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE="${TROVIK_BUILD_TYPE:-Release}" >/dev/null
cmake --build "$build" -j"$(nproc)"
