#!/usr/bin/env python3
"""CPU and peak memory of Druvel and of other MIDI players playing the same song.

  compare_peers.py BUILD_DIR SONG SECONDS [ONLY...]

Run by scripts/compare-peers.sh, which provides the sound server (PULSE_SERVER, a null sink
whose monitor is MONITOR), the display (DISPLAY, with a window manager) and PEER_USER (a user
other than root, for VLC). Each player is started on SONG in turn; once its first sound reaches
the sink's monitor (or, without one within START_TIMEOUT, from its start) the CPU time of its
whole process tree (/proc/PID/stat utime + stime) is taken over SECONDS of wall time, and the
peak resident size (VmHWM, summed over the tree) at the end. ONLY names rows to run (their
keys: window cli aud-qt aud-headless timidity vlc-qt vlc-headless)."""
import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

SOUNDFONT = os.environ.get("PEER_SOUNDFONT", "/usr/share/sounds/sf2/FluidR3_GM.sf2")
RATE = 44100
START_TIMEOUT = 15.0
THRESHOLD = 300  # of 32767
TICKS = os.sysconf("SC_CLK_TCK")

# Druvel's synthesizer as it runs: FluidSynth's defaults but for the gain.
SAME_SOUND = "44.1 kHz, reverb on, chorus on, 256 voices, 4th-order interpolation"


def children():
    kids = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as f:
                stat = f.read()
        except OSError:
            continue
        fields = stat[stat.rindex(")") + 2:].split()
        kids.setdefault(int(fields[1]), []).append(int(entry))
    return kids


def tree(pid):
    kids, out, todo = children(), [], [pid]
    while todo:
        p = todo.pop()
        out.append(p)
        todo.extend(kids.get(p, []))
    return out


def cpu_ticks(pids):
    total = 0
    for p in pids:
        try:
            with open(f"/proc/{p}/stat") as f:
                stat = f.read()
        except OSError:
            continue
        fields = stat[stat.rindex(")") + 2:].split()
        total += int(fields[11]) + int(fields[12])
    return total


def peak_kb(pids):
    total = 0
    for p in pids:
        try:
            with open(f"/proc/{p}/status") as f:
                for line in f:
                    if line.startswith("VmHWM:"):
                        total += int(line.split()[1])
        except OSError:
            pass
    return total


class Monitor:
    """Reads the sink's monitor and tells when something above silence arrived."""

    def __init__(self, source):
        self.proc = subprocess.Popen(
            ["parec", "--raw", "--format=s16le", f"--rate={RATE}", "--channels=2",
             "--latency-msec=50", "-d", source], stdout=subprocess.PIPE,
            stderr=subprocess.DEVNULL)
        os.set_blocking(self.proc.stdout.fileno(), False)

    def heard(self):
        data = self.proc.stdout.read(65536) or b""
        usable = len(data) - len(data) % 2
        for (sample,) in struct.iter_unpack("<h", data[:usable]):
            if abs(sample) > THRESHOLD:
                return True
        return False

    def drain(self):
        self.proc.stdout.read(1 << 20)

    def close(self):
        self.proc.terminate()
        self.proc.wait()


def window_key(pid, key):
    """Types KEY into the first visible window of PID (the Druvel window starts no song)."""
    deadline = time.time() + 10
    while time.time() < deadline:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                               capture_output=True, text=True).stdout.split()
        if found:
            subprocess.run(["xdotool", "windowactivate", "--sync", found[0]],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=5)
            time.sleep(0.3)
            subprocess.run(["xdotool", "key", "--window", found[0], key])
            return True
        time.sleep(0.2)
    return False


def measure(command, seconds, env, monitor, key=None, cwd=None):
    monitor.drain()
    player = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, env=env, cwd=cwd,
                              start_new_session=True)
    try:
        if key:
            time.sleep(2)  # the window's warm-up loads the SoundFont before play is pressed
            if not window_key(player.pid, key):
                return "no window"
        start, sound = time.time(), False
        while time.time() - start < START_TIMEOUT and player.poll() is None:
            if monitor.heard():
                sound = True
                break
            time.sleep(0.02)
        if player.poll() is not None:
            return f"ended early ({player.returncode})"
        pids = tree(player.pid)
        t0, c0 = time.monotonic(), cpu_ticks(pids)
        while time.monotonic() - t0 < seconds:
            time.sleep(0.5)
            pids = sorted(set(pids) | set(tree(player.pid)))
        c1, t1 = cpu_ticks(pids), time.monotonic()
        cpu = (c1 - c0) / TICKS / (t1 - t0) * 100
        peak = peak_kb(pids) / 1024
        return f"{cpu:.1f} % | {peak:.0f} MB" + ("" if sound else " (no sound heard)")
    finally:
        if player.poll() is None:
            os.killpg(player.pid, signal.SIGTERM)
            try:
                player.wait(timeout=5)
            except subprocess.TimeoutExpired:
                os.killpg(player.pid, signal.SIGKILL)
                player.wait()
        time.sleep(0.5)


