#!/usr/bin/env bash
# Times "trovik-scan dates --modified --before D" on a synthetic tree with
# seeded file times against find doing the same: one file system, hidden
# folders and files left out, regular files modified on or before D, printing
# the name, the three times, the size and the folder. Two days D: one that
# about 10 % of the files match and one that all of them match. Warm cache;
# medians of several runs, their ratio, and trovik-scan's peak memory per
# listed row beyond that of a search that lists nothing.
#
#   bench/dates_vs_find.sh [FILES] [RUNS]
#
# Environment: BUILD_DIR (default: build beside this folder's parent),
# TREE_DIR (default: a folder under /tmp, kept between runs), SEED (default 1).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
files=${1:-200000}
runs=${2:-5}
seed=${SEED:-1}

scan=${BUILD_DIR:-$root/build}/src/cli/trovik-scan
if [ ! -x "$scan" ]; then
  echo "trovik-scan not built; build the 'trovik-scan' target and set BUILD_DIR" >&2
  exit 1
fi

tree=${TREE_DIR:-/tmp/trovik-bench-dated-$files-$seed}
if [ ! -f "$tree.done" ]; then
  rm -rf "$tree"
  python3 "$here/gentree.py" --files "$files" --seed "$seed" --spread-times "$tree"
  touch "$tree.done"
fi
export TROVIK_DRIVES="C=$tree"

timeit() {
  local t0 t1
  t0=$(date +%s.%N)
  "$@" > /dev/null || true
  t1=$(date +%s.%N)
  awk -v a="$t1" -v b="$t0" 'BEGIN { printf "%.6f\n", a - b }'
}

median() {
  sort -g | awk '{ a[NR] = $1 } END { if (NR % 2) print a[(NR + 1) / 2]; else print (a[NR / 2] + a[NR / 2 + 1]) / 2 }'
}

finddates() {
  find "$tree" -xdev -mindepth 1 -name '.*' -prune -o -type f ! -newermt "$1 23:59:59.999999999" \
    -printf '%f\t%A+\t%C+\t%T+\t%s\t%h\n'
}

peak_kb() {
  /usr/bin/time -f '%M' "$@" 2>&1 > /dev/null | tail -1
}

# gentree.py --spread-times gives write times over the six years before
# 2025-01-01: about a tenth fall before August 2019, all of them before 2025.
for day in 2019-07-31 2024-12-31; do
  rows=$("$scan" dates --modified --before "$day" 'C:\' | tail -n +2 | wc -l)
  found=$(finddates "$day" | wc -l)
  if [ "$rows" != "$found" ]; then
    echo "row counts differ for $day: trovik-scan $rows, find $found" >&2
    exit 1
  fi
  scan_times=()
  find_times=()
  for ((i = 0; i < runs; i++)); do
    scan_times+=("$(timeit "$scan" dates --modified --before "$day" 'C:\')")
    find_times+=("$(timeit finddates "$day")")
  done
  s=$(printf '%s\n' "${scan_times[@]}" | median)
  f=$(printf '%s\n' "${find_times[@]}" | median)
  printf 'before %s: %s of %s files listed\n' "$day" "$rows" "$files"
  printf '  trovik-scan: %s\n  find:        %s\n' "${scan_times[*]}" "${find_times[*]}"
  printf '  median: trovik-scan %.3f s, find %.3f s, ratio %.3f (goal: no more than 1.2)\n' "$s" "$f" \
    "$(awk -v a="$s" -v b="$f" 'BEGIN { print a / b }')"
  if [ -x /usr/bin/time ]; then
    full=$(peak_kb "$scan" dates --modified --before "$day" 'C:\')
    none=$(peak_kb "$scan" dates --modified --before 1990-01-01 'C:\' || true)
    printf '  peak memory: %s KB, %s KB listing nothing: %.0f bytes per row (goal: under 500)\n' "$full" "$none" \
      "$(awk -v a="$full" -v b="$none" -v n="$rows" 'BEGIN { print (a - b) * 1024 / n }')"
    # What the cells themselves take (UTF-16), of which the folder's name.
    "$scan" dates --modified --before "$day" 'C:\' | awk -F'\t' 'NR > 1 { n++; c += length($0) - 6; f += length($6) }
      END { printf "  cell text: %.0f bytes per row, %.0f of them the folder\n", 2 * c / n, 2 * f / n }'
  fi
done
