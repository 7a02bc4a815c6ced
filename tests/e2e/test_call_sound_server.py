#!/usr/bin/python3
"""Calls that outlive the sound server, with real sound on the harness's PulseAudio. The program
starts at logon, often before the sound server, and runs for days; each call opens the output
afresh, an output that stops delivering sound is given up, and the output closes a few seconds
after the last sound. One run reaches several prayer times of 21 March by moving the program's
fake clock between them.

- no_server_at_start: started while no server listens at its PULSE_SERVER socket, the program
  runs and ticks, its noon strip shows and stays while the output is tried again, and neither
  ALSA nor PulseAudio nor miniaudio writes to its output. The server then comes up during the
  strip's minute and the noon call is heard from its beginning.
- server_restart: the server is killed while the noon call plays; the program keeps ticking and
  the strip closes within seconds. The server comes back and the afternoon call is heard.
- hung_server: the server is up but answers nothing (stopped) when the program starts: the
  window shows within seconds and ticks, the noon strip shows and stays; the server then wakes
  and the noon call is heard.
- default_output: a second output is plugged in and made the default between two calls; the
  next call is heard there and not on the first. The default is put back during that call
  (what PulseAudio does with the playing stream is measured and reported), and the call after
  it follows the new default. The output's stream goes some seconds after a call ends.
- sleep: the program stopped (SIGSTOP, as a machine asleep) before noon and its clock moved on:
  woken three minutes after noon, the strip and the call come at the wake; the clock set back
  before noon after that call, no second strip and no sound; woken two hours after the afternoon
  call, a silent strip says when it came, in Arabic.

Each case runs in a process of its own (one desktop per process)."""

import argparse
import os
import re
import signal
import subprocess
import sys
import time

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from e2e_support import Failure, check, check_equal, leftover_processes  # noqa: E402
from desktop import FakeClock  # noqa: E402  (the harness's, put on the path by e2e_support)
from procs import wait_until  # noqa: E402
from test_call_common import (AUDIBLE_DBFS, ENVELOPE_S, QUIET_DBFS, CallSession,  # noqa: E402
                              Desktop, Recordings, align, dbfs, envelope, hms, seed_settings,
                              slot_minutes)

DAY, MONTH, YEAR = 21, 3, 2026
DATE = "%d-%02d-%02d" % (YEAR, MONTH, DAY)
CITY = 0
MUEZZIN = 3  # the shortest recording: the strip must close between two calls of one run
VOLUME = 70
NOON, ASR, MAGHRIB = 2, 3, 4
HEARD_S = 10
SECOND_SINK = "tirvelon_hdmi"
INVISIBLE = dict.fromkeys(map(ord, "\u200f\u2066\u2069"))  # direction marks
# What ALSA, libpulse and miniaudio write when they complain; none of it may reach the log.
CHATTER = re.compile(r"ALSA lib|miniaudio|pulse|^(DEBUG|INFO|WARNING|ERROR): |^[EWIND]: \[",
                     re.M | re.I)


def prayer(slot):
    """The slot's time of day on the test's date, seconds after midnight."""
    return slot_minutes(DAY, MONTH, CITY)[slot] * 60


def clock_seconds(text):
    """"12:15:40 PM" as seconds after midnight."""
    found = re.fullmatch(r"(\d\d):(\d\d):(\d\d) (AM|PM)", text.strip())
    if not found:
        raise Failure("the clock shows %r" % text)
    hour, minute, second = (int(found.group(i)) for i in (1, 2, 3))
    hour = hour % 12 + (12 if found.group(4) == "PM" else 0)
    return hour * 3600 + minute * 60 + second


