#!/bin/sh
# Runs every benchmark of the build folder given (default: build), headless.
set -e
build=${1:-build}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
for bench in "$build"/bench/bench_*; do
  [ -f "$bench" ] && [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  "$bench" --benchmark_counters_tabular=true
done
echo "== stamping a folder"
"$(dirname "$0")/stamp_vs_convert.sh" "$build" 4
echo "== stamping beside the djpeg | cjpeg floor"
"$(dirname "$0")/batch_vs_floor.sh" "$build" 4
echo "== stamping losslessly (the default) beside jpegtran -copy all"
"$(dirname "$0")/lossless_vs_jpegtran.sh" "$build" 4
echo "== peak memory, large photos alone and among many small ones"
"$(dirname "$0")/batch_memory.sh" "$build"
