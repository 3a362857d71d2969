"""Pieces of a Standard MIDI File shared by the scripts and the desktop tests that write songs."""

import struct


def varlen(value):
    """A variable-length quantity: seven bits a byte, most significant first."""
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, (value & 0x7F) | 0x80)
        value >>= 7
    return bytes(out)


def track(events):
    """events: (tick, order, bytes), sorted by tick then order; returns an MTrk chunk."""
    events.sort(key=lambda e: (e[0], e[1]))
    body, last = b"", 0
    for tick, _, data in events:
        body += varlen(tick - last) + data
        last = tick
    body += b"\x00\xff\x2f\x00"
    return b"MTrk" + struct.pack(">I", len(body)) + body