def audacious_config(home):
    folder = os.path.join(home, ".config", "audacious")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "config"), "w") as f:
        f.write("[audacious]\noutput_plugin=pulse_audio\niface_plugin=qtui\nshow_interface=TRUE\n"
                "\n[amidiplug]\nap_seq_backend=fluidsynth\n"
                f"fsyn_soundfont_file={SOUNDFONT}\nfsyn_synth_samplerate={RATE}\n"
                "fsyn_synth_polyphony=256\nfsyn_synth_reverb=1\nfsyn_synth_chorus=1\n"
                "fsyn_synth_gain=4\n")


def main(argv):
    if len(argv) < 4:
        print(__doc__)
        return 2
    build, song, seconds = argv[1], os.path.abspath(argv[2]), float(argv[3])
    only = set(argv[4:])
    work = tempfile.mkdtemp(prefix="druvel-peers-")
    os.chmod(work, 0o755)
    shutil.copy(song, os.path.join(work, "song.mid"))
    song = os.path.join(work, "song.mid")
    os.chmod(song, 0o644)
    monitor = Monitor(os.environ["MONITOR"])
    env = dict(os.environ)
    env.pop("QT_QPA_PLATFORM", None)
    druvel_home = os.path.join(work, "druvel")
    os.makedirs(druvel_home)
    druvel_env = dict(env, DRUVEL_HOME=druvel_home, DRUVEL_SOUNDFONT=SOUNDFONT)
    peer_home = os.path.join(work, "peer")
    os.makedirs(peer_home)
    audacious_config(peer_home)
    peer_env = dict(env, HOME=peer_home, XDG_CONFIG_HOME=os.path.join(peer_home, ".config"))
    user = os.environ.get("PEER_USER", "")
    if user:
        shutil.chown(peer_home, user)
        for root, dirs, files in os.walk(peer_home):
            for name in dirs + files:
                shutil.chown(os.path.join(root, name), user)
    vlc_options = ["--aout", "pulse", "--no-video", "--play-and-exit", "--no-repeat",
                   "--no-loop", "--soundfont", SOUNDFONT, "--synth-chorus", "--synth-reverb",
                   "--synth-polyphony", "256", "--synth-sample-rate", str(RATE), "--synth-gain", "0.4"]
    as_peer = ["runuser", "-u", user, "--"] if user else []
    fluid = SAME_SOUND + " (FluidSynth)"
    rows = [
        ("window", "druvel window (normal mode)", f"{build}/src/druvel",
         lambda: measure([f"{build}/src/druvel", song], seconds, druvel_env, monitor,
                         key="ctrl+space"), SAME_SOUND),
        ("cli", "druvel-cli play", f"{build}/src/druvel-cli",
         lambda: measure([f"{build}/src/druvel-cli", "play", song], seconds, druvel_env,
                         monitor), SAME_SOUND),
        ("aud-qt", "Audacious, Qt window (its MIDI plugin, FluidSynth)", "audacious",
         lambda: measure(as_peer + ["audacious", "-Q", "-p", song], seconds, peer_env, monitor),
         fluid),
        ("aud-headless", "Audacious headless", "audacious",
         lambda: measure(as_peer + ["audacious", "-H", "-p", song], seconds, peer_env,
                         monitor), fluid),
        ("timidity", "TiMidity++", "timidity",
         lambda: measure(["timidity", "-OO", "-s", str(RATE),
                          "-p", "256", "-EFreverb=1", "-EFchorus=1", "-EFresamp=4", song],
                         seconds, env, monitor),
         "44.1 kHz, Debian's FluidR3_GM set-up (its instruments from the same SoundFont), its own "
         "standard reverb and chorus, 256 voices, 4-point interpolation, libao to PulseAudio"),
        ("vlc-qt", "VLC, Qt window (FluidSynth)", "vlc",
         lambda: measure(as_peer + ["vlc", "-I", "qt"] + vlc_options + [song], seconds,
                         peer_env, monitor), fluid),
        ("vlc-headless", "VLC headless (FluidSynth)", "cvlc",
         lambda: measure(as_peer + ["cvlc"] + vlc_options + [song], seconds, peer_env,
                         monitor), fluid),
    ]
    print(f"{seconds:.0f} s after the first sound, {os.path.basename(argv[2])}, "
          f"{SOUNDFONT}, load average before: {os.getloadavg()[0]:.2f} "
          f"{os.getloadavg()[1]:.2f} {os.getloadavg()[2]:.2f}, {os.cpu_count()} cores")
    print()
    print("| player | CPU | peak resident | runs with |")
    print("|---|---|---|---|")
    for key, name, program, run, sound in rows:
        if only and key not in only:
            continue
        if shutil.which(program) is None and not os.access(program, os.X_OK):
            result = "not installed | "
        elif key.startswith("vlc") and not user:
            result = "needs a user other than root (PEER_USER) | "
        else:
            result = run()
            if "|" not in result:
                result += " | "
        print(f"| {name} | {result} | {sound} |", flush=True)
    print()
    print(f"load average after: {' '.join(f'{x:.2f}' for x in os.getloadavg())}")
    monitor.close()
    shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
