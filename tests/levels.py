#!/usr/bin/env python3
"""Checks that every include in src/ goes to a folder the levels of src/README.md allow."""
import pathlib
import re
import sys

SRC = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src")
LEVEL = {"platform": 0, "charset": 1, "map": 1, "io": 1, "render": 2, "app": 4,
         "platform/qt": 4, "platform/win32": 4, "platform/web": 4, "convert": 5,
         # The kinds of formats are steps of level 3: what they all share, the raw files,
         # then pictures, sources and machines, and the fonts, laid out in machines' orders.
         "formats": 3, "formats/raw": 3.1, "formats/pictures": 3.2, "formats/sources": 3.2,
         "formats/machines": 3.2, "formats/fonts": 3.3}
# What a folder may use besides the levels below it: the translators use level 0 alone,
# the converter never the editor, and on Windows its console's UTF-16 conversion.
ONLY = {"platform/qt": {"platform"}, "platform/win32": {"platform"},
        "platform/web": {"platform"}}
EXTRA = {"convert": {"platform/win32/utf8.h"}}
NEVER = {"convert": {"app", "platform/qt", "platform/web"}}
NEVER.update({kind: {"app"} for kind in LEVEL if kind.startswith("formats")})


def folder(path):
    parts = pathlib.PurePosixPath(path).parts[:-1]
    if parts[:1] in (("platform",), ("formats",)) and len(parts) > 1:
        return "/".join(parts[:2])
    return "/".join(parts[:1])


faults = []
for source in sorted(SRC.rglob("*")):
    if source.suffix not in (".h", ".cpp") or source.parent == SRC:
        continue  # the main files may use everything
    own = folder(source.relative_to(SRC).as_posix())
    for number, line in enumerate(source.read_text().splitlines(), 1):
        match = re.match(r'#include "([^"]+)"', line)
        if not match or match.group(1) in EXTRA.get(own, ()):
            continue
        used = folder(match.group(1))
        allowed = used == own or (used in ONLY[own] if own in ONLY else
                                  LEVEL[used] < LEVEL[own] and used not in NEVER.get(own, ()))
        if not allowed:
            faults.append(f"{source}:{number}: {own} may not use {match.group(1)}")
print("\n".join(faults) or "every include keeps to its level")
sys.exit(1 if faults else 0)
