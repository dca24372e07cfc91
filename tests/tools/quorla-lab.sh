#!/usr/bin/env bash
# quorla-lab's checks end to end, on tiny runs: quorla-lab.sh BUILD-DIR CHECK
# [ARGS...] runs one of the functions below against BUILD-DIR/quorla-lab;
# the exit status is the check's.
set -u
build=$1 check=$2
shift 2
lab=$build/quorla-lab
root=$(cd "$(dirname "$0")/../.." && pwd)
defaults=$root/data/QLDEFLT.QLF

# Training is repeatable for a seed, and writes four level blocks; the top
# level's games of learning by play change what it ships.
train_is_repeatable() {
  "$lab" train --out a.qlf --seed 2 --hands-per-level 5,5,5,10 --top-level-games 2 >/dev/null &&
    "$lab" train --out b.qlf --seed 2 --hands-per-level 5,5,5,10 --top-level-games 2 >/dev/null &&
    "$lab" train --out c.qlf --seed 2 --hands-per-level 5,5,5,10 --top-level-games 0 >/dev/null &&
    cmp a.qlf b.qlf && test "$(wc -c <a.qlf)" -eq 64096 && ! cmp -s a.qlf c.qlf
}

train_replaces_no_device() {
  local d s
  d=$(mktemp -d)
  mkfifo "$d/out.qlf" &&
    "$lab" train --out "$d/out.qlf" --seed 2 --hands-per-level 1,1,1,1 2>&1 >/dev/null |
    grep -q 'cannot write .*not a regular file' && test -p "$d/out.qlf" && test "$(ls "$d" | wc -l)" -eq 1
  s=$?
  rm -rf "$d"
  return $s
}

# The report, with the curve of two slices (the second one game long), its
# picture, and the networks as learned.
arena_reports_games() {
  local d out s
  d=$(mktemp -d)
  out=$("$lab" arena random net:3:"$defaults" --games 3 --seed 5 --learn --curve 2 --curve-svg "$d/curve.svg" \
    --save-networks "$d/learned.qlf")
  s=$?
  test $s -eq 0 && echo "$out" | grep -q '^games: 3,' && echo "$out" | grep -q '^games 1-2 ' &&
    echo "$out" | grep -q '^games 3-3 ' && test "$(tail -n 1 "$d/curve.svg")" = '</svg>' &&
    test "$(wc -c <"$d/learned.qlf")" -eq 64096 && ! cmp -s "$defaults" "$d/learned.qlf"
  s=$?
  rm -rf "$d"
  return $s
}

# make strength's script: the table of its five measurements, the curve and
# the learned networks; a bad count is refused with status 2.
strength_reports_five_measurements() {
  local d out s
  d=$(mktemp -d)
  out=$("$root/scripts/strength.sh" --build "$build" --networks "$defaults" --learn-games 4 --measure-games 3 \
    --out "$d" 2>/dev/null)
  s=$?
  test $s -eq 0 && test "$(echo "$out" | grep -cE ': +[0-9]+ \([0-9.]+%, [0-9.]+-[0-9.]+\)$')" -eq 5 &&
    test "$(tail -n 1 "$d/learning-curve.svg")" = '</svg>' && test "$(wc -c <"$d/learned.QLF")" -eq 64096
  s=$?
  "$root/scripts/strength.sh" --build "$build" --measure-games 0 --out "$d" 2>/dev/null
  test $? -eq 2 && test $s -eq 0
  s=$?
  rm -rf "$d"
  return $s
}

# Master in either seat against the rule yardsticks, with its decision times.
arena_seats_master() {
  local out
  out=$("$lab" arena master net:3 --games 1 --seed 4 --samples 4 --think-ms 500) &&
    echo "$out" | grep -q '^games: 1,' &&
    echo "$out" | grep -qE '^master decision times \([0-9]+ decisions\): median [0-9.]+ ms, p99 [0-9.]+ ms, max' &&
    for seat in meldonly ginhunter; do
      "$lab" arena "$seat" master --games 1 --seed 4 --samples 4 | grep -q '^master decision times' || return 1
    done &&
    "$lab" arena simple master:"$defaults" --games 1 --seed 4 --samples 4 | grep -q '^games: 1,' &&
    refuses arena simple master:/nonexistent --games 1
}

bench_game_reports_speed() { "$lab" bench game --hands 20 --level 3 | grep -q 'hands per second'; }

# Ends with status 2, never a crash or a success.
refuses() {
  "$lab" "$@" 2>/dev/null
  test $? -eq 2
}

# One damaged byte in level 4's block of the default networks, at FILE.
damage_level4_block() { cp "$defaults" "$1" && printf '\177' | dd of="$1" bs=1 seek=48099 conv=notrunc 2>/dev/null; }

