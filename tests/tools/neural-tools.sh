#!/usr/bin/env bash
# The library's demonstration and timing programs on tiny runs:
# neural-tools.sh BUILD-DIR CHECK runs one of the functions below.
set -u
build=$1 check=$2

# neural-bench's back-propagation figures.
bench_reports_backprop() {
  "$build/neural-bench" --only backprop-xor --iterations 1000 | grep -q '^backprop 2-4-1 .* M$' &&
    "$build/neural-bench" --only backprop --iterations 1 | grep -q '^backprop 64-64-10 *4810 '
}

bench_refuses_unknown_benchmark() {
  "$build/neural-bench" --only backprops 2>&1 >/dev/null | grep -q "not 'backprops'" && {
    "$build/neural-bench" --only backprops 2>/dev/null
    test $? -eq 2
  }
}

# Output that cannot be written is a failure, never a success.
demo_output_failure() {
  "$build/neural-demo" --hands 1 >/dev/full 2>/dev/null
  test $? -ne 0
}

"$check"
