#!/usr/bin/env bash
# Starts Druvel from a build folder. Until the window exists this is the terminal player.
set -euo pipefail
build=${1:-build}
if [[ -x "$build/src/druvel" && -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  exec "$build/src/druvel"
fi
exec "$build/src/druvel-cli" --help
