#!/usr/bin/env bash
# Checks that two builds of trovik-scan give byte-identical duplicate and
# file-hog results: every matching mode with and without checksums, size
# rules, a wildcard, nested roots and file hogs, under four locales (C,
# German, French, US English in New York time), on a tree of odd cases
# (bench/dupquirks.py) and on a generated tree (bench/gendups.py). For
# changes to the search engine that must not change what it finds.
#
#   bench/dups_same_results.sh OLD_TROVIK_SCAN NEW_TROVIK_SCAN [FILES]
#
# FILES is the generated tree's size (default 10000). Exit status 0 when
# every output is the same.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
old=$1
new=$2
files=${3:-10000}

work=$(mktemp -d /tmp/trovik-dups-same.XXXXXX)
trap 'rm -rf "$work"' EXIT
python3 "$here/dupquirks.py" "$work/quirks" > /dev/null
python3 "$here/gendups.py" --files "$files" --seed 7 "$work/generated" > /dev/null
# Read everything once: the checksum runs read the files, and the access
# dates they show must not change between the two builds' runs.
find "$work/quirks" "$work/generated" -type f -exec cat {} + > /dev/null
mkdir -p "$work/config" "$work/home"
export XDG_CONFIG_HOME="$work/config" TROVIK_HOME="$work/home"

run_all() {  # run_all BINARY OUTDIR
  local bin=$1 out=$2 n=0 tree L tz c
  mkdir -p "$out"
  for tree in "$work/quirks" "$work/generated"; do
    for L in C.UTF-8 de_DE.UTF-8 fr_FR.UTF-8 en_US.UTF-8; do
      tz=UTC
      [ "$L" = en_US.UTF-8 ] && tz=America/New_York
      local cmds=()
      for m in 0 1 2 3 4 5 6; do cmds+=("dups --match $m --larger 0 --unit bytes C:"); done
      for m in 1 2 3 4; do
        cmds+=("dups --match $m --crc --larger 0 --unit bytes C:"
               "dups --match $m --crc --eliminate --larger 0 --unit bytes C:")
      done
      cmds+=("dups C:" "dups --match 1 --between 1 20 --unit KB C:"
             "dups --match 0 --wildcard *.txt --larger 0 --unit bytes C:"
             "dups --match 3 --larger 0 --unit bytes C:\\one C:" "hogs --larger 0 --unit bytes C:"
             "hogs --smaller 1000 --unit bytes C:" "hogs C:" "dups --match 5 --smaller 1 --unit KB C:")
      for c in "${cmds[@]}"; do
        n=$((n + 1))
        # shellcheck disable=SC2086  # the command's words split on purpose
        LANG=$L TZ=$tz TROVIK_DRIVES="C=$tree" "$bin" $c > "$out/$n.out" 2> "$out/$n.err" && s=0 || s=$?
        echo "$s $L $(basename "$tree"): $c" > "$out/$n.cmd"
      done
    done
  done
  echo "$n"
}

count=$(run_all "$old" "$work/old")
run_all "$new" "$work/new" > /dev/null
if diff -rq "$work/old" "$work/new" > "$work/differ"; then
  echo "same results in all $count runs"
else
  echo "results differ:" >&2
  sed 's/^Files \(.*\)\/old\/\([0-9]*\)\..*/\2/' "$work/differ" | sort -un | while read -r k; do
    cat "$work/old/$k.cmd" >&2
  done
  exit 1
fi
