#!/usr/bin/env bash
# Starts Druvel from a build folder with the bundled demo song loaded. Without a display the
# terminal player plays it; where there is no sound output either, it is rendered to a WAV file.
set -uo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")/.." && pwd)
demo="$here/resources/demo/druvel-demo.mid"
if [[ -x "$build/src/druvel" && -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  exec "$build/src/druvel" "$demo"
fi
"$build/src/druvel-cli" play "$demo"
status=$?
if [[ $status -eq 0 || $status -eq 130 ]]; then
  exit $status
fi
wav="$(cd "$build" && pwd)/druvel-demo.wav"
echo "No sound output here: rendering the demo song to $wav instead."
"$build/src/druvel-cli" render -o "$wav" "$demo" && echo "Written: $wav"
