#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time,
# starting from the committed corpus. Usage: fuzz/run_fuzz.sh [seconds]
set -eu
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD:-$root/build-fuzz}

"$root/scripts/install-deps.sh" clang

cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "${JOBS:-2}"

for reader in resume weights settings spec data bmp; do
  work="$build/corpus/$reader"
  # The network data files start from the shipped default networks.
  seeds="$root/fuzz/corpus/$reader"
  if [ "$reader" = data ]; then seeds="$root/data"; fi
  # The largest network a specification may ask for (4 Mi connections, or
  # 65,536 nodes in a layer) takes about 1.5 s to build, ten times that
  # under the sanitizers: a slow input, not a hang.
  timeout=10
  if [ "$reader" = spec ]; then timeout=60; fi
  mkdir -p "$work" "$build/crashes/$reader"
  echo "== fuzzing the $reader reader for ${seconds}s"
  "$build/fuzz_$reader" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout="$timeout" -max_len=65536 \
    -artifact_prefix="$build/crashes/$reader/" -print_final_stats=1 \
    "$work" "$seeds"
done
