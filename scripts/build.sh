#!/usr/bin/env bash
# Builds both configurations: native core + unit tests (sanitized), and the
# Windows program with its ready-to-run folder build/dist.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$root/build/native" -j "$jobs"
cmake -S "$root" -B "$root/build/win" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DQX_DIST_DIR="$root/build/dist" >/dev/null
cmake --build "$root/build/win" -j "$jobs"
