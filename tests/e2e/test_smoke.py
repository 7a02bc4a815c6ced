#!/usr/bin/python3
"""Smoke test: the real program starts on a desktop, shows its borderless 491 x 272 window and
exposes its widgets over AT-SPI; it is stopped again and nothing of the desktop is left."""

import os
import sys

from e2e_support import (Desktop, arguments, check, check_equal, leftover_processes,  # noqa: I
                         run)


def main():
    args = arguments(__doc__)
    with Desktop(tray=True) as desktop:
        marker = desktop.dir
        program = desktop.start_program(args.program)
        try:
            window = desktop.wait_for_window("Tirvelon", timeout=60)
            check(program.alive(), "the program runs")
            check_equal(desktop.window_title(window), "Tirvelon", "window title")
            _, _, width, height = desktop.window_geometry(window)
            check_equal((width, height), (491, 272), "window size")

            app = desktop.accessible_app(pid=program.pid, timeout=60)
            check_equal(app.name, "Tirvelon", "accessible application name")
            check(app.childCount >= 1, "the application has %d accessible child(ren)"
                  % app.childCount)
            nodes = list(desktop.walk(app))
            print("accessible nodes: %d" % len(nodes))

            shot = desktop.screenshot(os.path.join(args.out, "smoke.png"))
            check(os.path.getsize(shot) > 0, "screenshot written to " + shot)
        finally:
            log = program.log()
            program.stop()
            if log.strip():
                print("--- program output ---\n" + log[-3000:])
    check_equal(leftover_processes(marker), [], "processes left of the desktop")


if __name__ == "__main__":
    sys.exit(run(main))
