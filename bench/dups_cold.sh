#!/usr/bin/env bash
# Times trovik-scan against the duplicate finders a user would pick instead,
# on two trees and from a warm and a cold page cache:
#
#   long paths   bench/gendups.py, FILES files (paths of about 180 characters)
#   same size    bench/gensamesize.py: 20,000 files of 64 KiB, random
#                contents, 2,000 of them copies (every file must be read)
#
#   listing      trovik-scan hogs            vs find -printf '%s %p\n' | sort -n
#                (long paths, warm; with hogs' peak memory per listed file)
#   checksums    trovik-scan dups --match 3 --crc --eliminate
#                                            vs jdupes -r, fdupes -r, rmlint
#                warm, then cold: the page cache dropped before every run
#                (echo 3 > /proc/sys/vm/drop_caches; root only, else skipped)
#
# The commands take turns run after run, so a load that comes and goes
# falls on all alike. Prints, per command, the median wall time with the
# smallest and largest, the ratios of the medians, and the load average
# before and after each round (the machine may be shared).
#
#   bench/dups_cold.sh [FILES] [RUNS]        (defaults: 100000 5)
#
# Environment: BUILD_DIR (default: build-bench, else build), OLD_SCAN (a
# trovik-scan of another build, timed beside this one: crc_old, hogs_old),
# TOOLS (default
# "jdupes fdupes rmlint"), ROUNDS (default "listing warm cold"), TREES
# (default "long same"), TREE_DIR (default /tmp: trees are kept between
# runs). Every command's output goes to /dev/null.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
files=${1:-100000}
runs=${2:-5}
tools=${TOOLS:-jdupes fdupes rmlint}
rounds=${ROUNDS:-listing warm cold}
trees=${TREES:-long same}
base=${TREE_DIR:-/tmp}

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
for t in $tools; do
  command -v "$t" > /dev/null || { echo "missing: $t (apt-get install $t)" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "missing: GNU time (apt-get install time)" >&2; exit 1; }

# --- trees ---------------------------------------------------------------------
long=$base/trovik-dups-tree-$files-1
if [ ! -f "$long.done" ]; then
  rm -rf "$long"
  python3 "$here/gendups.py" --files "$files" --seed 1 "$long"
  touch "$long.done"
fi
same=$base/trovik-samesize-20000-1
if [[ " $trees " == *" same "* ]] && [ ! -f "$same.done" ]; then
  rm -rf "$same"
  python3 "$here/gensamesize.py" --files 20000 --size 65536 --dups 2000 --seed 1 "$same"
  touch "$same.done"
fi

work=$(mktemp -d /tmp/trovik-dups-cold.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config" "$work/home" "$work/rmlint"
export XDG_CONFIG_HOME="$work/config" TROVIK_HOME="$work/home"

# Wall seconds of one command; GNU time's peak RSS (KiB) and CPU seconds
# (user and system) go to $work/usage.
timeit() {
  local t0 t1
  t0=$(date +%s.%N)
  /usr/bin/time -f '%M %U %S' -o "$work/usage" "$@" > /dev/null 2> /dev/null || true
  t1=$(date +%s.%N)
  awk -v a="$t1" -v b="$t0" 'BEGIN { printf "%.4f\n", a - b }'
}
stats() {  # median min max of the numbers on stdin
  sort -g | awk '{ a[NR] = $1 } END { m = NR % 2 ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2;
                                    printf "%.3f %.3f %.3f\n", m, a[1], a[NR] }'
}
load() { cut -d' ' -f1-3 /proc/loadavg; }
drop_caches() {
  sync
  echo 3 > /proc/sys/vm/drop_caches
}

