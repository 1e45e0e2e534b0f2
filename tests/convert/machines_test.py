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


def zx_spectrum(work):
    """The .tap of a 32x24 map typed in as LOAD "" on Fuse, a 48K Spectrum with OpenSE BASIC.

    The colours are ones Fuse shows exactly (its normal levels are 192; BRIGHT ones reach
    X as 248 or 252)."""
    font, screen = os.path.join(work, "set.fnt"), os.path.join(work, "screen.map")
    tape, expected = os.path.join(work, "screen.tap"), os.path.join(work, "expected.png")
    distinct_set(font)
    every_code_map(screen, 32, 24)
    colours = ["--ink", "#c0c000", "--paper", "#0000c0"]
    convert("--map", "32x24", "--font", font, *colours, screen, tape)
    convert("--map", "32x24", "--font", font, *colours, "--scale", "1", screen, expected)
    rom = "/usr/share/spectrum-roms/opense.rom"
    shot, shown = os.path.join(work, "shot.png"), os.path.join(work, "shown.png")

    def screen_now():
        capture(display, shot)
        # The window sits at the top left; the 256x192 screen 32 and 24 pixels inside it.
        run(["convert", shot, "-crop", "256x192+32+24", "+repage", shown])
        return shown

    def key(name):
        # Held long enough for the ROM's scan of the keyboard, once a frame.
        run(["xdotool", "keydown", name], env=env)
        time.sleep(0.15)
        run(["xdotool", "keyup", name], env=env)
        time.sleep(0.1)

    with xvfb() as display:
        env = dict(os.environ, DISPLAY=display, HOME=work, SDL_AUDIODRIVER="dummy")
        fuse = subprocess.Popen(
            ["fuse-sdl", "--machine", "48", "--rom-48", rom, "--tape", tape, "--traps",
             "--fastload", "--no-sound"], env=env, cwd=work,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            # BASIC is ready when its start-up message shows (more than one colour).
            ready = wait_for(lambda: run(["identify", "-format", "%k", screen_now()]).stdout
                             not in (b"", b"1"), 30)
            if not ready:
                raise AssertionError("Fuse showed no BASIC within 30 s")
            # OpenSE BASIC takes keywords letter by letter; '"' is Symbol Shift (Ctrl) + P.
            run(["xdotool", "mousemove", "100", "100", "click", "1"], env=env)
            for letter in "load":
                key(letter)
            run(["xdotool", "keydown", "Control_L"], env=env)
            key("p")
            key("p")
            run(["xdotool", "keyup", "Control_L"], env=env)
            key("Return")
            differing = wait_for(lambda: differing_pixels(screen_now(), expected) == 0, 30)
            differing = differing_pixels(shown, expected)
        finally:
            fuse.kill()
            fuse.wait()
    return differing, f"Fuse shows the 32x24 map of all 256 codes; {differing} pixels differ"


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
