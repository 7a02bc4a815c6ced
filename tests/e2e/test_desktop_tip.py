#!/usr/bin/python3
"""The tray icon's tip as the user reads it: the pointer rests on the icon docked in trayer and
the tip that Qt shows is read back over AT-SPI (the tool tip window's text) and photographed.

28 February of a common year, the base city, Kurdish (an empty settings store): before the night
call (07:16 PM) the tip's third line names it and the time left, which steps down at the minute;
at the night call it names 1 March's dawn (05:16 AM) ten hours ahead; after a switch to Arabic it
says the same in Arabic. The tip's first two lines stay what they always were."""

import math
import os
import subprocess
import sys
import time

from e2e_support import Desktop, arguments, check, check_equal, leftover_processes, run
from test_desktop_common import (choose_combo_item, docked_icon, geometry, shown_main_window,
                                 show_log, wait_for)
from procs import wait_until

DATE = "2026-02-28"
TWO_LINES = "    Tirvelon\r\n  دوو كليك داگره  "
# The rows of 28 February (night call 1156 minutes) and 1 March (dawn 316 minutes).
NIGHT = ("بانگى عيشاء", "07:16 PM", 19 * 3600 + 16 * 60)
KURDISH_DAWN = ("بانگى بهيانى", "05:16 AM", 24 * 3600 + 5 * 3600 + 16 * 60)
ARABIC_DAWN = ("أذان الصباح", "05:16 AM", KURDISH_DAWN[2])
IN = {"ku": "پاش", "ar": "بعد"}


def tip(prayer, language, left_minutes):
    """The whole tip: right to left around the line, left to right around the clock time."""
    name, clock, _ = prayer
    return "%s\r\n\u202b%s \u202a%s\u202c %s %d:%02d\u202c" % (
        TWO_LINES, name, clock, IN[language], left_minutes // 60, left_minutes % 60)


def day_seconds(clock):
    """The program's time of day in seconds (its fake clock), from DATE's midnight."""
    midnight = clock.epoch(DATE + " 00:00:00")
    return clock.now() - midnight


def shown_tip(desktop, app, icon):
    """Rests the pointer on the icon until Qt shows its tip; returns the tip window's text."""
    subprocess.run(["xdotool", "mousemove", "5", "5"], timeout=10)
    wait_for(lambda: not desktop.find_all(app, role="tool tip"), 3, 0.1)
    left, top, width, height = geometry(icon)
    # A pointer that lands on the icon and stays still wakes no tip: it must move on it too.
    for step in (0, 1):
        subprocess.run(["xdotool", "mousemove", str(left + width // 2 + step),
                        str(top + height // 2 + step)], timeout=10)
        time.sleep(0.2)
    tips = wait_until(lambda: [t for t in desktop.find_all(app, role="tool tip")
                               if "showing" in desktop.states(t)], 10, interval=0.1,
                      what="the tip of the tray icon")
    return tips[0].name


def read_tip(desktop, app, icon, clock, prayer, language, what):
    """Reads the tip and compares it with the one due at the program's time of the reading
    (the minute may turn during it, so either end of the reading counts)."""
    before = day_seconds(clock)
    text = shown_tip(desktop, app, icon)
    after = day_seconds(clock)
    due = {tip(prayer, language, math.ceil((prayer[2] - t) / 60)) for t in (before, after)}
    if text not in due:
        check_equal(text, sorted(due)[0], what)
    print("ok: %s = %r" % (what, text))
    return text


def main():
    args = arguments(__doc__)
    with Desktop(tray=True) as desktop:
        marker = desktop.dir
        clock = desktop.fake_clock(DATE + " 19:14:20")
        program = desktop.start_program(args.program, faketime=clock)
        try:
            wid, took = wait_for(lambda: shown_main_window(program.pid), 60, 0.2)
            check(wid, "the main window shows (%.1f s after the start)" % took)
            icon, _ = wait_for(lambda: docked_icon(program.pid), 30, 0.2)
            check(icon, "the icon is docked in trayer")
            app = desktop.accessible_app(pid=program.pid, timeout=60)
            time.sleep(1.5)  # the first tick has worked out the day

            read_tip(desktop, app, icon, clock, NIGHT, "ku", "the tip before the night call")
            desktop.screenshot(os.path.join(args.out, "desktop_tip_kurdish.png"))

            clock.set(DATE + " 19:15:30")
            time.sleep(2.5)  # the fake clock is re-read, the minute's tick rewrites the tip
            text = read_tip(desktop, app, icon, clock, NIGHT, "ku", "a minute later")
            check(text.endswith(" 0:01\u202c"), "the time left stepped down to 0:01")

            clock.set(DATE + " 19:15:57")
            wait_until(lambda: day_seconds(clock) >= NIGHT[2] + 3, 15, interval=0.2,
                       what="the night call")
            read_tip(desktop, app, icon, clock, KURDISH_DAWN, "ku",
                     "the tip at the night call: tomorrow's dawn")

            name = choose_combo_item(desktop, app, "Combo3", 0)
            check_equal(name, "عربي", "the language chosen")
            time.sleep(1.5)  # the next tick writes the tip in the new language
            read_tip(desktop, app, icon, clock, ARABIC_DAWN, "ar", "the tip in Arabic")
            desktop.screenshot(os.path.join(args.out, "desktop_tip_arabic.png"))
        finally:
            show_log(program)
            program.stop()
    check_equal(leftover_processes(marker), [], "processes left of the desktop")


if __name__ == "__main__":
    sys.exit(run(main))
