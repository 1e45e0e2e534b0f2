#!/usr/bin/env python3
"""Writes the numbers of the platform interface's enums as a script for the browser page,
so that the page reports and reads events in the program's own numbers:
    const PageNumbers = {"kind": {"Wake": 0, ...}, "key": {...}, ...};
Usage: enum_numbers.py OUTPUT HEADER..."""
import json
import re
import sys

# The enums the page uses, by the name the page knows them by.
GROUPS = {"EventKind": "kind", "Key": "key", "Button": "button", "ControlKind": "control",
          "Kind": "entry"}

numbers = {}
for header in sys.argv[2:]:
    text = re.sub(r"//[^\n]*", "", open(header, encoding="utf-8").read())
    for name, body in re.findall(r"enum class (\w+)\s*\{([^}]*)\}", text):
        if name in GROUPS:
            members = [m.strip() for m in body.split(",") if m.strip()]
            if any("=" in m for m in members):
                sys.exit(f"{header}: {name} gives numbers of its own; the page cannot follow")
            numbers[GROUPS[name]] = {m: i for i, m in enumerate(members)}
missing = set(GROUPS.values()) - set(numbers)
if missing:
    sys.exit(f"no enum for {', '.join(sorted(missing))} in {' '.join(sys.argv[2:])}")
with open(sys.argv[1], "w", encoding="utf-8") as out:
    out.write(f"const PageNumbers = {json.dumps(numbers)};\n")
