#!/usr/bin/env python3
"""End-to-end tests of the real editor under Xvfb. Usage: run_e2e.py EDITOR TEST_NAME"""

import os
import re
import struct
import sys
import tempfile

from harness import (BLACK, CHAR, FILE, MAP_32X24, MARKER, SAVE_2048, WHITE, Editor,
                     MainWindowLayout, choose_menu, expect, save_through_dialog, wait_until)

GREY = (203, 203, 203)
SAVE_MAP = [1, 3]
SAVE_IMAGE = [1, 4]
ERASE_ALL = [6]
ZX_SPECTRUM = [1, 2]
MAP_80X50 = [0, 2]
MAP_64X30 = [0, 3]


def overview_pixels(editor, layout):
    """The 256 x 256 drawing area of the overview, as a function of (x, y)."""
    shot = editor.screenshot(layout.window)
    ox, oy = 2, layout.menu_height + 2
    return lambda x, y: shot.pixel(ox + x, oy + y)


def glyph_editor_pixels(editor, layout):
    shot = editor.screenshot(layout.window)
    ox, oy = 262, layout.menu_height
    return lambda x, y: shot.pixel(ox + x, oy + y)


def cell_is(pixel, code, colour_of):
    """Whether every pixel of the overview cell of `code` has colour_of(x, y)."""
    x0, y0 = 16 * (code % 16), 16 * (code // 16)
    return all(pixel(x0 + x, y0 + y) == colour_of(x, y) for y in range(16) for x in range(16))


def hover(editor, window, point, title):
    """Moves onto `point` until the window shows `title`. The first move after the pointer
    enters a canvas only counts as entering it, and on a loaded machine the window may
    still be coming up when the pointer arrives, so one move is not always enough."""
    x, y = point
    def moved():
        editor.move(x + 1, y)
        editor.move(x, y)
        return editor.title(window) == title
    wait_until(f"title {title!r} (now {editor.title(window)!r})", moved, timeout=10,
               interval=0.2)


def charset_title(code):
    character = f"'{bytes([code]).decode('cp1252')}'" if code >= 32 else ""
    return f"tessaly v2 0.9c {code}(${code:02X}){character}"


def start(editor):
    window = editor.main_window()
    layout = MainWindowLayout(editor, window)
    return window, layout


# --- the tests


def test_startup(binary):
    with Editor(binary) as e:
        window, layout = start(e)
        expect(e.title(window) == "tessaly v2 0.9c", f"title {e.title(window)!r}")
        expect(not e.window_exists("^Character map", visible=True), "map window is shown")
        pixel = overview_pixels(e, layout)
        expect(cell_is(pixel, 0, lambda x, y: MARKER if (x + y) % 2 else BLACK),
               "cell 0 is not black with the marker checkerboard")
        for code in range(1, 256):
            expect(cell_is(pixel, code, lambda x, y: BLACK), f"cell {code} is not black")
        g = glyph_editor_pixels(e, layout)
        for i in range(8):
            for d in range(0, 128, 2):
                expect(g(16 * i, d) == WHITE and g(16 * i, d + 1) == BLACK,
                       f"vertical grid line {i} at {d}")
                expect(g(d, 16 * i) == WHITE and g(d + 1, 16 * i) == BLACK,
                       f"horizontal grid line {i} at {d}")
        expect(g(5, 5) == BLACK and g(127, 127) == BLACK, "glyph editor cells are not paper")


def test_select_and_arrow_keys(binary):
    with Editor(binary) as e:
        window, layout = start(e)
        e.click(*layout.cell(65))
        e.wait_title(window, "tessaly v2 0.9c 65($41)'A'")
        for start_code, key, title in [(16, "Left", "31($1F)"), (5, "Up", "245($F5)'õ'"),
                                       (255, "Right", "240($F0)'ð'"), (250, "Down", "10($0A)")]:
            e.click(*layout.cell(start_code))
            e.wait_title(window, charset_title(start_code))
            e.key(key)
            e.wait_title(window, "tessaly v2 0.9c " + title)


def test_draw_and_save(binary):
    with Editor(binary) as e:
        window, layout = start(e)
        # A stroke along row 0 over columns 0..3, then one pixel in row 1.
        e.press(*layout.glyph_editor(8, 8))
        for column in range(1, 4):
            e.move(*layout.glyph_editor(16 * column + 8, 9))
            # Each move sets the cell under it; wait for it to show before the next one.
            wait_until(f"column {column} to be set", lambda: overview_pixels(e, layout)(
                2 * column, 0) == WHITE)
        e.release(*layout.glyph_editor(56, 8))
        e.click(*layout.glyph_editor(8, 24))
        wait_until("row 1 to be set", lambda: overview_pixels(e, layout)(0, 2) == WHITE)
        pixel = overview_pixels(e, layout)
        # Glyph 0: 2 x 2 blocks at (0..7, 0..1) and (0..1, 2..3); the marker takes the odd pixels.
        for y in range(4):
            for x in range(8):
                lit = y < 2 or x < 2
                if (x + y) % 2 == 0:
                    expect(pixel(x, y) == (WHITE if lit else BLACK), f"overview pixel {x},{y}")
        choose_menu(e, layout, FILE, SAVE_2048)
        target = os.path.join(e.workdir, "set")
        save_through_dialog(e, target)
        saved = target + ".fnt"
        wait_until("the saved file", lambda: os.path.exists(saved))
        data = open(saved, "rb").read()
        expect(len(data) == 2048, f"{len(data)} bytes saved")
        expect(data[0] == 0xF0 and data[1] == 0x80, f"rows {data[0]:#x} {data[1]:#x}")
        expect(not any(data[2:]), "other bytes are not zero")

        # The overview as a BMP, read back here with the standard library alone.
        choose_menu(e, layout, FILE, SAVE_IMAGE)
        save_through_dialog(e, os.path.join(e.workdir, "picture"))
        image = os.path.join(e.workdir, "picture.bmp")
        wait_until("the exported picture", lambda: os.path.exists(image))
        bmp = open(image, "rb").read()
        magic, size, _, offset = struct.unpack("<2sIIi", bmp[:14])
        header, width, height, planes, bits, compression = struct.unpack("<IiiHHI", bmp[14:34])
        expect((magic, size, offset) == (b"BM", len(bmp), 54), "BMP file header")
        expect((header, width, height, planes, bits, compression) == (40, 256, 256, 1, 24, 0),
               "BMP information header")
        bgr = lambda x, y: tuple(bmp[54 + (255 - y) * 768 + 3 * x:][:3][::-1])
        expect(bgr(0, 0) == WHITE and bgr(1, 0) == WHITE and bgr(8, 0) == BLACK,
               "exported pixels (and no cursor marker in them)")

        # Erase everything, then load the saved set back through the Open dialog.
        choose_menu(e, layout, CHAR, ERASE_ALL)
        expect(overview_pixels(e, layout)(2, 0) == BLACK, "erase all left the glyph")
        e.activate(window)
        e.key("ctrl+o")
        dialog = e.find_window("^Please choose file to load$")
        e.activate(dialog)
        e.key("ctrl+a")
        e.type_text(saved)
        e.key("Return")
        wait_until("the open dialog to close",
                   lambda: not e.window_exists("^Please choose file to load$"))
        e.settle()
        pixel = overview_pixels(e, layout)
        expect(pixel(2, 0) == WHITE and pixel(0, 2) == WHITE and pixel(2, 2) == BLACK,
               "the set did not load back")


def test_command_line(binary):
    with tempfile.TemporaryDirectory(prefix="tessaly-e2e-data-") as folder:
        font = os.path.join(folder, "letter a.fnt")
        data = bytearray(2048)
        data[65 * 8:65 * 8 + 8] = bytes([0x18, 0x3C, 0x66, 0x7E, 0x66, 0x66, 0x66, 0x00])
        open(font, "wb").write(data)
        with Editor(binary, [font]) as e:
            window, layout = start(e)
            pixel = overview_pixels(e, layout)
            # Row 0 of 'A' is 0x18: pixels 6..9 of the cell's top row are ink.
            x0, y0 = 16, 64
            expect([pixel(x0 + x, y0) for x in range(16)] ==
                   [BLACK] * 6 + [WHITE] * 4 + [BLACK] * 6, "glyph 65 is not shown at once")
        with Editor(binary, [font, font]) as e:
            window, layout = start(e)
            pixel = overview_pixels(e, layout)
            expect(cell_is(pixel, 65, lambda x, y: BLACK), "two arguments loaded something")


def test_map_window(binary):
    with Editor(binary) as e:
        window, layout = start(e)
        choose_menu(e, layout, CHAR, MAP_32X24)
        map_window = e.find_window("^Character map")
        mx, my = e.frame_origin(map_window)
        wx, wy = e.frame_origin(window)
        expect((mx - wx, my - wy) == (40, 40), f"map window at {mx - wx},{my - wy} from main")
        cx, cy = e.client_origin(map_window)
        # The canvas lies in the scroll area, inside its frame of a few pixels.
        cell = lambda x, y: (cx + 16 * x + 8, cy + 16 * y + 8)
        e.activate(map_window)
        hover(e, map_window, cell(3, 5), "Character map (3,5):35[23]")
        e.click(*cell(3, 5))  # paints the current character, 0
        e.move(*cell(4, 5))
        hover(e, map_window, cell(3, 5), "Character map (3,5):0[00]")
        # Right click on row 2 and "Delete row" from the popup.
        e.click(*cell(0, 2), button=3)
        e.settle(0.3)
        e.key("Down", "Down", "Down", "Down", "Return")
        e.settle(0.3)
        choose_menu(e, layout, FILE, SAVE_MAP)
        target = os.path.join(e.workdir, "screen")
        save_through_dialog(e, target)
        saved = target + ".map"
        wait_until("the saved map", lambda: os.path.exists(saved))
        data = open(saved, "rb").read()
        expect(len(data) == 32 * 24, f"{len(data)} bytes saved")
        at = lambda x, y: data[y * 32 + x]
        expect(all(at(x, 0) == 32 + x for x in range(32)), "row 0 changed")
        expect(at(3, 4) == 0 and at(2, 4) == 34, "the painted cell did not move up a row")
        expect(all(at(x, 23) == 0 for x in range(32)), "the last row is not cleared")


def test_map_wheel_and_restore(binary):
    """The wheel over the map scrolls it, down and, with Shift, sideways, without touching
    the title; a size command brings a minimised map window back."""
    with Editor(binary) as e:
        window, layout = start(e)
        choose_menu(e, layout, CHAR, MAP_80X50)
        map_window = e.find_window("^Character map")
        cx, cy = e.client_origin(map_window)
        point = (cx + 16 * 2 + 8, cy + 16 * 2 + 8)
        e.activate(map_window)
        hover(e, map_window, point, "Character map (2,2):34[22]")

        def hovered_after(wheel):
            """The cell under the unmoved pointer after `wheel`, once the pointer moves."""
            before = e.title(map_window)
            e.xdotool(*wheel)
            e.settle(0.4)
            expect(e.title(map_window) == before, f"the wheel alone set {e.title(map_window)!r}")
            def cell():
                e.move(point[0] + 1, point[1])
                e.move(*point)
                # One reading: the title may change between two.
                title = e.title(map_window)
                found = re.fullmatch(r"Character map \((\d+),(\d+)\):\d+\[..\]", title)
                return tuple(map(int, found.groups())) if found and title != before else None
            return wait_until("the hover after the wheel", cell, timeout=5, interval=0.2)

        x, y = hovered_after(["click", "5"])
        expect(x == 2 and y > 2, f"the wheel down scrolled to ({x},{y})")
        notch = y - 2
        shifted = hovered_after(["keydown", "shift", "click", "5", "keyup", "shift"])
        expect(shifted == (2 + notch, y), f"Shift and the wheel down scrolled to {shifted}")

        e.xdotool("windowminimize", "--sync", map_window)
        wait_until("the map window to be minimised",
                   lambda: not e.window_exists("^Character map"))
        choose_menu(e, layout, CHAR, MAP_64X30)
        wait_until("the map window to come back", lambda: e.window_exists("^Character map"))
        expect(e.map_state(map_window) == "IsViewable", "the map window is not mapped")


def test_overview_border_release(binary):
    """A press on a cell released over the overview's right or bottom border selects column
    0 or row 0, and moves no glyph."""
    with tempfile.TemporaryDirectory(prefix="tessaly-e2e-data-") as folder:
        font = os.path.join(folder, "patterns.fnt")
        # Every glyph differs from its neighbours, so that a moved glyph shows.
        open(font, "wb").write(bytes((code * 37 + row * 11) & 0xFF
                                     for code in range(256) for row in range(8)))
        with Editor(binary, [font]) as e:
            window, layout = start(e)
            # The glyphs show in the even pixels; the cursor marker takes the odd ones.
            def glyphs():
                pixel = overview_pixels(e, layout)
                return [pixel(x, y) for y in range(256) for x in range(y % 2, 256, 2)]
            shown = glyphs()
            expect(len(set(shown)) == 2, "the set did not load")
            e.activate(window)
            for release, code in [((257, 40), 32), ((88, 257), 5)]:
                e.press(*layout.overview(88, 40))  # cell 37
                e.move(*layout.overview((88 + release[0]) // 2, (40 + release[1]) // 2))
                e.release(*layout.overview(*release))
                e.wait_title(window, charset_title(code))
                pixel = overview_pixels(e, layout)
                x0, y0 = 16 * (code % 16), 16 * (code // 16)
                expect(pixel(x0 + 1, y0) == MARKER, f"no marker on cell {code}")
                expect(glyphs() == shown, f"a glyph changed on the release at {release}")


def test_builtin_set(binary):
    with Editor(binary) as e:
        window, layout = start(e)
        choose_menu(e, layout, CHAR, ZX_SPECTRUM)
        e.settle()
        pixel = overview_pixels(e, layout)
        expect(cell_is(pixel, 32, lambda x, y: GREY), "the space is not light grey")
        a = [pixel(16 + x, 64 + y) for y in range(16) for x in range(16)]
        expect(set(a) == {GREY, BLACK}, f"'A' has colours {set(a)}")
        expect(a.count(BLACK) > 20, "'A' shows no black glyph")


def test_invert_escape_and_map_close(binary):
    with Editor(binary) as e:
        window, layout = start(e)
        choose_menu(e, layout, CHAR, MAP_32X24)
        map_window = e.find_window("^Character map")
        e.activate(map_window)
        e.key("alt+F4")
        wait_until("the map window to hide", lambda: not e.window_exists("^Character map"))
        expect(e.running(), "closing the map window ended the editor")
        choose_menu(e, layout, CHAR, MAP_32X24)
        e.find_window("^Character map")
        e.activate(window)
        e.key("ctrl+i")
        e.settle()
        g = glyph_editor_pixels(e, layout)
        expect(g(5, 5) == WHITE and g(20, 100) == WHITE, "Ctrl+I did not invert glyph 0")
        pixel = overview_pixels(e, layout)
        expect(pixel(0, 0) == WHITE and pixel(2, 2) == WHITE, "overview does not show it")
        e.key("Escape")
        expect(e.exit_code() == 0, "exit code is not 0")


def test_missing_file(binary):
    with Editor(binary, ["/no/such/folder/set.fnt"]) as e:
        box = e.find_window("^No file$")
        e.activate(box)
        e.key("Return")
        wait_until("the message box to close", lambda: not e.window_exists("^No file$"))
        window, layout = start(e)
        expect(e.running(), "the editor ended")
        e.click(*layout.cell(66))
        e.wait_title(window, "tessaly v2 0.9c 66($42)'B'")


def test_event_burst(binary):
    """A few thousand events in bursts, then Escape: the editor keeps up and ends cleanly
    (under the sanitizer build this also checks for leaks and invalid accesses)."""
    import random
    rng = random.Random(7)
    with Editor(binary) as e:
        window, layout = start(e)
        e.activate(window)
        for burst in range(6):
            commands = []
            for _ in range(250):
                on_overview = rng.random() < 0.5
                if on_overview:
                    x, y = layout.overview(rng.randrange(-20, 276), rng.randrange(-20, 276))
                else:
                    x, y = layout.glyph_editor(rng.randrange(-20, 148), rng.randrange(-20, 148))
                commands += ["mousemove", str(x), str(y)]
                roll = rng.random()
                if roll < 0.1:
                    # The right button clears pixels in the glyph editor; on the overview
                    # it would open the popup menu, which waits for a choice.
                    right = roll < 0.03 and not on_overview
                    commands += ["click", "3" if right else "1"]
                elif roll < 0.2:
                    commands += ["mousedown", "1", "mousemove", str(x + 17), str(y + 5),
                                 "mouseup", "1"]
            # Keys go to the overview, which takes the focus when clicked.
            commands += ["mousemove", *map(str, layout.cell(rng.randrange(256))), "click", "1"]
            commands += ["key"] + [rng.choice(["Left", "Right", "Up", "Down", "Insert",
                                               "Delete"]) for _ in range(50)]
            e.xdotool(*commands)
            e.click(*layout.cell(burst + 65))
            e.wait_title(window, charset_title(burst + 65), timeout=20)
        e.key("Escape")
        expect(e.exit_code(timeout=30) == 0, "exit code is not 0")


TESTS = {name[len("test_"):]: f for name, f in globals().items() if name.startswith("test_")}

if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[2] not in TESTS:
        sys.exit(f"usage: {sys.argv[0]} EDITOR {{{'|'.join(TESTS)}}}")
    TESTS[sys.argv[2]](os.path.abspath(sys.argv[1]))
    print("1 passed, 0 failed")
