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
  printf '(0 0 0\n(0 1 1\n(1 0 1\n(1 1\n' >cut.pat && "$tool" train "$xor_spec" cut.pat --algorithm standard --seed 1 --epochs 20 2>&1
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
    "$tool" train "$xor_spec" "$xor_pat" --algorithm standard --seed 3 --epochs "$1" --report "$1" $2 |
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
  "$tool" train "$xor_spec" "$xor_pat" --algorithm standard --seed 1 --tolerance 0 --epochs 3000 --report 7 |
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

# Another program refuses with status 2 and a message on stderr:
# refuses_with_message PATTERN PROGRAM ARGS...
refuses_with_message() {
  local pattern=$1 out
  shift
  out=$("$@" 2>&1 >/dev/null)
  test $? -eq 2 && grep -q -- "$pattern" <<<"$out"
}

# Refused with status 2 and a message on stderr: message PATTERN ARGS...
message() {
  local pattern=$1 out
  shift
  out=$("$tool" "$@" 2>&1 >/dev/null)
  test $? -eq 2 && grep -q -- "$pattern" <<<"$out"
}

# The default training reaches a target error on exclusive or, and eval on a
# one-of-N set reports the accuracy and the confusion counts.
default_training_and_accuracy() {
  local d s
  d=$(mktemp -d)
  "$tool" train "$xor_spec" "$xor_pat" --seed 1 --target-mse 0.001 --epochs 500 | grep -q 'reached the target error' &&
    "$tool" train "$examples/letters.spec" "$examples/letters.pat" --algorithm per-pattern --seed 1 --epochs 200 \
      --save "$d/l.wts" >/dev/null &&
    "$tool" eval "$examples/letters.spec" "$d/l.wts" "$examples/letters.pat" --summary >"$d/eval.txt" &&
    grep -q '^accuracy 100.00% (18 of 18 patterns' "$d/eval.txt" && grep -q '^confusion' "$d/eval.txt" &&
    test "$(grep -c '^class ' "$d/eval.txt")" -eq 6
  s=$?
  rm -rf "$d"
  return $s
}

# Digits 64-32-10 with nothing but --epochs 100 --seed 1: at least 92% of
# the 397 test images right. Skipped (77) without the digits data.
digits_end_to_end() {
  local d s accuracy
  d=$(mktemp -d)
  "$build/nxbench" digits-patterns "$d" >/dev/null
  s=$?
  if [ $s -ne 0 ]; then
    rm -rf "$d"
    return $s
  fi
  "$tool" train "$d/digits.spec" "$d/digits-train.pat" --epochs 100 --seed 1 --save "$d/d.wts" >/dev/null &&
    accuracy=$("$tool" eval "$d/digits.spec" "$d/d.wts" "$d/digits-test.pat" --summary |
      awk '/^accuracy/ { sub("%", "", $2); print $2 }')
  s=$?
  rm -rf "$d"
  echo "digits test accuracy: $accuracy%"
  test $s -eq 0 && awk -v a="$accuracy" 'BEGIN { exit !(a >= 92) }'
}

# Output that cannot be written is a failure, never a success.
output_failure() {
  "$tool" "$@" >/dev/full 2>/dev/null
  test $? -ne 0
}

"$check" "$@"
