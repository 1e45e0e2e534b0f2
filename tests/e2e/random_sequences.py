#!/usr/bin/env python3
"""Random user sequences on the Qt editor (its own Xvfb) and the Windows editor (Wine), step
by step: after each step both must show the same window titles and the same canvas pixels.
A long run, not part of ctest. Usage:
random_sequences.py TESSALY TESSALY_EXE [--seeds 500,600,700] [--runs 6] [--steps 50]
                    [--first 0] [--verbose]
    run R of seed S is the sequence random.Random(f"S/R") makes; the first difference ends
    a run and is printed with the steps before it, each part that differs as Qt's / Win32's
    (the pixels' bytes as xwd gives them: blue, green, red)"""

import argparse
import os
import random
import re
import sys
import time
import traceback

from harness import CHAR, MAP_32X24, E2EError, Editor, MainWindowLayout, wait_until
from run_wine import WineEditor, WineSession

# Where the windows' client areas are put, side by side, and a point on the desktop below.
MAIN_AT, MAP_AT, OUTSIDE = (10, 40), (680, 40), (600, 800)
# The map's part compared: what both show unscrolled, with or without scroll bars.
MAP_SHOWN = (500, 360)
RED = (255, 0, 0)
# The program's message boxes, such as a copy of a range onto itself refused.
BOX_TITLE = "Tessaly"
# Picks of the Char menu, as paths for choose_menu: the map's sizes 32x24 and 40x24, fill
# and grid; three built-in sets; drag modes; erase all .. shift down. The colour dialogs
# are left out.
MENU_PICKS = [[0, 0], [0, 1], [0, 4], [0, 5], [1, 0], [1, 1], [1, 2]] + \
    [[i] for i in (2, 3) + tuple(range(6, 18))]
KEYS = ["Left", "Right", "Up", "Down", "Insert", "Delete"]


