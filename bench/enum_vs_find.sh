#!/usr/bin/env bash
# Times a full walk of a synthetic tree by the finders' walk (enumbench)
# against find printing size and mtime of every entry, on a warm cache.
# Prints the median of several runs of each and their ratio.
#
#   bench/enum_vs_find.sh [FILES] [RUNS]
#
# Environment: BUILD_DIR (default: build-platform, else build, beside this
# folder's parent), TREE_DIR (default: a folder under /tmp, kept between
# runs so the tree is built once per file count), SEED (default 1).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
files=${1:-200000}
runs=${2:-5}
seed=${SEED:-1}

build=${BUILD_DIR:-}
if [ -z "$build" ]; then
  for b in "$root/build-platform" "$root/build"; do
    [ -x "$b/bench/enumbench" ] && { build=$b; break; }
  done
fi
enumbench=${build:+$build/bench/enumbench}
if [ -z "$enumbench" ] || [ ! -x "$enumbench" ]; then
  echo "enumbench not built; build the 'enumbench' target and set BUILD_DIR" >&2
  exit 1
fi

tree=${TREE_DIR:-/tmp/trovik-bench-tree-$files-$seed}
if [ ! -f "$tree.done" ]; then
  rm -rf "$tree"
  python3 "$here/gentree.py" --files "$files" --seed "$seed" "$tree"
  touch "$tree.done"
fi

export TROVIK_DRIVES="C=$tree"

# Wall time of one command in seconds, output thrown away.
timeit() {
  local t0 t1
  t0=$(date +%s.%N)
  "$@" > /dev/null
  t1=$(date +%s.%N)
  awk -v a="$t1" -v b="$t0" 'BEGIN { printf "%.6f\n", a - b }'
}

median() {
  sort -g | awk '{ a[NR] = $1 } END { if (NR % 2) print a[(NR + 1) / 2]; else print (a[NR / 2] + a[NR / 2 + 1]) / 2 }'
}

# The two must see the same files.
expected=$(find "$tree" -type f | wc -l)
got=$("$enumbench" 'C:\' | awk '{ print $2 }')
if [ "$expected" != "$got" ]; then
  echo "file counts differ: find $expected, enumbench $got" >&2
  exit 1
fi

# Warm the cache with one untimed run of each.
find "$tree" -printf '%s %T@\n' > /dev/null
"$enumbench" 'C:\' > /dev/null

enum_times=()
find_times=()
for ((i = 0; i < runs; i++)); do
  enum_times+=("$(timeit "$enumbench" 'C:\')")
  find_times+=("$(timeit find "$tree" -printf '%s %T@\n')")
done
enum_median=$(printf '%s\n' "${enum_times[@]}" | median)
find_median=$(printf '%s\n' "${find_times[@]}" | median)
ratio=$(awk -v a="$enum_median" -v b="$find_median" 'BEGIN { printf "%.6f\n", a / b }')

printf 'tree:       %s (%s files)\n' "$tree" "$files"
printf 'enumbench:  %s\n' "${enum_times[*]}"
printf 'find:       %s\n' "${find_times[*]}"
printf 'median:     enumbench %.3f s, find %.3f s\n' "$enum_median" "$find_median"
printf 'ratio:      %.3f (goal: no more than 1.2)\n' "$ratio"
