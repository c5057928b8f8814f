#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Lists every control of the program's windows as a screen reader sees them
over AT-SPI (role and name) and fails on a control without a name, or on a
read-out whose name is not the text it shows now.

Usage: screen_reader_names.py DRIVER
Run on a display and a session bus of its own:
    dbus-run-session -- xvfb-run -a screen_reader_names.py DRIVER
"""
import os
import signal
import subprocess
import sys
import time

try:
    import pyatspi
except ImportError:
    sys.exit("screen_reader_names: python3-pyatspi is not installed (scripts/install-deps)")

WINDOWS = [
    "ORVA Exercise - Quorvex",
    "Record/Edit Measurements",
    "Review/Edit/Print Measurements",
    "Jupiter Satellite Orbit Analysis",
]

# Roles a person operates: each must say what it is.
NAMED_ROLES = {
    "push button", "toggle button", "check box", "radio button", "text", "entry",
    "password text", "spin button", "combo box", "slider", "scroll bar", "menu",
    "menu item", "check menu item", "radio menu item", "list", "table", "page tab",
}
STARTUP_SECONDS = 40
MAX_DEPTH = 30


def wait_ready(driver):
    """Reads the driver's output up to READY, then its EXPECT and TEXT lines."""
    def timed_out(signum, frame):
        raise TimeoutError()

    signal.signal(signal.SIGALRM, timed_out)
    signal.alarm(STARTUP_SECONDS)
    expected, texts = [], []
    ready = False
    try:
        for line in driver.stdout:
            line = line.rstrip("\n")
            if line == "READY":
                ready = True
            elif line == "END":
                break
            elif ready and line.startswith("EXPECT "):
                expected.append(line[len("EXPECT "):].split("\t", 1))
            elif ready and line.startswith("TEXT "):
                texts.append(line[len("TEXT "):].split("\t", 2))
    except TimeoutError:
        ready = False
    finally:
        signal.alarm(0)
    return ready, expected, texts


def find_application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline:
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            try:
                if app is not None and app.get_process_id() == pid and app.childCount:
                    return app
            except Exception:
                pass
        time.sleep(0.2)
    return None


def top_level_windows(app):
    """The application's windows by caption, once all of WINDOWS are there."""
    deadline = time.monotonic() + 20
    while True:
        frames = {}
        for i in range(app.childCount):
            frame = app.getChildAtIndex(i)
            if frame is not None:
                frames.setdefault(frame.name, frame)
        if all(t in frames for t in WINDOWS) or time.monotonic() > deadline:
            return frames
        time.sleep(0.2)


def walk(acc, depth, out):
    if depth > MAX_DEPTH:
        return
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is None:
            continue
        out.append((depth, child.getRoleName(), child.name or "", child))
        walk(child, depth + 1, out)


def text_of(acc):
    try:
        t = acc.queryText()
        return t.getText(0, t.characterCount)
    except NotImplementedError:
        return None


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    env.setdefault("ASAN_OPTIONS", "detect_leaks=0")
    driver = subprocess.Popen([sys.argv[1]], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                              env=env, text=True)
    failures = []
    try:
        ready, expected, texts = wait_ready(driver)
        if not ready or not expected or not texts:
            sys.exit("screen_reader_names: the driver did not bring its windows up")
        app = find_application(driver.pid)
        if app is None:
            sys.exit("screen_reader_names: the driver is not on the accessibility bus")
        frames = top_level_windows(app)
        for title in WINDOWS:
            frame = frames.get(title)
            if frame is None:
                failures.append(f"window {title!r} is not shown (shown: {sorted(frames)})")
                continue
            nodes = []
            walk(frame, 1, nodes)
            print(f"{frame.getRoleName()} {title!r}")
            names = set()
            for depth, role, name, _ in nodes:
                names.add(name)
                print(f"{'  ' * depth}{role} {name!r}")
                if role in NAMED_ROLES and not name.strip():
                    failures.append(f"{title}: a {role} without a name")
            for window, name in expected:
                if window != title:
                    continue
                print(f"  read-out {name!r}")
                if name not in names:
                    failures.append(f"{title}: no read-out named {name!r}")
            for window, name, text in texts:
                if window != title:
                    continue
                shown = [text_of(acc) for _, _, n, acc in nodes if n == name]
                print(f"  {name!r} reads {text!r}")
                if text not in shown:
                    failures.append(f"{title}: {name!r} reads {shown}, not {text!r}")
            print()
    finally:
        driver.stdin.close()
        try:
            if driver.wait(timeout=10) != 0:
                failures.append(f"the driver ended with status {driver.returncode}")
        except subprocess.TimeoutExpired:
            driver.kill()
            failures.append("the driver did not end")
    for f in failures:
        print("FAIL:", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
