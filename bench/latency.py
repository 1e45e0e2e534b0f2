#!/usr/bin/python3
"""Press-to-pixels time of the editor against the floor program (bench/latency_floor.cpp),
both on one Xvfb display with openbox: the time from a mouse press sent through XTest to
the X server's first damage report on the pressed window. The presses hit a pixel of the
editor's glyph editor and the floor program's square, alternating the left button (set)
and the right one (clear); the programs take turns of a few presses each, so a slower
stretch of a shared machine falls on both alike. bench/latency_probe.cpp does the timing.
Prints per program the median, the 90th and 99th percentile and the slowest, in
milliseconds, and the ratio of the medians.

Usage: bench/latency.py [--presses N] [--turn N] BUILD_DIR"""

import argparse
import os
import statistics
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from harness import Editor, MainWindowLayout  # noqa: E402


def percentile(values, p):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(p / 100 * len(ordered)))]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--presses", type=int, default=300)
    parser.add_argument("--turn", type=int, default=10)
    parser.add_argument("build")
    args = parser.parse_args()
    build = os.path.abspath(args.build)

    with Editor(os.path.join(build, "tessaly")) as editor:
        floor = subprocess.Popen([os.path.join(build, "bench", "latency_floor")], env=editor.env,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        editor.processes.append(floor)
        main_window = editor.main_window()
        layout = MainWindowLayout(editor, main_window)
        floor_window = editor.find_window("^latency floor$")
        editor.settle(0.5)
        # The glyph editor's pixel in column 6, row 7 and the floor program's square.
        glyph_point = layout.glyph_editor(16 * 6 + 8, 16 * 7 + 8)
        fx, fy = editor.client_origin(floor_window)
        probe = subprocess.run(
            [os.path.join(build, "bench", "latency_probe"), str(args.presses), str(args.turn),
             main_window, *map(str, glyph_point), floor_window, str(fx + 48), str(fy + 48)],
            env=editor.env, capture_output=True, text=True)
        if probe.returncode != 0:
            sys.exit(probe.stderr.strip() or "latency_probe failed")
    lines = probe.stdout.splitlines()
    medians = []
    for name, line in zip(("tessaly", "floor"), lines):
        times = [float(t) for t in line.split()]
        medians.append(statistics.median(times))
        print(f"{name:8} median {medians[-1]:.3f} ms  p90 {percentile(times, 90):.3f}"
              f"  p99 {percentile(times, 99):.3f}  max {max(times):.3f}  ({len(times)} presses)")
    print(f"ratio    {medians[0] / medians[1]:.2f}")


if __name__ == "__main__":
    main()
