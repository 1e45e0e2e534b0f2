#!/usr/bin/python3
"""Start-up time of editor builds side by side: the time from starting the program to the
X server mapping its main window, on one Xvfb display with openbox. The builds take turns
(A B, then B A, ...), so a slower stretch of a shared machine falls on all of them alike;
one warm-up start each is not counted. Prints each run and the median, in milliseconds.

Usage: bench/startup_time.py [--runs N] [--title REGEX] PROGRAM [PROGRAM...]

The map is seen from the X server's own events (a window created on the root, then its
MapNotify), not by polling, so the figure has no polling step in it."""

import argparse
import os
import re
import select
import statistics
import subprocess
import sys
import tempfile
import time

from Xlib import X, display as xdisplay

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from harness import start_display, start_window_manager, stop_processes  # noqa: E402


def window_name(d, window):
    try:
        name = window.get_full_property(d.intern_atom("_NET_WM_NAME"),
                                        d.intern_atom("UTF8_STRING"))
        if name is not None:
            return name.value.decode("utf-8", "replace")
        return window.get_wm_name() or ""
    except Exception:  # the window went away meanwhile
        return ""


def next_events(d, timeout):
    if not d.pending_events():
        select.select([d.fileno()], [], [], timeout)
    while d.pending_events():
        yield d.next_event()


def start_once(d, command, env, workdir, title, timeout=30.0):
    """Starts the program, returns the seconds until its window named `title` is mapped,
    and ends the program."""
    root = d.screen().root
    watched = set()
    start = time.perf_counter()
    program = subprocess.Popen(command, cwd=workdir, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        while time.perf_counter() - start < timeout:
            for event in next_events(d, 0.05):
                now = time.perf_counter()
                if event.type == X.CreateNotify and event.parent == root:
                    window = event.window
                    watched.add(window.id)
                    window.change_attributes(event_mask=X.StructureNotifyMask)
                    # It may have been mapped before it was watched.
                    try:
                        viewable = window.get_attributes().map_state == X.IsViewable
                    except Exception:
                        viewable = False
                    if viewable and title.search(window_name(d, window)):
                        return now - start
                elif event.type == X.MapNotify and event.window.id in watched:
                    if title.search(window_name(d, event.window)):
                        return now - start
            if program.poll() is not None:
                raise RuntimeError(f"{command[0]} ended before its window showed")
        raise RuntimeError(f"{command[0]}: no window matching {title.pattern}")
    finally:
        program.terminate()
        program.wait()
        d.sync()
        time.sleep(0.3)  # the window manager forgets the window
        for _ in next_events(d, 0):
            pass


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=20)
    parser.add_argument("--title", default="^tessaly v2 ")
    parser.add_argument("programs", nargs="+")
    args = parser.parse_args()
    title = re.compile(args.title)
    programs = [os.path.abspath(p) for p in args.programs]

    processes = []
    workdir = tempfile.mkdtemp(prefix="tessaly-startup-")
    try:
        name = start_display(processes)
        env = dict(os.environ, DISPLAY=name)
        env.pop("QT_QPA_PLATFORM", None)
        env["XDG_RUNTIME_DIR"] = os.path.join(workdir, "runtime")
        os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
        start_window_manager(env, processes, os.path.join(workdir, "openbox.log"))
        d = xdisplay.Display(name)
        d.screen().root.change_attributes(event_mask=X.SubstructureNotifyMask)
        d.sync()

        times = {p: [] for p in programs}
        for p in programs:
            start_once(d, [p], env, workdir, title)
        for run in range(args.runs):
            order = programs if run % 2 == 0 else list(reversed(programs))
            for p in order:
                times[p].append(1000 * start_once(d, [p], env, workdir, title))
        for p in programs:
            runs = " ".join(f"{t:.1f}" for t in times[p])
            print(f"{p}\n  median {statistics.median(times[p]):.1f} ms"
                  f"  (min {min(times[p]):.1f}; runs: {runs})")
    finally:
        stop_processes(processes)
        subprocess.run(["rm", "-rf", workdir])


if __name__ == "__main__":
    main()
