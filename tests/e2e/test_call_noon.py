#!/usr/bin/python3
"""Noon call with a lead, real sound: with muezzin 6 chosen, a lead of 3 minutes and Sulaymaniyah
(an offset city), the program is started some seconds before the noon time less 3 minutes. Nothing
sounds or shows until that moment; then the chosen muezzin's recording sounds at once and the
strip names the noon time itself, not the earlier moment of the alert."""

import sys

from e2e_support import arguments, check, check_equal, eventually, leftover_processes, run
from test_call_common import (AUDIBLE_DBFS, QUIET_DBFS, CallSession, Desktop, Recordings, dbfs,
                              hms, seed_settings, short_time, slot_minutes, strip_text)

DAY, MONTH, YEAR = 21, 3, 2026
CITY = 2  # Sulaymaniyah
MUEZZIN = 6
LEAD = 3
VOLUME = 70
LEAD_IN = 20
HEARD_S = 10  # enough of the call to tell which recording it is


def main():
    args = arguments(__doc__)
    recordings = Recordings(args.program)
    minutes = slot_minutes(DAY, MONTH, CITY)[2]
    noon = minutes * 60
    arrival = noon - 60 * LEAD
    print("noon at %s, alert due at %s with a %d-minute lead" % (hms(noon), hms(arrival), LEAD))

    with Desktop(tray=True) as desktop:
        marker = desktop.dir
        seed_settings(desktop, city=CITY, muezzin=MUEZZIN, lead=LEAD, volume=VOLUME, language=0,
                      logon=0)
        session = CallSession(desktop, args.program, "%d-%02d-%02d" % (YEAR, MONTH, DAY),
                              arrival - LEAD_IN).start()
        try:
            session.main_window()
            session.accessible()
            eventually(lambda: desktop.text(session.control("LB0")), "-%d" % LEAD,
                       "lead shown in LB0")
            noon_label = session.control("LB(2)")
            eventually(lambda: desktop.text(noon_label),
                       short_time(minutes)[:5] + ":00 " + short_time(minutes)[-2:],
                       "noon time shown in LB(2)")

            strip, _, shown_at = session.wait_strip(timeout=arrival + 6 - session.now())
            print("strip shown at %s: %+.2f s from the time less the lead, %+.1f s from noon"
                  % (hms(shown_at), shown_at - arrival, shown_at - noon))
            check(arrival - 1 <= shown_at <= arrival + 3, "the strip appears at noon less %d "
                  "minutes" % LEAD)
            check_equal(desktop.text(session.control("AlertWindow.Label1")),
                        strip_text(minutes, 2), "strip text names the noon time")
            session.wait_recorded(arrival + HEARD_S + 2)
            samples = session.samples()
        finally:
            session.stop()

        onset = recordings.expect_heard(samples, session, arrival - 3, arrival + 5, MUEZZIN,
                                        "at noon", length_s=HEARD_S)
        print("%d.mp3 starts at %s (%+.2f s from noon less the lead)"
              % (MUEZZIN, hms(onset), onset - arrival))
        check(arrival - 1 <= onset <= arrival + 3, "the call starts at noon less the lead")

        before = session.level(arrival - 12, arrival - 2, "in the seconds before the lead's moment")
        during = session.level(onset, onset + HEARD_S, "of the call's first %d s" % HEARD_S)
        reference = dbfs(recordings.samples(MUEZZIN), 0, HEARD_S)
        print("loudness of %d.mp3's first %d s: %.1f dBFS; played at volume %d: %+.1f dB"
              % (MUEZZIN, HEARD_S, reference, VOLUME, during - reference))
        check(before < QUIET_DBFS, "nothing sounds before the lead's moment (%.1f dBFS)" % before)
        check(during > AUDIBLE_DBFS, "the call is audible (%.1f dBFS)" % during)
    check_equal(leftover_processes(marker), [], "processes left of the desktop")


if __name__ == "__main__":
    sys.exit(run(main))
