#!/usr/bin/env bash
# Prints the non-blank, non-comment lines of C and C++ in the tests and in the
# product (everything else but bench/), and their ratio.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { grep -E '\.(h|hpp|cpp|cc|c)$' | xargs -r cat | grep -c -v -E '^\s*($|//|/\*|\*)' || true; }
tests=$(git ls-files -co --exclude-standard -- tests | count)
product=$(git ls-files -co --exclude-standard | grep -v -E '^(tests|bench)/' | count)
echo "test code:    $tests lines"
echo "product code: $product lines"
awk -v t="$tests" -v p="$product" 'BEGIN { printf "ratio:        %.2f\n", (p > 0 ? t / p : 0) }'
