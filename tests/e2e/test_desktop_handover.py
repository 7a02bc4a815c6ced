#!/usr/bin/python3
"""One copy per user. With the running copy hidden in the tray, a second start of the same binary
(same HOME) brings the running window back within two seconds and ends with status 0 without
showing a window of its own; the request it left in the settings is taken and cleared."""

import os
import sys
import time

from e2e_support import Desktop, arguments, check, check_equal, leftover_processes, run
from test_desktop_common import (click_control, docked_icon, geometry, main_window,
                                 read_settings, shown_main_window, show_log, title, viewable,
                                 wait_for, wait_main_window, windows_of)

RESTORE_LIMIT = 2.0
CLOCK_DIALOG_SIZE = (226, 149)
# On Iraq's time the clock dialog has no line about the zone, and keeps its size.
IRAQ_TIME = {"TZ": "Asia/Baghdad"}


def clock_dialog(pid):
    """The copy's clock-adjust dialog when it is shown, else None."""
    for wid in windows_of(pid, visible=True):
        box = geometry(wid)
        if box and box[2:] == CLOCK_DIALOG_SIZE and viewable(wid):
            return wid
    return None


def title_is(pid, text):
    wid = main_window(pid)
    return wid is not None and title(wid) == text


def second_start(desktop, binary, answered):
    """Starts the binary again; returns (its exit code, seconds until answered() held, seconds
    until the second copy ended, windows the second copy showed)."""
    start = time.monotonic()
    second = desktop.start_program(binary, env=IRAQ_TIME)
    shown_by_second = set()
    restored_at = ended_at = None
    while time.monotonic() - start < 15 and (restored_at is None or ended_at is None):
        if ended_at is None:
            shown_by_second.update(windows_of(second.pid, visible=True))
            if not second.alive():
                ended_at = time.monotonic() - start
        if restored_at is None and answered():
            restored_at = time.monotonic() - start
        time.sleep(0.02)
    code = second.wait(10) if ended_at is not None else None
    show_log(second)
    second.stop()
    return code, restored_at, ended_at, shown_by_second


def main():
    args = arguments(__doc__)
    with Desktop(tray=True) as desktop:
        marker = desktop.dir
        lock = os.path.join(desktop.runtime_dir, "tirvelon.lock")
        first = desktop.start_program(args.program, env=IRAQ_TIME)
        try:
            wid, took = wait_main_window(first)
            print("ok: the first copy shows its window (%.1f s)" % took)
            check(os.path.exists(lock), "the running copy holds its lock " + lock)
            app = desktop.accessible_app(pid=first.pid, timeout=60)
            icon, _ = wait_for(lambda: docked_icon(first.pid), 30, 0.2)
            check(icon, "the first copy's icon is docked")

            click_control(desktop, app, "Label4")
            hidden, _ = wait_for(lambda: shown_main_window(first.pid) is None, 5)
            check(hidden, "the first copy is hidden in the tray")

            code, restored, ended, shown = second_start(desktop, args.program,
                                                        lambda: shown_main_window(first.pid))
            print("second start: ended after %s s with status %r; running window back after "
                  "%s s" % (ended and "%.2f" % ended, code, restored and "%.2f" % restored))
            check_equal(code, 0, "exit status of the second start")
            check_equal(sorted(shown), [], "windows shown by the second copy")
            check(restored is not None and restored <= RESTORE_LIMIT,
                  "the running window is back within %.0f s of the second start"
                  % RESTORE_LIMIT)
            # Shown, it stays shown (a late minimised state would hide it again).
            again, _ = wait_for(lambda: shown_main_window(first.pid) is None, 1.5)
            check(not again, "the restored window stays viewable")
            check_equal(title(shown_main_window(first.pid)), "1", "title after the hand-over")
            check(first.alive(), "the first copy still runs")
            check_equal(read_settings(desktop).get("Close"), "",
                        "the request key, written and then cleared")

            # A second start also closes an open clock-adjust dialog.
            click_control(desktop, app, "Command2")
            dialog, took = wait_for(lambda: clock_dialog(first.pid), 10, 0.1)
            check(dialog, "the clock dialog opens (%.1f s)" % took)
            code, closed, ended, shown = second_start(desktop, args.program,
                                                      lambda: clock_dialog(first.pid) is None)
            print("second start with the clock dialog open: dialog closed after %s s"
                  % (closed and "%.2f" % closed))
            check_equal(code, 0, "exit status of the second start")
            check(closed is not None and closed <= RESTORE_LIMIT,
                  "the clock dialog closes within %.0f s of the second start" % RESTORE_LIMIT)
            check(shown_main_window(first.pid), "the main window is still shown")
        finally:
            show_log(first)
            first.stop()
    check_equal(leftover_processes(marker), [], "processes left of the desktop")


if __name__ == "__main__":
    sys.exit(run(main))
