#!/usr/bin/env python3
"""Real-window tests of the Windows editor under Wine, on one Xvfb display with openbox and
one Wine prefix shared by all tests. Usage:
run_wine.py TESSALY_EXE [--probe PROBE_EXE] [--unit TESTS_EXE]...
            [--convert CONVERT_EXE --linux-convert LINUX_CONVERT] [TEST_NAME...]
    the tests (all without names); the unit test programs, when given, run first in the
    same prefix, then the converter's table against the Linux one (convert_same.py); the
    probe (tests/e2e/win32_probe.cpp) reads window texts and drops files
run_wine.py TESSALY_EXE --screenshot OUT.png  a screenshot of the editor instead"""

import argparse
import collections
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import traceback
import types

from convert_same import test_convert_same_bytes
from harness import (BLACK, CHAR, FILE, MAP_32X24, MARKER, SAVE_2048, WHITE, E2EError, Editor,
                     MainWindowLayout, Screenshot, choose_menu, expect, save_through_dialog,
                     start_display, start_window_manager, stop_processes, wait_until)

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CHARSET_CGA = [1, 0]
MAP_40X24, MAP_80X50 = [0, 1], [0, 2]
PAPER_COLOUR = [4]
# The editor's child window ids: its control ids from 1000 on.
OVERVIEW_ID, MAP_CANVAS_ID = 1000, 1002
SHIFT_BUTTONS = [(1009, "<", "shift left"), (1011, "^", "shift up"), (1012, "v", "shift down"),
                 (1010, ">", "shift right")]
# The common dialogs' own ids.
IDOK, RED_EDIT, GREEN_EDIT, BLUE_EDIT, FILE_TYPES = 1, 706, 707, 708, 1136

Child = collections.namedtuple("Child", "id cls text rect")


class Win(collections.namedtuple("Win", "cls text children")):
    """A visible top-level window as the probe lists it, with its child windows."""

    def child(self, control_id, cls=None):
        for c in self.children:
            if c.id == control_id and (cls is None or c.cls == cls):
                return c
        raise E2EError(f"{self.text!r} has no child {control_id} {cls or ''}")


def centre(rect):
    x, y, w, h = rect
    return x + w // 2, y + h // 2


def unescape(text):
    """A text as the probe prints it, with its backslash escapes undone."""
    return re.sub(r"\\(.)", lambda m: {"n": "\n", "t": "\t"}.get(m[1], m[1]), text)


class Skipped(Exception):
    """A test that cannot apply to this tree."""


def windows_path(path):
    """The path as the program sees it through Wine's Z: drive."""
    return "Z:" + path.replace("/", "\\")


