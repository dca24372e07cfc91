#!/usr/bin/env bash
# nxtrain's checks that need a shell: nxtrain.sh BUILD-DIR CHECK [ARGS...]
# runs one of the functions below against BUILD-DIR/nxtrain and the example
# networks; the exit status is the check's.
set -u
build=$1 check=$2
shift 2
tool=$build/nxtrain
examples=$(cd "$(dirname "$0")/../../neural/examples" && pwd)
xor_spec=$examples/xor.spec xor_pat=$examples/xor.pat

# Ends with status 2, never a crash or a success.
refuses() {
  "$tool" "$@"
  test $? -eq 2
}

# A last pattern cut short trains on the rest and says where the file ran short.
warns_of_a_cut_short_pattern() {
  printf '(0 0 0\n(0 1 1\n(1 0 1\n(1 1\n' >cut.pat && "$tool" train "$xor_spec" cut.pat --seed 1 --epochs 20 2>&1
}

# A refused rate or momentum says what is allowed: range_message PATTERN OPTIONS...
range_message() {
  local pattern=$1
  shift
  "$tool" train "$xor_spec" "$xor_pat" "$@" 2>&1 >/dev/null | grep -q -- "$pattern"
}

# --rate reaches every node: at rate 0 the weights stay where they started
# until the first rescaling adds noise, so the errors of epoch 1000 are
# those of epoch 1.
rate_zero_keeps_the_weights() {
  errors_at() {
    "$tool" train "$xor_spec" "$xor_pat" --seed 3 --epochs "$1" --report "$1" $2 |
      awk -v e="$1" '$1 == e { print $2, $3, $4 }'
  }
  local a b c
  a=$(errors_at 1 '--rate 0')
  b=$(errors_at 1000 '--rate 0')
  c=$(errors_at 1000 '')
  test -n "$a" && test "$a" = "$b" && test "$a" != "$c"
}

# Records print as training goes, in slices of many epochs: each report
# epoch once, in order, whatever the slice boundaries.
prints_every_record_once() {
  "$tool" train "$xor_spec" "$xor_pat" --seed 1 --tolerance 0 --epochs 3000 --report 7 |
    awk 'BEGIN { e = 0; n = 0 } $1 ~ /^[0-9]+$/ && NF == 5 { e += 7; if ($1 != e) exit 1; ++n } END { exit n != 428 }'
}

# Saving never writes through a link nor replaces something that is no
# regular file, and leaves no temporary file.
save_follows_no_link() {
  local d s
  d=$(mktemp -d)
  echo keep >"$d/victim" && ln -s "$d/victim" "$d/w.wts.new" && ln -s "$d/victim" "$d/link.wts" &&
    "$tool" train "$xor_spec" "$xor_pat" --seed 1 --epochs 10 --save "$d/w.wts" >/dev/null
  test -f "$d/w.wts" && ! test -L "$d/w.wts" &&
    "$tool" train "$xor_spec" "$xor_pat" --seed 1 --epochs 10 --save "$d/link.wts" 2>&1 >/dev/null |
    grep -q 'not a regular file' &&
    test -L "$d/link.wts" && test "$(cat "$d/victim")" = keep && test "$(ls "$d" | wc -l)" -eq 4
  s=$?
  rm -rf "$d"
  return $s
}

# Output that cannot be written is a failure, never a success.
output_failure() {
  "$tool" "$@" >/dev/full 2>/dev/null
  test $? -ne 0
}

"$check" "$@"