# Refused with status 2 and a message naming the file and the level.
refuses_damaged_block() {
  "$lab" "$@" 2>&1 >/dev/null | grep -q 'damaged-level4.qlf: level 4' && {
    "$lab" "$@" >/dev/null 2>&1
    test $? -eq 2
  }
}

damaged_block_other_levels_play() { "$lab" arena simple net:2:"$1" --games 1 --seed 3 | grep -q '^games: 1,'; }

# Output that cannot be written is a failure, never a success.
output_failure() {
  "$lab" "$@" >/dev/full 2>/dev/null
  test $? -ne 0
}
output_failure_arena_csv() {
  "$lab" arena random net:0 --games 1 --seed 5 --csv /dev/full >/dev/null 2>&1
  test $? -ne 0
}
output_failure_deadwood() {
  echo 'AH 2H 3H 4S 5S 6S 7C 8C 9C KD' | "$lab" deadwood >/dev/full 2>/dev/null
  test $? -ne 0
}

# inspect recognises each kind of file positively: inspect_refuses SETUP FILE
# runs SETUP in a scratch directory, then expects FILE refused with status 2.
inspect_refuses() {
  local d s
  d=$(mktemp -d)
  cd "$d" || return 1
  eval "$1"
  timeout 10 "$lab" inspect "$2" >/dev/null 2>&1
  s=$?
  cd /
  rm -rf "$d"
  test $s -eq 2
}

inspect_skips_byte_order_mark_and_shows_limits() {
  local d out
  d=$(mktemp -d)
  printf '\357\273\277[Play]\nGinVariation=3\nGameTarget=7\n[Preferences]\nHandSorting=3\n' >"$d/q.ini"
  out=$("$lab" inspect "$d/q.ini")
  rm -rf "$d"
  echo "$out" | grep -q 'GinVariation = 0' && echo "$out" | grep -q 'GameTarget = 100' &&
    echo "$out" | grep -q 'HandSorting = 2'
}

# Bytes past the four blocks, one or a whole second file: reported by
# inspect and refused by the game's loading, in the arena too.
inspect_reports_trailing_data() {
  local d out s
  d=$(mktemp -d)
  cat "$defaults" >"$d/x.qlf"
  printf x >>"$d/x.qlf"
  cat "$defaults" "$defaults" >"$d/twice.qlf"
  out=$("$lab" inspect "$d/x.qlf")
  s=$?
  test $s -eq 1 && echo "$out" | grep -q 'trailing data: 1 bytes' && ! echo "$out" | grep -q 'not valid'
  s=$?
  out=$("$lab" inspect "$d/twice.qlf")
  test $? -eq 1 && echo "$out" | grep -q 'trailing data: 64096 bytes' && test $s -eq 0 &&
    refuses arena simple net:1:"$d/twice.qlf" --games 1
  s=$?
  rm -rf "$d"
  return $s
}

# A damaged settings file is judged by the game's own check: reported with
# status 1, shown with the values the game carries on with, never changed.
inspect_reports_damaged_settings() {
  local d out s before list t
  d=$(mktemp -d)
  printf '[Quorla]\nCanResume=1\0\0\0\n[Statistics]\nUserWins0=-5\nUserWins1=4\n' >"$d/QUORLA.INI"
  before=$(od -c "$d/QUORLA.INI")
  out=$("$lab" inspect "$d/QUORLA.INI")
  s=$?
  test "$before" = "$(od -c "$d/QUORLA.INI")" && test ! -e "$d/QUORLA.INI.damaged" || s=99
  printf '[Software\\Palomet Technologies\\Quorla\\Player Configurations]\n0=sz:bob\n1=ann\n' >"$d/QUORLA.REG"
  list=$("$lab" inspect "$d/QUORLA.REG")
  t=$?
  rm -rf "$d"
  test $s -eq 1 && echo "$out" | grep -q '^damaged: line 2: a NUL byte' && echo "$out" | grep -q 'CanResume = 1' &&
    echo "$out" | grep -q 'UserWins0 = 0' && echo "$out" | grep -q 'UserWins1 = 4' &&
    test $t -eq 1 && echo "$list" | grep -q 'damaged: line 3: 1=ann: a value without its type tag' &&
    echo "$list" | grep -q '^slot 0: bob' && ! echo "$list" | grep -q 'slot 1'
}

# Every refused number says what is allowed: range_message PATTERN ARGS...
range_message() {
  local pattern=$1
  shift
  "$lab" "$@" 2>&1 >/dev/null | grep -q -- "$pattern"
}

help_states_ranges() {
  "$lab" arena --help | grep -q '0..714024' && "$lab" train --help | grep -q '0..100000000' &&
    "$lab" bench --help | grep -q '1..100000000'
}

"$check" "$@"
