#!/usr/bin/env python3
"""Writes three General MIDI songs of over a minute for measuring offline rendering:
  light.mid  four parts (melody, chords, bass, drums), 96 s
  dense.mid  sixteen channels, a note on every channel every eighth note, 72 s
  pads.mid   long sustained chords with sustain pedal, strings and choir, 84 s
Usage: make-render-songs.py OUTDIR"""
import os
import struct
import sys
from smf import track, varlen

RES = 480


def smf(tracks, tempo=500000):
    meta = [(0, 0, b"\xff\x51\x03" + tempo.to_bytes(3, "big"))]
    out = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks) + 1, RES)
    return out + track(meta) + b"".join(track(t) for t in tracks)


def note(events, tick, length, channel, key, velocity):
    events.append((tick, 1, bytes([0x90 | channel, key, velocity])))
    events.append((tick + length, 0, bytes([0x80 | channel, key, 64])))


def light(beats=192):
    melody, chords, bass, drums = [], [], [], []
    melody.append((0, 0, b"\xc0\x00"))
    chords.append((0, 0, b"\xc1\x04"))
    bass.append((0, 0, b"\xc2\x21"))
    scale = [72, 74, 76, 77, 79, 77, 76, 74]
    roots = [60, 65, 67, 60]
    for beat in range(beats):
        t = beat * RES
        note(melody, t, RES - 20, 0, scale[beat % 8], 96)
        if beat % 4 == 0:
            root = roots[beat // 4 % 4]
            for k in (root, root + 4, root + 7):
                note(chords, t, 4 * RES - 20, 1, k, 70)
            note(bass, t, 2 * RES, 2, root - 24, 100)
        note(drums, t, RES // 4, 9, 36 if beat % 2 == 0 else 38, 110)
        note(drums, t + RES // 2, RES // 4, 9, 42, 80)
    return smf([melody, chords, bass, drums])


def dense(beats=144):
    tracks = []
    for channel in range(16):
        ev = []
        if channel != 9:
            ev.append((0, 0, bytes([0xC0 | channel, channel * 8])))
        ev.append((0, 0, bytes([0xB0 | channel, 91, 60])))
        for eighth in range(beats * 2):
            t = eighth * RES // 2
            key = (36 if channel == 9 else 48) + (eighth * 5 + channel * 3) % 24
            note(ev, t, RES // 2 - 10, channel, key, 60 + (eighth * 7 + channel) % 60)
        tracks.append(ev)
    return smf(tracks)


def pads(beats=168):
    tracks = []
    for channel, program in ((0, 48), (1, 52), (2, 89), (3, 0)):
        ev = [(0, 0, bytes([0xC0 | channel, program])), (0, 0, bytes([0xB0 | channel, 91, 100])),
              (0, 0, bytes([0xB0 | channel, 93, 80]))]
        for bar in range(beats // 4):
            t = bar * 4 * RES
            root = [57, 53, 60, 55][bar % 4]
            ev.append((t, 0, bytes([0xB0 | channel, 64, 127])))
            for k in (root, root + 3 + (bar % 2), root + 7, root + 12):
                note(ev, t, 4 * RES - 40, channel, k + (12 if channel == 3 else 0), 80)
            ev.append((t + 4 * RES - 30, 0, bytes([0xB0 | channel, 64, 0])))
        tracks.append(ev)
    return smf(tracks)


def main(outdir):
    os.makedirs(outdir, exist_ok=True)
    for name, data in (("light", light()), ("dense", dense()), ("pads", pads())):
        with open(os.path.join(outdir, name + ".mid"), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ".")