class Side:
    """One build under test: its editor, where its windows and canvases lie, what it shows."""

    def __init__(self, name, editor):
        self.name = name
        self.e = editor

    # --- setting up

    def start(self):
        self.main = self.e.main_window()
        self.put(self.main, MAIN_AT)
        self.layout = MainWindowLayout(self.e, self.main)
        self.menu_pick(MAP_32X24)
        self.map = self.e.find_window("^Character map")
        self.put(self.map, MAP_AT)
        self.map_origin = self.e.client_origin(self.map)
        info = self.e._run(["xwininfo", "-id", self.map])
        self.map_size = tuple(int(re.search(rf"{what}:\s+(\d+)", info)[1])
                              for what in ("Width", "Height"))
        # The map canvas's corner, from the outline a hover draws around cell (1, 1).
        x, y = self.map_origin
        self.map_canvas = wait_until("the hover outline on the map", lambda: self._outline_corner(
            (x + 20, y + 20), (x + 24, y + 24)))
        self.e.move(*OUTSIDE)

    def put(self, window, at):
        """Moves the window's client area to `at`. Window managers place a window or its
        frame at the point asked for, by its hints: a second move corrects the first."""
        asked = None
        for attempt in range(3):
            now = self.e.client_origin(window)
            if now == at:
                return
            asked = (asked[0] + at[0] - now[0], asked[1] + at[1] - now[1]) if asked else at
            self.e.xdotool("windowmove", window, *asked)
            try:
                wait_until("the window moved", lambda: self.e.client_origin(window) != now, 5)
            except E2EError:
                pass
        raise E2EError(f"{self.name}: the window stays at {now}, not {at}")

    def place_map(self):
        """Puts the map window back where it was and notes where it is."""
        self.put(self.map, MAP_AT)
        self.map_origin = self.e.client_origin(self.map)

    def _outline_corner(self, first, second):
        # A canvas takes the first move over it as the pointer entering only.
        self.e.move(*first)
        self.e.move(*second)
        time.sleep(0.1)
        shot = self.e.screenshot(self.map)
        for y in range(60):
            for x in range(60):
                if shot.pixel(x, y) == RED:
                    return x - 16, y - 16
        return None

    # --- points on the screen

    def cell(self, code):
        return self.layout.cell(code)

    def glyph(self, column, row):
        return self.layout.glyph_editor(16 * column + 8, 16 * row + 8)

    def map_cell(self, x, y):
        return (self.map_origin[0] + self.map_canvas[0] + 16 * x + 8,
                self.map_origin[1] + self.map_canvas[1] + 16 * y + 8)

    # --- popups: override-redirect windows at the top, mapped while a menu is open

    def shown(self):
        return set(self.e._run(["xdotool", "search", "--onlyvisible", "--maxdepth", "1", ""],
                               check=False).split())

    def popup_opened(self, before, what):
        """Waits for a window that `before` lacks; a user types only into a menu shown."""
        return wait_until(what, lambda: self.shown() - before, timeout=10)

    def pick_in_popup(self, point, downs):
        """Right click at `point`, then Down `downs` times and Return, or Escape for 0."""
        before = self.shown()
        self.e.click(*point, button=3)
        opened = self.popup_opened(before, "the popup menu")
        self.e.key(*(["Down"] * downs + ["Return"] if downs else ["Escape"]))
        wait_until("the popup menu to close", lambda: not self.shown() & opened)

    def menu_pick(self, path):
        """A pick in the Char menu by the keys, as choose_menu does, each menu awaited."""
        before = self.shown()
        self.e.click(*self.layout.menu_title(CHAR))
        opened = self.popup_opened(before, "the Char menu")
        for level, index in enumerate(path):
            self.e.key(*["Down"] * (index + 1 if level == 0 else index))
            if level < len(path) - 1:
                self.e.key("Right")
                opened |= wait_until("the submenu", lambda: self.shown() - before - opened,
                                     timeout=10)
        self.e.key("Return")
        wait_until("the menu to close", lambda: not self.shown() & opened)

    # --- what a user sees

    def message_box(self):
        return self.e.window_exists(f"^{BOX_TITLE}$")

    def dismiss_message_box(self):
        """Closes the message box a step left open, as a user reading it would."""
        box = self.e.find_window(f"^{BOX_TITLE}$")
        self.e.activate(box)
        self.e.key("Return")
        wait_until("the message box to close", lambda: not self.message_box())

    def state(self):
        """Titles and canvas pixels; while a message box is open (it may lie over the
        canvases, where each system puts it), the titles only."""
        titles = {"main title": self.e.title(self.main), "map title": self.e.title(self.map),
                  "message box": self.message_box()}
        if titles["message box"]:
            return titles

        def region(shot, x0, y0, width, height):
            line = 4 * width
            return b"".join(shot.pixels[(y0 + y) * shot.bytes_per_line + 4 * x0:][:line]
                            for y in range(height))
        main, mapped = self.e.screenshot(self.main), self.e.screenshot(self.map)
        ox, oy = 2, self.layout.menu_height + 2
        return titles | {
            "overview": region(main, ox, oy, 256, 256),
            "glyph editor": region(main, 262, self.layout.menu_height, 128, 128),
            "map": region(mapped, *self.map_canvas, *MAP_SHOWN),
        }

    # --- a step

    def do(self, step):
        kind, *args = step
        e = self.e
        if self.message_box():
            self.dismiss_message_box()
        if kind == "click cell":
            e.click(*self.cell(args[0]))
        elif kind == "popup on cell":
            self.pick_in_popup(self.cell(args[0]), args[1])
        elif kind == "click glyph":
            e.click(*self.glyph(args[0], args[1]), button=args[2])
        elif kind == "keys over glyph":
            e.move(*self.glyph(4, 4))
            e.key(*args[0])
        elif kind == "click map":
            e.click(*self.map_cell(*args))
        elif kind == "popup on map":
            self.pick_in_popup(self.map_cell(args[0], args[1]), args[2])
        elif kind == "move over map":
            e.move(*self.map_cell(*args))
        elif kind == "move over overview":
            e.move(*self.cell(args[0]))
        elif kind == "move out":
            # Across the map window's corner, as a pointer goes: under Wine a jump straight
            # to the desktop leaves the program seeing the pointer where it was, so that
            # coming back to that very pixel would show it no move.
            e.move(self.map_origin[0] + self.map_size[0] - 2,
                   self.map_origin[1] + self.map_size[1] - 2)
            e.move(*OUTSIDE)
        elif kind == "rest":
            time.sleep(args[0])
        elif kind == "menu":
            self.menu_pick(args[0])
            self.place_map()
        else:
            raise ValueError(kind)


