#!/usr/bin/python3
"""A copy killed with kill -9 leaves its instance lock behind; the next start takes the stale
lock over and opens its window instead of handing over to a copy that no longer runs."""

import os
import signal
import sys
import time

from e2e_support import Desktop, arguments, check, check_equal, leftover_processes, run
from test_desktop_common import (docked_icon, main_window, read_settings, shown_main_window,
                                 show_log, title, wait_for)


def main():
    args = arguments(__doc__)
    with Desktop(tray=True) as desktop:
        marker = desktop.dir
        lock = os.path.join(desktop.runtime_dir, "tirvelon.lock")
        first = desktop.start_program(args.program)
        try:
            wid, took = wait_for(lambda: shown_main_window(first.pid), 60, 0.2)
            check(wid, "the first copy shows its window (%.1f s)" % took)
            check(os.path.exists(lock), "it holds the lock " + lock)

            first.proc.send_signal(signal.SIGKILL)
            check_equal(first.wait(10), -signal.SIGKILL, "the first copy's end")
            check(os.path.exists(lock), "kill -9 leaves the lock file behind")
            with open(lock, errors="replace") as f:
                check_equal(f.readline().strip(), str(first.pid), "pid named by the stale lock")
            gone, _ = wait_for(lambda: main_window(first.pid) is None, 5)
            check(gone, "the killed copy's window is gone")

            start = time.monotonic()
            second = desktop.start_program(args.program)
            wid, _ = wait_for(lambda: shown_main_window(second.pid), 60, 0.05)
            print("start after kill -9: window after %.2f s" % (time.monotonic() - start))
            check(wid, "the start after kill -9 opens its window")
            check_equal(title(wid), "Tirvelon", "its title")
            # A copy that took the lock for another's would have ended by now, asking the dead
            # copy to show itself.
            time.sleep(1.5)
            check(second.alive(), "it keeps running")
            check(shown_main_window(second.pid), "its window stays shown")
            check(read_settings(desktop).get("Close", "") != "Close",
                  "no hand-over request is left waiting")
            icon, _ = wait_for(lambda: docked_icon(second.pid), 30, 0.2)
            check(icon, "its tray icon is docked")
            with open(lock, errors="replace") as f:
                check_equal(f.readline().strip(), str(second.pid), "pid named by the lock now")
            show_log(second)
        finally:
            show_log(first)
            first.stop()
    check_equal(leftover_processes(marker), [], "processes left of the desktop")


if __name__ == "__main__":
    sys.exit(run(main))
