#!/usr/bin/env bash
# Builds everything and runs every test (offscreen; no display or mouse needed).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh -DVTRM408X_BUILD_TESTS=ON
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure --parallel "$(nproc)" "$@"
