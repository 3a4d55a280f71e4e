#!/usr/bin/env bash
# The crash test at full size: trovik-scan archive on 2,000 files, killed
# with SIGKILL at random moments (20 runs), each followed by a check that
# every file is in its place or restorable from the archive with identical
# contents, and by a second run over what is left. CI runs the same test
# with 300 files and 5 kills (ctest -R delete_zipop_crash_test).
#
#   bench/zip_crash.sh [FILES] [RUNS]     (defaults: 2000 20)
#
# Environment: BUILD_DIR (default: build-bench, else build, else any build-*
# beside this folder's parent holding the test), TROVIK_CRASH_SEED to repeat
# the kill moments of an earlier run (the test prints the one it used).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=${BUILD_DIR:-}
if [ -z "$build" ]; then
  for b in "$root/build-bench" "$root/build" "$root"/build-*; do
    [ -x "$b/tests/delete/delete_zipop_crash_test" ] && { build=$b; break; }
  done
fi
test=${build:+$build/tests/delete/delete_zipop_crash_test}
if [ -z "$test" ] || [ ! -x "$test" ]; then
  echo "delete_zipop_crash_test not built; build it (and trovik-scan) and set BUILD_DIR" >&2
  exit 1
fi
TROVIK_CRASH_FILES=${1:-2000} TROVIK_CRASH_RUNS=${2:-20} QT_QPA_PLATFORM=offscreen "$test"
