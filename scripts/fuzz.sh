#!/usr/bin/env bash
# Fuzzes the settings reader for a bounded time (default 120 s):
#   scripts/fuzz.sh [seconds]
# Builds with clang and libFuzzer under ASan/UBSan in build/fuzz; new inputs go
# to build/fuzz/corpus, the committed seeds in tests/fuzz/corpus (valid blockers
# and a bare template) stay as they are.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-120}
out="${QX_FUZZ_DIR:-$root/build/fuzz}"
if ! dpkg-query -W -f='${Status}' libclang-rt-14-dev 2>/dev/null | grep -q "install ok installed"; then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq clang libclang-rt-14-dev >/dev/null
fi
mkdir -p "$out/corpus"
sources=("$root"/format/*.cpp "$root/catalogue/catalogue.cpp")
flags=(-std=c++20 -O1 -g -I"$root" -Wall -Wextra -Werror)
clang++ "${flags[@]}" -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  "$root/tests/fuzz/settings_reader_fuzz.cpp" "${sources[@]}" -o "$out/settings_reader_fuzz"
"$out/settings_reader_fuzz" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
  -artifact_prefix="$out/" "$out/corpus" "$root/tests/fuzz/corpus"
