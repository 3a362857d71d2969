#!/usr/bin/env bash
# Resident memory and the time from play to the first sound of the embedded synthesizer, for
# `druvel-cli play` and the window, with each SoundFont given (default: FluidR3), on an ordinary
# song of eight instruments and drums. Plays through a reachable PulseAudio or pipewire-pulse
# server (as the other measuring scripts); the window needs a display (DISPLAY) and xdotool.
#
#   scripts/measure-synth-memory.sh [--server pulse|pipewire] [BUILD_DIR] [SOUNDFONT...]
#
# A SoundFont of 400 MB or more: scripts/make-big-soundfont.py /tmp/big.sf2
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source "$here/server-option.sh"
build=${args[0]:-build}
fonts=("${args[@]:1}")
((${#fonts[@]})) || fonts=(/usr/share/sounds/sf2/FluidR3_GM.sf2)
python=${PYTHON:-python3}

source "$here/pulse-server.sh"
sink=$(pactl get-default-sink)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$python" "$here/synth_memory.py" song "$work/song.mid"
for font in "${fonts[@]}"; do
  echo "== $font ($(du -m "$font" | cut -f1) MB)"
  echo -n "druvel-cli play: "
  DRUVEL_SOUNDFONT=$font "$python" "$here/synth_memory.py" measure "$sink" 30 \
    "$build/src/druvel-cli" play "$work/song.mid"
  if [[ -n "${DISPLAY:-}" ]] && command -v xdotool >/dev/null; then
    mkdir -p "$work/home"
    echo -n "window:          "
    DRUVEL_HOME=$work/home DRUVEL_SOUNDFONT=$font PLAY_KEY=ctrl+space \
      "$python" "$here/synth_memory.py" measure "$sink" 20 "$build/src/druvel" "$work/song.mid"
  fi
done
