#!/usr/bin/python3
"""Starting at logon. The first start with an empty store writes the autostart entry
Delkaro.desktop (Exec: this program) and "Salat-3" = "1", and stays shown; unticking the box
turns the entry off and stores "0", ticking it again turns it back on and stores "1". A later
start with "Salat-3" = "1" stored writes the entry again and hides into the tray about three
seconds after it starts."""

import os
import sys
import time

from e2e_support import Desktop, arguments, check, check_equal, leftover_processes, run
from test_desktop_common import (autostart_on, autostart_path, click_control, docked_icon,
                                 exec_program, read_autostart, read_settings, seed_settings,
                                 shown_main_window, wait_main_window, show_log, wait_for)

STAYS_SHOWN = 6.0  # twice the minimise delay and some
MINIMISE_EARLIEST, MINIMISE_LATEST = 2.0, 5.0


def same_program(path, binary):
    return bool(path) and os.path.realpath(path) == os.path.realpath(binary)


def check_entry_on(desktop, binary, what):
    entry = read_autostart(desktop)
    check(autostart_on(entry), "%s: the autostart entry is on (%s)" % (what, entry))
    check(same_program(exec_program(entry), binary),
          "%s: Exec starts this program (%r)" % (what, entry.get("Exec")))


def box_checked(desktop, app):
    return "checked" in desktop.states(desktop.find(app, description="Check1"))


def toggle_box(desktop, app, ticked, stored):
    click_control(desktop, app, "Check1")
    done, took = wait_for(lambda: read_settings(desktop).get("Salat-3") == stored, 5)
    check(done, "clicking the box stores \"Salat-3\" = %r (%.2f s)" % (stored, took))
    check_equal(box_checked(desktop, app), ticked, "box ticked")


def first_start(desktop, binary):
    program = desktop.start_program(binary)
    try:
        pid = program.pid
        wid, took = wait_main_window(program)
        print("ok: the first start shows its window (%.1f s)" % took)
        shown_at = time.monotonic()
        app = desktop.accessible_app(pid=pid, timeout=60)
        check(os.path.exists(autostart_path(desktop)), "the first start writes "
              + autostart_path(desktop))
        check_entry_on(desktop, binary, "first start")
        check_equal(read_settings(desktop).get("Salat-3"), "1", "\"Salat-3\" after the first "
                    "start")
        check(box_checked(desktop, app), "the start-at-logon box is ticked")

        hidden, _ = wait_for(lambda: shown_main_window(pid) is None,
                             STAYS_SHOWN - (time.monotonic() - shown_at), 0.1)
        check(not hidden, "the first start is not minimised (shown for %.1f s)"
              % (time.monotonic() - shown_at))

        toggle_box(desktop, app, False, "0")
        entry = read_autostart(desktop)
        check(os.path.exists(autostart_path(desktop)), "unticked, the entry file is kept")
        check(not autostart_on(entry), "unticked, the entry is turned off (%s)" % entry)
        check_equal((entry.get("Hidden"), entry.get("X-GNOME-Autostart-enabled")),
                    ("true", "false"), "Hidden and X-GNOME-Autostart-enabled when off")

        toggle_box(desktop, app, True, "1")
        check_entry_on(desktop, binary, "ticked again")
        check(shown_main_window(pid), "the window is still shown")
    finally:
        show_log(program)
        program.stop()


def logon_start(desktop, binary):
    # As a logon would find things: the choice on, and an entry some other tool removed.
    seed_settings(desktop, {"Salat-1": "2", "Salat-2": "40", "Salat-3": "1", "Salat-4": "1",
                            "Salat-5": "0", "Salat-6": "0"})
    os.remove(autostart_path(desktop))
    started = time.monotonic()
    program = desktop.start_program(binary)
    try:
        pid = program.pid
        wid, _ = wait_for(lambda: shown_main_window(pid), 60, 0.02)
        check(wid, "the logon start shows its window first")
        shown_at = time.monotonic()
        hidden, took = wait_for(lambda: shown_main_window(pid) is None, 15, 0.02)
        print("logon start: shown %.2f s after the start, hidden %.2f s later (%.2f s after "
              "the start)" % (shown_at - started, took, time.monotonic() - started))
        check(hidden, "the window hides by itself")
        check(MINIMISE_EARLIEST <= took <= MINIMISE_LATEST,
              "it hides about three seconds after showing (%.2f s)" % took)
        check(program.alive(), "it keeps running in the tray")
        # The icon's balloon comes up as the window goes: the icon is looked for a moment.
        docked, _ = wait_for(lambda: docked_icon(pid), 3, 0.05)
        check(docked, "its icon is docked")
        check_entry_on(desktop, binary, "logon start")
        check_equal(read_settings(desktop).get("Salat-3"), "1", "\"Salat-3\" after the logon "
                    "start")
        # One minimise only: it does not come back and hide again.
        back, _ = wait_for(lambda: shown_main_window(pid), 3.5, 0.1)
        check(not back, "it stays in the tray")
    finally:
        show_log(program)
        program.stop()


def main():
    args = arguments(__doc__)
    with Desktop(tray=True) as desktop:
        marker = desktop.dir
        check_equal(read_settings(desktop), {}, "settings before the first start")
        first_start(desktop, args.program)
        logon_start(desktop, args.program)
    check_equal(leftover_processes(marker), [], "processes left of the desktop")


if __name__ == "__main__":
    sys.exit(run(main))