class Listener:
    """A recording of one sink's monitor, its seconds placed on the program's clock. A recording
    ends with the server it records; a restarted server needs a new one."""

    def __init__(self, session, sink=None):
        self.session = session
        self.sink = sink or session.desktop.pulse.sink
        self.recorder = session.desktop.recorder(sink).start()
        self.origin = time.monotonic() - self.recorder.seconds()

    def rec_second(self, tod):
        return self.session.monotonic_of(tod) - self.origin

    def tod_of(self, rec_second):
        return self.session.now() - (time.monotonic() - self.origin - rec_second)

    def wait_recorded(self, tod, timeout=20):
        wait_until(lambda: self.recorder.seconds() >= self.rec_second(tod), timeout,
                   interval=0.1, what="%s recorded up to %s" % (self.sink, hms(tod)))

    def samples(self):
        return self.recorder.samples()

    def level(self, tod_from, tod_to, what):
        level = dbfs(self.samples(), self.rec_second(tod_from), self.rec_second(tod_to))
        print("loudness on %s %s (%s..%s): %.1f dBFS" % (self.sink, what, hms(tod_from, 1),
                                                          hms(tod_to, 1), level))
        return level

    def last_sound(self, threshold_dbfs=-60.0):
        """The monotonic time at which the last block louder than the threshold ended."""
        blocks = envelope(self.samples())
        threshold = 10 ** (threshold_dbfs / 20)
        loud = [i for i, value in enumerate(blocks) if value > threshold]
        if not loud:
            return None
        return self.origin + (loud[-1] + 1) * ENVELOPE_S

    def stop(self):
        self.recorder.stop()


class Session(CallSession):
    """The program on a fake clock the test moves between prayer times. Times of day are seconds
    after midnight of DATE; the recordings come from Listeners, one per sink and server life."""

    def __init__(self, desktop, binary):
        super().__init__(desktop, binary, DATE, None)
        self._midnight = FakeClock.epoch(DATE + " 00:00:00")
        self.listeners = []
        self.clock = None

    def start(self, start_tod):
        self.start_tod = start_tod
        self.clock = self.desktop.fake_clock(self._midnight + self.start_tod)
        self.program = self.desktop.start_program(self.binary, faketime=self.clock)
        print("program started at %s %s (fake clock)" % (DATE, hms(self.start_tod)))
        return self

    def listen(self, sink=None):
        listener = Listener(self, sink)
        self.listeners.append(listener)
        return listener

    def stop(self):
        if self.program is not None:
            log = self.program.log()
            self.program.stop()
            if log.strip():
                print("--- program output ---\n" + log[-2000:])
        for listener in self.listeners:
            listener.stop()

    def now(self):
        return self.clock.now() - self._midnight

    def monotonic_of(self, tod):
        return time.monotonic() + (tod - self.now())

    def shown_clock(self):
        return clock_seconds(self.desktop.text(self.control("Label3")))

    def move_clock(self, tod):
        """Sets the program's clock to tod and waits until its window shows it."""
        self.clock.set(self._midnight + tod)
        wait_until(lambda: abs(self.shown_clock() - self.now()) <= 2, 10, interval=0.2,
                   what="the window's clock to show %s" % hms(tod))
        print("clock moved to %s" % hms(tod))

    def clock_state(self):
        """How the window's clock behaves over two seconds, in words."""
        try:
            first = self.desktop.text(self.control("Label3", timeout=3))
            time.sleep(2.2)
            second = self.desktop.text(self.control("Label3", timeout=3))
        except TimeoutError:
            return "does not answer over AT-SPI (the program hangs)"
        return "%s (%s, then %s)" % ("ticks" if second != first else "stands still", first,
                                     second)

    def ticking(self):
        """The window's clock moves on over two seconds and the program still runs."""
        state = self.clock_state()
        check(self.program.alive() and state.startswith("ticks"),
              "the program runs and its clock %s" % state)

    def check_quiet_output(self, when):
        log = self.program.log()
        found = [line for line in log.splitlines() if CHATTER.search(line)]
        check(not found, "no sound library's messages in the program's output %s%s"
              % (when, (": %r" % found[:5]) if found else ""))

    def streams(self):
        """The sinks the program's playback streams are on."""
        return [entry["sink"] for entry in self.desktop.pulse.sink_inputs(self.program.pid)]


