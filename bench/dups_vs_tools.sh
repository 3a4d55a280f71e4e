#!/usr/bin/env bash
# Times the duplicate and file-hog search of trovik-scan against the tools a
# user would pick instead, on one synthetic tree (bench/gendups.py), on a
# warm cache, in one run:
#
#   checksum search   trovik-scan dups --match 3 --crc --eliminate   vs fdupes -r,
#                     jdupes -r, rmlint (duplicate finders reading contents)
#   listing only      trovik-scan dups --match 3 (no checksums) and
#                     trovik-scan hogs                               vs find | sort -n
#   file checksum     trovik-scan crc of a cached 1 GiB file         vs cat
#
# Prints the median of RUNS runs of each, the ratios against the goals, and
# the peak memory of trovik-scan (GNU time's %M) per listed file, that is per
# file that passed the size test (with --larger 0: every file of the tree).
#
#   bench/dups_vs_tools.sh [FILES] [RUNS]        (defaults: 100000 3)
#
# Environment: BUILD_DIR (default: build-bench, else build, beside this
# folder's parent), TREE_DIR (default: a folder under /tmp, kept between runs
# so the tree is built once per file count and seed), SEED (default 1),
# CRC_FILE (default: a 1 GiB file under /tmp, kept between runs).
# Missing tools (fdupes, jdupes, rmlint, GNU time) are installed with apt-get
# when running as root. Every command's output goes to /dev/null.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
files=${1:-100000}
runs=${2:-3}
seed=${SEED:-1}

# --- tools -------------------------------------------------------------------
missing=()
command -v fdupes > /dev/null || missing+=(fdupes)
command -v jdupes > /dev/null || missing+=(jdupes)
command -v rmlint > /dev/null || missing+=(rmlint)
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

# --- the tree and the 1 GiB file ---------------------------------------------
tree=${TREE_DIR:-/tmp/trovik-dups-tree-$files-$seed}
if [ ! -f "$tree.done" ]; then
  rm -rf "$tree"
  python3 "$here/gendups.py" --files "$files" --seed "$seed" "$tree"
  touch "$tree.done"
fi
crcfile=${CRC_FILE:-/tmp/trovik-crc-bench/1gib.bin}
if [ ! -f "$crcfile" ] || [ "$(stat -c %s "$crcfile")" != 1073741824 ]; then
  mkdir -p "$(dirname "$crcfile")"
  head -c 1073741824 /dev/urandom > "$crcfile"
fi

work=$(mktemp -d /tmp/trovik-dups-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config" "$work/home" "$work/rmlint"
export XDG_CONFIG_HOME="$work/config" TROVIK_HOME="$work/home"
crcdir=$(dirname "$crcfile")
export TROVIK_DRIVES="C=$tree;D=$crcdir"

# --- timing ------------------------------------------------------------------
# Wall time of one command in seconds; GNU time's CPU seconds (user + system,
# children included) and peak RSS (KiB) of the command go to $work/usage.
timeit() {
  local t0 t1
  t0=$(date +%s.%N)
  /usr/bin/time -f '%U %S %M' -o "$work/usage" "$@" > /dev/null 2> /dev/null
  t1=$(date +%s.%N)
  awk -v a="$t1" -v b="$t0" 'BEGIN { printf "%.6f\n", a - b }'
}

median() {
  sort -g | awk '{ a[NR] = $1 } END { if (NR % 2) print a[(NR + 1) / 2]; else print (a[NR / 2] + a[NR / 2 + 1]) / 2 }'
}

ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f\n", a / b }'
}

find_sort() {
  find "$tree" -type f -printf '%s %p\n' | sort -n
}

run_rmlint() {
  (cd "$work/rmlint" && rmlint "$tree" -o summary:/dev/null -o json:/dev/null)
}

names=(crc fdupes jdupes rmlint nocrc hogs findsort crcfile cat)
declare -A cmd=(
  [crc]="$scan dups --match 3 --crc --eliminate --larger 0 --unit bytes C:"
  [fdupes]="fdupes -r $tree"
  [jdupes]="jdupes -r $tree"
  [rmlint]="run_rmlint"
  [nocrc]="$scan dups --match 3 --larger 0 --unit bytes C:"
  [hogs]="$scan hogs --larger 0 --unit bytes C:"
  [findsort]="find_sort"
  [crcfile]="$scan crc $crcfile"
  [cat]="cat $crcfile"
)
export -f find_sort run_rmlint
export tree work

