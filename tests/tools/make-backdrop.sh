#!/usr/bin/env bash
# The default backdrop generator: make-backdrop.sh BUILD-DIR CHECK runs one
# of the functions below against BUILD-DIR/make-backdrop.
set -u
build=$1 check=$2
tool=$build/make-backdrop

# The same bytes every run: a second file equals the one the build made.
writes_the_same_file_every_time() { "$tool" again.qlf && cmp again.qlf "$build/BACKIMG.QLF" && rm again.qlf; }

refuses_an_unwritable_path_and_wrong_arguments() {
  ! "$tool" /nonexistent/dir/B.QLF 2>err.txt && grep -q 'cannot' err.txt && ! "$tool" 2>/dev/null &&
    "$tool" --help | grep -q usage
}

"$check"