def expect_call(session, recordings, listener, slot, what):
    """The strip at the slot's time and the muezzin's recording heard on listener's sink;
    returns the time of day the recording starts."""
    due = prayer(slot)
    _, _, shown = session.wait_strip(timeout=due + 8 - session.now())
    print("strip shown at %s (%+.2f s)" % (hms(shown, 2), shown - due))
    check(due - 1 <= shown <= due + 3, "the strip appears at the %s time" % what)
    listener.wait_recorded(due + HEARD_S + 2)
    onset = recordings.expect_heard(listener.samples(), listener, due - 3, due + 5, MUEZZIN,
                                    "at the %s call on %s" % (what, listener.sink),
                                    length_s=HEARD_S)
    check(due - 1 <= onset <= due + 3, "the %s call starts on time (%s)" % (what, hms(onset, 2)))
    level = listener.level(onset, onset + HEARD_S, "of the %s call" % what)
    check(level > AUDIBLE_DBFS, "the %s call is audible on %s (%.1f dBFS)"
          % (what, listener.sink, level))
    return onset


# ----- the cases ---------------------------------------------------------------------------------

def heard_from(session, recordings, listener, since, what):
    """The muezzin's recording heard from its beginning within seconds of since."""
    listener.wait_recorded(since + HEARD_S + 5)
    onset = recordings.expect_heard(listener.samples(), listener, since - 1, since + 5, MUEZZIN,
                                    what, length_s=HEARD_S)
    check(since - 0.5 <= onset <= since + 3, "%s: it starts %.1f s after %s"
          % (what, onset - since, hms(since, 1)))
    return onset


def strip_waits_for_the_output(session, noon, what):
    _, _, shown = session.wait_strip(timeout=noon + 8 - session.now())
    print("strip shown at %s (%+.2f s from noon)" % (hms(shown, 2), shown - noon))
    check(noon - 1 <= shown <= noon + 3, "the noon strip appears %s" % what)
    session.sleep_until(noon + 10)
    check(session.strips() != [], "the strip stays while the output is tried again")
    session.ticking()


def no_server_at_start(desktop, session, recordings):
    noon = prayer(NOON)
    check(not os.path.exists(desktop.pulse.socket),
          "nothing listens at the program's PULSE_SERVER yet")
    session.start(noon - 25)
    session.main_window()
    session.accessible()
    session.ticking()
    strip_waits_for_the_output(session, noon, "without a sound server")
    session.check_quiet_output("without a sound server")

    # The sound server comes up where the program looks for it, during the strip's minute.
    desktop.pulse.start()
    up = session.now()
    print("sound server up at %s" % hms(up, 1))
    listener = session.listen()
    heard_from(session, recordings, listener, up, "the noon call once the server is up")
    check_equal(session.streams(), [desktop.pulse.sink], "sinks of the program's streams")
    session.check_quiet_output("after the server came up")


def server_restart(desktop, session, recordings):
    noon, asr = prayer(NOON), prayer(ASR)
    first = session.listen()
    session.start(noon - 20)
    session.main_window()
    session.accessible()
    session.wait_strip(timeout=noon + 8 - session.now())
    first.wait_recorded(noon + 6)
    playing = first.level(noon + 1, noon + 6, "of the noon call before the server goes")
    check(playing > AUDIBLE_DBFS, "the noon call plays (%.1f dBFS)" % playing)

    killed = session.now()
    desktop.pulse.kill()
    print("sound server killed at %s, %.1f s into the call" % (hms(killed, 1), killed - noon))
    try:
        gone = session.wait_strip_gone(timeout=10)
    except TimeoutError:
        raise Failure("the strip is still shown 10 s after the sound server went; the window's "
                      "clock %s" % session.clock_state())
    print("strip closed %.1f s after the server went" % (gone - killed))
    check(gone - killed <= 6, "the strip closes within seconds of losing the server (%.1f s)"
          % (gone - killed))
    session.ticking()

    desktop.pulse.start()
    print("sound server back at %s" % hms(session.now(), 1))
    session.move_clock(asr - 12)
    second = session.listen()
    quiet_from = session.now() + 0.5
    expect_call(session, recordings, second, ASR, "afternoon")
    before = second.level(quiet_from, asr - 1.5, "before the afternoon call")
    check(before < QUIET_DBFS, "nothing sounds before the call (%.1f dBFS)" % before)
    session.check_quiet_output("after the server was killed and restarted")


