#!/usr/bin/env python3
"""The window on a real X server with a window manager, driven by real input.
Usage: desktop_tests.py PROGRAM CASE. Exits 77 (skipped) where no virtual desktop can start."""
import os
import sys
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import (SKIP, Desktop, Player, Skip, notes_on, read_ini, wait_for,  # noqa: E402
                     write_ini, write_song)

CASES = {}

# Where things are in an 800 x 640 window at the default layout (playlist 297 wide): the
# bottom rows are anchored to the client's bottom edge.
WINDOW = {"Left": 100, "Top": 100, "Width": 800, "Height": 640, "PlayListWidth": 297}
STOP_BUTTON = (151, -172)  # the toolbar, just above the seek bar
MUTE_ROW0 = (8, -124)      # the first meter's mute button
PLAYLIST_ROW0 = (600, 46)
PLAYLIST_BELOW = (600, 300)


def case(function):
    CASES[function.__name__] = function
    return function


def start(desktop, program, songs, window=None, options=None):
    write_ini(os.path.join(desktop.home, "DRUV.INI"), window or WINDOW, options)
    player = Player(desktop, program, songs)
    player.activate()
    return player


def close_normally(player):
    status = player.close()
    assert status == 0, f"exit status {status}: {player.log_text()[-2000:]}"
    assert os.path.exists(player.ini), "DRUV.INI was not written"
    return read_ini(player.ini)


@case
def keypad_keys(program):
    with Desktop() as desktop:
        song = write_song(os.path.join(desktop.dir, "long.mid"), note=60, count=400)
        player = start(desktop, program, [song])
        wait_for("the player's bus name", lambda: player.mpris("Rate") is not None)
        assert player.mpris("Rate") == 1.0
        player.key("ctrl+KP_Add")
        wait_for("Ctrl+keypad + to raise the tempo", lambda: player.mpris("Rate") > 1.0, 5)
        player.key("ctrl+KP_Subtract", "ctrl+KP_Subtract")
        wait_for("Ctrl+keypad - to lower the tempo", lambda: player.mpris("Rate") < 1.0, 5)
        volume = player.mpris("Volume")
        player.key("alt+KP_Subtract")
        wait_for("Alt+keypad - to lower the volume", lambda: player.mpris("Volume") < volume, 5)
        lowered = player.mpris("Volume")
        player.key("alt+KP_Add")
        wait_for("Alt+keypad + to raise the volume", lambda: player.mpris("Volume") > lowered, 5)
        # The key shows in the notes sent: two up, one down.
        player.key("KP_Add", "KP_Add", "KP_Subtract")
        player.key("ctrl+space")
        wait_for("playback", lambda: player.mpris("PlaybackStatus") == "Playing", 5)
        time.sleep(0.3)
        close_normally(player)
        notes = notes_on(player.capture)
        assert notes, "nothing was played"
        assert set(notes) == {61}, f"notes sent: {sorted(set(notes))} (61 expected)"


def placement_runs(desktop, program, song, window, runs=3):
    seen = []
    write_ini(os.path.join(desktop.home, "DRUV.INI"), window)
    for _ in range(runs):
        player = Player(desktop, program, [song])
        maximised = window.get("Show") == 1
        if maximised:
            wait_for("the maximised state", lambda: "MAXIMIZED_VERT" in player.state(), 5)
        else:
            wait_for("a normal window", lambda: player.client_origin()[2] == window["Width"], 5)
            seen.append(player.client_origin())
        ini = close_normally(player)
        saved = {k: int(ini[k]) for k in ("Show", "Left", "Top", "Width", "Height")}
        want = {k: window[k] for k in saved}
        assert saved == want, f"saved {saved}, started from {want}"
    if seen:
        assert all(s == seen[0] for s in seen), f"the window moved between runs: {seen}"


def compact_and_back(player):
    """View menu: compact, then the normal window (keyboard, as the menu's first item is
    highlighted when the menu opens)."""
    before = player.client_origin()
    for downs in (2, 1):
        player.activate()  # a frame's flags changed: the window was shown again
        player.key("alt+v")
        # A menu made again after a frame change carries no menu type: any window will do.
        wait_for("the view menu", lambda: player.popups(""), 5)
        player.key(*["Down"] * downs, "Return")
        wait_for("the mode's height", lambda: (player.client_origin()[3] < 200) == (downs == 2),
                 5)
    wait_for("the saved size", lambda: player.client_origin()[2:] == before[2:], 5)
    assert player.client_origin() == before, f"{before} became {player.client_origin()}"


