#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, only when missing.
set -euo pipefail
pkgs=(cmake make g++ libgtest-dev clang libclang-rt-14-dev
      g++-mingw-w64-x86-64 wine fonts-wine xvfb imagemagick fonts-liberation
      fp-utils libchm-bin nsis zip unzip)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
