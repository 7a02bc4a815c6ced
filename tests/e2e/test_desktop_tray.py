#!/usr/bin/python3
"""Minimising into the notification area and back: a click on the minimise label "__" withdraws
the main window while its icon stays docked in the tray host (trayer), and a click on that icon
brings the window back, viewable, titled "1", and it stays shown. Two rounds, since the first
return after a start is the one a stale minimised state spoils. Then the same return after the
logon start's own minimise ("Salat-3" = "1" stored)."""

import os
import sys

from e2e_support import Desktop, arguments, check, check_equal, leftover_processes, run
from test_desktop_common import (click_box, click_control, docked_icon, geometry, main_window,
                                 read_settings, seed_settings, shown_main_window, show_log, title,
                                 viewable, wait_for)

ROUNDS = 2


def minimise(desktop, app, pid):
    click_control(desktop, app, "Label4")
    hidden, took = wait_for(lambda: shown_main_window(pid) is None, 5)
    print("hidden %.2f s after the click on \"__\"" % took)
    check(hidden, "the minimise label withdraws the main window")
    wid = main_window(pid)
    check(wid is not None and not viewable(wid), "the main window still exists, unmapped")
    return took


def restore_from_tray(pid, icon, what):
    click_box(geometry(icon))
    back, took = wait_for(lambda: shown_main_window(pid), 3)
    print("restore from the tray (%s): %s after %.2f s" % (what, "shown" if back else
                                                           "still hidden", took))
    check(back, "a click on the tray icon brings the window back (%s)" % what)
    # Shown, it must stay shown: a late minimised state must not hide it again.
    hidden_again, _ = wait_for(lambda: shown_main_window(pid) is None, 1.5)
    check(not hidden_again, "the restored window stays viewable")
    wid = shown_main_window(pid)
    check_equal(title(wid), "1", "title after the restore")
    check_equal(geometry(wid)[2:], (491, 272), "size after the restore")


def label_rounds(desktop, binary):
    program = desktop.start_program(binary)
    try:
        pid = program.pid
        wid, took = wait_for(lambda: shown_main_window(pid), 60, 0.2)
        check(wid, "the main window shows (%.1f s after the start)" % took)
        check_equal(title(wid), "Tirvelon", "title at the start")
        app = desktop.accessible_app(pid=pid, timeout=60)
        icon, took = wait_for(lambda: docked_icon(pid), 30, 0.2)
        check(icon, "the icon is docked in trayer (%.1f s after the window)" % took)
        print("tray icon at %r" % (geometry(icon),))

        for n in range(1, ROUNDS + 1):
            print("--- round %d" % n)
            minimise(desktop, app, pid)
            check(program.alive(), "the program keeps running in the tray")
            icon = docked_icon(pid)
            check(icon, "the icon stays docked while the window is hidden")
            if n == 1:
                # The mouse-down on "__" saved the choices (an empty store's defaults).
                saved = read_settings(desktop)
                check_equal({k: saved.get(k) for k in ("Salat-1", "Salat-2", "Salat-4",
                                                        "Salat-5", "Salat-6")},
                            {"Salat-1": "0", "Salat-2": "50", "Salat-4": "5", "Salat-5": "0",
                             "Salat-6": "1"},
                            "choices saved by the minimise label")
            restore_from_tray(pid, icon, "round %d" % n)
    finally:
        show_log(program)
        program.stop()


def after_logon_minimise(desktop, binary, out):
    seed_settings(desktop, {"Salat-3": "1"})
    program = desktop.start_program(binary)
    try:
        pid = program.pid
        wid, _ = wait_for(lambda: shown_main_window(pid), 60, 0.05)
        check(wid, "the logon start shows its window")
        hidden, took = wait_for(lambda: shown_main_window(pid) is None, 10)
        check(hidden, "and hides it by itself (%.2f s after showing)" % took)
        icon, _ = wait_for(lambda: docked_icon(pid), 10, 0.2)
        check(icon, "its icon is docked")
        restore_from_tray(pid, icon, "after the logon start's minimise")
        desktop.screenshot(os.path.join(out, "desktop_tray.png"))
    finally:
        show_log(program)
        program.stop()


def main():
    args = arguments(__doc__)
    with Desktop(tray=True) as desktop:
        marker = desktop.dir
        label_rounds(desktop, args.program)
        after_logon_minimise(desktop, args.program, args.out)
    check_equal(leftover_processes(marker), [], "processes left of the desktop")


if __name__ == "__main__":
    sys.exit(run(main))
