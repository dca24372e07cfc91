#!/usr/bin/env bash
# The screenshot tool away from its data: quorla-screenshot.sh BUILD-DIR runs
# a copy of BUILD-DIR/quorla-screenshot in a directory of its own, first
# without the default networks, then with a cut-short copy of them. Both
# runs must end with status 2 and say why, never abort or write a picture.
set -u
build=$1
d=$(mktemp -d)
trap 'rm -rf "$d"' EXIT
cp "$build/quorla-screenshot" "$d/" || exit 1
refused() {
  "$d/quorla-screenshot" "$d/table.png" 2>"$d/err.txt" >/dev/null
  test $? -eq 2 && grep -q "$1" "$d/err.txt" && test ! -e "$d/table.png"
}
refused 'cannot read .*QLDEFLT.QLF' &&
  head -c 1000 "$build/QLDEFLT.QLF" >"$d/QLDEFLT.QLF" && refused 'networks in .*QLDEFLT.QLF cannot be read'
