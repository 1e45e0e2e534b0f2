#!/usr/bin/env python3
"""Screenshots of the editor with built-in sets. Usage:
make_screenshot.py EDITOR OUTPUT.png [SET_INDEX]   one set (default: ZX Spectrum)
make_screenshot.py EDITOR --all FOLDER             every set, one PNG each"""

import os
import subprocess
import sys

from harness import Editor, MainWindowLayout, choose_menu

# Positions in the Charset submenu, in its order.
SETS = ["IBM PC CGA", "IBM PC 866", "ZX Spectrum", "ZX80", "Jupiter Ace", "C64 CAPS",
        "Atari XL", "Microsha(USSR)", "Hex numbers"]
CHAR = 1


def shoot(editor_binary, outputs):
    with Editor(editor_binary) as e:
        window = e.main_window()
        layout = MainWindowLayout(e, window)
        for index, output in outputs:
            choose_menu(e, layout, CHAR, [1, index])
            # The letter A in the glyph editor: code 1 in the C64's screen codes, else 65.
            e.click(*layout.cell(1 if SETS[index] == "C64 CAPS" else 65))
            e.move(*layout.cell(90))   # and a hover frame on 'Z'
            e.move(*layout.cell(91))
            e.settle(0.5)
            xwd = subprocess.run(["xwd", "-silent", "-frame", "-id", e.frame_window(window)],
                                 env=e.env, capture_output=True, check=True).stdout
            subprocess.run(["convert", "xwd:-", output], input=xwd, check=True)
            print(f"{SETS[index]}: {output}")


if __name__ == "__main__":
    binary = os.path.abspath(sys.argv[1])
    if sys.argv[2] == "--all":
        os.makedirs(sys.argv[3], exist_ok=True)
        shoot(binary, [(i, os.path.join(sys.argv[3], f"set-{i}.png")) for i in range(len(SETS))])
    else:
        index = int(sys.argv[3]) if len(sys.argv) > 3 else 2
        shoot(binary, [(index, os.path.abspath(sys.argv[2]))])
