#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, when any is missing.
# With --check also those of scripts/check.sh: clang with its sanitizer and libFuzzer
# runtimes, and the symbolizer that puts file names and lines into sanitizer reports.
set -euo pipefail
packages=(g++ cmake ninja-build pkg-config qt6-base-dev libpng-dev libgif-dev
          libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth fonts-noto-cjk
          fonts-crosextra-carlito fonts-dejavu-core
          libxcb-xinput-dev libxtst-dev libgl-dev)
if [ "${1:-}" = "--check" ]; then
  packages+=(clang libclang-rt-14-dev llvm)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -eq 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
else
  echo "These Debian packages are missing: ${missing[*]}" >&2
  echo "Install them with:" >&2
  echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
