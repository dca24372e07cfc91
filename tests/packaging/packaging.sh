#!/usr/bin/env bash
# What is shipped, checked as Debian's tools check it:
# packaging.sh BUILD-DIR CHECK [ARGS...] runs one of the functions below;
# the exit status is the check's, 77 when a tool it needs is missing.
set -u
build=$1 check=$2
shift 2
pages=$(cd "$(dirname "$0")/../../man" && pwd)

needs() {
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIPPED: $tool is not installed"
      exit 77
    fi
  done
}

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# Every page formats without a warning from groff or man, as lintian formats
# it, and has a NAME line that whatis and apropos can read.
pages_format_cleanly() {
  needs man lexgrog
  local page warnings
  for page in "$pages"/*.[1-8]; do
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
    lexgrog "$page" >/dev/null || fail "$(basename "$page") has no NAME line whatis can read"
  done
}

# page_names_every_option PAGE TOOL [COMMAND...]: every option the tool's
# --help (and each COMMAND's --help) names is in PAGE's synopsis or the
# term of one of its lists, not only mentioned in passing, and every
# COMMAND has a section of its own, so that the page cannot fall behind
# the tool.
page_names_every_option() {
  local page=$pages/$1 tool=$build/$2
  shift 2
  local text terms help option command
  text=$(sed 's/\\-/-/g' "$page")
  terms=$(awk '/^\.SH/ { synopsis = $2 == "SYNOPSIS" } synopsis || previous ~ /^\.TP/ { print } { previous = $0 }' \
    <<<"$text")
  help=$("$tool" --help) || fail "$tool --help failed"
  for command in "$@"; do
    help+=$'\n'$("$tool" "$command" --help) || fail "$tool $command --help failed"
    grep -qE "^\.SS \"?$command( |\"|$)" <<<"$text" || fail "$(basename "$page") has no section for $command"
  done
  for option in $(grep -oE -- '--[a-z][a-z-]*' <<<"$help" | sort -u); do
    grep -qE -- "(^|[[ \"])$option([] \"]|$)" <<<"$terms" || fail "$(basename "$page") does not describe $option"
  done
}

# The package as `make package` builds it, built into a scratch folder:
# lintian finds no error or warning (and no override that matches
# nothing), the desktop entry and the AppStream metadata validate, no
# maintainer script is left for the packager to add, the Wayland platform
# plugin is a dependency, and the changelog, the package and the
# AppStream release all carry the version built.
# package_is_accepted CPACK VERSION
package_is_accepted() {
  needs dpkg-deb dpkg-parsechangelog lintian
  local cpack=$1 version=$2
  local scratch
  scratch=$(mktemp -d /tmp/quorla-package.XXXXXX)
  trap 'rm -rf "$scratch"' EXIT
  "$cpack" --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$scratch/cpack.log")"
  local deb=$scratch/quorla_${version}_amd64.deb
  [ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$scratch")"

  local report
  report=$(lintian --display-info --fail-on error,warning "$deb" 2>/dev/null) ||
    fail "lintian: $report"
  grep -q 'unused-override' <<<"$report" && fail "lintian: $report"

  dpkg-deb -e "$deb" "$scratch/control"
  local scripts
  scripts=$(ls "$scratch/control" | grep -vxE 'control|md5sums')
  [ -z "$scripts" ] || fail "the package has maintainer scripts: $scripts"
  dpkg-deb -f "$deb" Depends | grep -qE '(^|, )qt6-wayland(,|$)' ||
    fail "the package does not depend on qt6-wayland: $(dpkg-deb -f "$deb" Depends)"

  dpkg-deb -x "$deb" "$scratch/root"
  local share=$scratch/root/usr/share
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$share/applications/org.quorla.Quorla.desktop" || fail "desktop entry"
  fi
  if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$share/metainfo/org.quorla.Quorla.metainfo.xml" || fail "AppStream metadata"
  fi

  gzip -dc "$share/doc/quorla/changelog.gz" >"$scratch/changelog"
  local logged released
  logged="$(dpkg-parsechangelog -l "$scratch/changelog" -S Version) $(date -u -d \
    "$(dpkg-parsechangelog -l "$scratch/changelog" -S Date)" +%F)"
  released=$(grep -oE '<release version="[^"]*" date="[^"]*"' "$share/metainfo/org.quorla.Quorla.metainfo.xml" |
    head -n 1 | sed -E 's/.*version="([^"]*)" date="([^"]*)"/\1 \2/')
  [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package is version $(dpkg-deb -f "$deb" Version)"
  [ "${logged%% *}" = "$version" ] || fail "the changelog's latest entry is $logged, the version built $version"
  [ "$released" = "$logged" ] || fail "the AppStream release is $released, the changelog's latest entry $logged"
}

"$check" "$@"
