# Sourced by the measuring scripts before anything else: takes "--server pulse|pipewire" off the
# command line into $server (any when not given: whichever server is reachable) and
# "--driver pipewire|pulseaudio|alsa" into DRUVEL_AUDIO_DRIVER (the synthesizer's audio driver;
# on a PipeWire server, pulseaudio goes through pipewire-pulse), and leaves the rest in $args.
server=any
args=()
while (($#)); do
  case "$1" in
    --server) server=${2:-}; shift 2 || { echo "--server needs pulse or pipewire"; exit 2; } ;;
    --server=*) server=${1#--server=}; shift ;;
    --driver) export DRUVEL_AUDIO_DRIVER=${2:-}; shift 2 || { echo "--driver needs a name"; exit 2; } ;;
    --driver=*) export DRUVEL_AUDIO_DRIVER=${1#--driver=}; shift ;;
    *) args+=("$1"); shift ;;
  esac
done
