#!/usr/bin/env bash
# Builds the native bench without sanitizers and runs it: scripts/bench.sh [MB]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="${QX_BENCH_DIR:-$root/build/bench}"
cmake -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=Release -DQX_SANITIZE=OFF >/dev/null
cmake --build "$out" --target compile_bench -j2 >/dev/null
"$out/compile_bench" "${1:-256}"