class WineSession:
    """Xvfb, openbox, a fresh Wine prefix and a running wineserver, for all the tests."""

    def __init__(self, probe=None):
        self.folder = tempfile.mkdtemp(prefix="tessaly-wine-")
        self.processes = []
        self.probe_exe = probe

    def __enter__(self):
        try:
            self._start()
            return self
        except BaseException:
            self.__exit__(None, None, None)
            raise

    def _start(self):
        # Room for the windows at twice the size, on a screen scaled to 200 %.
        self.display = start_display(self.processes, "2560x1600")
        runtime = os.path.join(self.folder, "runtime")
        os.makedirs(runtime, mode=0o700)
        self.env = dict(os.environ, DISPLAY=self.display, XDG_RUNTIME_DIR=runtime,
                        WINEPREFIX=os.path.join(self.folder, "prefix"), WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=", LANG="C.UTF-8", LC_ALL="C.UTF-8")
        start_window_manager(self.env, self.processes, os.path.join(self.folder, "openbox.log"))
        started = time.monotonic()
        # One server for the whole run, so that each start of the program is quick.
        os.makedirs(self.env["WINEPREFIX"])
        subprocess.run(["wineserver", "-p"], env=self.env, timeout=30, check=True)
        subprocess.run(["wineboot", "-i"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=120, check=True)
        print(f"Wine prefix ready in {time.monotonic() - started:.1f} s", flush=True)

    def probe(self, *args):
        """Runs the probe in this session and returns what it printed."""
        if not self.probe_exe:
            raise E2EError("this test needs --probe")
        result = subprocess.run(["wine", self.probe_exe] + [str(a) for a in args], env=self.env,
                                capture_output=True, timeout=30)
        if result.returncode != 0:
            raise E2EError(f"probe {args} failed: {result.stdout!r}")
        return result.stdout.decode("utf-8")

    def windows(self):
        """The visible top-level windows of the session, through the probe."""
        found = []
        for line in self.probe("list").splitlines():
            fields = line.split("\t")
            if fields[0] == "W":
                found.append(Win(fields[2], unescape(fields[3]), []))
            elif fields[0] == "C" and found:
                rect = tuple(int(v) for v in fields[5].split(","))
                found[-1].children.append(Child(int(fields[2]), fields[3], unescape(fields[4]),
                                                rect))
        return found

    def wait_window(self, cls, text, timeout=10):
        """The visible window of that class and text, once it is there."""
        def search():
            return next((w for w in self.windows() if w.cls == cls and w.text == text), None)
        return wait_until(f"a {cls} window {text!r}", search, timeout)

    def __exit__(self, *exc):
        if hasattr(self, "env"):
            subprocess.run(["wineserver", "-k"], env=self.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=30)
        stop_processes(self.processes)
        shutil.rmtree(self.folder, ignore_errors=True)
        return False


class WineEditor(Editor):
    """One run of the .exe on the session's display; ends with the test."""

    def __init__(self, session, exe, args=()):
        super().__init__("wine", [exe] + list(args))
        self.session = session

    def _start(self):
        self.display = self.session.display
        self.env = self.session.env
        # The display outlives each test: park the pointer away from the windows, as a
        # synchronous move to where it already is would wait for nothing.
        self.xdotool("mousemove", 0, 0)
        self.editor = subprocess.Popen([self.binary] + self.args, cwd=self.workdir, env=self.env,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return self

    def main_window(self):
        return self.find_window("^tessaly v2 0.9c", timeout=30)

    def screenshot(self, window):
        """The window's pixels, once they can be read: a window being mapped or restored
        on a loaded machine cannot be for a moment."""
        def shot():
            result = subprocess.run(["xwd", "-silent", "-id", window], env=self.env,
                                    capture_output=True)
            return Screenshot(result.stdout) if result.returncode == 0 else None
        return wait_until(f"a screenshot of {window}", shot)


def start(editor):
    window = editor.main_window()
    return window, MainWindowLayout(editor, window)


def overview_pixels(editor, layout):
    shot = editor.screenshot(layout.window)
    ox, oy = 2, layout.menu_height + 2
    return lambda x, y: shot.pixel(ox + x, oy + y)


def cell_is(pixel, code, colour_of):
    x0, y0 = 16 * (code % 16), 16 * (code // 16)
    return all(pixel(x0 + x, y0 + y) == colour_of(x, y) for y in range(16) for x in range(16))


def even_pixels(colour_of):
    """A cell's expected colours where the marker's checkerboard leaves the glyph visible."""
    return lambda x, y: colour_of(x, y) if (x + y) % 2 == 0 else MARKER


def open_map(editor, layout, size):
    """Chooses a map size; returns the map window and the screen point of a cell's centre."""
    choose_menu(editor, layout, CHAR, size)
    map_window = editor.find_window("^Character map")
    cx, cy = editor.client_origin(map_window)
    # The canvas starts inside the scroll area's 2-pixel sunken edge.
    return map_window, lambda x, y: (cx + 2 + 16 * x + 8, cy + 2 + 16 * y + 8)


def stays(editor, window, title, seconds=0.5):
    editor.settle(seconds)
    expect(editor.title(window) == title, f"title {editor.title(window)!r}, not {title!r}")


def hover(editor, window, start, end, title):
    """Moves the pointer from `start` to `end` until the window has the title. Wine merges
    quick moves, and the first move over a canvas counts as entering it only."""
    def moved():
        editor.move(*start)
        editor.settle(0.2)
        editor.move(*end)
        editor.settle(0.2)
        return editor.title(window) == title
    wait_until(f"title {title!r} (now {editor.title(window)!r})", moved, timeout=10)


# --- the tests


def test_native_input_translation(s, exe):
    """What the Win32 layer reports, as a table: native input made on the real windows, and
    what the program then shows. Each row brings one kind of raw fact to the program (a
    press, a release, a move, a leave, a key, a shortcut, a menu pick, a control's change,
    a close, Escape held); what the facts mean is the core's, and tested there."""
    with WineEditor(s, exe) as e:
        window, layout = start(e)
        m = types.SimpleNamespace()  # the map window and its cells, once it is open

        def child(control_id):
            return s.wait_window("TessalyWindow", e.title(window)).child(control_id)

        def shows(code, colour_of):
            return lambda: wait_until(f"cell {code} of the overview", lambda: cell_is(
                overview_pixels(e, layout), code, colour_of), timeout=5)

        def drag(start, end):
            e.press(*start)
            e.move(*end)
            e.xdotool("mouseup", 1)

        def open_map_window():
            m.window, m.cell = open_map(e, layout, MAP_32X24)
            e.activate(m.window)

        def popup_then_quick_return():
            e.click(*m.cell(3, 7), button=3)
            e.settle(0.3)
            e.key("Escape")
            # Away and back sooner than Wine itself would notice the pointer gone.
            e.move(5, 5)
            e.settle(0.15)
            e.move(*m.cell(3, 8))

        def popup_pick_then_returns():
            e.click(*m.cell(3, 9), button=3)
            e.settle(0.3)
            e.key("Down", "Return")
            # The pointer comes back from the menu to the next cell, then goes away for
            # longer than Wine's own check of the pointer, and comes back with a click.
            e.move(*m.cell(3, 10))
            e.settle(0.2)
            e.move(5, 5)
            e.settle(0.7)
            e.click(*m.cell(3, 11))

        def popup_then_return_to_its_pixel():
            e.click(*m.cell(3, 12), button=3)
            e.settle(0.3)
            e.key("Escape")
            # Away over a window of the program: Wine sees no pointer over the desktop, and
            # reports no move back to where it last saw it.
            e.move(*layout.cell(16))
            e.settle(0.3)
            e.move(*m.cell(3, 12))
            e.settle(0.2)
            e.move(*m.cell(3, 13))

        def ends():
            e.activate(window)
            e.xdotool("keydown", "Escape")
            try:
                expect(e.exit_code(timeout=10) == 0, "the editor ended with an error")
            finally:
                e.xdotool("keyup", "Escape")

        corner = lambda x, y: WHITE if (x, y) in ((0, 0), (1, 0), (0, 1), (1, 1)) else BLACK
        moved = lambda x, y: WHITE if (x, y) in ((2, 0), (3, 0), (2, 1), (3, 1)) else BLACK
        main, map_title = "tessaly v2 0.9c", "Character map"
        rows = [
            ("left press and release over cell 65", lambda: e.click(*layout.cell(65)),
             lambda: e.wait_title(window, f"{main} 65($41)'A'")),
            ("Right key down and up, the overview having the keyboard", lambda: e.key("Right"),
             lambda: e.wait_title(window, f"{main} 66($42)'B'")),
            ("left press on pixel (0, 0) of the glyph editor",
             lambda: e.click(*layout.glyph_editor(8, 8)), shows(66, even_pixels(corner))),
            ("left click on the shift-right button", lambda: e.click(*centre(child(1010).rect)),
             shows(66, even_pixels(moved))),
            ("right press on pixel (1, 0) of the glyph editor",
             lambda: e.click(*layout.glyph_editor(24, 8), button=3),
             shows(66, even_pixels(lambda x, y: BLACK))),
            ("left drag from cell 66 to one screen pixel left of the overview (a position "
             "outside, while the mouse is held)", lambda: (
                 e.click(*layout.glyph_editor(8, 8)), e.settle(0.2),
                 drag(layout.cell(66), layout.overview(-1, 72))), shows(64, corner)),
            ("Ctrl+I", lambda: e.key("ctrl+i"), shows(66, even_pixels(lambda x, y: WHITE))),
            ("left click on the begin slider's right part",
             lambda: e.click(child(1005).rect[0] + 200, centre(child(1005).rect)[1]),
             lambda: wait_until("the begin label", lambda: child(1007).text.startswith(
                 "BeginRange:"), timeout=5)),
            ("left click on the range box, then Ctrl+I",
             lambda: (e.click(*centre(child(1004).rect)), e.settle(0.2), e.key("ctrl+i")),
             shows(1, lambda x, y: WHITE)),
            ("a pick in the menu bar", open_map_window,
             lambda: expect(e.window_exists(f"^{map_title}"), "no map window")),
            ("moves over the map", lambda: hover(e, m.window, m.cell(3, 4), m.cell(3, 5),
                                                 f"{map_title} (3,5):35[23]"),
             lambda: None),
            ("left press, a move, the release (whose repeated position is no move)",
             lambda: drag(m.cell(3, 5), m.cell(4, 5)),
             lambda: (e.wait_title(m.window, f"{map_title} (4,5):36[24]"),
                      stays(e, m.window, f"{map_title} (4,5):36[24]"))),
            ("a popup closed, the pointer away and back quickly (a leave, then an enter)",
             popup_then_quick_return, lambda: stays(e, m.window, f"{map_title} (3,7):35[23]")),
            ("an item of the popup picked with the keys (a leave for the menu), a move, the "
             "pointer away for a while and back with a click (an enter, a leave, an enter)",
             popup_pick_then_returns,
             lambda: stays(e, m.window, f"{map_title} (3,9):35[23]")),
            ("a popup closed, the pointer away and back to the very pixel it was opened at, "
             "then a move (an enter there, a move)", popup_then_return_to_its_pixel,
             lambda: e.wait_title(m.window, f"{map_title} (3,13):35[23]")),
            ("Alt+F4 on the map window", lambda: (e.activate(m.window), e.key("alt+F4")),
             lambda: wait_until("the map window hidden", lambda: not e.window_exists(
                 f"^{map_title}") and e.running())),
            ("Escape held down in the main window", ends, lambda: None),
        ]
        for what, act, then in rows:
            try:
                act()
                then()
            except Exception as failure:
                raise E2EError(f"{what}: {failure}") from failure


def test_startup_and_layout(s, exe):
    with WineEditor(s, exe) as e:
        window, layout = start(e)
        expect(e.title(window) == "tessaly v2 0.9c", f"title {e.title(window)!r}")
        expect(not e.window_exists("^Character map"), "the map window is shown")
        # The menu bar lies within the 640 x 480 client area; the window keeps that size.
        size = e._run(["xwininfo", "-id", window])
        expect("Width: 640" in size and "Height: 480" in size, "the window is not 640 x 480")
        expect(10 <= layout.menu_height <= 40, f"menu bar height {layout.menu_height}")
        pixel = overview_pixels(e, layout)
        expect(cell_is(pixel, 0, lambda x, y: MARKER if (x + y) % 2 else BLACK),
               "cell 0 is not black with the marker checkerboard")
        expect(all(cell_is(pixel, code, lambda x, y: BLACK) for code in (1, 17, 128, 255)),
               "the other cells are not black")


def test_save_through_dialog(s, exe):
    with WineEditor(s, exe) as e:
        window, layout = start(e)
        e.click(*layout.glyph_editor(8, 8))
        e.settle()
        choose_menu(e, layout, FILE, SAVE_2048)
        target = os.path.join(e.workdir, "set")
        save_through_dialog(e, windows_path(target))
        saved = target + ".fnt"
        wait_until("the saved file", lambda: os.path.exists(saved), timeout=10)
        data = open(saved, "rb").read()
        expect(len(data) == 2048, f"{len(data)} bytes saved")
        expect(data[0] == 0x80 and not any(data[1:]), f"unexpected bytes, first {data[0]:#x}")
        expect(e.running(), "the editor ended")


def test_map_window(s, exe):
    with WineEditor(s, exe) as e:
        window, layout = start(e)
        map_window, cell = open_map(e, layout, MAP_32X24)
        mx, my = e.frame_origin(map_window)
        wx, wy = e.frame_origin(window)
        expect((mx - wx, my - wy) == (40, 40), f"map window at {mx - wx},{my - wy} from main")
        e.activate(map_window)
        hover(e, map_window, cell(3, 4), cell(3, 5), "Character map (3,5):35[23]")
        # Paints the current character, 0. The pointer is there already, and a synchronous
        # move to where it is would wait for a motion that never comes.
        e.xdotool("click", 1)
        # "Delete row" from the popup on row 4: the painted cell moves up to it.
        e.click(*cell(0, 4), button=3)
        e.settle(0.3)
        e.key("Down", "Down", "Down", "Down", "Return")
        e.settle(0.3)
        hover(e, map_window, cell(4, 4), cell(3, 4), "Character map (3,4):0[00]")


def test_map_wheel(s, exe):
    with WineEditor(s, exe) as e:
        window, layout = start(e)
        map_window, cell = open_map(e, layout, MAP_80X50)
        e.activate(map_window)
        hover(e, map_window, cell(3, 4), cell(3, 5), "Character map (3,5):35[23]")
        x, y = cell(3, 5)
        nudge = [0]

        def wheel_then_hover(buttons, title, shift=False):
            if shift:
                e.xdotool("keydown", "shift")
            for button in buttons:
                e.xdotool("click", button)
            if shift:
                e.xdotool("keyup", "shift")
            # The wheel alone changes neither the title nor the cells; a move shows where
            # the pointer now is on the scrolled canvas.
            before = e.title(map_window)
            stays(e, map_window, before, 0.4)
            nudge[0] = 1 - nudge[0]
            e.move(x + nudge[0], y)
            e.wait_title(map_window, title)

        wheel_then_hover([5, 5], "Character map (3,11):35[23]")  # three rows of 16 a notch
        wheel_then_hover([5], "Character map (6,11):38[26]", shift=True)
        wheel_then_hover([4], "Character map (6,8):38[26]")


def test_map_size_restores_minimised_map(s, exe):
    with WineEditor(s, exe) as e:
        window, layout = start(e)
        map_window, cell = open_map(e, layout, MAP_32X24)
        e.xdotool("windowminimize", "--sync", map_window)
        wait_until("the map window to be minimised", lambda: e.map_state(map_window) != "IsViewable")
        choose_menu(e, layout, CHAR, MAP_40X24)
        wait_until("the map window to come back",
                   lambda: e.map_state(map_window) == "IsViewable", timeout=5)
        hover(e, map_window, cell(3, 4), cell(3, 5), "Character map (3,5):35[23]")


def test_command_line_file(s, exe):
    # A folder with a space and a name outside the ANSI code page.
    folder = tempfile.mkdtemp(prefix="tessaly wine ")
    try:
        font = os.path.join(folder, "буква a.fnt")
        data = bytearray(2048)
        data[65 * 8:65 * 8 + 8] = bytes([0x18, 0x3C, 0x66, 0x7E, 0x66, 0x66, 0x66, 0x00])
        open(font, "wb").write(data)
        with WineEditor(s, exe, [windows_path(font)]) as e:
            window, layout = start(e)
            pixel = overview_pixels(e, layout)
            # Row 0 of 'A' is 0x18: pixels 6..9 of the cell's top row are ink.
            expect([pixel(16 + x, 64) for x in range(16)] ==
                   [BLACK] * 6 + [WHITE] * 4 + [BLACK] * 6, "glyph 65 is not shown")
            expect(not e.window_exists("^Tessaly$"), "a message box came up")
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def test_escape_in_dialog_keeps_running(s, exe):
    with WineEditor(s, exe) as e:
        window, layout = start(e)
        choose_menu(e, layout, FILE, SAVE_2048)
        dialog = e.find_window("^Please choose file to save$")
        e.activate(dialog)
        # Still held when the dialog has gone and the program's loop wakes again.
        e.xdotool("keydown", "Escape")
        try:
            wait_until("the dialog to close",
                       lambda: not e.window_exists("^Please choose file to save$"))
            e.move(*layout.cell(66))
            e.move(*layout.cell(67))
            e.settle(0.5)
            expect(e.running(), "an Escape that closed the dialog ended the editor")
        finally:
            e.xdotool("keyup", "Escape")
        e.click(*layout.cell(65))
        e.wait_title(window, "tessaly v2 0.9c 65($41)'A'")


def test_missing_file_message_box(s, exe):
    missing = windows_path(os.path.join(tempfile.gettempdir(), "no such folder", "gone.fnt"))
    with WineEditor(s, exe, [missing]) as e:
        box = s.wait_window("#32770", "No file")
        texts = [c.text for c in box.children if c.cls == "Static" and c.text]
        expect(texts == [missing], f"the message box says {texts}")
        e.activate(e.find_window("^No file$"))
        e.key("Return")
        wait_until("the message box to close", lambda: not e.window_exists("^No file$"))
        window, layout = start(e)
        e.click(*layout.cell(65))
        e.wait_title(window, "tessaly v2 0.9c 65($41)'A'")


def test_open_dialog_loads_a_map(s, exe):
    with WineEditor(s, exe) as e:
        window, layout = start(e)
        map_window, cell = open_map(e, layout, MAP_32X24)
        screen = os.path.join(e.workdir, "screen.map")
        open(screen, "wb").write(bytes((200 + x + y) % 256 for y in range(24) for x in range(32)))
        e.activate(window)
        e.key("ctrl+o")
        title = "Please choose file to load"
        dialog = s.wait_window("#32770", title)
        types = dialog.child(FILE_TYPES, "ComboBox")
        expect(types.text == "Font (*.fnt)", f"the first filter is {types.text!r}")
        e.activate(e.find_window(f"^{title}$"))
        e.click(*centre(types.rect))
        e.settle(0.3)
        e.key("Down", "Return")
        wait_until("the map filter", lambda: s.wait_window("#32770", title).child(
            FILE_TYPES, "ComboBox").text == "Character map (*.map)", timeout=5)
        e.click(*centre(dialog.child(1148, "Edit").rect))  # the file name
        e.type_text(windows_path(screen))
        e.key("Return")
        wait_until("the dialog to close", lambda: not e.window_exists(f"^{title}$"))
        # Cell (3, 5) of the file holds 208: loaded as a map, as the filter says.
        e.activate(map_window)
        hover(e, map_window, cell(3, 4), cell(3, 5), "Character map (3,5):208[D0]")


def test_colour_dialog_opens_at_black_and_sets_paper(s, exe):
    with WineEditor(s, exe) as e:
        window, layout = start(e)
        choose_menu(e, layout, CHAR, PAPER_COLOUR)
        dialog = s.wait_window("#32770", "Color")
        edits = [dialog.child(i, "Edit") for i in (RED_EDIT, GREEN_EDIT, BLUE_EDIT)]
        expect([c.text for c in edits] == ["0", "0", "0"], f"opens at {[c.text for c in edits]}")
        e.activate(e.find_window("^Color$"))
        for edit, value in zip(edits, (10, 200, 30)):
            e.click(*centre(edit.rect))
            e.key("End", "BackSpace", "BackSpace", "BackSpace")
            e.type_text(str(value))
        now = lambda: [s.wait_window("#32770", "Color").child(i).text
                       for i in (RED_EDIT, GREEN_EDIT, BLUE_EDIT)]
        wait_until("the typed colour", lambda: now() == ["10", "200", "30"], timeout=5)
        e.click(*centre(dialog.child(IDOK, "Button").rect))
        # The paper of every glyph but the current one's marked cell.
        wait_until("the new paper colour", lambda: cell_is(
            overview_pixels(e, layout), 1, lambda x, y: (10, 200, 30)), timeout=5)


def test_shift_button_tooltips(s, exe):
    with WineEditor(s, exe) as e:
        window, layout = start(e)
        main = s.wait_window("TessalyWindow", "tessaly v2 0.9c")
        for control_id, caption, tip in SHIFT_BUTTONS:
            button = main.child(control_id, "Button")
            expect(button.text == caption, f"button {control_id} reads {button.text!r}")
            x, y = centre(button.rect)
            e.move(x, y)
            e.move(x + 1, y)
            wait_until(f"the tip {tip!r}", lambda: any(
                w.cls == "tooltips_class32" and w.text == tip for w in s.windows()), timeout=5)


def test_files_dropped_on_overview_and_map(s, exe):
    with WineEditor(s, exe) as e:
        window, layout = start(e)
        font = os.path.join(e.workdir, "буква a.fnt")
        data = bytearray(2048)
        data[65 * 8:65 * 8 + 8] = bytes([0x18, 0x3C, 0x66, 0x7E, 0x66, 0x66, 0x66, 0x00])
        open(font, "wb").write(data)
        s.probe("drop", "tessaly v2", OVERVIEW_ID, windows_path(font))
        wait_until("the dropped glyph", lambda: [overview_pixels(e, layout)(16 + x, 64)
                                                 for x in range(16)] ==
                   [BLACK] * 6 + [WHITE] * 4 + [BLACK] * 6, timeout=5)
        map_window, cell = open_map(e, layout, MAP_32X24)
        screen = os.path.join(e.workdir, "screen.map")
        open(screen, "wb").write(bytes((100 + x * y) % 256 for y in range(24) for x in range(32)))
        s.probe("drop", "Character map", MAP_CANVAS_ID, windows_path(screen))
        e.activate(map_window)
        hover(e, map_window, cell(3, 4), cell(3, 5), "Character map (3,5):115[73]")


def window_icons(editor, window):
    """The window's icons as the X server has them from Wine: {(w, h): [ARGB, ...]}."""
    out = editor._run(["xprop", "-id", window, "-notype", "-f", "_NET_WM_ICON", "32c", " $0+",
                       "_NET_WM_ICON"])
    values = [int(v) for v in out.split(None, 1)[1].replace(",", " ").split()] \
        if "=" not in out and "not found" not in out else []
    icons, i = {}, 0
    while i + 2 <= len(values):
        w, h = values[i], values[i + 1]
        icons[(w, h)] = values[i + 2:i + 2 + w * h]
        i += 2 + w * h
    return icons


def ico_images(path):
    """The images of an .ico file as ImageMagick reads them: {(w, h): [ARGB, ...]}."""
    sizes = subprocess.run(["identify", "-format", "%w %h\n", path], capture_output=True,
                           text=True, check=True).stdout.split("\n")
    images = {}
    for index, size in enumerate(line for line in sizes if line):
        w, h = (int(v) for v in size.split())
        rgba = subprocess.run(["convert", f"{path}[{index}]", "-depth", "8", "rgba:-"],
                              capture_output=True, check=True).stdout
        images[(w, h)] = [rgba[j + 3] << 24 | rgba[j] << 16 | rgba[j + 1] << 8 | rgba[j + 2]
                          for j in range(0, len(rgba), 4)]
    return images


def test_windows_show_the_program_icon(s, exe):
    icon = os.path.join(ROOT, "data", "icons", "tessaly.ico")
    if not os.path.exists(icon):
        raise Skipped("no data/icons/tessaly.ico")
    images = ico_images(icon)
    with WineEditor(s, exe) as e:
        window, layout = start(e)
        map_window, cell = open_map(e, layout, MAP_32X24)
        for name, shown in (("main", window_icons(e, window)), ("map", window_icons(e, map_window))):
            # The large and the small icon, as far as the file has their sizes; transparent
            # pixels may carry any colour.
            common = [size for size in ((32, 32), (16, 16)) if size in images and size in shown]
            expect(common, f"the {name} window shows icons of {sorted(shown)}, the file has "
                           f"{sorted(images)}")
            for size in common:
                wrong = [i for i, (a, b) in enumerate(zip(shown[size], images[size]))
                         if (a >> 24) != (b >> 24) or ((b >> 24) == 255 and a != b)]
                expect(not wrong, f"the {name} window's {size} icon differs at {len(wrong)} "
                                  f"pixels, first {wrong[:3]}")


def test_version_resource_and_common_controls(s, exe):
    cmake = open(os.path.join(ROOT, "CMakeLists.txt")).read()
    version = re.search(r"project\(Tessaly VERSION ([0-9.]+)", cmake)[1]
    four = ".".join((version.split(".") + ["0"] * 4)[:4])
    info = dict(unescape(line).split("\t", 1)
                for line in s.probe("version", windows_path(exe)).splitlines())
    expect(info.get("ProductName") == "Tessaly", f"product name {info.get('ProductName')!r}")
    expect((info.get("ProductVersion"), info.get("FileVersion"), info.get("FixedFileVersion")) ==
           (version, version, four), f"versions {info}, not {version}")
    expect(info.get("FileDescription"), "no file description")
    with WineEditor(s, exe) as e:
        start(e)
        # The manifest brings the version 6 common controls, from the side-by-side store.
        comctl = [m for m in map(unescape, s.probe("modules", "tessaly v2").splitlines())
                  if m.lower().endswith("\\comctl32.dll")]
        expect(len(comctl) == 1 and "common-controls" in comctl[0] and "_6.0." in comctl[0],
               f"common controls loaded: {comctl}")


# System DPI, the DPI of a screen the windows are then moved to (WM_DPICHANGED), and the
# canvases' factor; the first row gives the pictures and the layout the others must keep.
SCALED_SCREENS = [(96, None, 1), (144, None, 1), (192, None, 2), (96, 192, 2)]
DATA_FIELD_ID, GLYPH_EDITOR_ID = 1003, 1001


def set_dpi(s, dpi):
    """The scale Wine gives the programs started from now on."""
    subprocess.run(["wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t",
                    "REG_DWORD", "/d", str(dpi), "/f"], env=s.env, capture_output=True, check=True)


def scaled(v, dpi):
    return (v * dpi + 48) // 96


def canvas_picture(shot, rect, origin, size, k):
    """The canvas's size x size pixels, each read from its k x k block of screen pixels (None
    where a block is not of one colour), and the screen point of a canvas pixel."""
    edge = (rect[2] - size * k) // 2
    x0, y0 = rect[0] - origin[0] + edge, rect[1] - origin[1] + edge

    def block(x, y):
        colours = {shot.pixel(x0 + k * x + i, y0 + k * y + j) for i in range(k) for j in range(k)}
        return colours.pop() if len(colours) == 1 else None
    return ([[block(x, y) for x in range(size)] for y in range(size)],
            lambda x, y: (rect[0] + edge + x, rect[1] + edge + y))


def test_scaled_screens(s, exe):
    font = os.path.join(s.folder, "a.fnt")
    open(font, "wb").write(bytes(65 * 8) + bytes([0x18, 0x3C, 0x66, 0x7E, 0x66, 0x66, 0x66, 0]) +
                           bytes(2048 - 66 * 8))
    reference = None
    try:
        for dpi, moved_to, k in SCALED_SCREENS:
            set_dpi(s, dpi)
            scale = moved_to or dpi
            with WineEditor(s, exe, [windows_path(font)]) as e:
                window = e.main_window()
                origin = e.client_origin(window)
                def magnified(k):
                    return wait_until("the canvases magnified", lambda: next(
                        (w for w in s.windows() if w.text.startswith("tessaly v2") and any(
                            c.id == OVERVIEW_ID and c.rect[2] == 256 * k + 4 for c in w.children)),
                        None))
                main = magnified(1 if moved_to else k)
                # The menu bar lies in the window's client area, which keeps its size.
                menu = main.child(OVERVIEW_ID).rect[1] - origin[1]
                if moved_to:
                    s.probe("dpi", "tessaly v2", moved_to, scaled(640, scale),
                            scaled(480, scale) - menu)
                    main = magnified(k)
                size = e._run(["xwininfo", "-id", window])
                expect(f"Width: {scaled(640, scale)}" in size and
                       f"Height: {scaled(480, scale)}" in size, f"{dpi} DPI: window {size}")
                # Every control where the 96 DPI layout has it, scaled; canvases magnified.
                corner = main.child(OVERVIEW_ID).rect[:2]
                layout = {c.id: (c.rect[0] - corner[0], c.rect[1] - corner[1], c.rect[2],
                                 c.rect[3]) for c in main.children}
                shot = e.screenshot(window)
                overview, at = canvas_picture(shot, main.child(OVERVIEW_ID).rect, origin, 256, k)
                editor, editor_at = canvas_picture(shot, main.child(GLYPH_EDITOR_ID).rect, origin,
                                                   128, k)
                reference = reference or (layout, overview, editor)
                expect((overview, editor) == reference[1:], f"{dpi}/{moved_to} DPI: the "
                       f"canvases are not the 96 DPI pictures in blocks of {k} x {k}")
                for cid, (x, y, w, h) in reference[0].items():
                    edge = 2 if cid == OVERVIEW_ID else 0  # of the sunken border
                    wanted = (scaled(x, scale), scaled(y, scale)) + (
                        (k * (w - 2 * edge) + 2 * edge, k * (h - 2 * edge) + 2 * edge)
                        if cid in (OVERVIEW_ID, GLYPH_EDITOR_ID) else
                        (scaled(x + w, scale) - scaled(x, scale),
                         scaled(y + h, scale) - scaled(y, scale)))
                    expect(layout[cid] == wanted, f"{dpi}/{moved_to} DPI: control {cid} at "
                           f"{layout[cid]}, not {wanted}")
                # Clicks on the last screen pixel of overview cell 65 and of glyph pixel
                # (1, 0) in the editor: 'A' row 0 becomes 0x58.
                e.click(*at(32 * k - 1, 80 * k - 1))
                e.wait_title(window, "tessaly v2 0.9c 65($41)'A'")
                e.click(*editor_at(32 * k - 1, 16 * k - 1))
                wait_until("the edited row", lambda: next(
                    w for w in s.windows() if w.text.startswith("tessaly v2")).child(
                    DATA_FIELD_ID).text.startswith("88,"))
                # A release one screen pixel left of the overview is outside it: a drop on
                # column 0 of the row, no click.
                e.press(*at(88 * k, 40 * k))
                e.move(*at(-1, 40 * k))
                e.xdotool("mouseup", 1)
                stays(e, window, "tessaly v2 0.9c 65($41)'A'")
                # The map: the pointer on a cell's first and then the next cell's last pixel.
                menus = types.SimpleNamespace(window=window, menu_title=lambda i: (
                    origin[0] + scaled(20 if i == 0 else 58, dpi), origin[1] + menu // 2))
                choose_menu(e, menus, CHAR, MAP_32X24)
                map_window = e.find_window("^Character map")
                if moved_to:
                    s.probe("dpi", "Character map", moved_to, scaled(522, scale),
                            scaled(394, scale))
                canvas = wait_until("the map magnified", lambda: next(
                    (c for c in s.wait_window("TessalyWindow", "Character map").children
                     if c.id == MAP_CANVAS_ID and c.rect[2] == 1280 * k), None)).rect
                e.activate(map_window)
                hover(e, map_window, (canvas[0] + 48 * k, canvas[1] + 64 * k),
                      (canvas[0] + 64 * k - 1, canvas[1] + 96 * k - 1),
                      "Character map (3,5):35[23]")
    finally:
        set_dpi(s, 96)


TESTS = [test_native_input_translation, test_startup_and_layout, test_save_through_dialog,
         test_map_window, test_map_wheel, test_map_size_restores_minimised_map,
         test_command_line_file, test_escape_in_dialog_keeps_running,
         test_missing_file_message_box, test_open_dialog_loads_a_map,
         test_colour_dialog_opens_at_black_and_sets_paper, test_shift_button_tooltips,
         test_files_dropped_on_overview_and_map, test_windows_show_the_program_icon,
         test_version_resource_and_common_controls, test_scaled_screens]


def screenshot(s, exe, output):
    with WineEditor(s, exe) as e:
        window, layout = start(e)
        choose_menu(e, layout, CHAR, [1, 2])  # the ZX Spectrum set
        e.click(*layout.cell(65))
        e.move(*layout.cell(90))
        e.move(*layout.cell(91))
        e.settle(0.5)
        xwd = subprocess.run(["xwd", "-silent", "-frame", "-id", e.frame_window(window)],
                             env=e.env, capture_output=True, check=True).stdout
        subprocess.run(["convert", "xwd:-", output], input=xwd, check=True)
        print(f"screenshot: {output}")


def run_unit_tests(s, program):
    """Runs a GoogleTest program in the session; prints its summary, the reasons of its
    skipped tests, and all of its output when it fails."""
    workdir = tempfile.mkdtemp(prefix="tessaly-unit-")
    try:
        result = subprocess.run(["wine", program], env=s.env, cwd=workdir, capture_output=True,
                                timeout=300)
    finally:
        shutil.rmtree(workdir, ignore_errors=True)
    lines = result.stdout.decode("utf-8", errors="replace").splitlines()
    if result.returncode != 0:
        print("\n".join(lines) + result.stderr.decode("utf-8", errors="replace"))
        raise E2EError(f"{os.path.basename(program)} ended with {result.returncode}")
    for i, line in enumerate(lines):
        if line.endswith(": Skipped") and i + 2 < len(lines):
            print(f"  skipped {lines[i + 2].split()[3]}: {lines[i + 1]}")
    summary = next(i for i, line in enumerate(lines) if line.startswith("[==========]") and
                   "ran" in line)
    print("  " + "\n  ".join(line for line in lines[summary:summary + 2]))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("exe")
    parser.add_argument("--probe")
    parser.add_argument("--unit", action="append", default=[])
    parser.add_argument("--convert")
    parser.add_argument("--linux-convert")
    parser.add_argument("--screenshot")
    parser.add_argument("names", nargs="*")
    args = parser.parse_intermixed_args()
    exe = os.path.abspath(args.exe)
    started = time.monotonic()
    passed = failed = skipped = 0
    with WineSession(args.probe and os.path.abspath(args.probe)) as s:
        if args.screenshot:
            screenshot(s, exe, os.path.abspath(args.screenshot))
            return 0
        for program in args.unit:
            begun = time.monotonic()
            try:
                run_unit_tests(s, os.path.abspath(program))
                passed += 1
                print(f"PASS {os.path.basename(program)} ({time.monotonic() - begun:.1f} s)",
                      flush=True)
            except Exception:
                failed += 1
                print(f"FAIL {os.path.basename(program)}", flush=True)
                traceback.print_exc()
        chosen = [t for t in TESTS if not args.names or t.__name__ in args.names]
        if args.convert:
            convert, linux = os.path.abspath(args.convert), os.path.abspath(args.linux_convert)
            chosen.insert(0, lambda s, exe: test_convert_same_bytes(s, convert, linux))
            chosen[0].__name__ = test_convert_same_bytes.__name__
        for test in chosen:
            begun = time.monotonic()
            try:
                test(s, exe)
                passed += 1
                print(f"PASS {test.__name__} ({time.monotonic() - begun:.1f} s)", flush=True)
            except Skipped as reason:
                skipped += 1
                print(f"SKIP {test.__name__}: {reason}", flush=True)
            except Exception:
                failed += 1
                print(f"FAIL {test.__name__}", flush=True)
                traceback.print_exc()
    print(f"Wine tests took {time.monotonic() - started:.1f} s")
    print(f"{passed} passed, {failed} failed" + (f", {skipped} skipped" if skipped else ""))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
