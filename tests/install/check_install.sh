#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR under an odd prefix and checks
# what landed there: the file list, the desktop entry and the AppStream
# file against their validators, the icons' pixel sizes, and the manual
# page naming every command trovik-scan dispatches.
#   check_install.sh BUILD_DIR SOURCE_DIR MAN_PAGE(ON|OFF)
set -euo pipefail
build=$1 source=$2 man=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=/opt/trovik-test
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$scratch/dest" cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" \
  || { cat "$scratch/install.log" >&2; fail "cmake --install"; }
root="$scratch/dest$prefix"
[ -d "$root" ] || fail "nothing installed under DESTDIR$prefix"
# Nothing may be written outside DESTDIR's prefix.
stray=$(cd "$scratch/dest" && find . -mindepth 1 -maxdepth 2 | grep -v "^./opt" || true)
[ -z "$stray" ] || fail "installed outside the prefix: $stray"

expected=$(grep -v '^#' "$source/tests/install/installed-files.txt")
[ "$man" = ON ] && expected=$(printf '%s\nshare/man/man1/trovik-scan.1.gz' "$expected")
(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort) >"$scratch/got"
printf '%s\n' "$expected" | LC_ALL=C sort >"$scratch/want"
diff -u "$scratch/want" "$scratch/got" || fail "installed file list differs"
for exe in bin/trovik bin/trovik-scan; do
  [ -x "$root/$exe" ] || fail "$exe is not executable"
done

desktop-file-validate "$root/share/applications/example.halvane.Trovik.desktop" \
  || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/share/metainfo/example.halvane.Trovik.metainfo.xml" \
  || fail "appstreamcli validate"

for png in "$root"/share/icons/hicolor/*/apps/*.png; do
  dir=$(basename "$(dirname "$(dirname "$png")")")
  size=${dir%%x*}
  file "$png" | grep -q "PNG image data, $size x $size, 8-bit/color RGBA" \
    || fail "$png is not a $size x $size RGBA PNG: $(file -b "$png")"
done

if [ "$man" = ON ]; then
  page=$(gzip -dc "$root/share/man/man1/trovik-scan.1.gz")
  grep -q '^\.TH TROVIK-SCAN "1"' <<<"$page" || fail "manual page has no title"
  commands=$(grep -o 'command == "[a-z]*"' "$source/src/cli/main.cpp" | cut -d'"' -f2)
  [ "$(wc -w <<<"$commands")" -ge 10 ] || fail "could not read the command list"
  for c in $commands; do
    grep -q "trovik\\\\-scan $c\\b" <<<"$page" || fail "manual page does not name '$c'"
  done
  version=$("$root/bin/trovik-scan" --version)
  grep -qF "\"$version\"" <<<"$page" || fail "manual page does not carry '$version'"
else
  echo "help2man was not found at configure time: manual page not checked"
fi
echo "install check passed"
