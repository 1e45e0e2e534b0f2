#!/usr/bin/env python3
"""The converter checked by the programs that consume what it writes.

Usage: consumers_test.py TESSALY_CONVERT SOURCE_DIR

Runs the built tessaly-convert and hands its output to the real tools of the field, as
scripts/test installs them from Debian: the six assemblers, gcc, kbd's psfxtable, the
console fonts of console-setup-linux, psfgettable, fonts-misaki and xfonts-base, bdftopcf and
ImageMagick. Also round trips every readable format
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
TOOLS = ["ca65", "ld65", "cl65", "sim65", "acme", "64tass", "xa", "dasm", "pasmo", "z80asm",
         "psfxtable", "psfgettable", "bdftopcf", "pcf2bdf", "gcc", "g++", "setpriv", "convert"]
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
        include = ("#define DATA_IMPLEMENTATION\n" if ext == ".h" else "") + include
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


def linking_checks(work, charset):
    """The arrays and labels reach code in other files: a C header's array, defined in one
    file and included in another, from C and C++ (gcc and g++ alike), and a ca65 label
    `_font` from cc65's C."""
    header = os.path.join(work, "linked.h")
    converted("header for linking", "--name", "font", os.path.join(work, "set.fnt"), header)
    for compiler, ext in [("gcc", "c"), ("g++", "cpp")]:
        for user_compiler, user_ext in [("gcc", "c"), ("g++", "cpp")]:
            name = f"the .h compiled by {compiler}, used from {user_compiler}"
            definition = os.path.join(work, f"def_{compiler}.{ext}")
            write(definition, f'#define FONT_IMPLEMENTATION\n#include "{header}"\n'.encode())
            user = os.path.join(work, f"use_{user_compiler}.{user_ext}")
            write(user, f'#include <stdio.h>\n#include "{header}"\n'.encode() +
                        b"int main(void) { return fwrite(font, 1, 2048, stdout) == 2048 ? 0 : 1; }\n")
            objects = []
            for tool, source in [(compiler, definition), (user_compiler, user)]:
                obj = source + f".{tool}.o"
                r = run([tool, "-Wall", "-Wextra", "-Werror", "-c", "-o", obj, source])
                check(name + ": compiled", r.returncode == 0, r.stderr.decode())
                objects.append(obj)
            program = os.path.join(work, f"linked_{compiler}_{user_compiler}")
            r = run(["g++" if "g++" in (compiler, user_compiler) else "gcc", "-o", program,
                     *objects])
            check(name + ": linked", r.returncode == 0, r.stderr.decode())
            check(name + ": the bytes", r.returncode == 0 and run([program]).stdout == charset)
    source = os.path.join(work, "cc65font.s")
    converted("_font for cc65", "--name", "_font", os.path.join(work, "set.fnt"), source)
    main = os.path.join(work, "cc65main.c")
    write(main, b"extern const unsigned char font[2048];\n"
                b"int main(void) { return font[8 * 65 + 3]; }\n")
    program = os.path.join(work, "cc65prog")
    r = run(["cl65", "-t", "sim6502", "-o", program, main, source])
    check("cl65 links C with the label _font", r.returncode == 0, r.stderr.decode())
    if r.returncode == 0:
        check("sim65 reads the set through _font",
              run(["sim65", program]).returncode == charset[8 * 65 + 3])


