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


def distinct_set(path):
    """256 glyphs that differ in their top row (the code) and each have ink elsewhere."""
    with open(path, "wb") as f:
        f.write(bytes((c * (r + 1) ^ r * 0x5A) & 0xFF for c in range(256) for r in range(8)))


def fuse_shows(work, tape, expected, area):
    """Types LOAD "" on Fuse, a 48K Spectrum with OpenSE BASIC, with `tape` in, until the
    part `area` (WxH+X+Y) of the 256x192 screen equals `expected`; returns the pixels that
    differ. Keys can be lost or repeated on a loaded machine, so a run that does not come
    to the picture in 15 s is tried again, twice, in a fresh Fuse."""
    rom = "/usr/share/spectrum-roms/opense.rom"
    shot, shown = os.path.join(work, "shot.png"), os.path.join(work, "shown.png")
    width, rest = area.split("x")
    height, x, y = (int(n) for n in rest.split("+"))
    # The window sits at the top left, the screen 32 and 24 pixels inside it.
    crop = f"{width}x{height}+{32 + x}+{24 + y}"

    def screen_now():
        capture(display, shot)
        run(["convert", shot, "-crop", crop, "+repage", shown])
        return shown

    # OpenSE BASIC takes keywords letter by letter; '"' is Symbol Shift (Ctrl) + P. One
    # xdotool holds each key long enough for the ROM's scan of the keyboard, once a frame.
    typing = []
    for name in ["l", "o", "a", "d", "Control_L+p", "Control_L+p", "Return"]:
        typing += ["keydown", name, "sleep", "0.1", "keyup", name, "sleep", "0.1"]
    differing = None
    with xvfb() as display:
        env = dict(os.environ, DISPLAY=display, HOME=work, SDL_AUDIODRIVER="dummy")
        for _ in range(3):
            fuse = subprocess.Popen(
                ["fuse-sdl", "--machine", "48", "--rom-48", rom, "--tape", tape, "--traps",
                 "--fastload", "--no-sound"], env=env, cwd=work,
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                # BASIC is ready when its start-up message shows (more than one colour);
                # Fuse now and then gives up at its start: then it is started again.
                ready = wait_for(lambda: fuse.poll() is not None or run(
                    ["identify", "-format", "%k", screen_now()]).stdout not in (b"", b"1"), 30)
                if not ready or fuse.poll() is not None:
                    continue
                run(["xdotool", "mousemove", "100", "100", "click", "1", *typing], env=env)
                wait_for(lambda: differing_pixels(screen_now(), expected) == 0, 15)
                differing = differing_pixels(shown, expected)
                if differing == 0:
                    break
            finally:
                fuse.kill()
                fuse.wait()
    if differing is None:
        raise AssertionError("Fuse showed no BASIC in three tries")
    return differing


def zx_spectrum(work):
    """A 32x24 map's tape, and a set's tape whose program's report PRINTs in the set.

    The colours are ones Fuse shows exactly (its normal levels are 192; BRIGHT ones reach
    X as 248 or 252)."""
    font, screen = os.path.join(work, "set.fnt"), os.path.join(work, "screen.map")
    tape, expected = os.path.join(work, "screen.tap"), os.path.join(work, "expected.png")
    distinct_set(font)
    every_code_map(screen, 32, 24)
    colours = ["--ink", "#c0c000", "--paper", "#0000c0"]
    convert("--map", "32x24", "--font", font, *colours, screen, tape)
    convert("--map", "32x24", "--font", font, *colours, "--scale", "1", screen, expected)
    on_map = fuse_shows(work, tape, expected, "256x192+0+0")

    # The program ends with OpenSE's report on the bottom row, black on white.
    report = os.path.join(work, "report.map")
    with open(report, "wb") as f:
        f.write(b"OK, 10:4")
    convert(font, tape)
    convert("--map", "8x1", "--font", font, "--ink", "#000000", "--paper", "#c0c0c0",
            "--scale", "1", report, expected)
    on_report = fuse_shows(work, tape, expected, "64x8+0+184")
    return on_map + on_report, (f"Fuse shows the 32x24 map of all 256 codes ({on_map} pixels "
                                f"differ) and PRINTs in the set loaded ({on_report})")


# One row per machine: its name, and the check that converts, runs and compares; a check
# returns the number of pixels (or cells) that differ and a line that says what was shown.
MACHINES = [
    ("zx", zx_spectrum),
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
