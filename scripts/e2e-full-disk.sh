#!/usr/bin/env bash
# The full-disk compile test: mounts a small tmpfs, runs the program from it and
# compiles until the disk is full. Needs root (for mount); skipped otherwise.
#   scripts/e2e-full-disk.sh [windows build folder]   (default build/win)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win}
# Exit 77 is a skip for CTest.
if [ "$(id -u)" -ne 0 ]; then
  echo "e2e-full-disk: skipped: mounting a small tmpfs needs root"
  exit 77
fi
dist=$(sed -n 's/^QX_DIST_DIR:PATH=//p' "$build/CMakeCache.txt")
# Room for the program, the template and one blocker, and a little more.
kb=$(( $(du -sk "$dist/Quellanix.exe" | cut -f1) + 2 * $(du -sk "$dist/quellanix.ext" | cut -f1) + 512 ))
mnt=$(mktemp -d /tmp/qx-small-disk.XXXXXX)
if ! mount -t tmpfs -o size=${kb}k qx-small-disk "$mnt"; then
  rmdir "$mnt"
  echo "e2e-full-disk: skipped: this machine does not allow mounting a tmpfs"
  exit 77
fi
trap 'umount "$mnt" && rmdir "$mnt"' EXIT
export QX_E2E_SMALL_DISK="Z:${mnt//\//\\}"
"$root/scripts/wine-exec.sh" "$build/tests/compile_e2e_tests.exe" --gtest_filter='FullDiskTest.*'
