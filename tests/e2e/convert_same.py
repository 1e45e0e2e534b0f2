"""tessaly-convert on Linux and tessaly-convert.exe under Wine make the same bytes: one table
of conversions over every input and output format, run by both in folders of their own with
the same files, compared by exit status, standard output, messages and every file left."""

import os
import shutil
import subprocess
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CORPUS = os.path.join(ROOT, "tests", "fuzz", "corpus")
# Inputs copied into each folder, so that both programs get the same relative names.
FILES = {
    "lat15.psf.gz": "/usr/share/consolefonts/Lat15-VGA8.psf.gz",
    "misaki_gothic.ttf": "/usr/share/fonts/truetype/misaki/misaki_gothic.ttf",
    "spleen.otf": "/usr/share/fonts/opentype/spleen/spleen-6x12.otf",
    "6x13.pcf.gz": "/usr/share/fonts/X11/misc/6x13.pcf.gz",
    "koi8.pcf": os.path.join(CORPUS, "freetype_font_fuzz", "koi8_tiny.pcf"),
    "tiny.otb": os.path.join(CORPUS, "freetype_font_fuzz", "spleen_tiny.otb"),
    "tiny.fon": os.path.join(CORPUS, "freetype_font_fuzz", "tiny.fon"),
    "rle8.bmp": os.path.join(CORPUS, "picture_fuzz", "rle8.bmp"),
    "grey.png": os.path.join(CORPUS, "picture_fuzz", "grey_1bit_screen.png"),
}
# Made by the Linux program first.
MADE = [["builtin:c64", "set.fnt"], ["set.fnt", "set.prg"],
        ["--order", "cga", "lat15.psf.gz", "set.bdf"], ["builtin:zx", "set.png"],
        ["builtin:cga", "set.bmp"], ["builtin:pc866", "шрифт.fnt"],
        ["--map", "40x25", "--font", "set.fnt", "screen.map", "screen.png"],
        ["--map", "40x25", "--scale", "1", "--font", "set.fnt", "screen.map", "screen1.png"]]

# (arguments, standard input or None). Outputs go to new names in the folder.
CASES = [
    (["builtin:ace", "ace.bin"], None),
    (["--load-address", "$2000", "set.fnt", "out.64c"], None),
    (["--skip", "32", "--at", "32", "set.prg", "out.psf"], None),
    (["--order", "c64", "lat15.psf.gz", "c64.psf.gz"], None),
    (["--order", "pc866", "--name", "Misaki 866", "misaki_gothic.ttf", "misaki.bdf"], None),
    (["--size", "8", "misaki_gothic.ttf", "misaki.chr"], None),
    (["--size", "12", "--rows", "2", "spleen.otf", "spleen.s"], None),
    (["--size", "13", "--rows", "3", "--syntax", "acme", "6x13.pcf.gz", "6x13.asm"], None),
    (["koi8.pcf", "koi8.bdf"], None),
    (["--syntax", "z80", "tiny.otb", "otb.inc"], None),
    (["tiny.fon", "fon.h"], None),
    (["--first", "32", "--count", "96", "set.bdf", "ascii.c"], None),
    (["--scale", "2", "--ink", "#ffcc00", "--paper", "#102030", "set.fnt", "big.bmp"], None),
    (["--columns", "32", "set.prg", "wide.png"], None),
    (["set.bmp", "bmp.bdf"], None),
    (["--paper", "#000000", "rle8.bmp", "rle8.fnt"], None),
    (["--map", "40x25", "--font", "builtin:c64", "--grid", "screen.map", "grid.png"], None),
    (["--map", "40x25", "--syntax", "64tass", "screen.map", "screen.s"], None),
    (["--map", "40x25", "screen.map", "screen.c"], None),
    (["--from-picture", "--font-out", "cut.fnt", "screen1.png", "cut.map"], None),
    (["--from-picture", "--crop", "8,8,64x32", "--font", "builtin:zx", "--add",
      "--font-out", "added.psf", "--to", "map", "screen1.png", "-"], None),
    (["--from-picture", "--font-out", "grey.bdf", "grey.png", "grey.map.gz"], None),
    (["--from", "raw", "--to", "c", "-", "-"], "set.fnt"),
    (["--from", "psf", "--to", "png", "-", "stdin.png"], "out.psf"),
    (["--info", "misaki_gothic.ttf"], None),
    (["--from", "bdf", "--info", "-"], "set.bdf"),
    (["шрифт.fnt", "文字.png"], None),
    (["--order", "pc866", "文字.png", "ελληνικά.bdf"], None),
    # Failures: the same status and message, and nothing written.
    (["missing.fnt", "never.fnt"], None),
    (["set.fnt", "no/such/folder.fnt"], None),
    (["--map", "2x2", "set.fnt", "long.map"], None),
    (["--size", "16", "misaki_gothic.ttf", "never.fnt"], None),
]


def run(command, folder, env, stdin):
    data = stdin and open(os.path.join(folder, stdin), "rb").read()
    result = subprocess.run(command, cwd=folder, env=env, input=data, capture_output=True,
                            timeout=60)
    files = {}
    for base, _, names in os.walk(folder):
        for name in names:
            files[os.path.join(base, name)[len(folder):]] = open(os.path.join(base, name),
                                                                 "rb").read()
    return (result.returncode, result.stdout, result.stderr), files


def test_convert_same_bytes(session, windows_exe, linux_exe):
    """Every case through both programs; all differences are reported together."""
    work = tempfile.mkdtemp(prefix="tessaly-convert-same-")
    try:
        linux, windows = os.path.join(work, "linux"), os.path.join(work, "windows")
        os.makedirs(linux)
        for name, source in FILES.items():
            shutil.copyfile(source, os.path.join(linux, name))
        with open(os.path.join(linux, "screen.map"), "wb") as out:
            out.write(bytes(i * 7 % 256 for i in range(40 * 25)))
        for arguments in MADE:
            (status, _, err), _ = run([linux_exe] + arguments, linux, None, None)
            assert status == 0, f"{arguments}: {err!r}"
        shutil.copytree(linux, windows)
        differences = []
        for arguments, stdin in CASES:
            mine, made = run([linux_exe] + arguments, linux, None, stdin)
            theirs, made_exe = run(["wine", windows_exe] + arguments, windows, session.env,
                                   stdin)
            if mine != theirs:
                differences.append(f"{arguments}: Linux {mine[0]} {mine[2]!r} "
                                   f"{len(mine[1])} bytes out, Windows {theirs[0]} "
                                   f"{theirs[2]!r} {len(theirs[1])} bytes out")
            unlike = sorted(n for n in set(made) | set(made_exe)
                            if made.get(n) != made_exe.get(n))
            if unlike:
                differences.append(f"{arguments}: files differ: {unlike}")
                shutil.rmtree(windows)
                shutil.copytree(linux, windows)
        assert not differences, "\n".join(differences)
        print(f"  {len(CASES)} conversions byte-identical")
    finally:
        shutil.rmtree(work, ignore_errors=True)