# One round: the named commands in turn, RUNS times; cold: caches dropped
# before every run. Prints the table and the ratios of the first command to
# each other one.
round() {  # round TITLE COLD TREE NAME=COMMAND...
  local title=$1 cold=$2 tree=$3
  shift 3
  local names=() cmds=() i r t
  for nc in "$@"; do names+=("${nc%%=*}"); cmds+=("${nc#*=}"); done
  declare -A times=() rss=() cpus=()
  for name in "${names[@]}"; do times[$name]=""; cpus[$name]=""; rss[$name]=0; done
  local before
  before=$(load)
  for ((r = 0; r < runs; r++)); do
    for i in "${!names[@]}"; do
      [ "$cold" = 1 ] && drop_caches
      # shellcheck disable=SC2086  # the command's words split on purpose
      t=$(cd "$work/rmlint" && TREE="$tree" timeit bash -c "${cmds[$i]}")
      times[${names[$i]}]+="$t "
      read -r k u s < <(tail -n 1 "$work/usage") || k=0
      [ "${k:-0}" -gt "${rss[${names[$i]}]}" ] && rss[${names[$i]}]=$k
      cpus[${names[$i]}]+="$(awk -v u="${u:-0}" -v s="${s:-0}" 'BEGIN { print u + s }') "
    done
  done
  printf '\n== %s  (%s; load average before %s, after %s; %s runs)\n' "$title" "$tree" "$before" "$(load)" "$runs"
  printf '%-10s %9s %9s %9s %9s %12s\n' command median min max 'cpu s' 'peak RSS KiB'
  declare -A med=() cpu=()
  for name in "${names[@]}"; do
    # shellcheck disable=SC2086
    read -r m lo hi < <(printf '%s\n' ${times[$name]} | stats)
    # shellcheck disable=SC2086
    read -r c _ _ < <(printf '%s\n' ${cpus[$name]} | stats)
    med[$name]=$m
    cpu[$name]=$c
    printf '%-10s %9.3f %9.3f %9.3f %9.3f %12s\n' "$name" "$m" "$lo" "$hi" "$c" "${rss[$name]}"
  done
  for name in "${names[@]:1}"; do
    printf '  %s / %s: %.3f (cpu %.3f)\n' "${names[0]}" "$name" \
      "$(awk -v a="${med[${names[0]}]}" -v b="${med[$name]}" 'BEGIN { print a / b }')" \
      "$(awk -v a="${cpu[${names[0]}]}" -v b="${cpu[$name]}" 'BEGIN { print (b > 0 ? a / b : 0) }')"
  done
  if [ "${names[0]}" = hogs ]; then
    local listed
    listed=$(find "$tree" -type f -not -path '*/.*' | wc -l)
    for name in hogs hogs_old; do
      [ -n "${rss[$name]:-}" ] || continue
      printf '  %s peak memory per listed file: %.0f bytes (%s files)\n' "$name" \
        "$(awk -v k="${rss[$name]}" -v n="$listed" 'BEGIN { print k * 1024 / n }')" "$listed"
    done
  fi
}

crc_cmds() {  # the checksum commands for the tree in $TREE
  local out=("crc=TROVIK_DRIVES=\"C=\$TREE\" $scan dups --match 3 --crc --eliminate --larger 0 --unit bytes C:")
  [ -n "${OLD_SCAN:-}" ] &&
    out+=("crc_old=TROVIK_DRIVES=\"C=\$TREE\" $OLD_SCAN dups --match 3 --crc --eliminate --larger 0 --unit bytes C:")
  for t in $tools; do
    case $t in
      rmlint) out+=("rmlint=rmlint \"\$TREE\" -o summary:/dev/null -o json:/dev/null") ;;
      *) out+=("$t=$t -r \"\$TREE\"") ;;
    esac
  done
  printf '%s\n' "${out[@]}"
}
mapfile -t crc < <(crc_cmds)

warm() { find "$1" -type f -print0 | xargs -0 cat > /dev/null; }

for rd in $rounds; do
  case $rd in
    listing)
      warm "$long"
      old=()
      [ -n "${OLD_SCAN:-}" ] && old=("hogs_old=TROVIK_DRIVES=\"C=\$TREE\" $OLD_SCAN hogs --larger 0 --unit bytes C:")
      round "listing, warm" 0 "$long" \
        "hogs=TROVIK_DRIVES=\"C=\$TREE\" $scan hogs --larger 0 --unit bytes C:" \
        "findsort=find \"\$TREE\" -type f -printf '%s %p\n' | sort -n" "${old[@]}"
      ;;
    warm | cold)
      if [ "$rd" = cold ] && ! { [ "$(id -u)" = 0 ] && [ -w /proc/sys/vm/drop_caches ]; }; then
        echo "cold round skipped: dropping the page cache needs root" >&2
        continue
      fi
      for tr in $trees; do
        tree=$long
        [ "$tr" = same ] && tree=$same
        [ "$rd" = warm ] && warm "$tree"
        round "checksums, $rd cache, $tr" "$([ "$rd" = cold ] && echo 1 || echo 0)" "$tree" "${crc[@]}"
      done
      ;;
  esac
done
