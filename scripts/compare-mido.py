#!/usr/bin/python3
"""Loads every MIDI file named on stdin with druvel-cli and with python3-mido and compares
the event count and the song length. Usage: find ... -name '*.mid' | compare-mido.py CLI"""
import json
import subprocess
import sys

import mido

SKIPPED_META = {'text', 'track_name', 'lyrics', 'cue_marker', 'end_of_track'}


def reference(path):
    """Event count and length in ms by the loader's rules, from mido's parse of the file."""
    mid = mido.MidiFile(path)
    timed = []
    for number, track in enumerate(mid.tracks):
        tick = 0
        for order, msg in enumerate(track):
            tick += msg.time
            timed.append((tick, number, order, msg))
    timed.sort(key=lambda t: (t[0], t[1], t[2]))
    events, now, tempo, length_us = 0, 0, 500000, 0
    res = mid.ticks_per_beat
    last_track = {}
    for tick, number, order, msg in timed:
        if msg.type == 'end_of_track':
            continue
        d = tick - now
        now = tick
        length_us += (d * tempo + res // 2) // res
        if msg.type == 'set_tempo':
            tempo = msg.tempo
        if not (msg.is_meta and msg.type in SKIPPED_META):
            events += 1
    return events, length_us // 1000, round(mid.length * 1000)


def main():
    cli = sys.argv[1]
    paths = [line.strip() for line in sys.stdin if line.strip()]
    same = differ = 0
    for path in paths:
        run = subprocess.run([cli, 'info', '--json', path], capture_output=True, text=True)
        if run.returncode != 0:
            print(f'NOT LOADED {path}: {run.stderr.strip()}')
            differ += 1
            continue
        info = json.loads(run.stdout)
        try:
            events, length, mido_length = reference(path)
        except Exception as error:  # mido refuses some files the loader reads
            print(f'MIDO FAILED {path}: {error}; druvel events={info["events"]}')
            continue
        if (events, length) == (info['events'], info['length_ms']):
            same += 1
        else:
            differ += 1
            print(f'DIFFER {path}: druvel {info["events"]} ev {info["length_ms"]} ms, '
                  f'mido {events} ev {length} ms')
        if abs(mido_length - info['length_ms']) > 1:
            print(f'  note {path}: mido.length {mido_length} ms (counts the final pause)')
    print(f'{len(paths)} files, {same} agree, {differ} differ')
    return 1 if differ else 0


if __name__ == '__main__':
    sys.exit(main())
