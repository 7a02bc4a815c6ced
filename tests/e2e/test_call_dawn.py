#!/usr/bin/python3
"""Dawn call with real sound: a few seconds before the dawn time the program is started (another
muezzin chosen, Kurdish captions, the saved volume left at its default). At the dawn time the dawn
recording 7.mp3 sounds, whatever the muezzin, and the strip appears in the lower right corner
above the main window with the time and the dawn phrase; it closes within a few seconds after the
recording ends, and nothing sounds before or after."""

import sys

from e2e_support import arguments, check, check_equal, eventually, leftover_processes, run
from test_call_common import (AUDIBLE_DBFS, QUIET_DBFS, CallSession, Desktop, Recordings,
                              check_strip_placed, dbfs, hms, seed_settings, short_time,
                              slot_minutes, strip_text)

DAY, MONTH, YEAR = 21, 3, 2026
CITY = 1  # Nineveh: the offsets are applied on the way to the strip
MUEZZIN = 2
LEAD_IN = 20


def main():
    args = arguments(__doc__)
    recordings = Recordings(args.program)
    minutes = slot_minutes(DAY, MONTH, CITY)[0]
    dawn = minutes * 60
    length = recordings.duration(7)
    print("dawn at %s, 7.mp3 lasts %.2f s" % (hms(dawn), length))

    with Desktop(tray=True) as desktop:
        marker = desktop.dir
        seed_settings(desktop, city=CITY, muezzin=MUEZZIN, lead=0, language=1, logon=0)
        session = CallSession(desktop, args.program, "%d-%02d-%02d" % (YEAR, MONTH, DAY),
                              dawn - LEAD_IN).start()
        try:
            main_wid = session.main_window()
            session.accessible()
            shown = session.control("LB(0)")
            eventually(lambda: desktop.text(shown), short_time(minutes)[:5] + ":00 "
                       + short_time(minutes)[-2:], "dawn time shown in LB(0)")
            check(not session.strips(), "no strip before the dawn time (%s)" % hms(session.now()))

            strip, geometry, shown_at = session.wait_strip(timeout=dawn + 6 - session.now())
            print("strip shown at %s (%+.2f s from the dawn time)" % (hms(shown_at),
                                                                      shown_at - dawn))
            check(dawn - 1 <= shown_at <= dawn + 3, "the strip appears at the dawn time")
            check_strip_placed(session, geometry, main_wid, strip)
            label = session.control("AlertWindow.Label1")
            check_equal(desktop.text(label), strip_text(minutes, 0), "strip text")

            closed_at = session.wait_strip_gone(timeout=length + 15)
            print("strip closed at %s, %.2f s after it appeared" % (hms(closed_at),
                                                                     closed_at - shown_at))
            session.wait_recorded(closed_at + 1.5)
            samples = session.samples()
        finally:
            session.stop()

        onset = recordings.expect_heard(samples, session, dawn - 3, dawn + 5, 7,
                                        "at dawn (muezzin %d chosen)" % MUEZZIN)
        print("7.mp3 starts in the recording at %s (%+.2f s from the dawn time)"
              % (hms(onset), onset - dawn))
        check(dawn - 1 <= onset <= dawn + 3, "the call starts at the dawn time")

        before = session.level(dawn - 12, dawn - 2, "before dawn")
        during = session.level(onset, onset + length, "during the call")
        after = session.level(closed_at, closed_at + 1.0, "after the strip closed")
        reference = dbfs(recordings.samples(7), 0, length)
        print("loudness of 7.mp3 itself: %.1f dBFS; played at volume 50: %+.1f dB" %
              (reference, during - reference))
        check(before < QUIET_DBFS, "silence before dawn (%.1f dBFS)" % before)
        check(during > AUDIBLE_DBFS, "the call is audible (%.1f dBFS)" % during)
        check(after < QUIET_DBFS, "silence once the strip closed (%.1f dBFS)" % after)

        ended = onset + length
        print("strip closed %.2f s after the recording ended" % (closed_at - ended))
        check(ended - 0.5 <= closed_at <= ended + 3.0,
              "the strip closes within a few seconds after the recording ends")
    check_equal(leftover_processes(marker), [], "processes left of the desktop")


def check_strip_placed(session, geometry, main_wid, strip):
    from test_call_common import check_strip_placed
    check_strip_placed(session, geometry, main_wid, strip)


if __name__ == "__main__":
    sys.exit(run(main))
