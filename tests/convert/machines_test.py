#!/usr/bin/env python3
"""What the converter writes for each machine, shown by the program that runs it there.

Usage: machines_test.py TESSALY_CONVERT SOURCE_DIR [MACHINE...]

For each row of MACHINES: a set and a map that uses every code are converted to the
machine's file, the machine's emulator (or viewer) shows it, and what it shows is compared
pixel for pixel with the converter's own map picture at scale 1 in the same colours.
The emulators come from Debian (scripts/lib/common.sh, MACHINE_PACKAGES); the ones with a
window run on a private Xvfb.
"""

import contextlib
import os
import subprocess
import sys
import tempfile
import time

CONVERT = os.path.abspath(sys.argv[1])
SOURCE = os.path.abspath(sys.argv[2])
WANTED = sys.argv[3:]


def run(args, **kwargs):
    return subprocess.run(args, capture_output=True, **kwargs)


def convert(*args):
    """Runs a conversion that must succeed; returns its standard error (the notes)."""
    done = run([CONVERT, *args])
    if done.returncode != 0:
        raise AssertionError(f"tessaly-convert {' '.join(args)}: {done.stderr.decode()}")
    return done.stderr.decode()


def every_code_map(path, width, height):
    """A map of width x height cells holding the codes 0-255 in turn."""
    with open(path, "wb") as f:
        f.write(bytes(i % 256 for i in range(width * height)))


def differing_pixels(shown, expected):
    """The number of pixels in which two pictures of the same size differ (ImageMagick)."""
    done = run(["compare", "-metric", "AE", shown, expected, "null:"])
    if done.returncode == 2:
        raise AssertionError(f"compare {shown} {expected}: {done.stderr.decode()}")
    return int(float(done.stderr.decode().split()[0]))


@contextlib.contextmanager
def xvfb(width=1024, height=768):
    """A private X display for an emulator's window; yields its name (":N")."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
         "-nolisten", "tcp"], pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as f:
        display = ":" + f.readline().strip()
    try:
        yield display
    finally:
        server.terminate()
        server.wait()


def capture(display, path, window="root"):
    """Saves the display's root window (or a window id) as a PNG."""
    done = run(["import", "-display", display, "-window", window, path])
    if done.returncode != 0:
        raise AssertionError(f"import: {done.stderr.decode()}")


def wait_for(condition, seconds, step=0.25):
    """Polls condition() until it is true or the time is up; returns its last value."""
    end = time.monotonic() + seconds
    while True:
        value = condition()
        if value or time.monotonic() > end:
            return value
        time.sleep(step)


def xbin(work):
    """XBin drawn by ansilove; then read back into a set and a map, written to the same bytes."""
    font, screen, xb = (os.path.join(work, n) for n in ("cga.fnt", "screen.map", "screen.xb"))
    convert("builtin:cga", font)
    # Every code once, then runs of 5 and a row of one code, so that each kind of packed run
    # the writer makes is drawn.
    with open(screen, "wb") as f:
        f.write(bytes(range(256)) + bytes((i // 5) % 256 for i in range(256, 1920)) +
                bytes([219] * 80))
    colours = ["--ink", "#55ff55", "--paper", "#0000aa"]  # 6-bit channels show them exactly
    convert("--map", "80x25", "--font", font, *colours, screen, xb)
    shown, expected = os.path.join(work, "shown.png"), os.path.join(work, "expected.png")
    done = run(["ansilove", "-q", "-b", "8", "-o", shown, xb])  # 8-pixel cells
    if done.returncode != 0:
        raise AssertionError(f"ansilove: {done.stderr.decode()}")
    convert("--map", "80x25", "--font", font, "--scale", "1", *colours, screen, expected)
    differing = differing_pixels(shown, expected)

    back_font, back_map, again = (os.path.join(work, n) for n in ("b.fnt", "b.map", "b.xb"))
    convert(xb, back_font)
    convert("--map", "80x25", xb, back_map)
    convert("--map", "80x25", "--font", back_font, *colours, back_map, again)
    with open(xb, "rb") as first, open(again, "rb") as second:
        if first.read() != second.read():
            raise AssertionError("the XBin read back into a set and a map is written differently")
    return differing, (f"ansilove drew 640 x 200 pixels, {differing} differ from the map "
                       "picture; read back, written to the same bytes")


# One row per machine: its name, and the check that converts, runs and compares; a check
# returns the number of pixels (or cells) that differ and a line that says what was shown.
MACHINES = [
    ("xb", xbin),
]


def main():
    failures = []
    for name, check in MACHINES:
        if WANTED and name not in WANTED:
            continue
        with tempfile.TemporaryDirectory() as work:
            try:
                differing, detail = check(work)
            except AssertionError as error:
                differing, detail = None, str(error)
        if differing == 0:
            print(f"ok {name}: {detail}")
        else:
            failures.append(name)
            print(f"FAIL {name}: {differing} differ; {detail}")
    print(f"{len(MACHINES) - len(failures)} machines shown as drawn, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
