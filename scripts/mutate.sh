#!/usr/bin/env bash
# Mutation score of the native unit tests: a seeded sample of small
# faults in the product sources (operators and literals, or whole statements
# and conditions), each built alone in build/mutate and run
# against the unit tests. Prints every survivor (file, line, change) and the
# score. A tool for developers; scripts/test.sh does not run it.
#   scripts/mutate.sh [--kind operator|statement] [--seed N] [--count N] [--files PATH...]
#                      [--since REV] [--fast] [--list] [--work DIR]
#     --files  only these sources          --since  only lines changed since REV
#     --fast   without ASan/UBSan           --list   print the sample, run nothing
set -euo pipefail
exec python3 "$(dirname "$0")/mutate.py" "$@"
