# Sourced by the measuring scripts: ends the script with "nothing measured" (status 0) unless
# parec and pactl are installed and a PulseAudio server is reachable.
if ! command -v pactl >/dev/null || ! command -v parec >/dev/null; then
  echo "pactl/parec not installed: nothing measured."
  exit 0
fi
if ! pactl info >/dev/null 2>&1; then
  echo "No PulseAudio server reachable (set PULSE_SERVER): nothing measured."
  exit 0
fi
