#!/usr/bin/env python3
"""The converter checked by the programs that consume what it writes.

Usage: consumers_test.py TESSALY_CONVERT SOURCE_DIR

Runs the built tessaly-convert and hands its output to the real tools of the field, as
scripts/test installs them from Debian: the six assemblers, gcc, kbd's psfxtable, the
console fonts of console-setup-linux, bdftopcf and ImageMagick. Also round trips every readable format
and checks that malformed input fails with exit 1, one useful line and no output.
"""

import glob
import gzip
import os
import shutil
import struct
import subprocess
import sys
import tempfile

CONVERT = os.path.abspath(sys.argv[1])
SOURCE = os.path.abspath(sys.argv[2])
TOOLS = ["ca65", "ld65", "acme", "64tass", "xa", "dasm", "pasmo", "z80asm", "psfxtable",
         "bdftopcf", "gcc", "convert"]
CONSOLE_FONTS = "/usr/share/consolefonts"

passed = 0
failures = []


def check(name, condition, detail=""):
    global passed
    if condition:
        passed += 1
    else:
        failures.append(f"{name}: {detail}")
        print(f"FAIL {name}: {detail}")


def run(args, stdin=None):
    return subprocess.run(args, input=stdin, capture_output=True)


def convert(*args, stdin=None):
    return run([CONVERT, *args], stdin)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def converted(name, *args):
    """Runs a conversion that must succeed."""
    r = convert(*args)
    check(name, r.returncode == 0, f"exit {r.returncode}: {r.stderr.decode(errors='replace')}")
    return r


def distinct_set():
    """2048 bytes in which every glyph differs, with full and empty rows among them."""
    out = bytearray()
    for code in range(256):
        for row in range(8):
            out.append((code * 37 + row * 101 + (code >> 3) * row) & 0xFF)
    out[0:8] = bytes(8)
    out[8:16] = b"\xff" * 8
    return bytes(out)


def psf_glyphs(data):
    """The first 256 glyphs of an 8x8 PSF 1 or 2, as the format defines them."""
    if data[:2] == b"\x36\x04":
        assert data[3] == 8
        return data[4:4 + 2048]
    magic, version, header, flags, length, charsize, height, width = struct.unpack(
        "<IIIIIIII", data[:32])
    assert magic == 0x864AB572 and charsize == 8 and height == 8 and width == 8
    return data[header:header + min(length, 256) * 8]


def assembler_checks(work, charset, screen):
    """Each syntax assembled by its assembler to a binary equal to the bytes converted."""
    def ld65(source, out):
        cfg = os.path.join(work, "ld65.cfg")
        write(cfg, b"MEMORY { M: start = $3000, size = $10000, file = %O; }\n"
                   b"SEGMENTS { CODE: load = M, type = ro; }\n")
        obj = out + ".o"
        return [["ca65", source, "-o", obj], ["ld65", "-C", cfg, "-o", out, obj]]

    def dasm(source, out):
        wrapper = source + ".main"
        write(wrapper, f'    processor 6502\n    org $3000\n    include "{source}"\n'.encode())
        return [["dasm", wrapper, "-f3", "-o" + out]]

    assemblers = {
        "ca65": ld65,
        "acme": lambda s, o: [["acme", "--setpc", "0x3000", "-f", "plain", "-o", o, s]],
        "64tass": lambda s, o: [["64tass", "--quiet", "--nostart", "-o", o, s]],
        "xa": lambda s, o: [["xa", "-o", o, s]],
        "dasm": dasm,
        "z80 (pasmo)": lambda s, o: [["pasmo", s, o]],
        "z80 (z80asm)": lambda s, o: [["z80asm", "-o", o, s]],
    }
    cases = [
        ("set", [], charset),
        ("codes 32-127", ["--first", "32", "--count", "96", "builtin:cga"], None),
        ("map 40x25", ["--map", "40x25"], screen),
    ]
    cga = convert("builtin:cga", "-", "--to", "raw").stdout
    for assembler, commands in assemblers.items():
        syntax = assembler.split()[0]
        for what, options, data in cases:
            name = f"{assembler}: {what}"
            stem = os.path.join(work, f"{syntax}_{what.split()[0]}")
            source, binary = stem + ".s", stem + ".bin"
            if data is not None:
                given = stem + (".map" if options else ".fnt")
                write(given, data)
                args = options + ["--syntax", syntax, given, source]
                expected = data
            else:
                args = options + ["--syntax", syntax, source]
                expected = cga[32 * 8:128 * 8]
            converted(name + " converted", *args)
            for command in commands(source, binary):
                r = run(command)
                check(name + " assembled", r.returncode == 0,
                      f"{' '.join(command)}: {r.stdout.decode()}{r.stderr.decode()}")
            check(name + " binary", os.path.exists(binary) and read(binary) == expected,
                  "the assembled bytes differ from the set")


