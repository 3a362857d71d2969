#!/usr/bin/env bash
# Measures how far the spectrum's meters and the lyrics' wipe of `druvel-controls-demo` lag or
# lead the sound of the embedded synthesizer: plays a song of clicks, each with a syllable, at
# 100 % and 250 %, records the PulseAudio default sink's monitor with parec while noting when
# each piece arrived on the monotonic clock, and pairs the click onsets with the demo's display
# trace (DRUVEL_TRACE_DISPLAY). Needs a reachable PulseAudio server (PULSE_SERVER as usual),
# parec, pactl, python3, and a display (DISPLAY, or Xvfb on $XVFB_DISPLAY, default :99).
#
#   scripts/measure-display-drift.sh [--server pulse|pipewire] [--driver NAME] [BUILD_DIR]
#
# --server pipewire measures through PipeWire (see scripts/pipewire-server.sh): its own interface,
# or pipewire-pulse with --driver pulseaudio.
#
# Passes when every click's meter rise and syllable are on the screen within 20 ms of the sound.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source "$here/server-option.sh"
build=${args[0]:-build}
demo="$build/src/druvel-controls-demo"
python=${PYTHON:-python3}

source "$here/pulse-server.sh"
[[ -x "$demo" ]] || { echo "$demo not built"; exit 2; }
if [[ -z "${DISPLAY:-}" ]] && ! command -v Xvfb >/dev/null; then
  echo "No DISPLAY and no Xvfb: nothing measured."
  exit 0
fi

work=$(mktemp -d)
xvfb=
cleanup() {
  [[ -n "$xvfb" ]] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
if [[ -z "${DISPLAY:-}" ]]; then
  export DISPLAY=${XVFB_DISPLAY:-:99}
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  sleep 1
fi
unset QT_QPA_PLATFORM

sink=$(pactl get-default-sink)
"$python" "$here/display_drift.py" song "$work/song.mid" || exit 2
failed=0

# The sink's own latency (us), every 0.2 s: what it still holds of what the monitor has seen.
sample_sink_latency() { # file
  : >"$1"
  while true; do
    pactl list sinks | awk -v sink="$sink" '
      $1 == "Name:" { name = $2 }
      $1 == "Latency:" && name == sink { print $2 }' >>"$1"
    sleep 0.2
  done
}

measure() { # tempo
  local tempo=$1
  local interval
  interval=$("$python" -c "print(250 * 100 / $tempo)")
  echo "== $tempo % through $sink (clicks every $interval ms)"
  rm -f "$work/trace"
  "$python" "$here/display_drift.py" record "$sink" "$work/live.raw" "$work/stamps" &
  local rec=$!
  sample_sink_latency "$work/latency" &
  local sampler=$!
  sleep 0.5
  DRUVEL_TRACE_DISPLAY="$work/trace" "$demo" --tempo "$tempo" "$work/song.mid" \
    </dev/null >/dev/null 2>"$work/demo.err"
  local played=$?
  sleep 0.5
  kill "$rec" "$sampler" 2>/dev/null
  wait "$rec" "$sampler" 2>/dev/null
  if ((played != 0)); then
    echo "demo failed ($played):"
    cat "$work/demo.err"
    return 1
  fi
  "$python" "$here/display_drift.py" drift "$work/live.raw" "$work/stamps" "$work/trace" \
    "$interval" "$work/latency"
}

measure 100 || failed=1
measure 250 || failed=1
exit $failed
