#!/usr/bin/env bash
# Times trovik-scan dirhogs against du (and ncdu, gdu) on a synthetic tree,
# warm cache, the commands in turn, median of several runs:
#   dirhogs --all  vs  du -x -b -S    (every folder, its own files)
#   dirhogs        vs  du -x -b -d 1  (the folders under the root, totalled)
#   ncdu -x -o- and gdu -npx -a, for reference.
# Before timing, every line's Size and # Files of both modes is checked
# against a reference made with find -xdev -type f -printf. Then prints the
# peak resident memory of each, and that of dirhogs --all per listed folder
# above a run on an empty tree.
#
#   bench/dirhogs_vs_du.sh [FILES] [RUNS]
#
# Environment: BUILD_DIR (default: build, beside this folder's parent),
# TREE_DIR (default: a folder under /tmp, kept between runs), SEED (default 1).
# ncdu, gdu and GNU time are installed with apt-get when missing and running
# as root.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
files=${1:-200000}
runs=${2:-5}
seed=${SEED:-1}

missing=()
command -v ncdu > /dev/null || missing+=(ncdu)
command -v gdu > /dev/null || missing+=(gdu)
[ -x /usr/bin/time ] || missing+=(time)
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "missing: ${missing[*]}; install them (apt-get install ${missing[*]}) or run as root" >&2
    exit 1
  fi
  echo "installing ${missing[*]}" >&2
  apt-get update > /dev/null
  DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}" > /dev/null
fi

build=${BUILD_DIR:-$root/build}
scan=$build/src/cli/trovik-scan
[ -x "$scan" ] || { echo "trovik-scan not built in $build" >&2; exit 1; }

tree=${TREE_DIR:-/tmp/trovik-bench-dirhogs-$files-$seed}
if [ ! -f "$tree.done" ]; then
  rm -rf "$tree"
  python3 "$here/gentree.py" --files "$files" --per-folder 5 --seed "$seed" "$tree"
  touch "$tree.done"
fi
empty=$(mktemp -d)
work=$(mktemp -d)
trap 'rm -rf "$empty" "$work"' EXIT

export TROVIK_DRIVES="C=$tree;E=$empty"
export XDG_CONFIG_HOME=$work/config TROVIK_HOME=$work/program

# --- the same numbers as find ------------------------------------------------
# dirhogs lines as "relative/path<TAB>bytes<TAB>files", sorted.
lines() {
  "$scan" dirhogs "$@" 'C:\' | awk -F'\t' 'NR > 1 {
      name = $6; sub(/^c:\\/, "", name); gsub(/\\/, "/", name)
      size = $1; gsub(/,/, "", size)
      print (name == "" ? "." : name) "\t" size "\t" $3 }' | LC_ALL=C sort
}
# Own files per folder; files below a hidden folder are counted nowhere.
find "$tree" -xdev -type f -printf '%h\t%s\n' | awk -F'\t' -v root="$tree" '{
    d = $1; if (d == root) d = "."; else d = substr(d, length(root) + 2)
    if (d != "." && d ~ /(^|\/)\./) next
    bytes[d] += $2; n[d]++ }
  END { for (d in bytes) printf "%s\t%.0f\t%d\n", d, bytes[d], n[d] }' | LC_ALL=C sort > "$work/all.ref"
# Totals per folder under the root (not hidden), every file below included.
find "$tree" -xdev -type f -printf '%P\t%s\n' | awk -F'\t' '{
    i = index($1, "/"); if (i == 0) next
    d = substr($1, 1, i - 1); if (d ~ /^\./) next
    bytes[d] += $2; n[d]++ }
  END { for (d in bytes) printf "%s\t%.0f\t%d\n", d, bytes[d], n[d] }' | LC_ALL=C sort > "$work/main.ref"
lines --all | awk -F'\t' '$3 > 0' > "$work/all.got"
lines | awk -F'\t' '$3 > 0' > "$work/main.got"
for m in all main; do
  if ! cmp -s "$work/$m.ref" "$work/$m.got"; then
    echo "dirhogs ($m) differs from find:" >&2
    diff "$work/$m.ref" "$work/$m.got" | head >&2
    exit 1
  fi
done
folders=$("$scan" dirhogs --all 'C:\' | tail -n +2 | wc -l)
echo "tree: $files files, $folders folders listed; sizes and counts match find in both modes"

# --- times -------------------------------------------------------------------
timeit() {
  local t0 t1
  t0=$(date +%s.%N)
  "$@" > /dev/null 2>&1 || true
  t1=$(date +%s.%N)
  awk -v a="$t1" -v b="$t0" 'BEGIN { printf "%.6f\n", a - b }'
}
median() {
  sort -g | awk '{ a[NR] = $1 } END { if (NR % 2) print a[(NR + 1) / 2]; else print (a[NR / 2] + a[NR / 2 + 1]) / 2 }'
}
peak() { { /usr/bin/time -f %M "$@" 2>&1 > /dev/null || true; } | tail -1; }

# The six commands take turns, run after run, so a load that comes and
# goes falls on all alike; each gets the median of its runs.
names=(all duS main du1 ncdu gdu)
cmds=("$scan dirhogs --all C:\\" "du -x -b -S $tree" "$scan dirhogs C:\\" "du -x -b -d 1 $tree"
  "ncdu -x -o- $tree" "gdu -npx -a $tree")
declare -A times=()
for i in "${!names[@]}"; do
  # shellcheck disable=SC2086  # the command's words split on purpose
  ${cmds[$i]} > /dev/null 2>&1 || true  # warm
done
for ((r = 0; r < runs; r++)); do
  for i in "${!names[@]}"; do
    # shellcheck disable=SC2086
    times[${names[$i]}]+="$(timeit ${cmds[$i]}) "
  done
done
for n in "${names[@]}"; do
  # shellcheck disable=SC2086
  printf -v "${n}_t" '%s' "$(printf '%s\n' ${times[$n]} | median)"
done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
printf '%-28s %9s s\n' "dirhogs --all" "$all_t" "du -x -b -S" "$duS_t" "dirhogs" "$main_t" \
  "du -x -b -d 1" "$du1_t" "ncdu -x -o-" "$ncdu_t" "gdu -npx -a" "$gdu_t"
echo "dirhogs --all / du -S:   $(ratio "$all_t" "$duS_t")x (goal <= 1.0)"
echo "dirhogs / du -d 1:       $(ratio "$main_t" "$du1_t")x (goal <= 1.0)"
echo "dirhogs --all / ncdu:    $(ratio "$all_t" "$ncdu_t")x (goal < 1.0)"
echo "dirhogs / ncdu:          $(ratio "$main_t" "$ncdu_t")x (goal < 1.0)"
echo "dirhogs --all / gdu:     $(ratio "$all_t" "$gdu_t")x"

# --- memory ------------------------------------------------------------------
base=$(peak "$scan" dirhogs --all 'E:\')
allp=$(peak "$scan" dirhogs --all 'C:\')
mainp=$(peak "$scan" dirhogs 'C:\')
echo "peak KiB: dirhogs --all $allp, dirhogs $mainp, empty tree $base," \
  "du -S $(peak du -x -b -S "$tree"), du -d 1 $(peak du -x -b -d 1 "$tree")," \
  "ncdu $(peak ncdu -x -o- "$tree"), gdu $(peak gdu -npx -a "$tree")"
echo "dirhogs --all: $(awk -v p="$allp" -v b="$base" -v n="$folders" 'BEGIN { printf "%.0f", (p - b) * 1024 / n }')" \
  "bytes per listed folder above the empty tree (goal < 1024)"
