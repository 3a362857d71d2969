#!/usr/bin/env python3
"""Resident memory and the time from play to the first sound of the embedded synthesizer.

  synth_memory.py song OUT.mid
  synth_memory.py measure SINK SECONDS COMMAND...

`song` writes an ordinary General MIDI song: eight instruments and drums, 12 s. `measure` records
SINK's monitor (display_drift.py's recorder, stamped on CLOCK_MONOTONIC), starts COMMAND, samples
its resident memory every 50 ms, ends it with SIGTERM after SECONDS unless it ends first, and
prints the largest resident size and the time from the start to the first frame above silence.
With PLAY_KEY set (a window: "ctrl+space"), the key is typed into the window with xdotool
3 s after the start, and the time to the sound counts from then."""
import os
import signal
import struct
import subprocess
import sys
import tempfile
import time

import display_drift
from smf import varlen

RES = 480
PROGRAMS = [(0, 0), (1, 33), (2, 48), (3, 25), (4, 61), (5, 73), (6, 4), (7, 40)]
THRESHOLD = 300  # of 32767: well above the resampler's noise


def song(path):
    events = []  # (tick, bytes)
    for channel, program in PROGRAMS:
        events.append((0, bytes([0xC0 | channel, program])))
    # The first note comes at once, so the time to it is the player's alone.
    for beat in range(24 * 2):
        tick = beat * RES // 2
        channel, _ = PROGRAMS[beat % len(PROGRAMS)]
        note = 48 + (beat * 5) % 24
        events.append((tick, bytes([0x90 | channel, note, 100])))
        events.append((tick + RES // 2 - 10, bytes([0x80 | channel, note, 0])))
        events.append((tick, bytes([0x99, 36 if beat % 2 == 0 else 38, 100])))
        events.append((tick + 60, bytes([0x89, 36 if beat % 2 == 0 else 38, 0])))
    events.sort(key=lambda e: e[0])
    body, last = b"", 0
    for tick, data in events:
        body += varlen(tick - last) + data
        last = tick
    body += b"\x00\xFF\x2F\x00"
    track = b"MTrk" + struct.pack(">I", len(body)) + body
    with open(path, "wb") as f:
        f.write(b"MThd" + struct.pack(">IHHH", 6, 0, 1, RES) + track)
    return 0


def resident_kb(pid):
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def measure(sink, seconds, command):
    work = tempfile.mkdtemp()
    raw, stamps = os.path.join(work, "live.raw"), os.path.join(work, "stamps")
    recorder = subprocess.Popen([sys.executable, display_drift.__file__, "record", sink, raw,
                                 stamps])
    time.sleep(0.7)
    start = display_drift.time_ns()
    player = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    peak = 0
    key = os.environ.get("PLAY_KEY")
    if key:
        time.sleep(3)
        subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(player.pid),
                        "windowactivate", "--sync"], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=10)
        start = display_drift.time_ns()
        subprocess.run(["xdotool", "key", key])
    while player.poll() is None and display_drift.time_ns() - start < seconds * 1e9:
        peak = max(peak, resident_kb(player.pid))
        time.sleep(0.05)
    if player.poll() is None:
        player.send_signal(signal.SIGTERM)
        player.wait()
    time.sleep(0.3)
    recorder.send_signal(signal.SIGTERM)
    recorder.wait()
    base, _ = display_drift.frame_line(stamps)
    with open(raw, "rb") as f:
        data = f.read()
    first = None
    for i in range(0, len(data) - 3, 4):
        left, right = struct.unpack_from("<hh", data, i)
        if abs(left) > THRESHOLD or abs(right) > THRESHOLD:
            first = i // 4
            break
    heard = "no sound" if first is None else \
        f"{(base + first * 1_000_000_000 // display_drift.RATE - start) / 1e6:.0f} ms"
    print(f"resident {peak / 1024:.0f} MB, first sound after {heard}")
    return 0


def main(argv):
    if len(argv) == 3 and argv[1] == "song":
        return song(argv[2])
    if len(argv) >= 5 and argv[1] == "measure":
        return measure(argv[2], float(argv[3]), argv[4:])
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
