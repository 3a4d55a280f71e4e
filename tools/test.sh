#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite headless.
#
#   tools/test.sh              the normal build in ./build (what CI runs)
#   tools/test.sh --sanitize   AddressSanitizer (leaks included) and
#                              UndefinedBehaviorSanitizer, built into
#                              ./build-asan; any finding fails its test
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
sanitize=0
for arg in "$@"; do
  case "$arg" in
    --sanitize) sanitize=1 ;;
    *) echo "usage: $0 [--sanitize]" >&2; exit 2 ;;
  esac
done
"$here/tools/deps.sh"
export QT_QPA_PLATFORM=offscreen
jobs=${TROVIK_JOBS:-$(nproc)}
if [ "$sanitize" -eq 1 ]; then
  build=${TROVIK_BUILD_DIR:-$here/build-asan}
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # -O1 keeps the instrumented suite fast enough while leaving stacks exact.
  flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
  cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DCMAKE_CXX_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" \
    "${launcher[@]}" >/dev/null
  cmake --build "$build" -j"$jobs"
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1
  export LSAN_OPTIONS="suppressions=$here/tools/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  cd "$build"
  # The instrumented tests run several times slower.
  ctest --output-on-failure -j"$jobs" --timeout 900
else
  "$here/tools/build.sh"
  cd "${TROVIK_BUILD_DIR:-$here/build}"
  ctest --output-on-failure -j"$jobs" --timeout 300
fi
