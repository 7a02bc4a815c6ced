#!/usr/bin/python3
"""A laptop's day, real sound: Erbil, 1 January 2026 (noon at 12:16, afternoon at 14:45), Arabic.
The program is stopped (SIGSTOP, as a machine that sleeps) and its fake clock moved on meanwhile.
1. Stopped before noon, woken three minutes after it: the strip names noon and the call sounds.
2. The clock set back before noon after that call: at noon no second strip, no sound.
3. Stopped before the afternoon call, woken two hours after it: a silent strip says when the
   afternoon call came, and nothing sounds."""

import os
import signal
import sys
import time

from e2e_support import arguments, check, check_equal, leftover_processes, run
from procs import wait_until
from test_call_common import (AUDIBLE_DBFS, QUIET_DBFS, CallSession, Desktop, Recordings, dbfs,
                              hms, seed_settings, slot_minutes, strip_text)
from desktop import FakeClock

DAY, MONTH, YEAR = 1, 1, 2026
DATE = "%d-%02d-%02d" % (YEAR, MONTH, DAY)
MUEZZIN = 0
HEARD_S = 8
# Spelled here: "The afternoon call was at 02:45 PM".
CAME = "أذان العصر كان الساعة 02:45 PM"
INVISIBLE = dict.fromkeys(map(ord, "\u200f\u2066\u2069"))


class WakeSession(CallSession):
    """The program on a clock the test moves while the program is stopped."""

    def __init__(self, desktop, binary):
        super().__init__(desktop, binary, DATE, None)
        self._midnight = FakeClock.epoch(DATE + " 00:00:00")

    def start(self, start_tod):
        self.recorder = self.desktop.recorder().start()
        self._rec_origin = time.monotonic() - self.recorder.seconds()
        self.start_tod = start_tod
        self.clock = self.desktop.fake_clock(self._midnight + start_tod)
        self.program = self.desktop.start_program(self.binary, faketime=self.clock)
        return self

    def now(self):
        return self.clock.now() - self._midnight

    def rec_second(self, tod):
        # Of the clock as it now runs: valid since its last move.
        return time.monotonic() + (tod - self.now()) - self._rec_origin

    def tod_of(self, rec_second):
        return self.now() - (time.monotonic() - self._rec_origin - rec_second)

    def sleep_across(self, asleep_tod, wake_tod):
        """Stops the program at asleep_tod, moves its clock to wake_tod, and wakes it."""
        self.sleep_until(asleep_tod)
        os.kill(self.program.pid, signal.SIGSTOP)
        self.clock.set(self._midnight + wake_tod)
        # Past the fake clock's cache, so the first reading after the wake is the new time.
        time.sleep(FakeClock.CACHE_S + 0.5)
        os.kill(self.program.pid, signal.SIGCONT)
        print("asleep at %s, woken at %s" % (hms(asleep_tod), hms(wake_tod)))
        return time.monotonic()

    def line(self):
        return self.desktop.text(self.control("AlertWindow.Label1")).translate(INVISIBLE).strip()


def main():
    args = arguments(__doc__)
    recordings = Recordings(args.program)
    minutes = slot_minutes(DAY, MONTH, 0)
    noon, afternoon = minutes[2] * 60, minutes[3] * 60
    check_equal((hms(noon), hms(afternoon)), ("12:16:00", "14:45:00"), "the day's times")

    with Desktop(tray=True) as desktop:
        marker = desktop.dir
        seed_settings(desktop, city=0, muezzin=MUEZZIN, lead=0, volume=80, language=0, logon=0)
        session = WakeSession(desktop, args.program).start(noon - 40)
        try:
            session.main_window()
            session.accessible()

            # 1. Three minutes late: the call, as at its time.
            woke = session.sleep_across(noon - 25, noon + 180)
            session.wait_strip(timeout=5)
            print("strip %.2f s after the wake" % (time.monotonic() - woke))
            check(time.monotonic() - woke < 3, "the strip shows at the wake")
            check_equal(desktop.text(session.control("AlertWindow.Label1")),
                        strip_text(minutes[2], 2), "the strip names noon's time")
            session.wait_recorded(noon + 180 + HEARD_S + 2)
            samples = session.samples()
            onset = recordings.expect_heard(samples, session, noon + 177, noon + 185, MUEZZIN,
                                            "at the wake", length_s=HEARD_S)
            print("%d.mp3 starts at %s" % (MUEZZIN, hms(onset)))
            session.wait_strip_gone(timeout=recordings.duration(MUEZZIN) + 15)

            # 2. Set back over the call that ended: not again.
            session.clock.set(session._midnight + noon - 10)
            time.sleep(FakeClock.CACHE_S + 0.5)
            back = session.rec_second(noon - 8)
            session.sleep_until(noon + 12)
            check_equal(session.strips(), [], "no second strip at noon after the clock went back")
            session.wait_recorded(noon + 12)
            again = dbfs(session.samples(), back, session.rec_second(noon + 12))
            print("loudness after the clock went back: %.1f dBFS" % again)
            check(again < QUIET_DBFS, "no second call (%.1f dBFS)" % again)

            # 3. Two hours late: a silent strip says when the call came.
            woke = session.sleep_across(noon + 20, afternoon + 7200)
            session.wait_strip(timeout=5)
            check(time.monotonic() - woke < 3, "the strip shows at the wake")
            check_equal(session.line(), CAME, "the strip says when the afternoon call came")
            quiet_from = session.rec_second(afternoon + 7201)
            session.wait_recorded(afternoon + 7210)
            late = dbfs(session.samples(), quiet_from, session.rec_second(afternoon + 7210))
            print("loudness two hours late: %.1f dBFS" % late)
            check(late < QUIET_DBFS, "nothing sounds two hours late (%.1f dBFS)" % late)
            shot = desktop.screenshot(os.path.join(args.out, "wake-came-strip.png"))
            print("screenshot: %s" % shot)
            check(session.program.alive(), "the program runs on")
        finally:
            session.stop()
    startup = dbfs(samples, 0, 5)
    check(startup > AUDIBLE_DBFS, "the recording hears the program (%.1f dBFS)" % startup)
    check_equal(leftover_processes(marker), [], "processes left of the desktop")


if __name__ == "__main__":
    sys.exit(run(main))
