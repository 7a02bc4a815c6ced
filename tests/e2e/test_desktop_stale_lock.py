#!/usr/bin/python3
"""A copy killed with kill -9 leaves its instance lock behind; the next start takes the stale
lock over and opens its window instead of handing over to a copy that no longer runs. A lock that
names no process at all (empty: a copy killed between creating and writing it; random bytes: a
file damaged by a power cut) and is older than a few seconds is stale as well."""

import os
import random
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
            second.stop()

            for what, content in (("an empty lock", b""),
                                  ("a lock of random bytes", bytes(random.Random(10).randrange(256)
                                                                   for _ in range(97)))):
                with open(lock, "wb") as f:
                    f.write(content)
                left = time.time() - 60
                os.utime(lock, (left, left))
                copy = desktop.start_program(args.program)
                # A copy that took the lock for a live one's ends at once.
                _, took = wait_for(lambda: shown_main_window(copy.pid) or not copy.alive(), 60,
                                   0.1)
                check(shown_main_window(copy.pid),
                      "the start after %s opens its window (%.1f s)" % (what, took))
                time.sleep(1.5)
                check(copy.alive(), "it keeps running")
                with open(lock, errors="replace") as f:
                    check_equal(f.readline().strip(), str(copy.pid), "pid named by the lock now")
                show_log(copy)
                copy.stop()
        finally:
            show_log(first)
            first.stop()
    check_equal(leftover_processes(marker), [], "processes left of the desktop")


if __name__ == "__main__":
    sys.exit(run(main))
