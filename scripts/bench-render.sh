#!/bin/sh
# Offline rendering against the fluidsynth command line (Debian package fluidsynth) on three
# generated songs of over a minute, same SoundFont. Runs alternate between the programs, so a
# machine whose load changes meanwhile weighs on both alike; prints each median and the ratio.
# Usage: scripts/bench-render.sh [ROUNDS] [DRUVEL_CLI]
set -eu
rounds=${1:-3}
cli=${2:-build/src/druvel-cli}
sf=${DRUVEL_BENCH_SOUNDFONT:-/usr/share/sounds/sf2/FluidR3_GM.sf2}
command -v fluidsynth >/dev/null || { echo "fluidsynth is not installed (apt-get install fluidsynth)"; exit 0; }
[ -x "$cli" ] || { echo "no $cli: build first"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$(dirname "$0")/make-render-songs.py" "$work"

wall() { # prints the wall seconds a command takes
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    awk "BEGIN {print $end - $start}"
}
median() { sort -n | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }

# Other work on the machine slows the single-threaded fluidsynth and the threaded render
# differently, so the load goes with the numbers.
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-6s %10s %10s %10s %8s %8s %s\n' song fluidsynth druvel druvel-1t ratio ratio-1t same-samples
for song in light dense pads; do
    : >"$work/fs" ; : >"$work/dr" ; : >"$work/d1"
    i=0
    while [ $i -lt "$rounds" ]; do
        wall fluidsynth -ni -q -F "$work/fs.wav" "$sf" "$work/$song.mid" >>"$work/fs"
        wall "$cli" render --soundfont "$sf" -o "$work/dr.wav" "$work/$song.mid" >>"$work/dr"
        wall "$cli" render --soundfont "$sf" --threads 1 -o "$work/d1.wav" "$work/$song.mid" >>"$work/d1"
        i=$((i + 1))
    done
    fs=$(median <"$work/fs"); dr=$(median <"$work/dr"); d1=$(median <"$work/d1")
    same=no
    cmp -s "$work/dr.wav" "$work/d1.wav" && same=yes
    printf '%-6s %9.2fs %9.2fs %9.2fs %7.2fx %7.2fx %s\n' "$song" "$fs" "$dr" "$d1" \
        "$(awk "BEGIN {print $fs / $dr}")" "$(awk "BEGIN {print $fs / $d1}")" "$same"
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