@case
def placement_round_trip(program):
    with Desktop() as desktop:
        song = write_song(os.path.join(desktop.dir, "song.mid"))
        placement_runs(desktop, program, song, {**WINDOW, "Show": 0})
        placement_runs(desktop, program, song, {**WINDOW, "Show": 1})
        # A mode with a fixed height and back: the window keeps its place and its size.
        player = start(desktop, program, [song], {**WINDOW, "Show": 0})
        compact_and_back(player)
        ini = close_normally(player)
        assert (int(ini["Left"]), int(ini["Top"]), int(ini["Height"])) == (100, 100, 640), ini


def tooltip_after_hover(desktop, program, song, hints):
    player = start(desktop, program, [song], options={"ShowToolHint": hints})
    player.at(*STOP_BUTTON)
    time.sleep(0.1)
    player.at(STOP_BUTTON[0] + 2, STOP_BUTTON[1])  # a motion inside the button starts the timer
    try:
        wait_for("a tooltip", lambda: player.popups("TOOLTIP"), 2.5 if hints == 0 else 6)
        shown = True
    except AssertionError:
        shown = False
    close_normally(player)
    return shown


@case
def tool_hints(program):
    with Desktop() as desktop:
        song = write_song(os.path.join(desktop.dir, "song.mid"))
        assert tooltip_after_hover(desktop, program, song, 1), "no tooltip with tool hints on"
        assert not tooltip_after_hover(desktop, program, song, 0), "a tooltip with tool hints off"


@case
def playlist_context_menu(program):
    with Desktop() as desktop:
        song = write_song(os.path.join(desktop.dir, "song.mid"))
        player = start(desktop, program, [song])
        player.at(*PLAYLIST_BELOW)
        desktop.xdo("click", 3)
        time.sleep(0.5)
        below = bool(player.popups("POPUP_MENU"))
        if below:
            player.key("Escape")
            wait_for("the menu to close", lambda: not player.popups("POPUP_MENU"), 5)
        player.at(*PLAYLIST_ROW0)
        desktop.xdo("click", 3)
        try:
            wait_for("a menu", lambda: player.popups("POPUP_MENU"), 5)
            on_row = True
            player.key("Escape")
        except AssertionError:
            on_row = False
        close_normally(player)
        assert on_row, "no context menu on row 0"
        assert not below, "a context menu below the last row"


@case
def mute_held_across_song_change(program):
    with Desktop() as desktop:
        songs = [write_song(os.path.join(desktop.dir, f"song{i}.mid"), note=60 + i, count=400)
                 for i in range(4)]
        player = start(desktop, program, songs)
        player.key("ctrl+space")
        wait_for("playback", lambda: player.mpris("PlaybackStatus") == "Playing", 5)
        x, y = MUTE_ROW0
        for change in ("ctrl+Right", "ctrl+Right", "ctrl+Left"):
            time.sleep(0.3)  # the song's meters are shown
            player.at(x, y)
            desktop.xdo("mousedown", 1)
            player.key(change, clear=False)
            time.sleep(0.3)  # the next song's rows replace the held one's
            for dx in (5, 30, 60, 90):
                player.at(x + dx, y)
                time.sleep(0.05)
            desktop.xdo("mouseup", 1)
        for dx in (0, 40, 80):  # later drags over the meters
            player.at(x + dx, y)
            desktop.xdo("mousedown", 1)
            player.at(x + dx + 30, y)
            desktop.xdo("mouseup", 1)
        assert player.alive(), f"the program ended: {player.log_text()[-2000:]}"
        close_normally(player)


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in CASES:
        print(f"usage: {sys.argv[0]} PROGRAM {{{','.join(CASES)}}}")
        return 2
    try:
        CASES[sys.argv[2]](os.path.abspath(sys.argv[1]))
    except Skip as skip:
        print(f"skipped: {skip}")
        return SKIP
    except AssertionError:
        traceback.print_exc()
        return 1
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
