#!/usr/bin/env bash
# Times the deletion panel's zip operation (trovik-scan archive: zip, make
# each batch durable and verified, then delete the sources) against
# `zip -q` on the same files, and checks that the time per file does not
# grow with the number of files.
#
#   bench/zip_vs_zip.sh [FILES] [BIG_FILES] [RUNS]     (defaults: 5000 20000 3)
#
# FILES files of 20 KB of mixed, compressible text (bench/genzipfiles.py) in
# sub-folders of 500. Each run copies them fresh onto a temporary drive
# (TROVIK_DRIVES), since the archive run deletes them, then times
#   zip -q ARCHIVE -@ < list        (stores the same relative paths)
#   trovik-scan archive --force --folder Z: --tag Bench FILE...
# both writing to the same file system. Prints the median of RUNS runs of
# each and their ratio (goal: at most 2), then the median time per file for
# FILES and for BIG_FILES files (goal: no growth).
#
# Environment: BUILD_DIR (default: build-bench, else build, else any
# build-* beside this folder's parent holding trovik-scan), WORK_DIR (default:
# a folder under /tmp, removed at the end).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
files=${1:-5000}
bigfiles=${2:-20000}
runs=${3:-3}

command -v zip > /dev/null || { echo "zip is missing (apt-get install zip)" >&2; exit 1; }
build=${BUILD_DIR:-}
if [ -z "$build" ]; then
  for b in "$root/build-bench" "$root/build" "$root"/build-*; do
    [ -x "$b/src/cli/trovik-scan" ] && { build=$b; break; }
  done
fi
scan=${build:+$build/src/cli/trovik-scan}
if [ -z "$scan" ] || [ ! -x "$scan" ]; then
  echo "trovik-scan not built; build the 'trovik-scan' target and set BUILD_DIR" >&2
  exit 1
fi

work=${WORK_DIR:-$(mktemp -d /tmp/trovik-zipbench.XXXXXX)}
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/config" "$work/program"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" TROVIK_HOME="$work/program"
export TROVIK_DRIVES="C=$work/drive_c;Z=$work/drive_z"

now() { date +%s.%N; }
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# One set of runs on COUNT files: prints "zip_median trovik_median".
bench() {
  local count=$1 source="$work/source-$1"
  python3 "$here/genzipfiles.py" "$source" "$count"
  (cd "$source" && find . -type f | sed 's|^\./||' | sort) > "$work/list"
  local zt=() tt=()
  for ((r = 1; r <= runs; r++)); do
    rm -rf "$work/drive_c" "$work/drive_z" && mkdir -p "$work/drive_z"
    cp -r "$source" "$work/drive_c"
    sync
    local t0 t1
    t0=$(now)
    (cd "$work/drive_c" && zip -q "$work/drive_z/zip-$r.zip" -@ < "$work/list")
    t1=$(now)
    zt+=("$(echo "$t1 - $t0" | bc -l)")

    mapfile -t args < <(sed 's|/|\\|g; s|^|C:\\|' "$work/list")
    sync
    t0=$(now)
    "$scan" archive --force --folder 'Z:\' --tag Bench "${args[@]}" > /dev/null
    t1=$(now)
    tt+=("$(echo "$t1 - $t0" | bc -l)")
    left=$(find "$work/drive_c" -type f | wc -l)
    [ "$left" = 0 ] || { echo "trovik-scan left $left files" >&2; exit 1; }
    rm -f "$work"/drive_z/*
  done
  rm -rf "$source"
  echo "$(printf '%s\n' "${zt[@]}" | median) $(printf '%s\n' "${tt[@]}" | median)"
}

read -r zip_small scan_small < <(bench "$files")
printf 'files %d x 20 KB, median of %d runs: zip -q %.2f s, trovik-scan archive %.2f s, ratio %.2f (goal <= 2)\n' \
  "$files" "$runs" "$zip_small" "$scan_small" "$(echo "$scan_small / $zip_small" | bc -l)"
if [ "$bigfiles" -gt 0 ]; then
  read -r zip_big scan_big < <(bench "$bigfiles")
  printf 'files %d x 20 KB, median of %d runs: zip -q %.2f s, trovik-scan archive %.2f s, ratio %.2f\n' \
    "$bigfiles" "$runs" "$zip_big" "$scan_big" "$(echo "$scan_big / $zip_big" | bc -l)"
  small_pf=$(echo "$scan_small * 1000000 / $files" | bc -l)
  big_pf=$(echo "$scan_big * 1000000 / $bigfiles" | bc -l)
  printf 'trovik-scan per file: %.0f us at %d files, %.0f us at %d files, growth %.2f (goal: about 1)\n' \
    "$small_pf" "$files" "$big_pf" "$bigfiles" "$(echo "$big_pf / $small_pf" | bc -l)"
fi
