#!/usr/bin/env bash
# Times the quick clean's search (trovik-scan temp with its 13 built-in
# types) against find with the same 13 -iname tests, hidden folders pruned,
# printing size, dates and path, on a warm cache. Prints the medians, their
# ratio and the peak memory per listed row.
#
#   bench/temp_vs_find.sh [FILES] [RUNS]
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
[ -x "$scan" ] || { echo "trovik-scan not built; build the 'trovik-scan' target and set BUILD_DIR" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (apt-get install time)" >&2; exit 1; }

tree=${TREE_DIR:-/tmp/trovik-bench-tree-$files-$seed}
if [ ! -f "$tree.done" ]; then
  rm -rf "$tree"
  python3 "$here/gentree.py" --files "$files" --seed "$seed" "$tree"
  touch "$tree.done"
fi

# A settings folder of its own: no stored list, so the built-in 13.
settings=$(mktemp -d)
trap 'rm -rf "$settings"' EXIT
export TROVIK_DRIVES="C=$tree" XDG_CONFIG_HOME="$settings" TROVIK_HOME="$settings"

types=()
for p in '*.bak' '*.chk' '*.da0' '*.db$' '*.ftg' '*.fts' '*.gid' '*.old' '*.tmp' '*.$$$' '*.---' '*.~mp' '*.~*'; do
  [ ${#types[@]} -eq 0 ] || types+=(-o)
  types+=(-iname "$p")
done
run_find() {
  find "$tree" -xdev -mindepth 1 \( -type d -name '.*' -prune \) -o -type f \( "${types[@]}" \) \
    -printf '%s\t%TY-%Tm-%Td\t%TT\t%AY-%Am-%Ad\t%p\n'
}
run_scan() { "$scan" temp 'C:\'; }

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

# Both must list the same files (the scan prints a title line).
found=$(run_find | wc -l)
listed=$(($(run_scan | wc -l) - 1))
if [ "$found" != "$listed" ]; then
  echo "row counts differ: find $found, trovik-scan $listed" >&2
  exit 1
fi

scan_times=()
find_times=()
for ((i = 0; i < runs; i++)); do
  scan_times+=("$(timeit run_scan)")
  find_times+=("$(timeit run_find)")
done
scan_median=$(printf '%s\n' "${scan_times[@]}" | median)
find_median=$(printf '%s\n' "${find_times[@]}" | median)
peak_kb=$(/usr/bin/time -f %M "$scan" temp 'C:\' 2>&1 > /dev/null | tail -1)
base_kb=$( (/usr/bin/time -f %M "$scan" temp --type '*.none' 'C:\' 2>&1 > /dev/null || true) | tail -1)

chars=$(run_scan | awk -F'\t' 'NR > 1 { s += length($0) - 5; n++ } END { printf "%.0f", s / n }')
printf 'tree:        %s (%s files, %s listed)\n' "$tree" "$files" "$listed"
printf 'trovik-scan: %s\n' "${scan_times[*]}"
printf 'find:        %s\n' "${find_times[*]}"
printf 'median:      trovik-scan %.3f s, find %.3f s\n' "$scan_median" "$find_median"
awk -v a="$scan_median" -v b="$find_median" 'BEGIN { printf "ratio:       %.3f (goal: no more than 1.2)\n", a / b }'
awk -v p="$peak_kb" -v b="$base_kb" -v n="$listed" \
  'BEGIN { printf "memory:      peak %d KB, %d KB without rows: %.0f bytes per row (goal: under 500)\n", p, b, (p - b) * 1024 / n }'
printf 'row text:    %s characters per row, %s bytes of them in UTF-16\n' "$chars" "$((chars * 2))"
