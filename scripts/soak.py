#!/usr/bin/env python3
"""Random input on the real window under Xvfb + openbox, for SOAK_SECONDS (default 600) from
SOAK_SEED (default: the time): clicks, drags, the wheel, keys, menus, dialogs opened and closed,
and buttons held across song changes, over real, damaged and archived songs. Stops at the first
abort or sanitizer report with the seed and the last actions; at the end closes the window as a
user does and checks that DRUV.INI was written.

Usage: soak.py PROGRAM (the AddressSanitizer build's druvel)."""
import collections
import os
import random
import shutil
import stat
import sys
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(ROOT, "tests", "desktop"))
from desktop import SKIP, Desktop, Player, Skip, wait_for, write_ini, write_song  # noqa: E402

REPORTS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
           "Assertion failed", "SUMMARY: UndefinedBehaviorSanitizer")
KEYS = ["ctrl+space", "ctrl+Home", "ctrl+Left", "ctrl+Right", "KP_Add", "KP_Subtract",
        "ctrl+KP_Add", "ctrl+KP_Subtract", "alt+KP_Add", "alt+KP_Subtract", "Up", "Down",
        "Home", "End", "Prior", "Next", "Return", "space", "Tab", "Left", "Right", "F1",
        "Delete", "a", "plus", "minus"]
MENU_TITLES = [42, 109, 165, 245, 332]  # x of each menu bar title, for the default font
# Menu paths by keyboard: the dialogs the soak must open and close.
DIALOG_KEYS = {
    "customize": ["alt+v", "End", "Return"],
    "about": ["alt+h", "End", "Return"],
    "help": ["alt+h", "Home", "Return"],
    "open folder": ["alt+f", "Down", "Return"],
    "save playlist": ["ctrl+s"],
}


