#!/usr/bin/python3
"""Sunrise notice: at the sunrise time (Kirkuk, volume 100) the strip shows the time and the
sunrise phrase for about sixty seconds, in its corner, and nothing sounds meanwhile or after,
while the same recording does hear the program's start-up sound."""

import sys

from e2e_support import arguments, check, check_equal, leftover_processes, run
from test_call_common import (AUDIBLE_DBFS, QUIET_DBFS, CallSession, Desktop,
                              check_strip_placed, hms, seed_settings, slot_minutes, strip_text)

DAY, MONTH, YEAR = 21, 3, 2026
CITY = 3  # Kirkuk
LEAD_IN = 15
NOTICE_S = 60


def main():
    args = arguments(__doc__)
    minutes = slot_minutes(DAY, MONTH, CITY)[1]
    sunrise = minutes * 60
    print("sunrise at %s" % hms(sunrise))

    with Desktop(tray=True) as desktop:
        marker = desktop.dir
        seed_settings(desktop, city=CITY, muezzin=0, lead=0, volume=100, language=1, logon=0)
        session = CallSession(desktop, args.program, "%d-%02d-%02d" % (YEAR, MONTH, DAY),
                              sunrise - LEAD_IN).start()
        try:
            main_wid = session.main_window()
            session.accessible()
            strip, geometry, shown_at = session.wait_strip(timeout=sunrise + 6 - session.now())
            print("strip shown at %s (%+.2f s from sunrise)" % (hms(shown_at), shown_at - sunrise))
            check(sunrise - 1 <= shown_at <= sunrise + 3, "the strip appears at sunrise")
            check_strip_placed(session, geometry, main_wid, strip)
            check_equal(desktop.text(session.control("AlertWindow.Label1")),
                        strip_text(minutes, 1), "strip text")

            closed_at = session.wait_strip_gone(timeout=NOTICE_S + 10)
            shown_for = closed_at - shown_at
            print("strip shown for %.1f s" % shown_for)
            check(NOTICE_S - 2 <= shown_for <= NOTICE_S + 3, "the notice lasts about a minute")
            session.wait_recorded(closed_at + 3)
        finally:
            session.stop()

        # The start-up sound proves that this recording hears the program at all.
        startup = session.level(session.start_tod, session.start_tod + 5, "of the start-up sound")
        check(startup > AUDIBLE_DBFS, "the recording hears the program (%.1f dBFS)" % startup)
        during = session.level(shown_at, closed_at, "while the sunrise strip showed (volume 100)")
        after = session.level(closed_at, closed_at + 3, "after it closed")
        check(during < QUIET_DBFS, "nothing sounds at sunrise (%.1f dBFS)" % during)
        check(after < QUIET_DBFS, "nothing sounds after the notice (%.1f dBFS)" % after)
    check_equal(leftover_processes(marker), [], "processes left of the desktop")


if __name__ == "__main__":
    sys.exit(run(main))
