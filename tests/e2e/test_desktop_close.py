#!/usr/bin/python3
"""The close label "X" asks "Sirvane"'s exit question. The mouse-down on the label has already
saved the choices when the question shows; No keeps the program running as it was, Yes ends it
with status 0, and the store then holds the city chosen last."""

import sys
import time

from e2e_support import (Desktop, Failure, arguments, check, check_equal, leftover_processes,
                         run)
from test_desktop_common import (box_text, choose_combo_item, click_control, message_box,
                                 press_box_button, read_settings, seed_settings,
                                 shown_main_window, wait_main_window, show_log, wait_for)

HEAVY_LAM = "\u06b5"  # the Kurdish letter the exit question needs a wide-text box for
SEEDED = {"Salat-1": "1", "Salat-2": "70", "Salat-3": "0", "Salat-4": "2", "Salat-5": "3",
          "Salat-6": "1"}


def ask_to_close(desktop, app, pid):
    """Clicks "X" and waits for the question; returns its seconds."""
    click_control(desktop, app, "Label1")
    box, took = wait_for(lambda: message_box(pid), 10)
    check(box, "the exit question \"Sirvane\" shows (%.2f s after the click)" % took)
    return took


def choose_city(desktop, app, index):
    name = choose_combo_item(desktop, app, "Combo1", index)
    print("city chosen through the list: %d %s" % (index, name))


def main():
    args = arguments(__doc__)
    with Desktop(tray=True) as desktop:
        marker = desktop.dir
        seed_settings(desktop, SEEDED)
        program = desktop.start_program(args.program)
        try:
            pid = program.pid
            wid, took = wait_main_window(program)
            print("ok: the main window shows (%.1f s)" % took)
            app = desktop.accessible_app(pid=pid, timeout=60)

            choose_city(desktop, app, 3)
            check_equal(read_settings(desktop).get("Salat-1"), "1",
                        "stored city before the close label (choosing does not save)")
            ask_to_close(desktop, app, pid)
            check_equal(read_settings(desktop).get("Salat-1"), "3",
                        "stored city while the question shows (saved on mouse-down)")
            question = box_text(desktop, app)
            print("question: %r" % question)
            check(HEAVY_LAM in question, "the Kurdish question carries U+06B5")

            press_box_button(desktop, app, "No")
            gone, took = wait_for(lambda: message_box(pid) is None, 5)
            check(gone, "No closes the question (%.2f s)" % took)
            time.sleep(1.5)
            check(program.alive(), "after No the program keeps running")
            check(shown_main_window(pid), "and its window stays shown")

            choose_city(desktop, app, 4)
            ask_to_close(desktop, app, pid)
            start = time.monotonic()
            press_box_button(desktop, app, "Yes")
            try:
                code = program.wait(10)
            except Exception:
                raise Failure("the program still runs 10 s after Yes")
            print("ended %.2f s after Yes" % (time.monotonic() - start))
            check_equal(code, 0, "exit status after Yes")
            expected = dict(SEEDED, **{"Salat-1": "4"})
            saved = read_settings(desktop)
            check_equal({k: saved.get(k) for k in expected}, expected, "choices stored at the end")
        finally:
            show_log(program)
            program.stop()
    check_equal(leftover_processes(marker), [], "processes left of the desktop")


if __name__ == "__main__":
    sys.exit(run(main))
