#!/usr/bin/env python3
"""Renders every song under the given folders with druvel-cli and prints each one's peak.

Usage: scripts/song-peaks.py DRUVEL_CLI [--soundfont SF2] FOLDER|SONG...
A peak of 0.0 dBFS (and clipped samples) means the output reached full scale.
"""
import math
import os
import struct
import subprocess
import sys
import tempfile


def peak_of(wav_path):
    with open(wav_path, "rb") as f:
        data = f.read()
    samples = struct.unpack("<%dh" % ((len(data) - 44) // 2), data[44:44 + (len(data) - 44) // 2 * 2])
    peak = max((abs(s) for s in samples), default=0)
    clipped = sum(1 for s in samples if s >= 32767 or s <= -32767)
    return peak, clipped


def main():
    args = sys.argv[1:]
    if not args:
        sys.exit(__doc__)
    cli = args.pop(0)
    font = []
    if args[:1] == ["--soundfont"]:
        font = ["--soundfont", args[1]]
        args = args[2:]
    songs = sorted([path for path in args if os.path.isfile(path)] +
                   [os.path.join(root, name) for folder in args for root, _, names in os.walk(folder)
                    for name in names if name.lower().endswith((".mid", ".midi", ".smf"))])
    worst = -math.inf
    clipping = 0
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "out.wav")
        for song in songs:
            run = subprocess.run([cli, "render", *font, "-o", out, song], capture_output=True)
            if run.returncode != 0:
                print("%-60s not rendered (%d)" % (song, run.returncode), flush=True)
                continue
            peak, clipped = peak_of(out)
            db = 20 * math.log10(peak / 32767) if peak else -math.inf
            worst = max(worst, db)
            clipping += clipped > 0
            print("%-60s %7.2f dBFS %6d clipped" % (song, db, clipped), flush=True)
    print("%d songs, loudest %.2f dBFS, %d with clipped samples" % (len(songs), worst, clipping))


if __name__ == "__main__":
    main()
