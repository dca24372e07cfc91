#!/usr/bin/env bash
# Gives `quorla-lab arena` copies of the default network data file with one
# random byte changed and checks that every run either plays or refuses the
# file with exit 2 and a message; anything else (an abort, a crash, a silent
# success on a refused block) is reported and fails the campaign.
# Usage: scripts/flip-campaign.sh [runs] [build-dir]
set -u
runs=${1:-300}
build=${2:-build}
lab="$build/quorla-lab"
source_file="$(dirname "$0")/../data/QLDEFLT.QLF"
[ -x "$lab" ] || { echo "flip-campaign: $lab not built" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
size=$(stat -c %s "$source_file")
played=0 refused=0 failed=0
RANDOM=${SEED:-1}
for ((run = 1; run <= runs; ++run)); do
  copy="$work/flip.qlf"
  cp "$source_file" "$copy"
  offset=$(( (RANDOM * 32768 + RANDOM) % size ))
  value=$(( RANDOM % 256 ))
  printf "$(printf '\\%03o' "$value")" | dd of="$copy" bs=1 seek="$offset" conv=notrunc status=none
  level=$(( run % 4 ))
  timeout 120 "$lab" arena simple "net:$level:$copy" --games 1 --seed "$run" >"$work/out" 2>"$work/err"
  rc=$?
  if [ $rc -eq 0 ]; then
    played=$((played + 1))
  elif [ $rc -eq 2 ] && [ -s "$work/err" ]; then
    refused=$((refused + 1))
  else
    failed=$((failed + 1))
    echo "run $run: byte $offset set to $value, level $level: exit $rc: $(head -c 300 "$work/err")"
  fi
  printf '\r%d/%d runs: %d played, %d refused, %d failed' "$run" "$runs" "$played" "$refused" "$failed" >&2
done
echo >&2
echo "$runs runs: $played played, $refused refused with exit 2, $failed failed"
[ $failed -eq 0 ]
