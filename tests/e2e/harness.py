"""Drives the real editor from outside, as a user would: an Xvfb display of its own with
openbox as window manager, pointer and keys through xdotool, titles through
xdotool getwindowname, pixels through xwd screenshots, files on disk."""

import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time


class E2EError(AssertionError):
    pass


def expect(condition, message):
    if not condition:
        raise E2EError(message)


# Colours the tests look for, and paths through the menus: per level, the item's position
# among the items of its menu (see choose_menu).
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
MARKER = (0, 255, 127)
FILE, CHAR = 0, 1
SAVE_2048 = [1, 2]
MAP_32X24 = [0, 0]


def wait_until(what, predicate, timeout=10.0, interval=0.05):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise E2EError(f"timed out waiting for {what}")
        time.sleep(interval)


class Screenshot:
    """The pixels of one window, read from an xwd dump (24-bit TrueColor)."""

    def __init__(self, data):
        header = struct.unpack(">25I", data[:100])
        header_size = header[0]
        self.width, self.height = header[4], header[5]
        byte_order, bits_per_pixel, self.bytes_per_line = header[7], header[11], header[12]
        self.masks = header[14:17]
        ncolors = header[19]
        if bits_per_pixel != 32:
            raise E2EError(f"unsupported xwd depth {bits_per_pixel}")
        self.little = byte_order == 0
        self.pixels = data[header_size + 12 * ncolors:]

    def pixel(self, x, y):
        offset = y * self.bytes_per_line + 4 * x
        raw = self.pixels[offset:offset + 4]
        value = int.from_bytes(raw, "little" if self.little else "big")
        red_mask, green_mask, blue_mask = self.masks

        def channel(mask):
            shift = (mask & -mask).bit_length() - 1
            return (value & mask) >> shift

        return channel(red_mask), channel(green_mask), channel(blue_mask)


def stop_processes(processes):
    """Ends the processes, newest first: politely, then by force."""
    for p in reversed(processes):
        if p.poll() is None:
            p.send_signal(signal.SIGTERM)
            try:
                p.wait(5)
            except subprocess.TimeoutExpired:
                p.kill()
                p.wait()
    processes.clear()