def output_checks(work, charset):
    """Outputs that are not regular files are written directly; a failure says why and
    leaves every output as it was, also when the second of two outputs fails."""
    raw = os.path.join(work, "set.fnt")
    fifo = os.path.join(work, "pipe")
    os.mkfifo(fifo)
    reader = subprocess.Popen(["cat", fifo], stdout=subprocess.PIPE)
    converted("to a FIFO", raw, fifo, "--to", "raw")
    check("the FIFO carries the set", reader.communicate()[0] == charset)
    r = run(["bash", "-c", f'"$0" "$1" /dev/stdout --to raw', CONVERT, raw])
    check("to /dev/stdout", r.returncode == 0 and r.stdout == charset, r.stderr.decode())
    r = run(["bash", "-c", f'"$0" "$1" >(md5sum > "$2") --to raw; wait', CONVERT, raw,
             os.path.join(work, "sum")])
    check("to a process substitution", r.returncode == 0, r.stderr.decode())
    folder = os.path.join(work, "folder.fnt")
    os.mkdir(folder)
    locked = os.path.join(work, "locked")
    os.mkdir(locked, 0o755)
    unprivileged = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"] \
        if os.getuid() == 0 else []
    prg = os.path.join(work, "high.prg")
    write(prg, b"\xff\xff\x01\x02")
    kept = os.path.join(work, "kept.fnt")
    cases = [
        ("a missing folder", [raw, os.path.join(work, "nowhere", "x.s")], "no such folder"),
        ("a folder", [raw, folder], "it is a folder"),
        ("a full device", [raw, "/dev/full", "--to", "raw"], "the device is full"),
        ("a .prg read past $FFFF", [prg, os.path.join(work, "x.fnt")],
         "2 bytes from $FFFF run past $FFFF"),
        ("the second of two outputs", ["--from-picture", "--font-out", kept,
                                       os.path.join(work, "pic.png"), "/dev/full", "--to", "map"],
         "/dev/full: cannot be written: the device is full"),
    ]
    if unprivileged:
        os.chmod(work, 0o755)  # the unprivileged run passes through to the locked folder
        cases.append(("no permission", ["builtin:c64", os.path.join(locked, "x.fnt")],
                      "permission denied"))
    for name, args, message in cases:
        write(kept, b"before")
        before = sorted(os.listdir(work))
        prefix = unprivileged if name == "no permission" else []
        r = run([*prefix, CONVERT, *args])
        check(name + ": exit 1 and why", r.returncode == 1 and message in r.stderr.decode(),
              f"exit {r.returncode}: {r.stderr.decode()}")
        check(name + ": nothing written",
              read(kept) == b"before" and sorted(os.listdir(work)) == before)


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
    # An MSX cartridge holds the set after its code: read back as raw after 32 glyphs.
    for ext, skip in [(".prg", []), (".64c", []), (".psf", []), (".psfu", []), (".bdf", []),
                      (".fnt.gz", []), (".psf.gz", []), (".bin", []), (".chr", []),
                      (".rom", ["--skip", "32"])]:
        middle = os.path.join(work, "trip" + ext)
        back = os.path.join(work, "trip_back.fnt")
        converted("to " + ext, raw, middle)
        converted("from " + ext, *skip, middle, back)
        check("round trip through " + ext, read(back) == charset)
    # A file shorter than the set lands at --at and comes back the same; BDF keeps codes.
    part = os.path.join(work, "ascii.fnt")
    write(part, charset[:96 * 8])
    for ext in [".psf", ".bdf", ".prg"]:
        middle = os.path.join(work, "ascii" + ext)
        converted("part to " + ext, "--at", "32", "--first", "32", "--count", "96", part, middle)
        at = [] if ext == ".bdf" else ["--at", "32"]
        r = convert(*at, "--first", "32", "--count", "96", middle, "-", "--to", "raw")
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

    # Cut from code 32, the set written in any format draws the map back pixel for pixel.
    small = os.path.join(work, "small.map")
    write(small, bytes(range(64, 64 + 40)) * 3)
    small_png = os.path.join(work, "small.png")
    converted("a small screen", "--map", "40x3", "--scale", "1", "--font", raw, small, small_png)
    for ext in [".fnt", ".prg", ".psf", ".bdf", ".png"]:
        cut_font, cut_map = os.path.join(work, "at32" + ext), os.path.join(work, "at32.map")
        converted("cut from code 32 to " + ext, "--from-picture", "--at", "32", "--paper", "#000000",
                  "--font-out",
                  cut_font, small_png, cut_map)
        check("the map's codes start at 32 for " + ext, read(cut_map)[:2] == bytes([32, 33]))
        redrawn = os.path.join(work, "redrawn.png")
        converted("redrawn with " + ext, "--map", "40x3", "--scale", "1", "--font", cut_font,
                  cut_map, redrawn)
        check("a set in " + ext + " and its map agree",
              magick_rgb(redrawn)[2] == magick_rgb(small_png)[2])

    # Every code on one screen holds 256 distinct glyphs: from code 1 there is no room.
    every = os.path.join(work, "every.map")
    write(every, bytes(range(256)))
    everything = os.path.join(work, "every.png")
    converted("every glyph on a screen", "--map", "16x16", "--font", raw, every, everything)
    expect_failure(work, "too many glyphs", ["--from-picture", "--scale", "2", "--at", "1", "--font-out",
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
    # The screen saved as JPEG and then as PNG: the noise of a lossy save.
    lossy = os.path.join(work, "lossy.png")
    run(["convert", shown, "-quality", "80", lossy + ".jpg"])
    run(["convert", lossy + ".jpg", lossy])
    os.remove(lossy + ".jpg")
    for name, args, message in [
            ("a cell no glyph matches", ["--font", zx, "--crop", "32,35,320x200", capture],
             "matches no glyph of the font; --add appends such glyphs; tried scales 5 and 1 "
             "with paper #000000 and #"),
            ("a paper the picture lacks", ["--font", font, "--paper", "#abcdef", capture],
             "no pixel has the paper colour #abcdef"),
            ("a crop outside", ["--font", font, "--crop", "100,100,320x200", capture],
             "does not lie inside the picture of 384 x 272"),
            ("a lossy picture", ["--font-out", os.path.join(work, "noise.fnt"), lossy],
             "colours: not a clean pixel picture"),
    ]:
        expect_failure(work, name, ["--from-picture", *args], message, args[-1])


def failure_checks(work, charset):
    """Malformed input: exit 1, one line naming the file and the fault, output untouched."""
    psf2 = struct.pack("<IIIIIIII", 0x864AB572, 0, 32, 0, 256, 8, 8, 8) + charset
    lying = bytearray(psf2)
    struct.pack_into("<I", lying, 16, 300)
    huge = bytearray(psf2)
    struct.pack_into("<I", huge, 16, 0xFFFFFFFF)
    wide = bytearray(psf2)
    struct.pack_into("<III", wide, 20, 32, 16, 16)
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
        ("wide.psf", bytes(wide), [], "the glyphs are 16x16 pixels; only glyphs up to 8 pixels wide"),
        ("cut.psf.gz", packed[:len(packed) // 2], [], "the gzip data is cut short"),
        ("notgzip.psf.gz", psf2, [], "not gzip data"),
        ("cut.bdf", bdf[:bdf.index("BITMAP", len(bdf) // 2) + 10].encode(), [],
         "the file ends inside glyph"),
        ("unfit.bdf", unfit.encode(), [], "glyph 'char1' (ENCODING 1) does not fit the cell: it has ink at column 8"),
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


def psf_font(data):
    """(width, height, glyphs) of a PSF 1 or 2 of any size, each glyph its row bytes."""
    if data[:2] == b"\x36\x04":
        height, count, start, width = data[3], 512 if data[2] & 1 else 256, 4, 8
    else:
        _, _, start, _, count, height, height, width = struct.unpack("<IIIIIIII", data[:32])
    size = height * ((width + 7) // 8)
    return width, height, [data[start + i * size:start + (i + 1) * size] for i in range(count)]


def unicode_glyphs(work, psf):
    """Each character's glyph number in a PSF, as kbd's psfgettable reads its table."""
    r = run(["psfgettable", psf, "-"])
    check("psfgettable reads " + os.path.basename(psf), r.returncode == 0, r.stderr.decode())
    glyphs = {}
    for line in r.stdout.decode().splitlines():
        if line.startswith("0x"):
            number, *chars = line.split()
            for c in chars:
                if "," not in c:  # sequences are not single characters
                    glyphs.setdefault(int(c[2:], 16), int(number, 16))
    return glyphs


def x11_codes(bdf):
    """The codes of a BDF as X's bdftopcf keeps them and pcf2bdf lists them."""
    r = run(["bdftopcf", "-o", bdf + ".pcf", bdf])
    text = run(["pcf2bdf", bdf + ".pcf"]).stdout.decode() if r.returncode == 0 else ""
    return [int(line[9:]) for line in text.splitlines() if line.startswith("ENCODING ")]


def font_checks(work):
    """Codes chosen and placed, fonts of every cell and Unicode orders, as the issue's
    examples and the console's and X's own tools see them."""
    cga = convert("builtin:cga", "-", "--to", "raw").stdout
    c64 = convert("builtin:c64", "-", "--to", "raw").stdout
    # A screen of C64 reversed glyphs, mostly ink, each the lowest code of its glyph.
    c64_rows = [c64[c * 8:c * 8 + 8] for c in range(256)]
    reversed_codes = [c for c in range(128, 256) if c64_rows.index(c64_rows[c]) == c]
    reversed_screen = bytes(reversed_codes[i * 7 % len(reversed_codes)] for i in range(1000))
    files = {"cga.fnt": cga, "c64.fnt": c64, "zx768.bin": cga[:768], "chargen": cga,
             "ab.map": b"AB",
             # 96 glyphs, blank at 0 and 16; a blank cell and an 'A' drawn with cga
             "blank16.bin": cga[:128] + bytes(8) + cga[136:768],
             "blank_a.png": convert("--map", "2x1", "--scale", "1", "--font", "builtin:cga",
                                    "--to", "png", "-", "-", stdin=bytes([0, 65])).stdout,
             "reversed.png": convert("--map", "40x25", "--font", "builtin:c64", "--to", "png",
                                     "-", "-", stdin=reversed_screen).stdout}
    for name, data in files.items():
        write(os.path.join(work, name), data)
    lat8 = os.path.join(work, "lat8.psf")
    write(lat8, gzip.decompress(read(os.path.join(CONSOLE_FONTS, "Lat15-VGA8.psf.gz"))))
    lat16 = os.path.join(CONSOLE_FONTS, "Lat15-VGA16.psf.gz")
    _, _, lat8_glyphs = psf_font(read(lat8))
    lat8_of = unicode_glyphs(work, lat8)
    _, _, lat16_glyphs = psf_font(gzip.decompress(read(lat16)))
    arabic = os.path.join(CONSOLE_FONTS, "Arabic-VGA14.psf.gz")
    _, _, arabic_glyphs = psf_font(gzip.decompress(read(arabic)))
    misaki = "/usr/share/fonts/truetype/misaki/misaki_gothic.ttf"
    x11 = "/usr/share/fonts/X11/misc/5x8.pcf.gz"
    mono = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"

    def glyph_of(data, code):
        return data[code * 8:code * 8 + 8]

    def xbin_font(data):
        """The font of an XBin of 8 rows, after its header and any palette."""
        start = 11 + (48 if data[10] & 1 else 0)
        return data[start:start + 2048]

    def stems(glyph):
        """The most runs of ink in one row of a glyph."""
        return max(len([r for r in format(row, "08b").split("0") if r]) for row in glyph)

    # (what, arguments before OUTPUT, OUTPUT, a check of the bytes written)
    cases = [
        ("codes 32-127 of cga", ["--first", "32", "--count", "96", "cga.fnt"], "ascii.bin",
         lambda out: out == cga[256:1024]),
        ("768 bytes at code 32", ["--at", "32", "zx768.bin"], "zx.fnt",
         lambda out: out[256:1024] == cga[:768] and out[:256] == bytes(256)),
        ("a blank cell takes 32 of a set held from --at 16", ["--from-picture", "--at", "16",
         "--font", "blank16.bin", "blank_a.png"], "blank_a.map", lambda out: out == b"\x20\x51"),
        ("768 bytes at code 32, as a BDF of those 96 codes", ["--at", "32", "zx768.bin"], "zx.bdf",
         lambda out: x11_codes(os.path.join(work, "zx.bdf")) == list(range(32, 128))),
        ("a PSF in C64 order names only the characters the font has", ["--order", "c64", lat8],
         "named.psf", lambda out: set(unicode_glyphs(work, os.path.join(work, "named.psf")))
         <= set(lat8_of)),
        ("the second half of c64", ["--skip", "128", "c64.fnt"], "half.fnt",
         lambda out: out[:1024] == c64[1024:] and out[1024:] == bytes(1024)),
        ("Lat15 in C64 order", ["--order", "c64", lat8], "c64.fnt",
         lambda out: glyph_of(out, 1) == lat8_glyphs[lat8_of[0x41]] and
         glyph_of(out, 0) == lat8_glyphs[lat8_of[0x40]] and
         glyph_of(out, 129) == bytes(255 - b for b in lat8_glyphs[lat8_of[0x41]])),
        ("Lat15 in ZX80 order, reversed at 128-191", ["--order", "zx80", lat8], "zx80.fnt",
         lambda out: glyph_of(out, 38) == lat8_glyphs[lat8_of[0x41]] and
         glyph_of(out, 166) == bytes(255 - b for b in glyph_of(out, 38)) and
         glyph_of(out, 102) == bytes(8)),
        ("rows 4-11 of an 8x16 console font", ["--rows", "4", lat16], "lat16.fnt",
         lambda out: out == b"".join(g[4:12] for g in lat16_glyphs[:256])),
        ("glyphs 256-511 of a 512-glyph PSF", ["--skip", "256", "--rows", "3", arabic],
         "upper.fnt", lambda out: out == b"".join(g[3:11] for g in arabic_glyphs[256:])),
        ("an 8x8 TrueType font by its codes", [misaki], "misaki.fnt",
         lambda out: glyph_of(out, 65) != bytes(8) and glyph_of(out, 1) == bytes(8)),
        ("an X11 PCF in C64 order", ["--order", "c64", x11], "x11.fnt",
         lambda out: glyph_of(out, 1) != bytes(8)),
        ("a map picture (scale 2, mostly ink) reads back with its own scale and paper",
         ["--from-picture", "--font", "builtin:c64", "reversed.png"], "reversed.map",
         lambda out: out == reversed_screen),
        ("a short raw --font placed from --at 32 draws a map", ["--map", "2x1", "--font",
         "ascii.bin", "--at", "32", "ab.map"], "ab.xb",
         lambda out: xbin_font(out)[65 * 8:67 * 8] == cga[65 * 8:67 * 8]),
        ("a --font without an extension named raw:", ["--map", "2x1", "--font", "raw:chargen",
         "ab.map"], "chargen.xb", lambda out: xbin_font(out) == cga),
        ("--rows takes 8 rows of a tall --font", ["--map", "2x1", "--rows", "4", "--font", lat16,
         "ab.map"], "lat16.xb",
         lambda out: xbin_font(out) == b"".join(g[4:12] for g in lat16_glyphs[:256])),
        ("a map picture cut without --font at the scale it was drawn",
         ["--from-picture", "--font-out", "reversed.fnt", "reversed.png"], "reversed_cut.map",
         lambda out: len(out) == 40 * 25),
        ("128 codes on a tape at the address the default's refusal gives",
         ["--first", "0", "--count", "128", "--load-address", "64512", "cga.fnt"], "wide.tap",
         lambda out: cga[:1024] in out),
        ("outlines keep the ink past their advance: 'm' has three stems",
         ["--size", "8", "--rows", "2", mono], "mono.fnt", lambda out: stems(glyph_of(out, 109)) == 3),
    ]
    for what, args, output, good in cases:
        out = os.path.join(work, output)
        r = subprocess.run([CONVERT, *args, out], capture_output=True, cwd=work)
        check(what, r.returncode == 0 and good(read(out)),
              f"exit {r.returncode}: {r.stderr.decode(errors='replace')}")

    # The same characters through TrueType's and the console's Unicode: misaki's 'A' at 1.
    misaki_c64 = os.path.join(work, "misaki_c64.fnt")
    converted("misaki in C64 order", "--order", "c64", misaki, misaki_c64)
    check("misaki's A at C64 screen code 1", glyph_of(read(misaki_c64), 1) ==
          glyph_of(read(os.path.join(work, "misaki.fnt")), 65))

    # Written in C64 order, the console finds each character's glyph and X the code's.
    psf = os.path.join(work, "c64order.psf")
    converted("PSF in C64 order", "--order", "c64", lat8, psf)
    table = unicode_glyphs(work, psf)
    check("the console's table gives 'A' code 1 and '@' code 0",
          table.get(0x41) == 1 and table.get(0x40) == 0 and table.get(0x20) == 32, str(table)[:200])
    bdf = os.path.join(work, "c64order.bdf")
    converted("BDF in C64 order", "--order", "c64", "--name", "Tessaly C64", lat8, bdf)
    text = read(bdf).decode()
    check("the BDF names code 1 for its character",
          "STARTCHAR uni0041\nENCODING 1\n" in text, text[:300])
    pcf = os.path.join(work, "c64order.pcf")
    r = run(["bdftopcf", "-o", pcf, bdf])
    check("bdftopcf takes the C64-ordered BDF", r.returncode == 0 and not r.stderr, r.stderr.decode())
    r = convert(pcf, "-", "--to", "raw")
    check("its PCF keeps the codes", r.stdout == read(os.path.join(work, "c64.fnt")), r.stderr.decode())
    r = run(["pcf2bdf", pcf])
    text = r.stdout.decode()
    check("the PCF keeps the family name with its space and the glyph names",
          'FAMILY_NAME "Tessaly C64"' in text and "STARTCHAR uni0041\nENCODING 1\n" in text,
          text[:300])

    # Every console font: 8 rows or fewer read as they are, taller ones want --rows and
    # then read, wider ones are refused; each refusal one line.
    counts = {"read": 0, "with --rows": 0, "too wide": 0}
    for path in sorted(glob.glob(os.path.join(CONSOLE_FONTS, "*.psf.gz"))):
        name = os.path.basename(path)
        width, height, _ = psf_font(gzip.decompress(read(path)))
        out = os.path.join(work, "console.fnt")
        r = convert(path, out)
        lines = r.stderr.decode().splitlines()
        if width > 8:
            counts["too wide"] += 1
            check(name + " refused", r.returncode == 1 and len(lines) == 1 and
                  "only glyphs up to 8 pixels wide" in lines[0], str(lines))
        elif height > 8:
            counts["with --rows"] += 1
            check(name + " asks for --rows", r.returncode == 1 and len(lines) == 1 and
                  "--rows FIRST takes 8 of their rows" in lines[0], str(lines))
            r = convert("--rows", str(height - 8), path, out)
            check(name + " read with --rows", r.returncode == 0, r.stderr.decode())
        else:
            counts["read"] += 1
            check(name + " read", r.returncode == 0, r.stderr.decode())
    check("console fonts of every kind", all(counts.values()), str(counts))

    r = convert("--info", lat16)
    info = r.stdout.decode()
    check("--info on a console font", r.returncode == 0 and "PSF 1, gzip" in info and
          "256 glyphs of 8x16 pixels" in info and "--order c64" in info, info)

    # What the converter says of Debian's fonts that do not simply fit: on standard output
    # for --info, as a note on standard error for a conversion.
    wine, unifont = "/usr/share/wine/fonts/", "/usr/share/fonts/truetype/unifont/unifont_sample.ttf"
    for what, args, said in [
        ("--info on an OTB without a strike of 8", [
            "--info", "/usr/share/fonts/opentype/terminus/terminus-normal.otb"],
         "bitmap strikes of 12, 14, 16, 18, 20, 22, 24, 28, 32 pixels (--size chooses)"),
        ("--info on a .fon with ASCII wider than 8", ["--info", wine + "vgasys.fon"],
         "58 wider than 8 pixels (left out)"),
        ("--info names each strike once", ["--info", wine + "cvgasys.fon"],
         "sizes            bitmap strikes of 16 pixels\n"),
        ("--info names a TrueType font of bitmaps", ["--info", unifont],
         "format           TrueType (bitmaps, 16 px)"),
        ("a character drawn too wide is no missing one", [
            "--order", "latin1", "--rows", "4", unifont, "-", "--to", "raw"],
         "the font draws 1 of the 191 characters of --order latin1 wider than 8 pixels (U+00AD)"),
        ("--info names the codes a built-in set holds", ["--info", "builtin:zx"],
         "codes            32-143\n"),
        ("ink outside the cell is counted", [
            "--size", "8", "--rows", "2", "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf",
            "-", "--to", "raw"], "have ink outside 8 columns and the font's 10 rows, cut off"),
    ]:
        r = convert(*args)
        said_all = (r.stdout + r.stderr).decode(errors="replace")
        check(what, r.returncode == 0 and said in said_all, said_all[-600:])


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
    fonts = [CONSOLE_FONTS, "/usr/share/fonts/truetype/misaki", "/usr/share/fonts/X11/misc",
             "/usr/share/fonts/opentype/terminus", "/usr/share/wine/fonts",
             "/usr/share/fonts/truetype/unifont"]
    if missing or not all(os.path.isdir(f) for f in fonts):
        print("missing: " + " ".join(missing or ["console-setup-linux fonts-misaki xfonts-base "
                                                 "fonts-terminus-otb fonts-wine fonts-unifont"]) +
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
        font_checks(work)
        round_trips(work, charset)
        picture_checks(work, charset, screen)
        capture_checks(work)
        failure_checks(work, charset)
        linking_checks(work, charset)
        output_checks(work, charset)
        leftovers = [n for n in os.listdir(work) if n.startswith(".tessaly")]
        check("no temporary file left", not leftovers, str(leftovers))
    print(f"{passed} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
