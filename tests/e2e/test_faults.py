#!/usr/bin/python3
"""A call whose sound cannot play: no audio device at all, a missing recording and a recording
that is not sound. Each time the strip still shows, and the program goes on ticking: with no
device the strip shows its minute while the output is tried again; a recording that cannot play
closes it after the grace count."""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness"))

from desktop import Desktop  # noqa: E402
import procs  # noqa: E402

# 1 January, base city: the noon call is at 12:16:00. Started early enough for the accessibility
# bus to know the program before the strip comes: a strip that closes after its grace is short.
NOON = "2026-01-01 12:15:45"


def seed(desktop, **keys):
    folder = os.path.join(desktop.config_home, "Tirvelon")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "Tirvelon.ini"), "w") as ini:
        ini.write("[Settings]\nSalat-3=0\n")
        for key, value in keys.items():
            ini.write("%s=%s\n" % (key.replace("_", "-"), value))


def program_copy(binary, damage):
    """The program with its data folder in a folder of its own, recordings damaged as asked."""
    folder = tempfile.mkdtemp(prefix="tirvelon-faults-")
    shutil.copy2(binary, folder)
    shutil.copytree(os.path.join(os.path.dirname(binary), "Data"), os.path.join(folder, "Data"))
    for name, how in damage.items():
        path = os.path.join(folder, "Data", name)
        if how == "missing":
            os.remove(path)
        elif how == "garbage":
            with open(path, "wb") as f:
                f.write(os.urandom(4096))
    return folder, os.path.join(folder, os.path.basename(binary))


def alert_lifetime(desktop, program, timeout=75):
    """Seconds from the strip's appearance to its closing; the strip's text."""
    app = desktop.accessible_app(pid=program.pid)
    label = desktop.find(app, description="AlertWindow.Label1", timeout=20)
    shown = time.monotonic()
    text = desktop.text(label)

    def gone():
        return not desktop.find_all(desktop.accessible_app(pid=program.pid),
                                    description="AlertWindow.Label1")
    procs.wait_until(gone, timeout, interval=0.25, what="the strip to close")
    return time.monotonic() - shown, text


def ticking(desktop, program):
    app = desktop.accessible_app(pid=program.pid)
    clock = desktop.find(app, description="Label3")
    first = desktop.text(clock)
    time.sleep(2.2)
    return desktop.text(clock) != first and program.alive()


def run_case(binary, name, audio_sink, damage, muezzin, shortest, longest):
    folder, program_path = program_copy(binary, damage)
    try:
        with Desktop(audio_sink=audio_sink) as desktop:
            seed(desktop, Salat_4=muezzin)
            program = desktop.start_program(program_path, faketime=NOON)
            desktop.wait_for_window("Tirvelon")
            lifetime, text = alert_lifetime(desktop, program)
            alive = ticking(desktop, program)
            program.stop()
            print("%-28s strip %r shown %.1f s, program ticking afterwards: %s"
                  % (name, text, lifetime, alive))
            assert text.startswith("12:16 PM"), text
            assert shortest <= lifetime < longest, lifetime
            assert alive
    finally:
        shutil.rmtree(folder, ignore_errors=True)


CASES = [
    # Without a sound server nothing plays (never into nothing until the recording's length):
    # the strip stays its minute while the output is tried again, so the prayer is seen. A
    # recording that cannot play closes it after the grace count, five ticks, then the first
    # tick that finds the player stopped.
    ("no audio device", False, {}, 5, 50, 66),
    ("missing recording", True, {"5.mp3": "missing"}, 5, 0, 12),
    ("recording that is not sound", True, {"3.mp3": "garbage"}, 3, 0, 15),
]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--out", default=".")
    parser.add_argument("--case", type=int)
    args = parser.parse_args()
    if args.case is not None:
        run_case(args.program, *CASES[args.case])
        return
    # One desktop per process: each case runs in a process of its own.
    failed = 0
    for index in range(len(CASES)):
        result = subprocess.run([sys.executable, os.path.abspath(__file__), "--program",
                                 args.program, "--case", str(index)])
        failed += result.returncode != 0
    print("%d passed, %d failed" % (len(CASES) - failed, failed))
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
