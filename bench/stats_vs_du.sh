#!/usr/bin/env bash
# Times a statistics collection of trovik-scan against du -s and against find
# printing size, access and modification time of every entry, on one
# synthetic tree (bench/gentree.py --spread-times), on a warm cache; checks
# first that the files found and their bytes are those of
# `find -xdev ! -type d ! -type l`. Then compares the peak memory of
# trovik-scan stats on trees of SMALL and BIG files: nothing of it may grow
# with the number of files.
#
#   bench/stats_vs_du.sh [FILES] [RUNS]        (defaults: 200000 5)
#
# Environment: BUILD_DIR (default: build-bench, else build, beside this
# folder's parent), TREE_BASE (default: /tmp; trees are kept there between
# runs, built once per file count and seed), SEED (default 1), SMALL and BIG
# (the file counts of the memory comparison; defaults 100000 and 1000000;
# BIG=0 leaves it out). GNU time is installed with apt-get when missing and
# running as root. Goals: at most 1.3 times du -s and find; at most 8 MiB
# more peak memory at BIG than at SMALL files.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
files=${1:-200000}
runs=${2:-5}
seed=${SEED:-1}
small=${SMALL:-100000}
big=${BIG:-1000000}
base=${TREE_BASE:-/tmp}

if [ ! -x /usr/bin/time ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "GNU time is missing; install it (apt-get install time) or run as root" >&2
    exit 1
  fi
  apt-get update > /dev/null
  DEBIAN_FRONTEND=noninteractive apt-get install -y time > /dev/null
fi

build=${BUILD_DIR:-}
if [ -z "$build" ]; then
  for b in "$root/build-bench" "$root/build"; do
    [ -x "$b/src/cli/trovik-scan" ] && { build=$b; break; }
  done
fi
scan=${build:+$build/src/cli/trovik-scan}
if [ -z "$scan" ] || [ ! -x "$scan" ]; then
  echo "trovik-scan not built; build the 'trovik-scan' target and set BUILD_DIR" >&2
  exit 1
fi

# The tree of n files, built once.
tree_of() {
  local t="$base/trovik-stats-tree-$1-$seed"
  if [ ! -f "$t.done" ]; then
    rm -rf "$t"
    python3 "$here/gentree.py" --files "$1" --seed "$seed" --spread-times "$t" >&2
    touch "$t.done"
  fi
  echo "$t"
}

work=$(mktemp -d /tmp/trovik-stats-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config" "$work/home"
export XDG_CONFIG_HOME="$work/config" TROVIK_HOME="$work/home"

# Wall time of one command in seconds, output thrown away; GNU time's peak
# RSS (KiB) goes to $work/rss and its CPU seconds (user + system) to
# $work/cpu.
timeit() {
  local t0 t1
  t0=$(date +%s.%N)
  /usr/bin/time -f '%M %U %S' -o "$work/usage" "$@" > /dev/null 2> /dev/null
  t1=$(date +%s.%N)
  awk '{ print $1 > "'"$work/rss"'"; printf "%.2f\n", $2 + $3 > "'"$work/cpu"'" }' "$work/usage"
  awk -v a="$t1" -v b="$t0" 'BEGIN { printf "%.6f\n", a - b }'
}

median() {
  sort -g | awk '{ a[NR] = $1 } END { if (NR % 2) print a[(NR + 1) / 2]; else print (a[NR / 2] + a[NR / 2 + 1]) / 2 }'
}

ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f\n", a / b }'
}

# Files found and the bytes of the size classes, as trovik-scan counts them.
scan_counts() {
  "$scan" stats C: | awk -F'\t' '
    $1 == "Files found" { n = $2 }
    /^\[/ { section = $0; title = 1; next }
    section == "[Sizes]" { if (title) { title = 0; next } s += $2 }
    END { printf "%d %.0f\n", n, s }'
}

find_counts() {
  find "$1" -xdev ! -type d ! -type l -printf '%s\n' | awk '{ n++; s += $1 } END { printf "%d %.0f\n", n, s }'
}

find_times() {
  find "$tree" -printf '%s %A@ %T@\n'
}
export -f find_times

# --- speed --------------------------------------------------------------------
tree=$(tree_of "$files")
export tree TROVIK_DRIVES="C=$tree"
ours=$(scan_counts)
theirs=$(find_counts "$tree")
if [ "$ours" != "$theirs" ]; then
  echo "files and bytes differ: trovik-scan $ours, find $theirs" >&2
  exit 1
fi

# Warm the cache with one untimed run of each.
"$scan" stats C: > /dev/null
du -s "$tree" > /dev/null
find_times > /dev/null

declare -A times=([stats]="" [du]="" [find]="") cpu=([stats]="" [du]="" [find]="")
for ((i = 0; i < runs; i++)); do
  times[stats]+="$(timeit "$scan" stats C:) "
  cpu[stats]+="$(cat "$work/cpu") "
  times[du]+="$(timeit du -s "$tree") "
  cpu[du]+="$(cat "$work/cpu") "
  times[find]+="$(timeit bash -c find_times) "
  cpu[find]+="$(cat "$work/cpu") "
done
m_stats=$(printf '%s\n' ${times[stats]} | median)
m_du=$(printf '%s\n' ${times[du]} | median)
m_find=$(printf '%s\n' ${times[find]} | median)
c_stats=$(printf '%s\n' ${cpu[stats]} | median)
c_du=$(printf '%s\n' ${cpu[du]} | median)
c_find=$(printf '%s\n' ${cpu[find]} | median)

printf 'tree:          %s (%s files; found %s files, %s bytes, as find)\n' "$tree" "$files" ${ours}
printf 'stats:         %s\n' "${times[stats]}"
printf 'du -s:         %s\n' "${times[du]}"
printf 'find -printf:  %s\n' "${times[find]}"
printf 'median:        stats %.3f s, du -s %.3f s, find %.3f s\n' "$m_stats" "$m_du" "$m_find"
printf 'CPU median:    stats %.2f s, du -s %.2f s, find %.2f s (user + system)\n' "$c_stats" "$c_du" "$c_find"
printf 'ratio:         %s against du -s, %s against find (goal: no more than 1.3)\n' \
  "$(ratio "$m_stats" "$m_du")" "$(ratio "$m_stats" "$m_find")"
printf 'CPU ratio:     %s against du -s, %s against find\n' \
  "$(ratio "$c_stats" "$c_du")" "$(ratio "$c_stats" "$c_find")"

# --- memory -------------------------------------------------------------------
if [ "$big" -gt 0 ]; then
  declare -A rss
  for n in "$small" "$big"; do
    t=$(tree_of "$n")
    export TROVIK_DRIVES="C=$t"
    "$scan" stats C: > /dev/null
    timeit "$scan" stats C: > /dev/null
    rss[$n]=$(cat "$work/rss")
  done
  printf 'peak RSS:      %s KiB at %s files, %s KiB at %s files: %s MiB more (goal: no more than 8)\n' \
    "${rss[$small]}" "$small" "${rss[$big]}" "$big" \
    "$(awk -v a="${rss[$big]}" -v b="${rss[$small]}" 'BEGIN { printf "%.1f", (a - b) / 1024 }')"
fi
