#!/usr/bin/env bash
# Starts a private PipeWire (pipewire, wireplumber on a session bus of its own, pipewire-pulse)
# with a null sink as the default, for the measuring scripts on a machine without a desktop
# session or sound card. Prints the lines to export; `scripts/pipewire-server.sh stop` ends it.
#
#   eval "$(scripts/pipewire-server.sh)"
#   scripts/measure-live-timing.sh --server pipewire
set -euo pipefail

dir=${PIPEWIRE_RUNTIME_DIR:-/tmp/druvel-pipewire}
if [[ "${1:-}" == stop ]]; then
  for name in pipewire-pulse wireplumber pipewire dbus; do
    [[ -f "$dir/$name.pid" ]] && kill "$(cat "$dir/$name.pid")" 2>/dev/null || true
    rm -f "$dir/$name.pid"
  done
  exit 0
fi
for program in pipewire wireplumber pipewire-pulse pactl dbus-daemon; do
  command -v "$program" >/dev/null || { echo "echo '$program not installed' >&2"; exit 1; }
done
mkdir -p "$dir" && chmod 700 "$dir"
export XDG_RUNTIME_DIR=$dir
dbus-daemon --session --fork --address="unix:path=$dir/bus" --print-pid=1 >"$dir/dbus.pid"
export DBUS_SESSION_BUS_ADDRESS=unix:path=$dir/bus
pipewire >"$dir/pipewire.log" 2>&1 &
echo $! >"$dir/pipewire.pid"
sleep 0.5
wireplumber >"$dir/wireplumber.log" 2>&1 &
echo $! >"$dir/wireplumber.pid"
pipewire-pulse >"$dir/pipewire-pulse.log" 2>&1 &
echo $! >"$dir/pipewire-pulse.pid"
export PULSE_SERVER=unix:$dir/pulse/native
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl load-module module-null-sink sink_name=null >/dev/null
pactl set-default-sink null
echo "export XDG_RUNTIME_DIR=$dir PULSE_SERVER=$PULSE_SERVER"
