#!/usr/bin/python3
"""A reminder before noon, real sound: Arabic, Erbil, noon's reminder stored as five minutes
before. At noon less five minutes the strip shows the minutes left and noon's name, nothing
sounds, and its close mark closes it; the call itself is not started by it."""

import os
import sys
import time

from e2e_support import arguments, check, check_equal, leftover_processes, run
from test_call_common import (AUDIBLE_DBFS, QUIET_DBFS, CallSession, Desktop, hms,
                              seed_settings, slot_minutes)

DAY, MONTH, YEAR = 21, 3, 2026
LEAD_IN = 12
REMIND = 5
# The line in Arabic, spelled here: "5 minutes are left until the noon call".
EXPECTED = "بقي 5 دقائق على أذان الظهر"
# Direction marks the line carries around its number; the reader sees none of them.
INVISIBLE = dict.fromkeys(map(ord, "\u200f\u2066\u2069"))


def main():
    args = arguments(__doc__)
    noon = slot_minutes(DAY, MONTH, 0)[2] * 60
    due = noon - REMIND * 60
    print("noon at %s, its reminder at %s" % (hms(noon), hms(due)))

    with Desktop(tray=True) as desktop:
        marker = desktop.dir
        seed_settings(desktop, city=0, muezzin=0, lead=0, volume=80, language=0, logon=0)
        with open(os.path.join(desktop.config_home, "Tirvelon", "Tirvelon.ini"), "a") as f:
            f.write("Remind-3=%d\n" % REMIND)
        session = CallSession(desktop, args.program, "%d-%02d-%02d" % (YEAR, MONTH, DAY),
                              due - LEAD_IN).start()
        try:
            session.main_window()
            session.accessible()
            _, _, shown_at = session.wait_strip(timeout=due + 6 - session.now())
            print("strip shown at %s (%+.2f s from the reminder's time)"
                  % (hms(shown_at), shown_at - due))
            check(due - 1 <= shown_at <= due + 3, "the reminder shows five minutes before noon")
            line = desktop.text(session.control("AlertWindow.Label1")).translate(INVISIBLE)
            check_equal(line.strip(), EXPECTED, "the reminder's line")

            session.wait_recorded(due + 8)
            x, y, w, h = desktop.extents(session.control("AlertWindow.Label2"))
            desktop.click(x + w // 2, y + h // 2)
            clicked = session.now()
            gone = session.wait_strip_gone(timeout=10)
            print("close mark clicked at %s, strip gone %.2f s later" % (hms(clicked),
                                                                        gone - clicked))
            session.wait_recorded(gone + 3)
            check(session.program.alive(), "the program runs on after the reminder")
        finally:
            session.stop()
    startup = session.level(session.start_tod, session.start_tod + 5, "of the start-up sound")
    check(startup > AUDIBLE_DBFS, "the recording hears the program (%.1f dBFS)" % startup)
    during = session.level(due - 1, gone + 3, "while the reminder showed and after")
    check(during < QUIET_DBFS, "a reminder sounds nothing (%.1f dBFS)" % during)
    check_equal(leftover_processes(marker), [], "processes left of the desktop")


if __name__ == "__main__":
    sys.exit(run(main))
