#!/usr/bin/env python3
"""Helpers for scripts/measure-display-drift.sh: how far the displays of druvel-controls-demo lag
or lead the sound.

  display_drift.py song OUT.mid
  display_drift.py record SINK OUT.raw OUT.stamps     (until SIGTERM or SIGINT)
  display_drift.py drift OUT.raw OUT.stamps TRACE INTERVAL_MS [SINK_LATENCIES]

The song clicks a woodblock (channel 10) every 240 ticks at 480 ticks per quarter and 120 beats
per minute, 80 times after a bar's rest, each click with a plain lyric syllable on its tick,
eight to a line. `record` runs parec on the sink's monitor and notes, on CLOCK_MONOTONIC, when
each piece of the recording arrived, so every recorded frame gets a monotonic time. `drift`
finds the click onsets and pairs each with the first meter rise and the first syllable the wipe
reached (DRUVEL_TRACE_DISPLAY's records) in the half interval around it."""
import os
import signal
import statistics
import struct
import subprocess
import sys

from live_timing import left_channel_raw, onsets, peak, track, varlen

RES = 480
CLICK_TICKS = 240
CLICKS = 80
LEAD_IN = RES * 4
SYLLABLES_PER_LINE = 8
RATE = 44100
FRAME_BYTES = 4
RISE_GAP_NS = 15_000_000
# A sink's latency is at most what its monitor asks for. The synthesizer's stream asks for one
# 46 ms chunk, of which PulseAudio gives the sink a quarter (11.6 ms) and holds the rest in the
# stream's buffer; a monitor asking for less would shorten the sink and so the sound's whole
# way, which no real device does. Just above it, the recording is still stamped finely.
MONITOR_LATENCY_MS = 12


def lyric(text):
    data = text.encode("ascii")
    return b"\xff\x05" + varlen(len(data)) + data


def song():
    # The song ends a bar after the last click, so the last one is heard and shown too.
    end = LEAD_IN + CLICKS * CLICK_TICKS + RES * 4
    conductor = [(0, b"\xff\x03\x05drift"), (0, b"\xff\x51\x03" + (500000).to_bytes(3, "big")),
                 (end, b"\xff\x06\x03end")]
    clicks = []
    words = []
    for i in range(CLICKS):
        tick = LEAD_IN + i * CLICK_TICKS
        clicks.append((tick, b"\x99\x4c\x78"))
        clicks.append((tick + 60, b"\x89\x4c\x00"))
        words.append((tick, lyric(("/" if i % SYLLABLES_PER_LINE == 0 else "") + "ta ")))
    tracks = [track(conductor), track(clicks), track(words)]
    return b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), RES) + b"".join(tracks)