def hung_server(desktop, session, recordings):
    noon = prayer(NOON)
    desktop.pulse.pause()
    print("sound server stopped: it accepts connections and answers nothing")
    started = time.monotonic()
    session.start(noon - 25)
    session.main_window()
    took = time.monotonic() - started
    print("main window shown %.1f s after the start" % took)
    check(took <= 15, "the window shows within seconds of the start while the server hangs "
          "(%.1f s)" % took)
    session.accessible()
    session.ticking()
    strip_waits_for_the_output(session, noon, "on time while the server hangs")

    desktop.pulse.resume()
    woke = session.now()
    print("sound server answers again at %s" % hms(woke, 1))
    listener = session.listen()
    # The open that waited on the server may finish before the listener records: the call is
    # heard, if not always from its first second here.
    listener.wait_recorded(woke + 7)
    level = listener.level(woke + 2, woke + 7, "once the server answers")
    check(level > AUDIBLE_DBFS, "the noon call sounds once the server answers (%.1f dBFS)"
          % level)
    session.check_quiet_output("after the server hung and woke")


def default_output(desktop, session, recordings):
    noon, asr, maghrib = prayer(NOON), prayer(ASR), prayer(MAGHRIB)
    first = session.listen()
    session.start(noon - 15)
    session.main_window()
    session.accessible()
    expect_call(session, recordings, first, NOON, "noon")
    check_equal(session.streams(), [desktop.pulse.sink], "sinks of the program's streams at noon")

    # The call plays to its end; the output goes a few seconds later.
    session.wait_strip_gone(timeout=recordings.duration(MUEZZIN) + 10)
    wait_until(lambda: not session.streams(), 15, interval=0.1, what="the program's stream to go")
    closed = time.monotonic()
    ended = first.last_sound()
    print("noon call's sound ended %.1f s before the program's stream left the server"
          % (closed - ended))
    check(4 <= closed - ended <= 8, "the output closes some seconds after the last sound "
          "(%.1f s)" % (closed - ended))

    # Headphones plugged in and chosen between two calls.
    desktop.pulse.add_sink(SECOND_SINK)
    desktop.pulse.set_default_sink(SECOND_SINK)
    second = session.listen(SECOND_SINK)
    session.move_clock(asr - 10)
    onset = expect_call(session, recordings, second, ASR, "afternoon")
    on_first = first.level(onset, onset + HEARD_S, "while the afternoon call plays")
    check(on_first < QUIET_DBFS, "the old default output stays silent (%.1f dBFS)" % on_first)
    check_equal(session.streams(), [SECOND_SINK], "sinks of the program's streams at the "
                "afternoon call")

    # The default changes back while the call plays.
    switched = session.now()
    desktop.pulse.set_default_sink(desktop.pulse.sink)
    time.sleep(1.0)
    streams = session.streams()
    first.wait_recorded(switched + 6)
    second.wait_recorded(switched + 6)
    after = {listener.sink: listener.level(switched + 1.5, switched + 6, "after the default "
                                           "changed back") for listener in (first, second)}
    carried = [sink for sink, level in after.items() if level > AUDIBLE_DBFS]
    print("default output changed back %.1f s into the call: the stream is on %s; heard on %s"
          % (switched - onset, streams, carried))
    check(len(carried) == 1 and streams == carried, "the playing call goes on, on one output: "
          "the one its stream is on")
    check(bool(session.strips()), "the strip stays while the call goes on")
    # It goes on where it was: the part of the recording due 1.5..5.5 s after the change is
    # found there, not the beginning again nor a part further on.
    carrier = first if carried == [first.sink] else second
    part_from = switched + 1.5 - onset
    part = recordings.envelope(MUEZZIN)[int(part_from / ENVELOPE_S):
                                        int((part_from + 4) / ENVELOPE_S)]
    due = carrier.rec_second(switched + 1.5)
    score, found = align(envelope(carrier.samples()), part, due - 2, due + 2)
    print("the call's part from %.1f s found on %s %+.2f s from where it was due (correlation "
          "%.3f)" % (part_from, carrier.sink, found - due, score))
    check(score > 0.8 and abs(found - due) <= 0.5, "the call goes on where it was")

    session.wait_strip_gone(timeout=recordings.duration(MUEZZIN) + 10)
    session.move_clock(maghrib - 10)
    expect_call(session, recordings, first, MAGHRIB, "sunset")
    on_second = second.level(maghrib, maghrib + HEARD_S, "while the sunset call plays")
    check(on_second < QUIET_DBFS, "the former default stays silent (%.1f dBFS)" % on_second)
    check_equal(session.streams(), [desktop.pulse.sink], "sinks of the program's streams at "
                "the sunset call")
    session.check_quiet_output("after the outputs changed")


