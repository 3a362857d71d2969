#!/usr/bin/env bash
# CPU time over wall time and peak resident memory of the Druvel window (normal mode),
# `druvel-cli play` and the other players installed here (Audacious with its MIDI plugin,
# TiMidity++, VLC with its FluidSynth plugin), each playing SONG for SECONDS (default 25)
# after its first sound, one after the other, on FluidR3_GM, through a private PulseAudio
# null sink and under a private Xvfb with openbox. Prints a markdown table with what each
# player runs with, and the load average.
#
#   scripts/compare-peers.sh [--build DIR] SONG [SECONDS] [ROW...]
#
# ROW picks rows: window cli aud-qt aud-headless timidity vlc-qt vlc-headless.
# VLC refuses to run as root: as root, the peers run as the user PEER_USER (default druvelpeer,
# created when missing). PEER_DISPLAY picks the display (default :87).
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=build
if [[ "${1:-}" == "--build" ]]; then
  build=$2
  shift 2
fi
song=${1:?usage: compare-peers.sh [--build DIR] SONG [SECONDS] [ROW...]}
seconds=${2:-25}
shift 2 2>/dev/null || shift $#
[[ -r "$song" ]] || { echo "$song: not readable"; exit 2; }
for tool in pulseaudio pactl parec Xvfb xdotool python3; do
  command -v "$tool" >/dev/null || { echo "$tool not installed: nothing measured."; exit 0; }
done

work=$(mktemp -d /tmp/druvel-compare-XXXXXX)
chmod 755 "$work"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

if [[ $(id -u) == 0 ]]; then
  export PEER_USER=${PEER_USER:-druvelpeer}
  id "$PEER_USER" >/dev/null 2>&1 || useradd --system --no-create-home "$PEER_USER" ||
    echo "could not create the user $PEER_USER: VLC is left out"
fi

# The server's own socket in a folder the peer user may enter; anonymous clients allowed.
HOME=$work XDG_RUNTIME_DIR=$work pulseaudio -n --daemonize=no --exit-idle-time=-1 \
  --use-pid-file=no --log-target=stderr \
  --load="module-null-sink sink_name=peers rate=44100" \
  --load="module-native-protocol-unix auth-anonymous=1 socket=$work/native" 2>"$work/pulse.log" &
pids+=($!)
export PULSE_SERVER=unix:$work/native
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || { echo "PulseAudio did not start:"; cat "$work/pulse.log"; exit 1; }
pactl set-default-sink peers
export MONITOR=peers.monitor
# Peers running as another user look for their server through the same variable, and would
# otherwise try to spawn one of their own.
export PULSE_CLIENTCONFIG=$work/client.conf
echo "autospawn = no" >"$PULSE_CLIENTCONFIG"
chmod 644 "$PULSE_CLIENTCONFIG"

export DISPLAY=${PEER_DISPLAY:-:87}
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
sleep 1
xhost +local: >/dev/null 2>&1 || true
if command -v openbox >/dev/null; then
  openbox >/dev/null 2>&1 &
  pids+=($!)
  sleep 0.5
fi
export XDG_RUNTIME_DIR=$work
python3 "$here/compare_peers.py" "$build" "$song" "$seconds" "$@"
