#!/usr/bin/env bash
# Measures how evenly the embedded synthesizer plays live: records what `druvel-cli play` sends
# to the PulseAudio server's default sink and compares the click onsets with the offline render
# of the same song. Needs a reachable PulseAudio server (PULSE_SERVER as usual), parec, pactl and
# python3; without a server it says so and measures nothing.
#
#   scripts/measure-live-timing.sh [--server pulse|pipewire] [--driver NAME] [BUILD_DIR]
#
# --server pipewire measures through PipeWire (see scripts/pipewire-server.sh): its own interface,
# or pipewire-pulse with --driver pulseaudio.
#
# Passes when every interval is within 2 ms of the song's and no onset strays more than 3 ms from
# the render once the first onsets are aligned.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source "$here/server-option.sh"
build=${args[0]:-build}
cli="$build/src/druvel-cli"
python=${PYTHON:-python3}

source "$here/pulse-server.sh"
[[ -x "$cli" ]] || { echo "$cli not built"; exit 2; }

sink=$(pactl get-default-sink)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

measure() { # song tempo
  local song=$1 tempo=$2
  local expected
  expected=$("$python" -c "print(250 * 100 / $tempo)")
  echo "== $song song at $tempo % through $sink (clicks every $expected ms)"
  "$python" "$here/live_timing.py" song "$song" "$work/$song.mid" || return 1
  "$cli" render --tempo "$tempo" -o "$work/render.wav" "$work/$song.mid" >/dev/null 2>&1 ||
    { echo "render failed"; return 1; }
  parec -d "$sink.monitor" --format=s16le --rate=44100 --channels=2 "$work/live.raw" &
  local rec=$!
  sleep 0.5
  "$cli" play --tempo "$tempo" "$work/$song.mid" </dev/null >/dev/null 2>&1
  local played=$?
  # parec loses what it has not yet handed over when it is stopped: on pipewire-pulse that is
  # up to two seconds (a monitor asking for less latency drops frames on a busy machine).
  sleep 2.5
  kill "$rec" 2>/dev/null
  wait "$rec" 2>/dev/null
  if ((played != 0)); then
    echo "play failed ($played)"
    return 1
  fi
  "$python" "$here/live_timing.py" compare "$work/live.raw" "$work/render.wav" "$expected"
}

measure clicks 100 || failed=1
measure dense 100 || failed=1
measure clicks 250 || failed=1
measure dense 250 || failed=1
exit $failed
