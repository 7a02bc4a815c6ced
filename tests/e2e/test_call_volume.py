#!/usr/bin/python3
"""Volume and preview with real sound. With the slider saved at 0 (Duhok, muezzin 3, Kurdish) the
afternoon call shows its strip but nothing is heard, and a preview is silent too. Moved to 60
through AT-SPI, the slider makes the preview button play the chosen muezzin's recording, with the
muezzin's name on the strip and its close mark disabled; a second press stops it: sound, then
silence, and the strip is gone. A preview left to play to its end is over by itself: the button
shows play again and its strip is gone."""

import sys
import time

from e2e_support import arguments, check, check_equal, eventually, leftover_processes, run
from test_call_common import (AUDIBLE_DBFS, QUIET_DBFS, CallSession, Desktop, Recordings, hms,
                              muezzin_name, seed_settings, slot_minutes, strip_text)

DAY, MONTH, YEAR = 21, 3, 2026
CITY = 4  # Duhok
MUEZZIN = 3
LANGUAGE = 1
LEAD_IN = 20
PREVIEW_S = 6
VOLUME = 60


def main():
    args = arguments(__doc__)
    recordings = Recordings(args.program)
    length = recordings.duration(MUEZZIN)
    minutes = slot_minutes(DAY, MONTH, CITY)[3]
    afternoon = minutes * 60
    print("afternoon call at %s, %d.mp3 lasts %.2f s" % (hms(afternoon), MUEZZIN, length))

    with Desktop(tray=True) as desktop:
        marker = desktop.dir
        seed_settings(desktop, city=CITY, muezzin=MUEZZIN, lead=0, volume=0, language=LANGUAGE,
                      logon=0)
        session = CallSession(desktop, args.program, "%d-%02d-%02d" % (YEAR, MONTH, DAY),
                              afternoon - LEAD_IN).start()
        try:
            session.main_window()
            session.accessible()
            slider = session.control("Slider1")
            button = session.control("Command1")
            check_equal(slider.queryValue().currentValue, 0.0, "slider restored at")

            # The call at volume 0: the strip, no sound.
            _, _, shown_at = session.wait_strip(timeout=afternoon + 6 - session.now())
            print("call strip shown at %s (%+.2f s)" % (hms(shown_at), shown_at - afternoon))
            check(afternoon - 1 <= shown_at <= afternoon + 3, "the strip appears at the call")
            check_equal(desktop.text(session.control("AlertWindow.Label1")),
                        strip_text(minutes, 3), "strip text")
            closed_at = session.wait_strip_gone(timeout=length + 10)
            print("call strip closed %.2f s after it appeared (the recording lasts %.2f s)"
                  % (closed_at - shown_at, length))
            check(length - 1 <= closed_at - shown_at <= length + 4,
                  "the silent call still runs the whole recording")

            # A preview at volume 0.
            quiet_from = press(desktop, session, button, "<")
            time.sleep(3)
            quiet_to = session.now()
            press(desktop, session, button, "4")

            # The slider at 60, then a preview and its stop.
            slider.queryValue().currentValue = float(VOLUME)
            eventually(lambda: slider.queryValue().currentValue, float(VOLUME), "slider moved to")
            started = press(desktop, session, button, "<")
            check(session.strips(), "the preview shows the strip")
            label = session.control("AlertWindow.Label1")
            eventually(lambda: desktop.text(label), muezzin_name(MUEZZIN, LANGUAGE),
                       "preview strip names the muezzin")
            mark = session.control("AlertWindow.Label2")
            check("enabled" not in desktop.states(mark), "the strip's close mark is disabled")
            session.sleep_until(started + PREVIEW_S)
            stopped = press(desktop, session, button, "4")
            eventually(lambda: bool(session.strips()), False, "strip shown after the stop",
                       timeout=5)
            session.wait_recorded(stopped + 3)
            samples = session.samples()

            # A preview nobody stops: once the recording has ended the button and strip are back.
            press(desktop, session, button, "<")
            check(session.strips(), "the unattended preview shows the strip")
            eventually(lambda: button.name, "4", "preview button caption after the recording",
                       timeout=length + 6)
            eventually(lambda: bool(session.strips()), False, "strip shown after the recording",
                       timeout=3)
        finally:
            session.stop()

        call = session.level(shown_at, shown_at + 10, "of the call at volume 0")
        check(call < QUIET_DBFS, "the call at volume 0 is silent (%.1f dBFS)" % call)
        quiet = session.level(quiet_from, quiet_to, "of the preview at volume 0")
        check(quiet < QUIET_DBFS, "the preview at volume 0 is silent (%.1f dBFS)" % quiet)

        onset = recordings.expect_heard(samples, session, started - 1, started + 2, MUEZZIN,
                                        "in the preview", length_s=PREVIEW_S - 2)
        print("preview sounds %.2f s after the press" % (onset - started))
        playing = session.level(onset, stopped - 0.3, "of the preview at volume %d" % VOLUME)
        after = session.level(stopped + 0.7, stopped + 3, "after the second press")
        check(playing > AUDIBLE_DBFS, "the preview is audible (%.1f dBFS)" % playing)
        check(after < QUIET_DBFS, "the second press silences it (%.1f dBFS)" % after)
    check_equal(leftover_processes(marker), [], "processes left of the desktop")


def press(desktop, session, button, caption):
    """Presses the preview button; returns the time of day of the press once the caption shows."""
    at = session.now()
    desktop.do_action(button)
    eventually(lambda: button.name, caption, "preview button caption", timeout=5)
    return at


if __name__ == "__main__":
    sys.exit(run(main))