def c_checks(work, charset, screen):
    """Each C output compiled with warnings as errors into a program that writes it back."""
    for ext, options, data in [(".c", [], charset), (".h", [], charset),
                               (".h", ["--map", "40x25"], screen)]:
        name = f"C {ext} {' '.join(options) or 'set'}"
        stem = os.path.join(work, "c_" + ext[1:] + str(len(options)))
        given = stem + (".map" if options else ".fnt")
        write(given, data)
        converted(name + " converted", *options, "--name", "data", given, stem + ext)
        include = f'#include "{stem}{ext}"\n' * (2 if ext == ".h" else 1)  # the guard holds
        main = stem + "_main.c"
        write(main, (include + "#include <stdio.h>\n"
                     "int main(void) {\n"
                     "    return fwrite(data, 1, sizeof data, stdout) == sizeof data ? 0 : 1;\n"
                     "}\n").encode())
        program = stem + "_program"
        r = run(["gcc", "-Wall", "-Wextra", "-Werror", "-pedantic", "-o", program, main])
        check(name + " compiled", r.returncode == 0, r.stderr.decode())
        if r.returncode == 0:
            out = run([program])
            check(name + " bytes", out.stdout == data, "the program writes other bytes")


def psf_checks(work, charset):
    font = os.path.join(work, "set.psf")
    raw = os.path.join(work, "set.fnt")
    write(raw, charset)
    converted("PSF written", raw, font)
    copy = os.path.join(work, "copy.psf")
    table = os.path.join(work, "table.txt")
    r = run(["psfxtable", "-i", font, "-o", copy, "-ot", table])
    check("psfxtable reads the PSF", r.returncode == 0, r.stderr.decode())
    check("psfxtable keeps the glyphs", psf_glyphs(read(copy)) == charset)
    back = os.path.join(work, "copy.fnt")
    converted("psfxtable's PSF read back", copy, back)
    check("psfxtable's PSF gives the set", read(back) == charset)

    fonts = sorted(glob.glob(os.path.join(CONSOLE_FONTS, "*-VGA8.psf.gz")))
    check("console-setup's 8x8 fonts are there", len(fonts) >= 5, f"{len(fonts)} found")
    for path in fonts:
        name = os.path.basename(path)
        glyphs = psf_glyphs(gzip.decompress(read(path)))
        raw = os.path.join(work, name + ".fnt")
        converted(name + " read", path, raw)
        check(name + " glyphs intact", read(raw) == glyphs)
        again = os.path.join(work, name)  # ends in .psf.gz: written packed
        converted(name + " written back", raw, again)
        check(name + " round trip", psf_glyphs(gzip.decompress(read(again))) == glyphs)
        plain = os.path.join(work, name[:-3])
        write(plain, gzip.decompress(read(again)))
        r = run(["psfxtable", "-i", plain, "-ot", table])
        check(name + " written back, read by psfxtable", r.returncode == 0, r.stderr.decode())


def bdf_checks(work, charset):
    raw = os.path.join(work, "set.fnt")
    write(raw, charset)
    for options in [[], ["--first", "32", "--count", "96"]]:
        bdf = os.path.join(work, f"set{len(options)}.bdf")
        converted("BDF written " + " ".join(options), *options, raw, bdf)
        pcf = bdf[:-4] + ".pcf"
        r = run(["bdftopcf", "-o", pcf, bdf])
        check("bdftopcf accepts the BDF " + " ".join(options),
              r.returncode == 0 and not r.stderr and os.path.getsize(pcf) > 0,
              r.stderr.decode())


