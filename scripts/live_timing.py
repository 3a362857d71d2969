#!/usr/bin/env python3
"""Helpers for scripts/measure-live-timing.sh: writes the test songs and compares the onsets of a
live recording with those of the offline render.

  live_timing.py song clicks|dense OUT.mid
  live_timing.py compare LIVE.raw RENDER.wav EXPECTED_MS

The songs click a woodblock (channel 10, note 76) every 240 ticks at 480 ticks per quarter and
120 beats per minute, 80 times. The dense one adds a quiet note on or off every 10 ms on eight
other channels, so the synthesizer gets a busy stream of messages while the clicks stay the
only loud onsets."""
import array
import struct
import sys
import wave
from smf import varlen

RES = 480
CLICK_TICKS = 240
CLICKS = 80


def track(events):
    """events: (tick, bytes) in any order; returns an MTrk chunk."""
    body = b""
    now = 0
    for tick, data in sorted(events, key=lambda e: e[0]):
        body += varlen(tick - now) + data
        now = tick
    body += varlen(0) + b"\xff\x2f\x00"
    return b"MTrk" + struct.pack(">I", len(body)) + body


def song(dense):
    tempo = [(0, b"\xff\x51\x03" + (500000).to_bytes(3, "big"))]
    clicks = []
    for i in range(CLICKS):
        clicks.append((i * CLICK_TICKS, b"\x99\x4c\x78"))
        clicks.append((i * CLICK_TICKS + 60, b"\x89\x4c\x00"))
    tracks = [track(tempo), track(clicks)]
    if dense:
        # 10 ms is 9.6 ticks at this tempo: alternate 10 and 9 ticks.
        busy = [(0, bytes([0xC0 + ch, 0])) for ch in range(8)]
        tick, step, ch = 0, 0, 0
        end = CLICKS * CLICK_TICKS
        while tick + 40 < end:
            note = 40 + (step % 24)
            busy.append((tick, bytes([0x90 + ch, note, 1])))
            busy.append((tick + 30, bytes([0x80 + ch, note, 0])))
            tick += 10 if step % 5 < 3 else 9
            step += 1
            ch = (ch + 1) % 8
        tracks.append(track(busy))
    header = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), RES)
    return header + b"".join(tracks)


def peak(samples):
    return max(max(samples), -min(samples)) or 1


def onsets(samples, rate, skip_ms, threshold):
    """Sample indexes where the level first passes threshold, ignoring skip_ms after each."""
    skip = int(rate * skip_ms / 1000)
    found = []
    i = 0
    n = len(samples)
    while i < n:
        if abs(samples[i]) >= threshold:
            found.append(i)
            i += skip
        else:
            i += 1
    return found


def left_channel_raw(path):
    data = array.array("h")
    with open(path, "rb") as f:
        data.frombytes(f.read())
    if sys.byteorder != "little":
        data.byteswap()
    return data[0::2]


def left_channel_wav(path):
    with wave.open(path, "rb") as w:
        assert w.getsampwidth() == 2
        channels = w.getnchannels()
        data = array.array("h")
        data.frombytes(w.readframes(w.getnframes()))
        if sys.byteorder != "little":
            data.byteswap()
        return data[0::channels], w.getframerate()


def compare(live_path, render_path, expected_ms):
    rate = 44100
    skip_ms = expected_ms * 0.5
    render_samples, render_rate = left_channel_wav(render_path)
    # The render's clicks set the level: notes that come out together in the recording must
    # not raise the threshold above the single clicks.
    threshold = peak(render_samples) * 0.3
    live = onsets(left_channel_raw(live_path), rate, skip_ms, threshold)
    render = onsets(render_samples, render_rate, skip_ms, threshold)
    ms = lambda frames, r=rate: frames * 1000.0 / r
    intervals = [ms(b - a) for a, b in zip(live, live[1:])]
    print(f"onsets: live {len(live)}, render {len(render)}")
    if len(intervals) < 2:
        print("too few onsets in the recording")
        return 1
    print("live intervals (ms):", " ".join(f"{x:.1f}" for x in intervals))
    worst = max(abs(x - expected_ms) for x in intervals)
    print(f"intervals: first {intervals[0]:.2f}, min {min(intervals):.2f}, "
          f"max {max(intervals):.2f}, worst |interval - {expected_ms:g}| = {worst:.2f} ms")
    count = min(len(live), len(render))
    deviations = [ms(live[i] - live[0]) - ms(render[i] - render[0], render_rate)
                  for i in range(count)]
    dev_max = max(abs(d) for d in deviations)
    print(f"against the render ({count} onsets, first aligned): max |deviation| {dev_max:.2f} ms, "
          f"at the end {deviations[-1]:+.2f} ms")
    # A sink whose clock runs off the system's stretches the recording evenly; that is not the
    # player's timing, so it is shown apart.
    xs = [ms(render[i] - render[0], render_rate) for i in range(count)]
    mean_x = sum(xs) / count
    mean_d = sum(deviations) / count
    var = sum((x - mean_x) ** 2 for x in xs) or 1.0
    slope = sum((x - mean_x) * (d - mean_d) for x, d in zip(xs, deviations)) / var
    residual = max(abs(d - slope * x) for x, d in zip(xs, deviations))
    print(f"sink clock against the system clock: {slope * 1e6:+.0f} ppm; without it, "
          f"max |deviation| {residual:.2f} ms")
    ok = worst <= 2.0 and dev_max <= 3.0 and len(live) == len(render)
    print("PASS" if ok else "FAIL")
    return 0 if ok else 1


def main(argv):
    if len(argv) == 4 and argv[1] == "song":
        with open(argv[3], "wb") as f:
            f.write(song(argv[2] == "dense"))
        return 0
    if len(argv) == 5 and argv[1] == "compare":
        return compare(argv[2], argv[3], float(argv[4]))
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
