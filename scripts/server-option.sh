# Sourced by the measuring scripts before anything else: takes "--server pulse|pipewire" off the
# command line into $server (any when not given: whichever server is reachable) and leaves the
# rest in $args.
server=any
args=()
while (($#)); do
  case "$1" in
    --server) server=${2:-}; shift 2 || { echo "--server needs pulse or pipewire"; exit 2; } ;;
    --server=*) server=${1#--server=}; shift ;;
    *) args+=("$1"); shift ;;
  esac
done
