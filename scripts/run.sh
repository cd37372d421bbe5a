#!/usr/bin/env bash
# Builds the program and starts it. When no mouse is attached at start the program talks
# to the simulated mouse; VTRM408X_SIMULATE=1 forces the simulator, =0 real hardware.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh -DVTRM408X_BUILD_TESTS=OFF -DVTRM408X_BUILD_BENCH=OFF
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found. To run without a screen, start it under a virtual one:" >&2
  echo "  xvfb-run -a bash scripts/run.sh" >&2
  exit 1
fi
exec ./build/vtrm408x "$@"