def make_songs(folder, rng):
    paths = []
    for i in range(4):
        # Several channels, so the spectrum has several meters and mute buttons.
        paths.append(write_song(os.path.join(folder, f"song{i}.mid"), note=48 + 5 * i,
                                count=rng.randint(20, 120), step=rng.choice([60, 120, 240]),
                                name=f"Song {i}", program=i * 8))
    demo = os.path.join(ROOT, "resources", "demo", "druvel-demo.mid")
    data = os.path.join(ROOT, "tests", "data")
    for source in [demo] + [os.path.join(data, n) for n in sorted(os.listdir(data))
                            if n.endswith((".mid", ".rmi", ".lzh"))]:
        if os.path.exists(source):
            target = os.path.join(folder, os.path.basename(source))
            shutil.copyfile(source, target)
            paths.append(target)
    good = open(paths[0], "rb").read()
    damaged = {
        "truncated.mid": good[: len(good) // 2],
        "header-only.mid": good[:14],
        "noise.mid": bytes(rng.randrange(256) for _ in range(3000)),
        "bad-length.mid": good[:18] + b"\x7f\xff\xff\xff" + good[22:],
        "empty.mid": b"",
    }
    for name, data_bytes in damaged.items():
        path = os.path.join(folder, name)
        with open(path, "wb") as f:
            f.write(data_bytes)
        paths.append(path)
    archive = os.path.join(folder, "songs.zip")
    with zipfile.ZipFile(archive, "w") as z:
        z.write(paths[0], "a.mid")
        z.write(paths[1], "sub/b.mid")
        z.writestr("broken.mid", damaged["truncated.mid"])
    paths.append(archive)
    playlist = os.path.join(folder, "all.m3u")
    with open(playlist, "w") as f:
        f.write("\n".join(paths) + "\n")
    return paths, playlist, archive


def stub_programs(folder):
    """Stand-ins for the programs a link or help page could start, so none runs."""
    bin_dir = os.path.join(folder, "bin")
    os.makedirs(bin_dir)
    for name in ("xdg-open", "x-www-browser", "sensible-browser", "gio", "kde-open",
                 "kde-open5", "gnome-open", "firefox", "chromium"):
        path = os.path.join(bin_dir, name)
        with open(path, "w") as f:
            f.write(f"#!/bin/sh\necho \"$0 $*\" >> {folder}/external.log\n")
        os.chmod(path, stat.S_IRWXU)
    return bin_dir


class Soak:
    def __init__(self, desktop, program, seed):
        self.desktop = desktop
        self.program = program
        self.rng = random.Random(seed)
        self.seed = seed
        self.actions = 0
        self.restarts = 0
        self.last = collections.deque(maxlen=40)
        self.songs, self.playlist, self.archive = make_songs(desktop.dir, self.rng)
        bin_dir = stub_programs(desktop.dir)
        self.env = {"PATH": bin_dir + os.pathsep + desktop.env["PATH"], "BROWSER": "true",
                    "ASAN_OPTIONS": "detect_leaks=0:abort_on_error=1",
                    "UBSAN_OPTIONS": "print_stacktrace=1:halt_on_error=1"}
        write_ini(os.path.join(desktop.home, "DRUV.INI"),
                  {"Left": 60, "Top": 40, "Width": 800, "Height": 640, "PlayListWidth": 297})
        self.player = None
        self.types = {}
        self.start()

    def start(self):
        ini = os.path.join(self.desktop.home, "DRUV.INI")
        self.ini_time = os.stat(ini).st_mtime_ns if os.path.exists(ini) else 0
        self.player = Player(self.desktop, self.program, [self.playlist], self.env)
        self.player.activate_quietly()

    def note(self, text):
        self.actions += 1
        self.last.append(f"{self.actions}: {text}")

    def fail(self, why):
        elapsed = time.monotonic() - self.started
        print(f"\nsoak FAILED after {self.actions} actions ({elapsed:.0f} s): {why}")
        print(f"replay: SOAK_SEED={self.seed} make soak")
        print("last actions:\n  " + "\n  ".join(self.last))
        log = self.player.log_text() if self.player else ""
        print("program output (end):\n" + log[-6000:])
        self.desktop.screenshot(os.path.join(self.desktop.dir, "failure.png"))
        self.desktop.keep = True  # the log, the capture and the screenshot
        if self.player:
            self.player.kill()
        return 1

    def check(self):
        """None while all is well, else why the run must stop."""
        log = self.player.log_text()
        for report in REPORTS:
            if report in log:
                return f"'{report}' in the program's output"
        if self.player.alive():
            return None
        code = self.player.proc.returncode
        if code != 0:
            return f"the program ended with status {code}"
        # A random action chose the exit command: a normal end, counted, and started again.
        if not os.path.exists(self.player.ini) or \
                os.stat(self.player.ini).st_mtime_ns == self.ini_time:
            return "the program ended without writing DRUV.INI"
        self.restarts += 1
        self.last.append("(the program ended normally: restarted)")
        if os.environ.get("SOAK_VERBOSE"):
            print("restart after:", " / ".join(list(self.last)[-4:-1]))
        self.player.log.close()
        self.start()
        return None

    # --- actions ------------------------------------------------------------------------

    def at(self, x, y):
        """xdotool's words for a pointer move to (x, y) in the client (negative: from the
        right or bottom); actions chain them into one call."""
        ox, oy, w, h = self.origin
        return ["mousemove", ox + (x if x >= 0 else w + x), oy + (y if y >= 0 else h + y)]

    def point(self):
        _, _, w, h = self.origin
        return self.rng.randrange(2, max(3, w - 2)), self.rng.randrange(22, max(23, h - 2))

    def meter_point(self):
        row = self.rng.randrange(4)
        return 8 + row * 33, -124

    def click(self):
        x, y = self.point()
        button = self.rng.choice([1, 1, 1, 3])
        self.note(f"click {button} at {x},{y}")
        self.desktop.xdo(*self.at(x, y), "click", button)

    def double_click(self):
        x, y = self.point()
        self.note(f"double click at {x},{y}")
        self.desktop.xdo(*self.at(x, y), "click", "--repeat", 2, "--delay", 60, 1)

    def drag(self):
        x, y = self.point()
        self.note(f"drag from {x},{y}")
        words = [*self.at(x, y), "mousedown", 1]
        for _ in range(self.rng.randint(1, 5)):
            words += [*self.at(*self.point()), "sleep", 0.02]
        self.desktop.xdo(*words, "mouseup", 1)

    def wheel(self):
        x, y = self.point()
        button = self.rng.choice([4, 5])
        count = self.rng.randint(1, 6)
        self.note(f"wheel {button} x{count} at {x},{y}")
        self.desktop.xdo(*self.at(x, y), "click", "--repeat", count, "--delay", 20, button)

    def key(self):
        key = self.rng.choice(KEYS)
        self.note(f"key {key}")
        self.player.key(key)

    def held_across_song_change(self):
        x, y = self.meter_point() if self.rng.random() < 0.6 else self.point()
        change = self.rng.choice(["ctrl+Right", "ctrl+Left", "ctrl+Home", "ctrl+space"])
        self.note(f"hold at {x},{y}, {change}, move, release")
        # No --clearmodifiers: it would let go of the button.
        words = [*self.at(x, y), "mousedown", 1, "key", change,
                 "sleep", round(self.rng.uniform(0.05, 0.4), 2)]
        for _ in range(self.rng.randint(1, 4)):
            words += [*self.at(x + self.rng.randint(-40, 80), y + self.rng.randint(-10, 10)),
                      "sleep", 0.03]
        self.desktop.xdo(*words, "mouseup", 1)

    def menu(self):
        x = self.rng.choice(MENU_TITLES)
        self.note(f"menu at {x}")
        self.desktop.xdo(*self.at(x, 9), "click", 1)
        try:
            menus = wait_for("a menu", lambda: self.menus(), 2)
        except AssertionError:
            return
        geometry = self.geometry(menus[-1])
        if geometry and self.rng.random() < 0.8:
            mx, my, mw, mh = geometry
            px, py = mx + self.rng.randrange(4, max(5, mw - 4)), my + self.rng.randrange(
                2, max(3, mh - 2))
            self.note(f"menu item at {px - mx},{py - my}")
            self.desktop.xdo("mousemove", px, py, "sleep", 0.05, "click", 1)
        else:
            self.player.key("Escape")

    def dialog(self):
        name = self.rng.choice(list(DIALOG_KEYS))
        self.note(f"dialog {name}")
        for key in DIALOG_KEYS[name]:
            self.player.key(key)
            time.sleep(0.05)
        self.wait_for_other_window()

    def open_dialog(self):
        target = self.rng.choice([self.playlist, self.archive, self.archive,
                                  self.rng.choice(self.songs)])
        self.note(f"open dialog: {os.path.basename(target)}")
        self.player.key("ctrl+o")
        window = self.wait_for_other_window()
        if not window:
            return
        if self.rng.random() < 0.8:
            self.desktop.xdo("type", "--delay", 2, target)
            self.player.key("Return")
        else:
            self.player.key("Escape")

    def windows(self):
        """The program's mapped windows but the main one, by kind: (menus, others)."""
        out = self.desktop.xdo("search", "--all", "--onlyvisible", "--pid",
                               self.player.proc.pid, "--name", "")
        menus, others = [], []
        for wid in out.split():
            if wid == self.player.window:
                continue
            if wid not in self.types:
                self.types[wid] = self.desktop.run(["xprop", "-id", wid, "_NET_WM_WINDOW_TYPE"],
                                                   check=False)
            kind = self.types[wid]
            if "MENU" in kind:
                menus.append(wid)
            elif not any(k in kind for k in ("TOOLTIP", "COMBO", "DND", "NOTIFICATION")):
                others.append(wid)
        return menus, others

    def menus(self):
        return self.windows()[0]

    def other_windows(self):
        return self.windows()[1]

    def geometry(self, window):
        out = self.desktop.run(["xwininfo", "-id", window], check=False)
        try:
            values = [int(line.split(":")[1]) for line in out.splitlines()
                      if line.strip().startswith(("Absolute upper-left", "Width:", "Height:"))]
            return tuple(values[:4])
        except (ValueError, IndexError):
            return None

    def wait_for_other_window(self):
        try:
            return wait_for("a dialog", self.other_windows, 3)
        except AssertionError:
            return None

    def close_dialogs(self):
        """Dialogs and message boxes: Escape, then the window manager's close if one stays."""
        for attempt in range(8):
            windows = self.other_windows()
            if not windows:
                return True
            target = windows[-1]
            self.desktop.xdo("windowactivate", target)
            time.sleep(0.05)
            active = self.desktop.xdo("getactivewindow").strip()
            if active == self.player.window:
                return True  # the main window has the focus: nothing modal is in the way
            key = "Escape" if attempt < 4 else "alt+F4"
            self.note(f"close window {target} ({key})")
            self.player.key(key)
            time.sleep(0.15)
        return not self.other_windows()

    def step(self):
        self.player.refresh()
        menus, others = self.windows()
        if menus:
            self.player.key("Escape")
        if others:
            self.close_dialogs()
        if self.desktop.xdo("getwindowfocus").strip() != self.player.window:
            self.player.activate_quietly()
        self.origin = self.player.client_origin()
        action = self.rng.choices(
            [self.click, self.double_click, self.drag, self.wheel, self.key,
             self.held_across_song_change, self.menu, self.dialog, self.open_dialog],
            weights=[25, 6, 12, 10, 25, 8, 6, 4, 4])[0]
        action()
        time.sleep(self.rng.uniform(0.0, 0.06))

    def run(self, seconds):
        self.started = time.monotonic()
        deadline = self.started + seconds
        self.player.key("ctrl+space")
        while time.monotonic() < deadline:
            try:
                self.step()
            except AssertionError as error:
                if self.player.alive():
                    self.last.append(f"(harness: {error})")
            why = self.check()
            if why:
                return self.fail(why)
        # The end: nothing in the way, then the window closed as a user does.
        if self.menus():
            self.player.key("Escape")
        self.close_dialogs()
        ini = self.player.ini
        if os.path.exists(ini):
            os.remove(ini)
        code = self.player.close(60)
        why = self.check() if code == 0 else f"closing ended with status {code}"
        if why:
            return self.fail(why)
        if not os.path.exists(ini):
            return self.fail("DRUV.INI was not written at the end")
        external = os.path.join(self.desktop.dir, "external.log")
        print(f"soak passed: {self.actions} actions in {seconds} s, seed {self.seed}, "
              f"{self.restarts} normal exits restarted"
              + (", external programs asked for (stubbed)" if os.path.exists(external) else ""))
        return 0


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    program = os.path.abspath(sys.argv[1])
    seconds = float(os.environ.get("SOAK_SECONDS", "600"))
    seed = int(os.environ.get("SOAK_SEED") or time.time_ns() % 1_000_000_007)
    print(f"soak: {program}, {seconds:.0f} s, seed {seed}")
    try:
        with Desktop() as desktop:
            return Soak(desktop, program, seed).run(seconds)
    except Skip as skip:
        print(f"soak skipped: {skip}")
        return SKIP


if __name__ == "__main__":
    sys.exit(main())