def builtin_checks(work):
    out = os.path.join(work, "c64.fnt")
    converted("builtin:c64", "builtin:c64", out)
    check("builtin:c64 is the C64 CAPS table", read(out) == read(os.path.join(
        SOURCE, "data", "fonts", "c64caps.bin")))
    atari = read(os.path.join(SOURCE, "data", "fonts", "atari.bin"))
    r = convert("builtin:atari", "-", "--to", "raw")
    check("builtin:atari has its inverted half",
          r.stdout == atari + bytes(b ^ 0xFF for b in atari))


def round_trips(work, charset):
    raw = os.path.join(work, "trip.fnt")
    write(raw, charset)
    for ext in [".prg", ".64c", ".psf", ".psfu", ".bdf", ".fnt.gz", ".psf.gz", ".bin", ".chr",
                ".rom"]:
        middle = os.path.join(work, "trip" + ext)
        back = os.path.join(work, "trip_back.fnt")
        converted("to " + ext, raw, middle)
        converted("from " + ext, middle, back)
        check("round trip through " + ext, read(back) == charset)
    # A file shorter than the set lands at --first and comes back the same.
    part = os.path.join(work, "ascii.fnt")
    write(part, charset[:96 * 8])
    for ext in [".psf", ".bdf", ".prg"]:
        middle = os.path.join(work, "ascii" + ext)
        converted("part to " + ext, "--first", "32", "--count", "96", part, middle)
        r = convert("--first", "32", "--count", "96", middle, "-", "--to", "raw")
        check("part round trip through " + ext, r.stdout == charset[:96 * 8])
    r = convert("--from", "raw", "--to", "psf", "-", "-", stdin=charset)
    check("standard input to standard output", psf_glyphs(r.stdout) == charset, r.stderr)
    prg = convert("--load-address", "0xC000", raw, "-", "--to", "prg").stdout
    check("prg load address", prg[:2] == b"\x00\xc0" and prg[2:] == charset)


def magick_rgb(path):
    """The picture's pixels as ImageMagick reads them: (width, height, RGB bytes)."""
    r = run(["identify", "-format", "%w %h", path])
    width, height = map(int, r.stdout.split())
    return width, height, run(["convert", path, "-depth", "8", "rgb:-"]).stdout


