"""A real X desktop for the player: Xvfb, openbox and a private session bus, the real program
started in a temporary home, and real input through XTest (xdotool). Shared by the desktop
tests and the soak."""
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from smf import varlen  # noqa: E402

SKIP = 77  # CTest's SKIP_RETURN_CODE for these tests


class Skip(Exception):
    pass


def wait_for(what, predicate, timeout=10.0, step=0.05):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(step)


# --- songs -------------------------------------------------------------------------------

def write_song(path, note=60, count=64, step=120, name=None, program=0):
    """One track of `count` notes, one every `step` ticks (480 a beat, 120 bpm)."""
    events = b""
    if name:
        title = name.encode()
        events += b"\x00\xff\x03" + varlen(len(title)) + title
    events += b"\x00" + bytes([0xC0, program])
    for _ in range(count):
        events += b"\x00" + bytes([0x90, note, 100]) + varlen(step) + bytes([0x80, note, 0])
    events += b"\x00\xff\x2f\x00"
    data = b"MThd" + struct.pack(">IHHH", 6, 0, 1, 480)
    data += b"MTrk" + struct.pack(">I", len(events)) + events
    with open(path, "wb") as f:
        f.write(data)
    return path


def notes_on(capture_path):
    """The note numbers of every note-on with a velocity in the capture file."""
    notes = []
    with open(capture_path, errors="replace") as f:
        for line in f:
            fields = line.split()
            if len(fields) >= 5 and fields[2][0] == "9" and fields[4] != "00":
                notes.append(int(fields[3], 16))
    return notes


def read_ini(path):
    values = {}
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            key, sep, value = line.rstrip("\r\n").partition("=")
            if sep:
                values.setdefault(key, value)
    return values


def write_ini(path, window=None, options=None):
    lines = ["[Window]"] + [f"{k}={v}" for k, v in (window or {}).items()]
    lines += ["", "[Options]"] + [f"{k}={v}" for k, v in (options or {}).items()]
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


# --- the desktop -------------------------------------------------------------------------

class Desktop:
    """Xvfb on a free display, openbox on it and a session bus of its own."""

    def __init__(self, width=1280, height=1024):
        for tool in ("Xvfb", "openbox", "xdotool", "xwininfo", "xprop", "dbus-daemon"):
            if not shutil.which(tool):
                raise Skip(f"{tool} is not installed (make deps installs it)")
        self.dir = tempfile.mkdtemp(prefix="druvel-desktop-")
        self.home = os.path.join(self.dir, "home")
        os.makedirs(self.home)
        self.procs = []
        self.keep = bool(os.environ.get("DRUVEL_DESKTOP_KEEP"))
        read_fd, write_fd = os.pipe()
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        self.procs.append(xvfb)
        number = self._read_display(read_fd, xvfb)
        self.env = dict(os.environ)
        for key in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "DBUS_SESSION_BUS_ADDRESS"):
            self.env.pop(key, None)
        self.env.update(DISPLAY=f":{number}", HOME=self.home, XDG_CONFIG_HOME=self.home,
                        XDG_CACHE_HOME=self.home, XDG_DATA_HOME=self.home,
                        XDG_RUNTIME_DIR=self.dir)
        bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address"],
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                               env=self.env, text=True)
        self.procs.append(bus)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
        wm = subprocess.Popen(["openbox"], env=self.env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
        self.procs.append(wm)
        try:
            wait_for("openbox", lambda: wm.poll() is not None or self._wm_running(), 10)
        except AssertionError:
            pass
        if wm.poll() is not None or not self._wm_running():
            self.close()
            raise Skip("openbox did not start on the virtual display")

    def _read_display(self, fd, xvfb):
        text = b""
        deadline = time.monotonic() + 10
        os.set_blocking(fd, False)
        while not text.endswith(b"\n"):
            if xvfb.poll() is not None or time.monotonic() > deadline:
                os.close(fd)
                self.close()
                raise Skip("Xvfb did not start")
            try:
                chunk = os.read(fd, 16)
                if chunk:
                    text += chunk
                    continue
            except BlockingIOError:
                pass
            time.sleep(0.02)
        os.close(fd)
        return int(text.strip())

    def _wm_running(self):
        out = self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False)
        return "window id" in out

    def run(self, args, check=True):
        try:
            result = subprocess.run(args, env=self.env, capture_output=True, text=True,
                                    timeout=10)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"{' '.join(args)} did not return")
        if check and result.returncode != 0:
            raise AssertionError(f"{' '.join(args)}: {result.stderr.strip()}")
        return result.stdout

    def xdo(self, *args):
        return self.run(["xdotool", *[str(a) for a in args]], check=False)

    def screenshot(self, path):
        if shutil.which("import"):
            self.run(["import", "-window", "root", path], check=False)

    def close(self):
        for proc in reversed(self.procs):
            if proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
        self.procs = []

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        if exc[0] is None and not self.keep:
            shutil.rmtree(self.dir, ignore_errors=True)
        else:
            print(f"kept {self.dir}")