def random_step(rng):
    roll = rng.random()
    if roll < 0.12:
        return ("click cell", rng.randrange(256))
    if roll < 0.20:
        return ("popup on cell", rng.randrange(256), rng.randrange(4))
    if roll < 0.30:
        return ("click glyph", rng.randrange(8), rng.randrange(8), rng.choice((1, 3)))
    if roll < 0.38:
        return ("keys over glyph", [rng.choice(KEYS) for _ in range(rng.randint(1, 3))])
    if roll < 0.48:
        return ("click map", rng.randrange(31), rng.randrange(22))
    if roll < 0.58:
        return ("popup on map", rng.randrange(31), rng.randrange(22), rng.randrange(7))
    if roll < 0.72:
        return ("move over map", rng.randrange(31), rng.randrange(22))
    if roll < 0.78:
        return ("move over overview", rng.randrange(256))
    if roll < 0.86:
        return ("move out",)
    if roll < 0.94:
        return ("rest", round(rng.uniform(0.1, 1.0), 2))
    return ("menu", rng.choice(MENU_PICKS))


def differences(a, b):
    """The parts of two states that differ, described."""
    found = []
    for part in a:
        if part not in b or a[part] == b[part]:
            continue
        if not isinstance(a[part], bytes):
            found.append(f"{part}: {a[part]!r} / {b[part]!r}")
        else:
            width = {"overview": 256, "glyph editor": 128, "map": MAP_SHOWN[0]}[part]
            pixels = [i for i in range(0, len(a[part]), 4) if a[part][i:i + 3] != b[part][i:i + 3]]
            if pixels:
                xs = [(i // 4) % width for i in pixels]
                ys = [(i // 4) // width for i in pixels]
                i = pixels[0]
                found.append(f"{part}: {len(pixels)} pixels in x {min(xs)}..{max(xs)}, "
                             f"y {min(ys)}..{max(ys)}, the first {tuple(a[part][i:i + 3])} / "
                             f"{tuple(b[part][i:i + 3])}")
    return found


def same_state(sides, timeout):
    """Waits until both show the same; returns what still differs after `timeout`."""
    deadline = time.monotonic() + timeout
    while True:
        found = differences(*(side.state() for side in sides))
        if not found or time.monotonic() > deadline:
            return found
        time.sleep(0.1)


def run(qt_binary, session, exe, seed, number, steps, verbose=False):
    """One sequence on both builds; returns None if they matched, else what differed."""
    rng = random.Random(f"{seed}/{number}")
    sequence = [random_step(rng) for _ in range(steps)]
    with Editor(qt_binary) as qt, WineEditor(session, exe) as wine:
        sides = [Side("Qt", qt), Side("Win32", wine)]
        for side in sides:
            side.start()
        found = same_state(sides, 10)
        if found:
            return "after the start: " + "; ".join(found)
        for index, step in enumerate(sequence):
            if verbose:
                print(f"  {index}: {step}", flush=True)
            for side in sides:
                try:
                    side.do(step)
                except E2EError as failure:
                    return f"step {index} {step} on {side.name}: {failure}\n" + \
                        history(sequence, index)
            found = same_state(sides, 5)
            if found:
                return f"step {index} {step}: " + "; ".join(found) + "\n" + \
                    history(sequence, index)
    return None


def history(sequence, index):
    return "  steps before it:\n" + "\n".join(
        f"    {i}: {sequence[i]}" for i in range(max(0, index - 8), index))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("tessaly")
    parser.add_argument("exe")
    parser.add_argument("--seeds", default="500,600,700")
    parser.add_argument("--runs", type=int, default=6)
    parser.add_argument("--first", type=int, default=0, help="the first run's number")
    parser.add_argument("--steps", type=int, default=50)
    parser.add_argument("--verbose", action="store_true", help="print each step")
    args = parser.parse_args()
    seeds = [int(s) for s in args.seeds.split(",")]
    qt_binary, exe = os.path.abspath(args.tessaly), os.path.abspath(args.exe)
    matched = total = 0
    with WineSession() as session:
        for seed in seeds:
            for number in range(args.first, args.first + args.runs):
                begun = time.monotonic()
                try:
                    missed = run(qt_binary, session, exe, seed, number, args.steps, args.verbose)
                except E2EError as failure:
                    missed = f"the run failed: {failure}\n" + traceback.format_exc()
                total += 1
                matched += missed is None
                print(f"seed {seed} run {number}: " + ("match" if missed is None else "MISS " +
                      missed) + f" ({time.monotonic() - begun:.0f} s)", flush=True)
    print(f"{matched} of {total} runs matched")
    return 0 if matched == total else 1


if __name__ == "__main__":
    sys.exit(main())