def grid_rgb(charset, scale, ink, paper):
    """The glyph grid, 16 glyphs a row, as RGB bytes."""
    rows = []
    for y in range(16 * 8 * scale):
        code_row, pixel_row = divmod(y // scale, 8)
        line = bytearray()
        for x in range(128 * scale):
            code_column, pixel_column = divmod(x // scale, 8)
            byte = charset[(code_row * 16 + code_column) * 8 + pixel_row]
            line += ink if byte & (0x80 >> pixel_column) else paper
        rows.append(bytes(line))
    return b"".join(rows)


def picture_checks(work, charset, screen):
    """Pictures read by ImageMagick pixel for pixel, and read back into sets and maps."""
    raw = os.path.join(work, "pic.fnt")
    write(raw, charset)
    white, black = b"\xff\xff\xff", b"\x00\x00\x00"
    for name, options, scale, ink, paper in [
            ("pic.png", [], 1, white, black),
            ("pic.bmp", ["--scale", "2"], 2, white, black),
            ("pic3.png", ["--scale", "3", "--ink", "#ff8000", "--paper", "#102030"], 3,
             b"\xff\x80\x00", b"\x10\x20\x30")]:
        picture = os.path.join(work, name)
        converted("set to " + name, *options, raw, picture)
        width, height, pixels = magick_rgb(picture)
        check("ImageMagick reads " + name, (width, height) == (128 * scale, 128 * scale) and
              pixels == grid_rgb(charset, scale, ink, paper), f"{width} x {height}")
        back = os.path.join(work, "pic_back.fnt")
        converted("set from " + name, picture, back, "--paper", "#" + paper.hex())
        check(name + " reads back to the set", read(back) == charset)
    # Without --paper the most common colour is paper; the converter says which unless it
    # is the black of its own pictures.
    sparse = bytes(b & 0x11 for b in charset)
    write(raw, sparse)
    for paper, note in [("#000000", b""), ("#102030", b"#102030 as paper")]:
        sparse_png = os.path.join(work, "sparse.png")
        converted("a sparse set to PNG", "--ink", "#00ff00", "--paper", paper, raw, sparse_png)
        r = converted("a sparse set from PNG", sparse_png, raw)
        check("the paper note for " + paper, note in r.stderr and (note or b"paper" not in r.stderr),
              r.stderr.decode())
        check("the sparse set reads back", read(raw) == sparse)
    write(raw, charset)

    # A screen drawn as the map window draws it, cut back into a set and a map that draw
    # the same picture again.
    codes = os.path.join(work, "screen.map")
    write(codes, screen)
    shown = os.path.join(work, "screen.png")
    converted("screen to PNG", "--map", "40x25", "--font", raw, codes, shown)
    width, height, pixels = magick_rgb(shown)
    expected = bytearray()
    for y in range(25 * 16):
        for x in range(40 * 16):
            code = screen[(y // 16) * 40 + x // 16]
            byte = charset[code * 8 + (y % 16) // 2]
            expected += white if byte & (0x80 >> ((x % 16) // 2)) else black
    check("ImageMagick reads the screen", (width, height) == (640, 400) and
          pixels == bytes(expected), f"{width} x {height}")
    cut_font, cut_map = os.path.join(work, "cut.fnt"), os.path.join(work, "cut.map")
    r = converted("screen cut into a set and a map", "--from-picture", "--scale", "2",
                  "--paper", "#000000", "--font-out", cut_font, shown, cut_map)
    check("the cut names the map's size", b"40 x 25" in r.stdout + r.stderr, r.stdout.decode())
    again = os.path.join(work, "again.png")
    converted("the cut drawn again", "--map", "40x25", "--font", cut_font, cut_map, again)
    check("the cut draws the same picture", magick_rgb(again)[2] == pixels)

    # Every code on one screen holds 256 distinct glyphs: from code 1 there is no room.
    every = os.path.join(work, "every.map")
    write(every, bytes(range(256)))
    everything = os.path.join(work, "every.png")
    converted("every glyph on a screen", "--map", "16x16", "--font", raw, every, everything)
    expect_failure(work, "too many glyphs", ["--from-picture", "--scale", "2", "--first", "1", "--font-out",
                   os.path.join(work, "never.fnt"), everything],
                   "256 distinct glyphs", everything)
    check("too many glyphs writes no set", not os.path.exists(os.path.join(work, "never.fnt")))
    cut = os.path.join(work, "cut.png")
    write(cut, read(shown)[:200])
    expect_failure(work, "a cut-off PNG", [cut], "PNG", cut)


def capture_checks(work):
    """Screens drawn with a set, framed by ImageMagick as an emulator's capture in the
    picture layouts it writes, and matched back to the same codes."""
    font = os.path.join(work, "c64.fnt")
    converted("the C64 set", "builtin:c64", font)
    glyphs = read(font)
    rows = [glyphs[c * 8:c * 8 + 8] for c in range(256)]
    # Codes that are the lowest of their glyph, so that matching gives them back.
    lowest = [c for c in range(256) if rows.index(rows[c]) == c]
    screen = bytes(lowest[(i * 7 + i // 40) % len(lowest)] for i in range(40 * 25))
    codes, shown = os.path.join(work, "shot.map"), os.path.join(work, "shot.png")
    write(codes, screen)
    converted("screen at scale 1", "--map", "40x25", "--scale", "1", "--font", font, codes, shown)
    frame = ["-bordercolor", "#123456", "-border", "32x35", "-gravity", "south", "-splice", "0x2"]
    back = os.path.join(work, "back.map")
    for name, options in [
            ("cap.png", []),
            ("cap_palette.bmp", ["-type", "Palette", "BMP3:"]),
            ("cap_rle.bmp", ["-type", "Palette", "-compress", "RLE", "BMP3:"]),
            ("cap_v5.bmp", ["-type", "Palette", "BMP:"]),
            # The paper transparent, storing another colour.
            ("cap_alpha.png", ["-transparent", "black", "-background", "#ff00ff",
                               "-alpha", "background", "PNG32:"])]:
        capture = os.path.join(work, name)
        prefix = options.pop() if options and options[-1].endswith(":") else ""
        run(["convert", shown, *frame, *options, prefix + capture])
        check(name + " is 384 x 272", magick_rgb(capture)[:2] == (384, 272))
        converted(name + " matched", "--from-picture", "--crop", "32,35,320x200", "--font",
                  font, capture, back)
        check(name + " gives the map back", read(back) == screen)

    # Half the set: the other glyphs are added after it and draw the same screen.
    half, grown = os.path.join(work, "half.fnt"), os.path.join(work, "grown.fnt")
    write(half, glyphs[:1024])
    capture = os.path.join(work, "cap.png")
    r = converted("--add", "--from-picture", "--crop", "32,35,320x200", "--font", half,
                  "--add", "--font-out", grown, capture, back)
    added = sum(1 for c in set(screen) if c >= 128)
    check("--add names the glyphs added", f"{added} glyphs added from code 128".encode()
          in r.stdout, r.stdout.decode())
    check("--add appends after the set", len(read(grown)) == 1024 + 8 * added and
          read(grown)[:1024] == glyphs[:1024], str(len(read(grown))))
    again = os.path.join(work, "again.png")
    converted("the grown set draws", "--map", "40x25", "--scale", "1", "--font", grown, back, again)
    check("--add draws the same screen", magick_rgb(again) == magick_rgb(shown))

    # A set picture of 32 glyphs a row, and back.
    wide = os.path.join(work, "wide.png")
    converted("32 a row", "--columns", "32", font, wide)
    check("32 a row is 256 x 64", magick_rgb(wide)[:2] == (256, 64))
    converted("32 a row back", "--columns", "32", wide, os.path.join(work, "wide.fnt"))
    check("32 a row reads back", read(os.path.join(work, "wide.fnt")) == glyphs)

    # The largest screen picture read back: 4096 x 4096 pixels, a 48 MiB BMP.
    big_map, big = os.path.join(work, "big.map"), os.path.join(work, "big.bmp")
    write(big_map, bytes(lowest[i % len(lowest)] for i in range(512 * 512)))
    converted("the largest picture", "--map", "512x512", "--scale", "1", "--font", font, big_map,
              big)
    converted("the largest picture read", "--from-picture", "--font", font, big, back)
    check("the largest picture gives its map", read(back) == read(big_map))
    os.remove(big)
    r = convert("--map", "512x512", "--font", font, big_map, big)
    check("too large at scale 2 suggests scale 1", r.returncode == 2 and b"--scale 1" in r.stderr,
          r.stderr.decode())

    zx = os.path.join(work, "zx.fnt")
    converted("the ZX set", "builtin:zx", zx)
    three = os.path.join(work, "three.png")
    run(["convert", shown, "-fill", "#ff0000", "-draw", "point 3,3", three])
    r = converted("a third colour", "--from-picture", "--font-out", os.path.join(work, "t.fnt"),
                  three, back)
    check("a third colour is noted", b"2 colours besides the paper" in r.stderr, r.stderr.decode())
    for name, args, message in [
            ("a cell no glyph matches", ["--font", zx, "--crop", "32,35,320x200"],
             "matches no glyph of the font"),
            ("a paper the picture lacks", ["--font", font, "--paper", "#abcdef"],
             "no pixel has the paper colour #abcdef"),
            ("a crop outside", ["--font", font, "--crop", "100,100,320x200"],
             "does not lie inside the picture of 384 x 272"),
    ]:
        expect_failure(work, name, ["--from-picture", *args, capture], message, capture)


def failure_checks(work, charset):
    """Malformed input: exit 1, one line naming the file and the fault, output untouched."""
    psf2 = struct.pack("<IIIIIIII", 0x864AB572, 0, 32, 0, 256, 8, 8, 8) + charset
    lying = bytearray(psf2)
    struct.pack_into("<I", lying, 16, 300)
    huge = bytearray(psf2)
    struct.pack_into("<I", huge, 16, 0xFFFFFFFF)
    wide = bytearray(psf2)
    struct.pack_into("<III", wide, 20, 16, 16, 8)
    bdf = read(os.path.join(work, "set0.bdf")).decode()
    full = bdf.index("ENCODING 1\n")  # glyph 1 is all ink: one column right is too far
    unfit = bdf[:full] + bdf[full:].replace("BBX 8 8 0 -1", "BBX 8 8 1 -1", 1)
    terminus = os.path.join(CONSOLE_FONTS, "Lat15-Terminus12x6.psf.gz")
    fixed16 = os.path.join(CONSOLE_FONTS, "Lat15-Fixed16.psf.gz")
    packed = gzip.compress(psf2)
    cases = [
        ("empty.fnt", b"", [], "the file is empty"),
        ("short.psf", psf2[:20], [], "the PSF 2 header is cut short: 20 of 32 bytes"),
        ("short1.psf", b"\x36\x04\x00", [], "the PSF 1 header is cut short: 3 of 4 bytes"),
        ("lying.psf", bytes(lying), [], "the glyphs end at byte 2432"),
        ("huge.psf", bytes(huge), [], "4294967295 glyphs"),
        ("tall.psf", bytes(wide), [], "the glyphs are 8x16 pixels"),
        ("cut.psf.gz", packed[:len(packed) // 2], [], "the gzip data is cut short"),
        ("notgzip.psf.gz", psf2, [], "not gzip data"),
        ("cut.bdf", bdf[:bdf.index("BITMAP", len(bdf) // 2) + 10].encode(), [],
         "the file ends inside glyph"),
        ("unfit.bdf", unfit.encode(), [], "glyph 'char1' (ENCODING 1) does not fit the 8x8 cell: it has ink at column 8"),
        ("lying.bdf", bdf.replace("CHARS 256", "CHARS 257").encode(), [],
         "the font holds 256 glyphs, but CHARS gives 257"),
        ("short.prg", b"\x00", [], "the two-byte load address is cut short"),
        ("big.map", bytes(41), ["--map", "5x8"], "too big for a 5 x 8 map: 41 bytes"),
    ]
    for name, data, options, message in cases:
        source = os.path.join(work, name)
        write(source, data)
        expect_failure(work, name, [*options, source], message, source)
    for path, message in [(terminus, "the glyphs are 6x12 pixels"),
                          (fixed16, "the glyphs are 8x16 pixels"),
                          (os.path.join(work, "missing.fnt"), "no such file")]:
        expect_failure(work, os.path.basename(path), [path], message, path)
    r = convert(os.path.join(work, "trip.fnt"), os.path.join(work, "nowhere", "x.s"))
    check("an output that cannot be made fails", r.returncode == 1 and
          b"nowhere/x.s: cannot be written" in r.stderr, r.stderr.decode())
    # Usage errors: exit 2, nothing written.
    out = os.path.join(work, "usage.s")
    for args in [["--syntax", "nasm"], ["--first", "300"], ["--map", "0x5"], ["--count", "300"]]:
        r = convert(*args, os.path.join(work, "trip.fnt"), out)
        check("usage error " + " ".join(args), r.returncode == 2 and not os.path.exists(out),
              f"exit {r.returncode}")


def expect_failure(work, name, args, message, source):
    out = os.path.join(work, "kept.s")
    write(out, b"before")
    files = sorted(os.listdir(work))
    r = convert(*args, out)
    lines = r.stderr.decode(errors="replace").splitlines()
    check(name + " fails with exit 1", r.returncode == 1, f"exit {r.returncode}")
    check(name + " says what and where",
          len(lines) == 1 and source in lines[0] and message in lines[0], str(lines))
    check(name + " writes nothing", read(out) == b"before" and sorted(os.listdir(work)) == files)


def main():
    missing = [t for t in TOOLS if not shutil.which(t)]
    if missing or not os.path.isdir(CONSOLE_FONTS):
        print("missing: " + " ".join(missing or ["console-setup-linux"]) +
              " (scripts/test installs them)")
        return 1
    charset = distinct_set()
    screen = bytes((i * 7 + i // 40) & 0xFF for i in range(40 * 25))
    with tempfile.TemporaryDirectory(prefix="tessaly-convert-") as work:
        assembler_checks(work, charset, screen)
        c_checks(work, charset, screen)
        psf_checks(work, charset)
        bdf_checks(work, charset)
        builtin_checks(work)
        round_trips(work, charset)
        picture_checks(work, charset, screen)
        capture_checks(work)
        failure_checks(work, charset)
        leftovers = [n for n in os.listdir(work) if n.startswith(".tessaly")]
        check("no temporary file left", not leftovers, str(leftovers))
    print(f"{passed} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