one() {  # one timed run of a named command
  case $1 in
    rmlint | findsort) timeit bash -c "${cmd[$1]}" ;;
    *)
      # shellcheck disable=SC2086  # the command's words split on purpose
      timeit ${cmd[$1]}
      ;;
  esac
}

# Warm the cache: the tree's folders and every file's contents, and the file.
find "$tree" -type f -print0 | xargs -0 cat > /dev/null
cat "$crcfile" > /dev/null

# What each side found, for a look that they saw the same thing.
listed=$(find "$tree" -type f -not -path '*/.*' | wc -l)
crc_rows=$(( $($scan dups --match 3 --crc --eliminate --larger 0 --unit bytes C: | wc -l) - 1 ))
fdupes_files=$(fdupes -r "$tree" 2> /dev/null | grep -c . || true)
hog_rows=$(( $($scan hogs --larger 0 --unit bytes C: | wc -l) - 1 ))
nocrc_rows=$(( $($scan dups --match 3 --larger 0 --unit bytes C: | wc -l) - 1 ))

# The commands take turns, so that a load that comes and goes (other builds
# on the machine) falls on all of them alike.
declare -A times cpus rss
for name in "${names[@]}"; do times[$name]=""; cpus[$name]=""; rss[$name]=0; done
for ((i = 0; i < runs; i++)); do
  for name in "${names[@]}"; do
    t=$(one "$name")
    times[$name]+="$t "
    read -r u s r < <(tail -n 1 "$work/usage")
    cpus[$name]+="$(awk -v u="$u" -v s="$s" 'BEGIN { print u + s }') "
    [ "$r" -gt "${rss[$name]}" ] && rss[$name]=$r
  done
done
declare -A med cpu
for name in "${names[@]}"; do
  # shellcheck disable=SC2086  # one word per run
  med[$name]=$(printf '%s\n' ${times[$name]} | median)
  # shellcheck disable=SC2086
  cpu[$name]=$(printf '%s\n' ${cpus[$name]} | median)
done
leftover=$(ls -A "$work/rmlint")

# --- report ------------------------------------------------------------------
printf 'tree:        %s (%s files, %s listed; %s runs each)\n' "$tree" "$files" "$listed" "$runs"
printf 'found:       trovik-scan %s files in confirmed groups, fdupes %s\n' "$crc_rows" "$fdupes_files"
printf '\n%-10s %10s %10s %12s   %s\n' command 'wall s' 'cpu s' 'peak RSS KiB' 'all runs (wall s)'
for name in "${names[@]}"; do
  printf '%-10s %10.3f %10.3f %12s   %s\n' "$name" "${med[$name]}" "${cpu[$name]}" "${rss[$name]}" "${times[$name]}"
done
printf '(medians; the ratios are of wall times, the CPU-time ratio follows in brackets)\n'

both() {  # ratio of wall times and, in brackets, of CPU times
  printf '%.3f  (cpu %.3f)' "$(ratio "${med[$1]}" "${med[$2]}")" "$(ratio "${cpu[$1]}" "${cpu[$2]}")"
}
printf '\nchecksum search (dups --match 3 --crc --eliminate), goal: below 1 against each\n'
for t in fdupes jdupes rmlint; do
  printf '  vs %-7s %s\n' "$t" "$(both crc "$t")"
done
printf 'listing against find | sort -n, goal: no more than 1.5\n'
printf '  dups --match 3 (no checksums) %s   (%s rows)\n' "$(both nocrc findsort)" "$nocrc_rows"
printf '  hogs                          %s   (%s rows)\n' "$(both hogs findsort)" "$hog_rows"
printf 'file checksum speed against cat (1 GiB, cached), goal: at least 0.9\n'
printf '  crc %s\n' "$(both cat crcfile)"
printf 'peak memory per listed file (%s files), goal: below 400 bytes\n' "$listed"
for name in crc nocrc hogs; do
  printf '  %-6s %6.0f bytes (peak RSS %s KiB)\n' "$name" "$(awk -v k="${rss[$name]}" -v n="$listed" 'BEGIN { print k * 1024 / n }')" "${rss[$name]}"
done
[ -z "$leftover" ] || printf 'note: rmlint left files in its working folder: %s\n' "$leftover"
