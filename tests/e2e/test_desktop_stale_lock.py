#!/usr/bin/python3
"""A copy killed with kill -9 leaves its instance lock behind; the next start takes the stale
lock over and opens its window instead of handing over to a copy that no longer runs. A lock that
names no process at all (empty: a copy killed between creating and writing it; random bytes: a
file damaged by a power cut) and is older than a few seconds is stale as well. Without a usable
runtime folder the lock goes to a folder only this user can write: a live lock that another
account left in the shared temporary folder does not keep the program from opening."""

import os
import pwd
import random
import signal
import socket
import subprocess
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

            check_lock_outside_shared_temp(desktop, args.program)
        finally:
            show_log(first)
            first.stop()
    check_equal(leftover_processes(marker), [], "processes left of the desktop")


def check_lock_outside_shared_temp(desktop, program):
    # A runtime folder Qt refuses (a file, not a folder) and no fallback of its own either.
    shared = os.path.join(desktop.dir, "tmp")
    os.makedirs(shared)
    os.chmod(shared, 0o1777)
    with open(os.path.join(shared, "runtime-" + pwd.getpwuid(os.geteuid()).pw_name), "w"):
        pass
    not_a_folder = os.path.join(desktop.dir, "runtime-file")
    with open(not_a_folder, "w"):
        pass
    user = "tirvelontester"
    # Another account's live lock where the shared folder would hold this user's.
    other = subprocess.Popen(["sleep", "120"])
    try:
        planted = os.path.join(shared, "tirvelon-%s.lock" % user)
        with open(planted, "w") as f:
            f.write("%d\n/usr/bin/sleep\n%s\n" % (other.pid, socket.gethostname()))
        copy = desktop.start_program(program, env={"XDG_RUNTIME_DIR": not_a_folder,
                                                   "TMPDIR": shared, "USER": user})
        _, took = wait_for(lambda: shown_main_window(copy.pid) or not copy.alive(), 60, 0.1)
        check(shown_main_window(copy.pid),
              "without a runtime folder the start opens its window (%.1f s)" % took)
        time.sleep(1.5)
        check(copy.alive(), "it keeps running")
        with open(planted) as f:
            check_equal(f.readline().strip(), str(other.pid), "the planted lock is left alone")
        mine = [name for name in os.listdir(shared) if name != os.path.basename(planted)
                and name.endswith(".lock")]
        check_equal(mine, [], "locks of its own in the shared folder")
        held = lock_of(desktop.home, copy.pid)
        check(held, "it holds a lock under its home: %s" % held)
        folder = os.stat(os.path.dirname(held))
        check(folder.st_uid == os.geteuid() and not folder.st_mode & 0o022,
              "only this user can write the lock's folder (mode %o)" % (folder.st_mode & 0o7777))
        show_log(copy)
        copy.stop()
    finally:
        other.kill()
        other.wait()


def lock_of(home, pid):
    """The lock file under home that names pid, or None."""
    for folder, _, names in os.walk(home):
        for name in names:
            if name.endswith(".lock"):
                path = os.path.join(folder, name)
                with open(path, errors="replace") as f:
                    if f.readline().strip() == str(pid):
                        return path
    return None


if __name__ == "__main__":
    sys.exit(run(main))