class Player:
    """The real program on a desktop, with its own DRUV.INI and a capture output."""

    def __init__(self, desktop, program, args=(), extra_env=None):
        self.desktop = desktop
        self.capture = os.path.join(desktop.dir, "capture.txt")
        self.log = open(os.path.join(desktop.dir, "druvel.log"), "ab")
        env = dict(desktop.env)
        env.update(DRUVEL_HOME=desktop.home, DRUVEL_MIDI_OUT="capture:" + self.capture)
        # Under AddressSanitizer: the X and font libraries keep their caches to the end.
        env["ASAN_OPTIONS"] = "detect_leaks=0"
        env.update(extra_env or {})
        self.proc = subprocess.Popen([program, *args], env=env, stdout=self.log,
                                     stderr=subprocess.STDOUT, cwd=desktop.dir)
        self.window = wait_for("the main window", self._find_window, 30)

    def _find_window(self):
        if self.proc.poll() is not None:
            raise AssertionError(f"the program ended at start ({self.proc.returncode})")
        out = self.desktop.xdo("search", "--onlyvisible", "--pid", self.proc.pid,
                               "--name", "^Druvel$")
        # Message boxes carry the program's name too; they belong to the main window.
        ids = [wid for wid in out.split() if "window id" not in self.desktop.run(
            ["xprop", "-id", wid, "WM_TRANSIENT_FOR"], check=False)]
        if getattr(self, "window", None) in ids:
            return self.window
        return ids[0] if ids else None

    def refresh(self):
        """Finds the main window again: a change of the frame's flags makes a new one."""
        found = self._find_window()
        if found:
            self.window = found
        return self.window

    @property
    def ini(self):
        return os.path.join(self.desktop.home, "DRUV.INI")

    def alive(self):
        return self.proc.poll() is None

    def activate(self):
        self.refresh()
        self.desktop.xdo("windowactivate", self.window)
        wait_for("the focus", lambda: self.desktop.xdo("getwindowfocus").strip() == self.window,
                 3)

    def key(self, *keys, clear=True):
        # Clearing the modifiers also lets go of held mouse buttons.
        self.desktop.xdo("key", *(["--clearmodifiers"] if clear else []), *keys)

    def client_origin(self):
        """The top-left of the window's client (inside the frame), in screen pixels."""
        if not self.alive():
            raise AssertionError(f"the program ended ({self.proc.returncode}): "
                                 f"{self.log_text()[-1500:]}")
        out = self.desktop.run(["xwininfo", "-id", self.window])
        x = int(re.search(r"Absolute upper-left X:\s+(-?\d+)", out).group(1))
        y = int(re.search(r"Absolute upper-left Y:\s+(-?\d+)", out).group(1))
        w = int(re.search(r"Width:\s+(\d+)", out).group(1))
        h = int(re.search(r"Height:\s+(\d+)", out).group(1))
        return x, y, w, h

    def state(self):
        return self.desktop.run(["xprop", "-id", self.window, "_NET_WM_STATE"], check=False)

    def at(self, x, y):
        """Moves the pointer to (x, y) inside the window (negative: from the right/bottom)."""
        ox, oy, w, h = self.client_origin()
        self.desktop.xdo("mousemove", ox + (x if x >= 0 else w + x), oy + (y if y >= 0 else h + y))

    def popups(self, kind):
        """Mapped windows of this program whose type is `kind` (TOOLTIP, POPUP_MENU ...)."""
        found = []
        out = self.desktop.xdo("search", "--all", "--onlyvisible", "--pid", self.proc.pid,
                               "--name", "")
        for wid in out.split():
            if wid == self.window:
                continue
            types = self.desktop.run(["xprop", "-id", wid, "_NET_WM_WINDOW_TYPE"], check=False)
            if "_NET_WM_WINDOW_TYPE_" + kind in types:
                found.append(wid)
            elif kind == "POPUP_MENU" and "TOOLTIP" not in types and self.override_redirect(wid):
                # Qt does not always type its menus; an unmanaged window that is no tooltip
                # is one.
                found.append(wid)
        return found

    def override_redirect(self, wid):
        info = self.desktop.run(["xwininfo", "-id", wid], check=False)
        return "Override Redirect State: yes" in info

    def mpris(self, prop):
        out = self.desktop.run(
            ["dbus-send", "--session", "--print-reply", "--dest=org.mpris.MediaPlayer2.druvel",
             "/org/mpris/MediaPlayer2", "org.freedesktop.DBus.Properties.Get",
             "string:org.mpris.MediaPlayer2.Player", f"string:{prop}"], check=False)
        match = re.search(r"variant\s+(\w+)\s+(\"?[^\"\n]*\"?)", out)
        if not match:
            return None
        kind, value = match.groups()
        return float(value) if kind == "double" else value.strip('"')

    def close(self, timeout=20):
        """Closes the window as a user does (the window manager's close key); returns the
        exit status."""
        if self.alive():
            self.refresh()
            self.activate_quietly()
            self.key("alt+F4")
            try:
                self.proc.wait(timeout)
            except subprocess.TimeoutExpired:
                self.kill()
                raise AssertionError("the program did not end after its window was closed")
        self.log.close()
        return self.proc.returncode

    def activate_quietly(self):
        try:
            self.activate()
        except AssertionError:
            pass

    def kill(self):
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGKILL)
            self.proc.wait()

    def log_text(self):
        with open(self.log.name, errors="replace") as f:
            return f.read()
