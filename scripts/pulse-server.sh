# Sourced by the measuring scripts: ends the script with "nothing measured" (status 0) unless
# parec and pactl are installed and a server of the kind in $server is reachable: pulse, pipewire
# (PipeWire through pipewire-pulse) or any (the default).
server=${server:-any}
if ! command -v pactl >/dev/null || ! command -v parec >/dev/null; then
  echo "pactl/parec not installed: nothing measured."
  exit 0
fi
if ! pactl info >/dev/null 2>&1; then
  echo "No PulseAudio or pipewire-pulse server reachable (set PULSE_SERVER): nothing measured."
  exit 0
fi
server_name=$(pactl info | sed -n 's/^Server Name: //p')
case "$server" in
  any) true ;;
  pulse) [[ "$server_name" != *PipeWire* ]] ;;
  pipewire) [[ "$server_name" == *PipeWire* ]] ;;
  *) echo "--server takes pulse or pipewire, not '$server'"; exit 2 ;;
esac || { echo "The reachable server is '$server_name', not $server: nothing measured."; exit 0; }
echo "Server: $server_name"
