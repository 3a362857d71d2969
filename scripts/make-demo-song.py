#!/usr/bin/env python3
"""Writes resources/demo/druvel-demo.mid, the short song `make run` plays: an original tune
of sixteen bars (melody, chords, bass, drums) with lyric events, made from the notes below."""
import struct
import sys
from smf import track, varlen

RES = 480
BAR = RES * 4

MELODY = [  # (beat, length in beats, note, syllable)
    (0, 1, 72, "/Play"), (1, 1, 74, "ing "), (2, 2, 76, "songs "),
    (4, 1, 77, "from "), (5, 1, 76, "the "), (6, 2, 74, "disk, "),
    (8, 1, 72, "/notes "), (9, 1, 71, "in "), (10, 1, 69, "their "), (11, 1, 71, "own "),
    (12, 4, 72, "time."),
    (16, 1, 76, "/Lyr"), (17, 1, 77, "ics "), (18, 2, 79, "wipe "),
    (20, 1, 81, "a"), (21, 1, 79, "cross "), (22, 2, 77, "the "),
    (24, 1, 76, "/line "), (25, 1, 74, "and "), (26, 1, 72, "the "), (27, 1, 74, "bars "),
    (28, 4, 72, "shine."),
]
CHORDS = [[60, 64, 67], [65, 69, 72], [67, 71, 74], [60, 64, 67]]
BASS = [48, 53, 55, 48]


def meta(kind, text):
    data = text.encode("ascii")
    return bytes([0xFF, kind]) + varlen(len(data)) + data


def note(tick, length, channel, number, velocity, events):
    events.append((tick, 1, bytes([0x90 | channel, number, velocity])))
    events.append((tick + length, 0, bytes([0x80 | channel, number, 0x40])))


def main(path):
    conductor = [(0, 0, meta(0x03, "Druvel demo")),
                 (0, 0, bytes([0xFF, 0x51, 0x03]) + (500000).to_bytes(3, "big")),
                 (BAR * 8, 0, bytes([0xFF, 0x51, 0x03]) + (461538).to_bytes(3, "big"))]
    melody = [(0, 0, bytes([0xC0, 73])), (0, 0, bytes([0xB0, 7, 110]))]
    chords = [(0, 0, bytes([0xC1, 48])), (0, 0, bytes([0xB1, 7, 70]))]
    bass = [(0, 0, bytes([0xC2, 33])), (0, 0, bytes([0xB2, 7, 100]))]
    drums = [(0, 0, bytes([0xB9, 7, 90]))]
    for repeat in range(2):
        offset = repeat * 32 * RES
        for beat, length, number, syllable in MELODY:
            tick = offset + beat * RES
            note(tick, length * RES - 40, 0, number, 96, melody)
            melody.append((tick, 0, meta(0x05, syllable)))
    for bar in range(16):
        tick = bar * BAR
        for number in CHORDS[bar % 4]:
            note(tick, BAR - 20, 1, number, 64, chords)
        for beat in range(4):
            note(tick + beat * RES, RES // 2, 2, BASS[bar % 4] - 12 + (7 if beat % 2 else 0), 90,
                 bass)
            note(tick + beat * RES, RES // 4, 9, 36 if beat % 2 == 0 else 38, 100, drums)
            note(tick + beat * RES + RES // 2, RES // 4, 9, 42, 70, drums)
    tracks = [conductor, melody, chords, bass, drums]
    data = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), RES)
    data += b"".join(track(t) for t in tracks)
    with open(path, "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/demo/druvel-demo.mid")