def asleep(session, asleep_tod, wake_tod):
    """Stops the program at asleep_tod, moves its clock to wake_tod, and wakes it."""
    session.sleep_until(asleep_tod)
    os.kill(session.program.pid, signal.SIGSTOP)
    session.clock.set(session._midnight + wake_tod)
    time.sleep(FakeClock.CACHE_S + 0.5)  # its first reading after the wake is the new time
    os.kill(session.program.pid, signal.SIGCONT)
    woke = session.now()
    print("asleep at %s, woken at %s" % (hms(asleep_tod), hms(woke)))
    _, _, shown = session.wait_strip(timeout=5)
    check(shown - woke < 2, "the strip shows at the wake (%.1f s)" % (shown - woke))


def sleep(desktop, session, recordings):
    noon, asr = prayer(NOON), prayer(ASR)
    listener = session.listen()
    session.start(noon - 40)
    session.main_window()
    session.accessible()
    asleep(session, noon - 25, noon + 180)
    heard_from(session, recordings, listener, noon + 180, "the noon call at the wake")
    session.wait_strip_gone(timeout=30)

    session.move_clock(noon - 10)
    back = session.now()
    session.sleep_until(noon + 12)
    check_equal(session.strips(), [], "no second strip at noon after the clock went back")
    check(listener.level(back, noon + 12, "after the clock went back") < QUIET_DBFS,
          "no second call")

    asleep(session, noon + 20, asr + 7200)
    # Spelled here: "The afternoon call was at 03:42 PM".
    check_equal(desktop.text(session.control("AlertWindow.Label1")).translate(INVISIBLE).strip(),
                "أذان العصر كان الساعة 03:42 PM", "the strip says when the afternoon call came")
    quiet_from = session.now()
    session.sleep_until(quiet_from + 8)
    check(listener.level(quiet_from, quiet_from + 8, "two hours late") < QUIET_DBFS,
          "nothing sounds two hours late")


CASES = {
    "no_server_at_start": (no_server_at_start, False),
    "server_restart": (server_restart, True),
    "hung_server": (hung_server, True),
    "default_output": (default_output, True),
    "sleep": (sleep, True),
}


def run_case(program, name):
    case, server_up = CASES[name]
    recordings = Recordings(program)
    with Desktop(tray=True, start_sound_server=server_up) as desktop:
        marker = desktop.dir
        seed_settings(desktop, city=CITY, muezzin=MUEZZIN, lead=0, volume=VOLUME, language=0,
                      logon=0)
        session = Session(desktop, program)
        try:
            case(desktop, session, recordings)
        finally:
            session.stop()
    check_equal(leftover_processes(marker), [], "processes left of the desktop")


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--program", required=True, help="the built tirvelon binary")
    parser.add_argument("--out", help="unused; accepted like the other scripts")
    parser.add_argument("--case", choices=sorted(CASES))
    args = parser.parse_args()
    program = os.path.abspath(args.program)
    if args.case is not None:
        try:
            run_case(program, args.case)
        except (Failure, TimeoutError) as failure:
            print("FAIL:", failure, file=sys.stderr)
            return 1
        print("PASS")
        return 0
    failed = []
    for name in CASES:
        print("===== %s" % name, flush=True)
        result = subprocess.run([sys.executable, os.path.abspath(__file__), "--program", program,
                                 "--case", name])
        if result.returncode != 0:
            failed.append(name)
    if failed:
        print("failed: %s" % ", ".join(failed))
    print("%d passed, %d failed" % (len(CASES) - len(failed), len(failed)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