def record(sink, raw_path, stamps_path):
    stop = []
    for sig in (signal.SIGTERM, signal.SIGINT):
        signal.signal(sig, lambda *_: stop.append(True))
    parec = subprocess.Popen(
        ["parec", "-d", sink + ".monitor", f"--latency-msec={MONITOR_LATENCY_MS}", "--raw",
         "--format=s16le",
         f"--rate={RATE}", "--channels=2"], stdout=subprocess.PIPE)
    fd = parec.stdout.fileno()
    total = 0
    stamps = []
    with open(raw_path, "wb") as raw:
        while not stop:
            try:
                data = os.read(fd, 1 << 16)
            except InterruptedError:
                continue
            now = time_ns()
            if not data:
                break
            raw.write(data)
            total += len(data)
            stamps.append((now, total // FRAME_BYTES))
    parec.terminate()
    parec.wait()
    with open(stamps_path, "w") as out:
        for now, frames in stamps:
            out.write(f"{now} {frames}\n")
    return 0


def time_ns():
    import time
    return time.clock_gettime_ns(time.CLOCK_MONOTONIC)


def frame_line(stamps_path):
    """(ns of frame 0, spread): a frame can arrive no earlier than it was recorded, so the
    earliest arrival of all, less the frames before it, places frame 0."""
    offsets = []
    with open(stamps_path) as f:
        for line in f:
            now, frames = map(int, line.split())
            offsets.append(now - frames * 1_000_000_000 // RATE)
    base = min(offsets)
    return base, statistics.median(o - base for o in offsets) / 1e6


def read_trace(path):
    events = {}
    last_rise = {}
    with open(path) as f:
        for line in f:
            name, value, ns = line.split()
            if name == "dropped":
                print(f"trace: {value} records dropped")
                continue
            events.setdefault(name, []).append(int(ns))
            events.setdefault(name + "-value", []).append(int(value))
            if name == "spectrum-rise":
                # A meter climbs 8 a tick: only the first tick of a climb is a note's rise.
                row, t = int(value), int(ns)
                if t - last_rise.get(row, -RISE_GAP_NS) >= RISE_GAP_NS:
                    events.setdefault("spectrum-onset", []).append(t)
                last_rise[row] = t
    for name, times in events.items():
        if not name.endswith("-value"):
            times.sort()
    return events


def first_at_or_after(times, t):
    import bisect
    i = bisect.bisect_left(times, t)
    return times[i] if i < len(times) else None


def pair(sounds, drawn, taken, painted, window_ns):
    """Per sound: (its index, drawn - sound, shown - sound) in ms, shown being the first paint
    after the first hand-over after the drawing."""
    pairs = []
    for index, s in enumerate(sounds):
        d = first_at_or_after(drawn, s - window_ns)
        if d is not None and not taken:
            # a due time comes before its sound: the last one before it
            import bisect
            i = bisect.bisect_right(drawn, s)
            d = drawn[i - 1] if i > 0 and s - drawn[i - 1] < window_ns else None
        if d is None or d >= s + window_ns:
            continue
        t = first_at_or_after(taken, d)
        p = first_at_or_after(painted, t) if t is not None else None
        pairs.append((index, (d - s) / 1e6, None if p is None else (p - s) / 1e6))
    return pairs


def summary(label, values):
    if not values:
        return f"{label}: none"
    worst = max(values, key=abs)
    return (f"{label}: median {statistics.median(values):+.1f} ms, worst {worst:+.1f} ms "
            f"(min {min(values):+.1f}, max {max(values):+.1f})")


def sink_latency(path):
    """Median of the sink's latency readings (us) taken while the song played: the monitor
    carries a frame when the sink renders it, which plays it that much later."""
    try:
        with open(path) as f:
            values = [int(line) for line in f if line.strip().isdigit()]
    except OSError:
        values = []
    return statistics.median(values) * 1000 if values else 0


def drift(raw_path, stamps_path, trace_path, interval_ms, latency_path=None):
    base, spread = frame_line(stamps_path)
    samples = left_channel_raw(raw_path)
    threshold = peak(samples) * 0.3
    found = onsets(samples, RATE, interval_ms * 0.5, threshold)
    played = sink_latency(latency_path) if latency_path else 0
    sounds = [base + int(played) + i * 1_000_000_000 // RATE for i in found]
    print(f"click onsets: {len(sounds)} (song: {CLICKS}); recording's arrival spread "
          f"{spread:.1f} ms (median over the earliest); sink's latency {played / 1e6:.1f} ms")
    events = read_trace(trace_path)
    window = int(interval_ms * 0.5 * 1e6)
    ok = len(sounds) == CLICKS
    # The output's own delay: each click's due time (as the engine handed it over) to its sound.
    due = events.get("note-due", [])
    # At 250 % the output's delay is longer than the clicks' interval: pair them in order.
    latency = [(s - d) / 1e6 for s, d in zip(sounds, due)] if len(due) == len(sounds) else []
    said = events.get("sound-latency-value")
    print(f"output: says {said[0] / 1000:.1f} ms; " + summary("heard - due", latency))
    for title, prefix, rise in (("spectrum", "spectrum", "spectrum-onset"),
                                ("lyrics", "words", "word-reached")):
        pairs = pair(sounds, events.get(rise, []), events.get(prefix + "-taken", []),
                     events.get(prefix + "-painted", []), window)
        shown = [p for _, _, p in pairs if p is not None]
        print(f"{title}: {len(pairs)} of {len(sounds)} sounds paired")
        print("  " + summary("drawn - heard", [d for _, d, _ in pairs]))
        print("  " + summary("shown - heard", shown))
        if latency:
            # The displays' own part: against when the output says the sound is heard.
            said_ms = said[0] / 1000
            own = [p + latency[i] - said_ms for i, _, p in pairs if p is not None]
            print("  " + summary("shown - (due + said)", own))
        late = [f"{i}:{p:+.0f}" for i, _, p in pairs if p is not None and abs(p) > 20]
        if late:
            print("  beyond 20 ms (click:ms): " + " ".join(late))
        ok = ok and len(shown) >= len(sounds) - 1 and shown and max(map(abs, shown)) <= 20
    print("PASS" if ok else "FAIL")
    return 0 if ok else 1


def main(argv):
    if len(argv) == 3 and argv[1] == "song":
        with open(argv[2], "wb") as f:
            f.write(song())
        return 0
    if len(argv) == 5 and argv[1] == "record":
        return record(argv[2], argv[3], argv[4])
    if len(argv) in (6, 7) and argv[1] == "drift":
        return drift(argv[2], argv[3], argv[4], float(argv[5]), *argv[6:])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
