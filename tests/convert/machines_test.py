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
import shlex
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
    """A private X display for an emulator's window; yields its name (":N"). It does not
    reset when its last client leaves: SDL 1.2 opens the display, closes it and opens it
    again, and a reset between the two makes the second fail now and then."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
         "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,), stderr=subprocess.DEVNULL)
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


# The C64's colours as the converter takes them (Pepto's PAL palette).
C64_PALETTE = ["000000", "ffffff", "68372b", "70a4b2", "6f3d86", "588d43", "352879", "b8c76f",
               "6f4f25", "433900", "9a6759", "444444", "6c6c6c", "9ad284", "6c5eb5", "959595"]


def c64_memory(work, prg):
    """Runs a C64 program's SYS line in sim65 (cc65's 6502 simulator) with 64K of RAM and
    a KERNAL of stubs: GETIN, the wait for a key, writes the memory out and ends the run;
    any other KERNAL call fails it. Returns the 64K as the program left them."""
    load = prg[0] | prg[1] << 8
    line = prg[6:].split(b"\0")[0]  # after the link and the line number
    if line[:1] != b"\x9e" or not line[1:].strip().isdigit():
        raise AssertionError(f"the BASIC line is no SYS: {line!r}")
    sys_address = int(line[1:].strip())
    memory = bytearray(0x10000)
    memory[load:load + len(prg) - 2] = prg[2:]
    for entry in range(0xFF81, 0xFFF4, 3):
        memory[entry:entry + 3] = b"\x4c\x10\xc0"             # JMP $C010
    memory[0xFFE4:0xFFE7] = b"\x4c\x20\xc0"                   # GETIN: JMP $C020
    memory[0xC000:0xC00B] = bytes([
        0xA2, 0xFF, 0x9A,                                       # LDX #$FF; TXS
        0x20, sys_address & 0xFF, sys_address >> 8,             # JSR sys_address
        0xA9, 0x02, 0x4C, 0xF9, 0xFF])                          # returned: exit(2)
    memory[0xC010:0xC015] = b"\xa9\x03\x4c\xf9\xff"             # other calls: exit(3)
    memory[0xC020:0xC03B] = bytes([
        0xA9, 0x00, 0x85, 0xF7, 0xA9, 0xCF, 0x85, 0xF8,         # the C stack at $CF00:
        0xA9, 0x00, 0xA2, 0x80, 0x20, 0xF7, 0xFF,               # write(1, $0000, $8000)
        0xA9, 0x00, 0xA2, 0x80, 0x20, 0xF7, 0xFF,               # write(1, $8000, $8000)
        0xA9, 0x00, 0x4C, 0xF9, 0xFF])                          # exit(0)
    memory[0xCF00:0xCF08] = bytes([0x00, 0x00, 1, 0, 0x00, 0x80, 1, 0])
    image = os.path.join(work, "c64.sim65")
    with open(image, "wb") as f:  # header: CPU 6502, sp at $F7, load at $0200, reset $C000
        f.write(b"sim65\x02\x00\xf7\x00\x02\x00\xc0" + memory[0x200:0xFFF4])
    done = run(["sim65", "-x", "2000000", image])
    if done.returncode != 0 or len(done.stdout) != 0x10000:
        raise AssertionError(f"sim65 ended with {done.returncode} before the wait for a key "
                             f"(2: it returned, 3: another KERNAL call) {done.stderr.decode()}")
    return done.stdout


def vic_picture(memory, path):
    """The 320x200 text screen the VIC-II shows from memory, as a PPM picture; the border."""
    bank = (3 - (memory[0xDD00] & 3)) * 0x4000
    screen = bank + (memory[0xD018] >> 4) * 0x400
    glyphs = bank + (memory[0xD018] >> 1 & 7) * 0x800
    if bank in (0, 0x8000) and glyphs - bank in (0x1000, 0x1800):
        raise AssertionError(f"$D018 points at the character ROM (${glyphs:04X})")
    rgb = [bytes.fromhex(c) for c in C64_PALETTE]
    paper = rgb[memory[0xD021] & 15]
    rows = []
    for y in range(200):
        row = bytearray()
        for column in range(40):
            cell = y // 8 * 40 + column
            bits = memory[glyphs + memory[screen + cell] * 8 + y % 8]
            ink = rgb[memory[0xD800 + cell] & 15]
            row += b"".join(ink if bits & 0x80 >> x else paper for x in range(8))
        rows.append(bytes(row))
    with open(path, "wb") as f:
        f.write(b"P6 320 200 255\n" + b"".join(rows))
    return memory[0xD020] & 15


def c64(work):
    """A runnable .prg, run to its wait for a key; the VIC's picture against the map's. The
    map picture read back (--from-picture) to a .prg must show the same."""
    every_code_map(f"{work}/s.map", 40, 25)
    colours = ["--ink", "#9ad284", "--paper", "#352879"]  # light green on blue
    convert("--map", "40x25", "--font", "builtin:c64", *colours, f"{work}/s.map", f"{work}/s.prg")
    convert("--map", "40x25", "--font", "builtin:c64", *colours, "--scale", "1", f"{work}/s.map",
            f"{work}/s.png")
    convert("--from-picture", "--font", "builtin:c64", "--paper", "#352879", f"{work}/s.png",
            f"{work}/back.prg")
    differing = []
    for program in ["s", "back"]:
        with open(f"{work}/{program}.prg", "rb") as f:
            memory = c64_memory(work, f.read())
        border = vic_picture(memory, f"{work}/{program}.ppm")
        if C64_PALETTE[border] != "352879":
            raise AssertionError(f"{program}.prg: the border is colour {border}, not the paper")
        differing.append(differing_pixels(f"{work}/{program}.ppm", f"{work}/s.png"))
    return sum(differing), (f"sim65 ran the SYS line to GETIN; of the 320x200 pixels the VIC "
                            f"shows, {differing[0]} differ from the map picture, "
                            f"{differing[1]} for the picture read back")


DOSBOX_CONFIG = """[sdl]
output=surface
[dosbox]
machine=vgaonly
[render]
aspect=false
scaler=none
[mixer]
nosound=true
[midi]
mpu401=none
mididevice=none
[autoexec]
mount c {work}
c:
fifty.com
screen.com
rows.com
"""

# 80x50 text, as a tool sets it before the program: the BIOS's 8x8 font (int 10h, 1112h).
FIFTY_COM = bytes.fromhex("b81211b300cd10c3")
# Writes the BIOS's rows less one and glyph height (0:0484h, a word) to ROWS.BIN.
ROWS_COM = bytes.fromhex("31c08ec026a18404a32501b43c31c9ba2701cd2189c3b440b90200ba2501cd21"
                         "b43ecd21c3") + b"\0\0ROWS.BIN\0"


def window_of(display, name):
    """The id of the first window whose title holds name, or None."""
    done = run(["xdotool", "search", "--name", name], env={**os.environ, "DISPLAY": display})
    ids = done.stdout.split()
    return ids[0].decode() if ids else None


def window_size(display, window):
    done = run(["xdotool", "getwindowgeometry", "--shell", window],
               env={**os.environ, "DISPLAY": display})
    fields = dict(line.split("=") for line in done.stdout.decode().split())
    return int(fields.get("WIDTH", 0)), int(fields.get("HEIGHT", 0))


def dos_program(work):
    """The .com in DOSBox, started from 80x50 text: its window (no scaler, 640x400 in
    80x50 text of 8-pixel cells) against the map picture; then a key, after which DOSBox's
    prompt is back in text of 9-pixel cells (720x400) of the 50 rows of 8 lines found."""
    # A plain VGA (DOSBox's S3 draws every text cell 8 pixels wide, so it would show neither
    # the clocking mode set nor the 9-pixel cells restored); DOSBox shows its DAC level l as
    # l << 2 in a window of 5-6-5 bits: these colours come back exactly.
    colours = ["--ink", "#a8a8a8", "--paper", "#0000a8"]
    every_code_map(f"{work}/screen.map", 80, 50)
    convert("--map", "80x50", "--font", "builtin:cga", *colours, f"{work}/screen.map",
            f"{work}/screen.com")
    convert("--map", "80x50", "--font", "builtin:cga", *colours, "--scale", "1",
            f"{work}/screen.map", f"{work}/expected.png")
    with open(f"{work}/dosbox.conf", "w") as f:
        f.write(DOSBOX_CONFIG.format(work=work))
    for name, code in [("fifty.com", FIFTY_COM), ("rows.com", ROWS_COM)]:
        with open(f"{work}/{name}", "wb") as f:
            f.write(code)
    rows_file = f"{work}/ROWS.BIN"
    with xvfb() as display:
        # DOSBox writes a config of its own under HOME on its first run.
        env = {**os.environ, "DISPLAY": display, "SDL_AUDIODRIVER": "dummy", "HOME": work}
        dosbox = subprocess.Popen(["dosbox", "-conf", f"{work}/dosbox.conf"], env=env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            window = wait_for(lambda: window_of(display, "DOSBox"), 30)
            if not window:
                raise AssertionError("no DOSBox window")
            shown = f"{work}/shown.png"

            def differing():
                if window_size(display, window) != (640, 400):
                    return None
                capture(display, shown, window)
                return differing_pixels(shown, f"{work}/expected.png")

            end = time.monotonic() + 60
            while (count := differing()) != 0 and time.monotonic() < end:
                time.sleep(0.25)
            if count is None:
                raise AssertionError(f"DOSBox shows {window_size(display, window)}, not 640x400")
            run(["xdotool", "mousemove", "--window", window, "8", "8", "key", "space"], env=env)
            restored = wait_for(lambda: window_size(display, window) == (720, 400) and
                                os.path.exists(rows_file), 30)
            size = window_size(display, window)
        finally:
            dosbox.kill()
            dosbox.wait()
    rows = open(rows_file, "rb").read() if os.path.exists(rows_file) else b""
    if not restored or rows != bytes([49, 8]):
        raise AssertionError(f"after a key DOSBox shows {size}, not 9-pixel cells (720x400), "
                             f"with the BIOS's rows less one and height {list(rows)}, not "
                             "[49, 8] (80x50)")
    return count, (f"{count} of 640x400 pixels differ in DOSBox's window from the map picture; "
                   "a key restored the 80x50 text found")


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
    convert("--font-out", back_font, xb, back_map)  # at the size the XBin gives
    convert("--map", "80x25", "--font", back_font, *colours, back_map, again)
    with open(xb, "rb") as first, open(again, "rb") as second:
        if first.read() != second.read():
            raise AssertionError("the XBin read back into a set and a map is written differently")
    return differing, (f"ansilove drew 640 x 200 pixels, {differing} differ from the map "
                       "picture; read back, written to the same bytes")


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

    # The program ends with OpenSE's report on the bottom row, black on white. The set is
    # a file of codes 32-127 only: read from code 0 it misses the machine's codes, and the
    # note's command places it.
    report = os.path.join(work, "report.map")
    with open(report, "wb") as f:
        f.write(b"OK, 10:4")
    ascii_set = os.path.join(work, "ascii.bin")
    convert("--first", "32", "--count", "96", font, ascii_set)
    note = convert(ascii_set, tape)
    advice = note.split("`")[1] if note.count("`") == 2 else ""
    if not advice.startswith("tessaly-convert --at 32 "):
        raise AssertionError(f"no --at 32 for a set read from code 0: {note}")
    convert(*shlex.split(advice)[1:])
    convert("--map", "8x1", "--font", font, "--ink", "#000000", "--paper", "#c0c0c0",
            "--scale", "1", report, expected)
    on_report = fuse_shows(work, tape, expected, "64x8+0+184")
    return on_map + on_report, (f"Fuse shows the 32x24 map of all 256 codes ({on_map} pixels "
                                f"differ) and PRINTs in the set loaded ({on_report})")


# openMSX's script: from the cartridge's call of CHGET (a return address in its page), a
# tenth of a second at normal speed for the frame, then VRAM and the screen saved, a space
# put in the BIOS's key buffer and INIT's return to its caller awaited (the stack as it was
# when INIT began). The display gamma is 1: the screen in the VDP's colours. A cartridge
# that never waits ends at 10 emulated seconds.
OPENMSX_SCRIPT = """set renderer SDL
set gamma 1.0
set throttle off
after time 10 exit
proc shown {{}} {{
    set f [open {work}/vram.bin wb]
    puts -nonewline $f [debug read_block VRAM 0 0x4000]
    close $f
    screenshot -raw {work}/shot.png
    debug set_bp $::caller {{[reg SP] == $::sp + 4}} {{close [open {work}/returned w]; exit}}
    type_via_keybuf " "
    after time 2 exit
}}
debug set_bp 0x009F {{[peek16 [reg SP]] >= 0x4000 && [peek16 [reg SP]] < 0x8000}} {{
    set ::sp [reg SP]
    set ::caller [peek16 [expr {{$::sp + 2}}]]
    set throttle on
    after time 0.1 shown
}}
"""


def openmsx_shows(work, rom, expected, paper, tables):
    """Runs the cartridge on openMSX's C-BIOS MSX1 without a display (SDL's offscreen
    driver); returns the pixels of the 256x192 screen (its screenshot without the border)
    that differ from `expected`, the VRAM bytes that differ from `tables` ({address:
    bytes}), and the seconds openMSX ran. The border must be `paper` (rrggbb)."""
    with open(f"{work}/run.tcl", "w") as f:
        f.write(OPENMSX_SCRIPT.format(work=work))
    env = dict(os.environ, HOME=work, SDL_VIDEODRIVER="offscreen", SDL_AUDIODRIVER="dummy")
    start = time.monotonic()
    run(["openmsx", "-machine", "C-BIOS_MSX1", "-cart", rom, "-script", f"{work}/run.tcl"],
        env=env, cwd=work, timeout=60)
    seconds = time.monotonic() - start
    if not os.path.exists(f"{work}/shot.png"):
        raise AssertionError("openMSX never saw the cartridge wait for a key (CHGET)")
    if not os.path.exists(f"{work}/returned"):
        raise AssertionError("after a key the cartridge did not return from INIT")
    border = run(["convert", f"{work}/shot.png", "-format", "%[hex:u.p{0,0}]", "info:"])
    if border.stdout.decode()[:6].lower() != paper:
        raise AssertionError(f"the border is #{border.stdout.decode()}, not the paper")
    run(["convert", f"{work}/shot.png", "-crop", "256x192+32+24", "+repage", f"{work}/shown.png"])
    with open(f"{work}/vram.bin", "rb") as f:
        vram = f.read()
    differing = sum(a != b for at, table in tables.items() for a, b in zip(vram[at:], table))
    return differing_pixels(f"{work}/shown.png", expected), differing, seconds


def msx(work):
    """A 32x24 map's cartridge, and a set's, which shows the codes 32 a row (then code 32):
    each on the screen and in VRAM's pattern, name and colour tables."""
    font, screen = os.path.join(work, "set.fnt"), os.path.join(work, "screen.map")
    rom, expected = os.path.join(work, "screen.rom"), os.path.join(work, "expected.png")
    distinct_set(font)
    colours = ["--ink", "#dad57e", "--paper", "#5358dd"]  # TMS9918 colours 11 on 4
    with open(font, "rb") as f:
        tables = {0x0000: f.read(), 0x2000: bytes([0xB4] * 32)}
    found = []
    for args, names in [(["--map", "32x24", "--font", font, screen], bytes(range(256)) * 3),
                        ([font], bytes(range(256)) + b" " * 512)]:
        with open(screen, "wb") as f:  # the names shown, as a map for the picture
            f.write(names)
        tables[0x1800] = names
        convert(*colours, *args, rom)
        convert("--map", "32x24", "--font", font, *colours, "--scale", "1", screen, expected)
        found.append(openmsx_shows(work, rom, expected, "5358dd", tables))
    (map_pixels, map_bytes, map_time), (set_pixels, set_bytes, set_time) = found
    return map_pixels + map_bytes + set_pixels + set_bytes, (
        f"openMSX (C-BIOS MSX1) shows the 32x24 map of all 256 codes: {map_pixels} pixels and "
        f"{map_bytes} VRAM table bytes differ ({map_time:.1f} s); the set alone: {set_pixels} "
        f"and {set_bytes} ({set_time:.1f} s); after a key each returned from INIT")


# One row per machine: its name, and the check that converts, runs and compares; a check
# returns the number of pixels (or cells) that differ and a line that says what was shown.
MACHINES = [
    ("c64", c64),
    ("dos", dos_program),
    ("xb", xbin),
    ("zx", zx_spectrum),
    ("msx", msx),
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