def start_display(processes, size="1280x1024"):
    """Starts an Xvfb of `size` on a free display, added to `processes`; returns its
    name. Xvfb picks the number itself and writes it to a pipe once it is ready."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                             size + "x24", "-nolisten", "tcp"], pass_fds=(write_end,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    processes.append(xvfb)
    with os.fdopen(read_end) as pipe:
        number = pipe.readline().strip()
    if not number:
        raise E2EError("Xvfb did not start")
    return f":{number}"


def start_window_manager(env, processes, log_path):
    """Starts openbox on env's display, added to `processes`, and waits until it runs. On a
    loaded machine it now and then fails to come up, so it gets a few tries."""
    def ready(wm):
        check = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=env,
                               capture_output=True, text=True)
        return wm.poll() is None and "window id" in check.stdout

    for attempt in range(3):
        with open(log_path, "ab") as log:
            wm = subprocess.Popen(["openbox"], env=env, stdout=log, stderr=log)
        processes.append(wm)
        try:
            wait_until("the window manager", lambda: ready(wm), timeout=15)
            return
        except E2EError:
            if wm.poll() is None:
                wm.kill()
                wm.wait()
    raise E2EError("the window manager did not start: " +
                   open(log_path, errors="replace").read()[-2000:])


class Editor:
    """One editor process on a display of its own. Use as a context manager."""

    def __init__(self, binary, args=(), workdir=None):
        self.binary = binary
        self.args = list(args)
        self.workdir = workdir or tempfile.mkdtemp(prefix="tessaly-e2e-")
        self.processes = []
        self.editor = None
        self.display = None

    # --- the display, the window manager and the program

    def __enter__(self):
        # Now and then, on a loaded machine, openbox takes the main window's map request
        # and never maps it, while the editor itself runs on normally; such a start is
        # thrown away and made once more on a fresh display.
        for attempt in range(2):
            try:
                self._start()
                if self._main_window_shows() or attempt == 1:
                    return self
            except BaseException:
                self.__exit__(None, None, None)
                raise
            self._stop_all()
        return self

    def _main_window_shows(self):
        try:
            self.find_window("^tessaly v2 0.9c", timeout=15)
            return True
        except E2EError:
            return not self.running()  # a program that ended is for the test to report

    def _start(self):
        self.display = start_display(self.processes)
        self.env = dict(os.environ, DISPLAY=self.display)
        self.env.pop("QT_QPA_PLATFORM", None)
        runtime = os.path.join(self.workdir, ".runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        self.env["XDG_RUNTIME_DIR"] = runtime
        start_window_manager(self.env, self.processes, os.path.join(self.workdir, "openbox.log"))
        # The editor's output goes to a file: an unread pipe could fill and stall it.
        self.log = open(os.path.join(self.workdir, "editor.log"), "wb")
        self.editor = subprocess.Popen([self.binary] + self.args, cwd=self.workdir, env=self.env,
                                       stdout=self.log, stderr=subprocess.STDOUT)
        return self

    def _stop_all(self):
        if self.editor and self.editor.poll() is None:
            self.editor.kill()
            self.editor.wait()
        stop_processes(self.processes)
        if getattr(self, "log", None):
            self.log.close()
            self.log = None

    def __exit__(self, *exc):
        if self.editor and self.editor.poll() is None:
            self.editor.kill()
            self.editor.wait()
        if getattr(self, "log", None):
            self.log.close()
            if exc[0] is not None:  # a failing test shows what the editor printed
                text = open(self.log.name, errors="replace").read()[-3000:]
                if text:
                    print("--- editor output ---\n" + text, file=sys.stderr)
        stop_processes(self.processes)
        shutil.rmtree(self.workdir, ignore_errors=True)
        return False

    def _run(self, command, check=True):
        result = subprocess.run(command, env=self.env, capture_output=True, text=True)
        if check and result.returncode != 0:
            raise E2EError(f"{command} failed: {result.stderr}")
        return result.stdout

    def xdotool(self, *args):
        if "mousemove" in args:
            self._pointer = None  # moved elsewhere: the next move() must really move
        return self._run(["xdotool"] + [str(a) for a in args])

    def exit_code(self, timeout=10):
        try:
            return self.editor.wait(timeout)
        except subprocess.TimeoutExpired:
            raise E2EError("the editor did not end")

    def running(self):
        return self.editor.poll() is None

    # --- windows

    def find_window(self, name_regex, visible=True, timeout=10):
        def search():
            args = ["search"] + (["--onlyvisible"] if visible else []) + ["--name", name_regex]
            out = self._run(["xdotool"] + args, check=False).split()
            return out[0] if out else None
        return wait_until(f"a window named {name_regex}", search, timeout)

    def window_exists(self, name_regex, visible=True):
        args = ["search"] + (["--onlyvisible"] if visible else []) + ["--name", name_regex]
        return bool(self._run(["xdotool"] + args, check=False).split())

    def main_window(self):
        try:
            return self.find_window("^tessaly v2 0.9c", timeout=30)
        except E2EError:
            state = "running" if self.running() else f"ended with {self.editor.returncode}"
            raise E2EError(f"no main window after 30 s; the editor is {state}")

    def title(self, window):
        return self._run(["xdotool", "getwindowname", window]).rstrip("\n")

    def wait_title(self, window, expected, timeout=10):
        wait_until(f"title {expected!r} (now {self.title(window)!r})",
                   lambda: self.title(window) == expected, timeout)

    def client_origin(self, window):
        """Absolute screen position of the window's client area."""
        info = self._run(["xwininfo", "-id", window])
        x = int(re.search(r"Absolute upper-left X:\s+(-?\d+)", info).group(1))
        y = int(re.search(r"Absolute upper-left Y:\s+(-?\d+)", info).group(1))
        return x, y

    def frame_origin(self, window):
        """Absolute screen position of the window's outer frame (its window manager parent)."""
        return self.client_origin(self.frame_window(window))

    def frame_window(self, window):
        """The window manager's frame around the window, or the window itself."""
        tree = self._run(["xwininfo", "-tree", "-id", window])
        parent = re.search(r"Parent window id: (0x[0-9a-f]+)", tree).group(1)
        root = re.search(r"Root window id: (0x[0-9a-f]+)", tree).group(1)
        return window if parent == root else parent

    def map_state(self, window):
        info = self._run(["xwininfo", "-id", window])
        return re.search(r"Map State:\s+(\w+)", info).group(1)

    def activate(self, window):
        self.xdotool("windowactivate", "--sync", window)
        time.sleep(0.1)

    def screenshot(self, window):
        data = subprocess.run(["xwd", "-silent", "-id", window], env=self.env,
                              capture_output=True, check=True).stdout
        return Screenshot(data)

    # --- pointer and keys, in screen coordinates

    def move(self, x, y):
        # xdotool's --sync waits for the pointer to move, which it never does when it is
        # there already; that costs a long stall, so skip a move to the same place.
        if getattr(self, "_pointer", None) == (x, y):
            return
        self._run(["xdotool", "mousemove", "--sync", str(x), str(y)])
        self._pointer = (x, y)

    def click(self, x, y, button=1):
        self.move(x, y)
        self.xdotool("click", button)

    def press(self, x, y, button=1):
        self.move(x, y)
        self.xdotool("mousedown", button)

    def release(self, x, y, button=1):
        self.move(x, y)
        self.xdotool("mouseup", button)

    def key(self, *keys):
        for k in keys:
            self.xdotool("key", "--clearmodifiers", k)
            time.sleep(0.03)

    def type_text(self, text):
        self.xdotool("type", "--delay", 5, text)

    def settle(self, seconds=0.3):
        time.sleep(seconds)


