#!/usr/bin/env bash
# The German help: german_help.sh SOURCE-DIR BUILD-DIR CHECK runs one of the
# functions below on SOURCE-DIR/ui/help and BUILD-DIR/QUORLA32.HLP.
set -u
help=$1/ui/help built=$2/QUORLA32.HLP check=$3

# The references (href and src) and the anchors (id and name) of a page, one a line.
refs() { grep -o -E '(href|src)="[^"]*"' "$1" | sed -E 's/^[a-z]+="(.*)"$/\1/'; }
anchors() { grep -o -E '(id|name)="[^"]*"' "$1" | sed -E 's/^[a-z]+="(.*)"$/\1/'; }

# Every English page has a German one with the same anchors and the same
# links between pages; everything a German page refers to is there, within
# the help set, and so is the anchor it names.
mirrors_the_english_pages() {
  local fails=0 page name ref file anchor
  for page in "$help"/*.html; do
    name=${page##*/}
    de=$help/de/$name
    [ -f "$de" ] || { echo "no German page for $name"; fails=1; continue; }
    grep -q '<html lang="de">' "$de" || { echo "$name: not marked lang=de"; fails=1; }
    [ "$(anchors "$page")" = "$(anchors "$de")" ] || { echo "$name: anchors differ"; fails=1; }
    [ "$(refs "$page" | grep '\.html')" = "$(refs "$de" | grep '\.html')" ] || { echo "$name: links differ"; fails=1; }
    while read -r ref; do
      file=${ref%%#*} anchor=${ref#"$file"}
      case $ref in /* | *:*) echo "$name: $ref leads outside the help"; fails=1; continue ;; esac
      case $file in ../*/*) echo "$name: $ref leads outside the help"; fails=1; continue ;; esac
      [ -f "$help/de/$file" ] || { echo "$name: $ref is missing"; fails=1; continue; }
      [ -z "$anchor" ] || anchors "$help/de/$file" | grep -qx -- "${anchor#\#}" ||
        { echo "$name: $ref names no anchor"; fails=1; }
    done < <(refs "$de")
  done
  for de in "$help"/de/*.html; do [ -f "$help/${de##*/}" ] || { echo "${de##*/} has no English page"; fails=1; }; done
  return $fails
}

# The build copies every German file, except the translators' glossary, into
# QUORLA32.HLP/de as it is.
is_copied_into_the_help_set() {
  local fails=0 file
  for file in "$help"/de/*; do
    [ "${file##*/}" = GLOSSARY.txt ] && continue
    cmp -s "$file" "$built/de/${file##*/}" || { echo "QUORLA32.HLP/de/${file##*/} is missing or stale"; fails=1; }
  done
  return $fails
}

"$check"
