#!/usr/bin/env bash
# Starts Druvel from a build folder. Without a display (or until the window exists) the
# terminal player plays the bundled demo song.
set -euo pipefail
build=${1:-build}
if [[ -x "$build/src/druvel" && -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  exec "$build/src/druvel"
fi
here=$(cd "$(dirname "$0")/.." && pwd)
exec "$build/src/druvel-cli" play "$here/resources/demo/druvel-demo.mid"