class MainWindowLayout:
    """Where the main window's controls lie on screen. The client area holds the menu bar
    at its top; the controls are placed below it."""

    def __init__(self, editor, window):
        self.editor = editor
        self.window = window
        self.x, self.y = editor.client_origin(window)
        self.menu_height = self._find_menu_height()

    def _find_menu_height(self):
        # The overview's drawing area starts 2 pixels into the canvas, below the menu bar;
        # find its first row by the cursor marker's colour on cell 0, once it is drawn.
        def marker_row():
            shot = self.editor.screenshot(self.window)
            for y in range(0, 60):
                for x in range(0, 20):
                    if shot.pixel(x, y) == (0, 255, 127):
                        return y + 1  # the marker's first green pixel is (1, 0) of the cell
            return None
        return wait_until("the overview to be drawn", marker_row) - 3

    def controls_origin(self):
        return self.x, self.y + self.menu_height

    def overview(self, px, py):
        """Screen point of overview drawing-area pixel (px, py)."""
        x, y = self.controls_origin()
        return x + 2 + px, y + 2 + py

    def cell(self, code):
        return self.overview(16 * (code % 16) + 8, 16 * (code // 16) + 8)

    def glyph_editor(self, px, py):
        x, y = self.controls_origin()
        return x + 262 + px, y + py

    def menu_title(self, index):
        """Screen point of the menu bar's title `index` (0 = File, 1 = Char)."""
        return self.x + (20 if index == 0 else 58), self.y + self.menu_height // 2


def choose_menu(editor, layout, title_index, path):
    """Picks an item by keyboard: `path` lists, per level, the entry's position among the
    items of its menu (separators do not count); every level but the last opens a submenu.
    A menu opened by a click has no active item yet, a submenu opened by Right has its
    first one."""
    editor.activate(layout.window)
    editor.click(*layout.menu_title(title_index))
    editor.settle(0.3)
    for level, index in enumerate(path):
        for _ in range(index + 1 if level == 0 else index):
            editor.key("Down")
        if level < len(path) - 1:
            editor.key("Right")
            editor.settle(0.15)
    editor.key("Return")
    editor.settle(0.3)


def save_through_dialog(editor, path):
    dialog = editor.find_window("^Please choose file to save$")
    editor.activate(dialog)
    editor.key("ctrl+a")
    editor.type_text(path)
    editor.key("Return")
    wait_until("the save dialog to close",
               lambda: not editor.window_exists("^Please choose file to save$"))
    editor.settle(0.2)
