#!/usr/bin/env python3
"""The installed editor starts under Xvfb with its title, and its window carries the icon
built into it, pixel for pixel, in the sizes built in, with no icon theme to be found.
Usage: installed_editor.py EDITOR ICON_FOLDER"""

import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from harness import Editor, expect  # noqa: E402

BUILT_IN_SIZES = [16, 32, 48]


def window_icons(editor, window):
    """The pictures of the window's _NET_WM_ICON: {size: [ARGB values]}."""
    out = editor._run(["xprop", "-id", window, "-notype", "32c", "_NET_WM_ICON"])
    expect("=" in out, f"the window has no icon: {out.strip()}")
    values = [int(v) for v in out.split("=", 1)[1].replace(",", " ").split()]
    icons = {}
    while len(values) >= 2:
        width, height = values[0], values[1]
        icons[width] = values[2:2 + width * height]
        expect(width == height, f"an icon of {width} x {height}")
        values = values[2 + width * height:]
    return icons


def png_argb(path):
    raw = subprocess.run(["convert", path, "rgba:-"], capture_output=True, check=True).stdout
    return [raw[i + 3] << 24 | raw[i] << 16 | raw[i + 1] << 8 | raw[i + 2]
            for i in range(0, len(raw), 4)]


def main():
    editor_binary, icons_folder = os.path.abspath(sys.argv[1]), sys.argv[2]
    # No icon theme anywhere for the editor: the window's icon must come from the program.
    empty = tempfile.mkdtemp(prefix="tessaly-no-themes-")
    no_themes = [f"XDG_DATA_DIRS={empty}", f"XDG_DATA_HOME={empty}", editor_binary]
    try:
        with Editor("env", no_themes) as e:
            window = e.main_window()
            expect(e.title(window) == "tessaly v2 0.9c", f"title {e.title(window)!r}")
            icons = window_icons(e, window)
            expect(sorted(icons) == BUILT_IN_SIZES, f"icon sizes {sorted(icons)}")
            for size in BUILT_IN_SIZES:
                want = png_argb(os.path.join(icons_folder, f"tessaly-{size}.png"))
                expect(icons[size] == want, f"the {size}-pixel icon differs from the PNG")
    finally:
        os.rmdir(empty)
    print("the installed editor shows its window with its title and icon")


if __name__ == "__main__":
    main()
