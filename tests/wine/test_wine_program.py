#!/usr/bin/python3
"""The Windows program as a Windows user gets it, under Wine on the test desktop: the installer
run silently into a folder whose path has spaces, then the installed program started three times
under faketime on 21 March 2026 with Sulaymaniyah saved as the city. Its sound goes through
Wine's WASAPI into the desktop's PulseAudio and is measured on the null sinks' monitors.

First start, a minute before the noon call (muezzin 3, the slider saved at 70): the installed
files and the uninstall entry; the start-up sound, whole and at the players' volume of 50; the
491 x 272 window and its six times, read back from a screenshot, against the committed table;
the logon start value "Delkaro" written quoted for the path with spaces; a preview from the play
button, 3.mp3 at the slider's volume through the players' taper, and silence after its stop; a
second null sink made the default output between two sounds and during one (the next sound
follows the new default, and so does a sound in progress); the noon call at the noon time,
3.mp3, and the strip's slide-out when its close mark is clicked: the strip leaves the screen in
about 1.4 s, the call fades out over about a second and plays on faintly, and the strip closes at
the recording's end; the clock dialog and the about window; the box unticked empties the value
and stores "0"; a second start ends with status 0 and brings the hidden window back; a close
through the window manager stores the choices.

The prefix's Windows user is named in Arabic script, and so are the folders of its profile.
Second start: the program holds no sound output while quiet, and its idle cost is measured over
a minute; before it, a copy of 2.mp3 in the user's Music folder (its path in Arabic script) is
chosen for muezzin 3 in the muezzin list's menu and Windows' file dialog, copied into the user's
APPDATA as the user's own 3.mp3, and the noon call plays it instead of the shipped one; the media
Stop key then stops the call: the strip slides out and the sound goes. Third start, just before dawn with muezzin 2
chosen: the dawn call plays the dawn recording 7.mp3. Fourth start, on a clock the test moves:
the program stopped (SIGSTOP, as a machine asleep) before noon and woken three minutes after it
plays the noon call at the wake. Then the uninstaller. Every sound heard is
checked for breaks against its recording.

Screenshots of the main window, the strip, the clock dialog and the about window go to the
output folder (and to docs/windows/ with TIRVELON_UPDATE_DOCS=1). Printed: time from the start
to the window, peak memory (VmHWM) and thread count of the Wine process running tirvelon.exe,
its idle CPU over a minute, and the levels heard on each sink."""

import array
import datetime
import glob
import math
import os
import shutil
import signal
import subprocess
import sys
import threading
import time

from wine_support import SOURCE_DIR, Desktop, Listening, WinePrefix, arguments, \
    leftover_processes, ocr, program_pids, require

from e2e_support import check, check_equal, eventually, run  # noqa: I
from test_call_common import (QUIET_DBFS, RATE, Recordings, align, dbfs, decode,  # noqa: E402
                              envelope, slot_minutes, window_map_state)
from test_call_slideout import runs, track  # noqa: E402
from test_dialogs_support import stop  # noqa: E402
from test_mainwindow import slot_text  # noqa: E402
import audio  # noqa: E402
import procs  # noqa: E402

INSTALL_DIR = r"C:\Program Files\Tirvelon Test\Prayer Times"
SETTINGS_KEY = r"HKCU\Software\Tirvelon\Tirvelon\Settings"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
UNINSTALL_KEY = r"Software\Microsoft\Windows\CurrentVersion\Uninstall\Tirvelon"
# The prefix's Windows user, named in Arabic script: its profile, and APPDATA with it, is
# C:\users\بانگ\AppData\Roaming.
USER = "بانگ"
DAY = datetime.date(2026, 3, 21)
CITY = 2  # Sulaymaniyah
DAWN, NOON = 0, 2
MUEZZIN = 3  # its opening is unlike every other recording's, so a few seconds tell it apart
DAWN_MUEZZIN = 2
STAND_IN = 2  # the shipped recording copied in as the user's own 3.mp3
VOLUME = 70
START_VOLUME = 50  # the start-up sound's player keeps the players' initial volume
NOON_LEAD_S = 75  # the first start, this long before the noon call
USERS_LEAD_S = 110  # the second: a recording chosen and a minute of idle fit before the call
DAWN_LEAD_S = 20
IDLE_S = 60
PREVIEW_S = 6
HEARD_S = 8  # of a call, compared against the recordings
# The slide-out's click, this far into the call at the earliest: the call's start is timed and
# the recording told apart from the others before it. It comes half a second into SPEECH_S of
# speech without a pause, so that the fade is heard all the way.
CLICK_FROM_S = 6.0
SPEECH_S = 3.0
MAIN_SIZE = (491, 272)
STRIP_SIZE = (288, 30)
AUDIBLE_DBFS = -50.0
TAPER_TOLERANCE_DB = 1.5
MAX_BREAKS = 0.02  # of a sound's 10 ms windows, silent where the recording sounds
SECOND_SINK = "second"
# Wine's PulseAudio driver keeps only 5 to 20 ms of the program's sound in the server, whatever
# buffer the program asks WASAPI for; with two busy processes on two cores that left 70 to 230 of
# 1000 10-ms windows of a call silent, where Windows holds the program's whole buffer. Asked for
# more, as a Wine desktop can be set up, the server holds 110 to 150 ms and the call plays whole.
WINE_PULSE_ENV = {"PULSE_LATENCY_MSEC": "300"}

# Where the window shows what is read back, in pixels of the 491 x 272 window (twips / 15):
# LB(k) in Frame1 (180, 480) at (270, 270 + 360 k), 1095 x 255; the clock Label3 at
# (3960, 480), 2985 x 495.
TIME_BOXES = [(30, 50 + 24 * k, 73, 17) for k in range(6)]
CLOCK_BOX = (264, 32, 199, 33)
# Controls clicked, at their middle: Check1 (360, 3675, 3375 x 255: the logon box), Command2
# (240, 3030, 855 x 420: the clock dialog), Label5 (615, 60, 1350 x 255: about), Command1 in
# Frame2 (3690, 1230) at (150, 1590), 465 x 390 (the preview button); on the strip, its close
# mark Label2 (3960, 120, 255 x 240).
CHECK1_AT = (136, 253)
COMMAND2_AT = (48, 216)
LABEL5_AT = (86, 12)
COMMAND1_AT = (271, 201)
COMBO2_AT = (324, 118)  # Combo2 in Frame2 at (150, 390), 2055 x 315: the muezzin list
LABEL2_AT = (272, 16)


def xdotool(*args):
    return subprocess.run(["xdotool", *[str(a) for a in args]], capture_output=True, text=True,
                          timeout=30).stdout


def click(x, y):
    xdotool("mousemove", x, y)
    time.sleep(0.1)
    xdotool("click", 1)


def crop(screenshot, box, path):
    x, y, width, height = box
    subprocess.run(["convert", screenshot, "-crop", "%dx%d+%d+%d" % (width, height, x, y),
                    "+repage", path], check=True, timeout=60)
    return path


# ----- the program's process ----------------------------------------------------------------------

def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def status(pid):
    """(peak memory VmHWM in MB, thread count) of a process."""
    values = {}
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            name, _, value = line.partition(":")
            values[name] = value.split()
    return int(values["VmHWM"][0]) / 1024, int(values["Threads"][0])


class Start:
    """The installed program started with its clock at a moment (a datetime): its process, the
    Unix pid running tirvelon.exe, and where a moment of its clock falls on time.monotonic()."""

    def __init__(self, desktop, wine, exe, moment, name):
        self.desktop = desktop
        self.moment = moment
        self.launched = time.monotonic()
        self.program = wine.start(exe, faketime=moment.strftime("%Y-%m-%d %H:%M:%S"),
                                  env=WINE_PULSE_ENV, name=name)
        print("%s: started at %s (fake clock)" % (name, moment))

    def at(self, moment):
        return self.launched + (moment - self.moment).total_seconds()

    def main_window(self):
        found = procs.wait_until(lambda: self.desktop.windows(title="Tirvelon"), 60,
                                 interval=0.1, what="the main window")
        self.window_s = time.monotonic() - self.launched
        print("window shown %.2f s after the start" % self.window_s)
        pids = program_pids(self.desktop.dir)
        check_equal(len(pids), 1, "processes running tirvelon.exe")
        self.pid = pids[0]
        return found[0]

    def strip(self, timeout):
        return procs.wait_until(lambda: self.desktop.windows(title="Tirvelon alert"), timeout,
                                interval=0.1, what="the alert strip")[0]

    def close(self, window):
        self.desktop.close_window(window)
        return self.program.wait(30)


class Closing(threading.Thread):
    """Notes, in the background, the moment a window is destroyed: the test meanwhile clicks
    through dialogs and starts a second copy, and would see it late."""

    def __init__(self, wid):
        super().__init__(daemon=True)
        self.wid = wid
        self.at = None
        self._done = threading.Event()
        self.start()

    def run(self):
        while not self._done.is_set():
            if window_map_state(self.wid) is None:
                self.at = time.monotonic()
                return
            self._done.wait(0.1)

    def wait(self, timeout):
        """The moment the window went; fails when it is still there after timeout seconds."""
        self.join(max(0.0, timeout))
        self._done.set()
        check(self.at is not None, "window %#x is closed" % self.wid)
        return self.at


def moment_of(minutes):
    return datetime.datetime.combine(DAY, datetime.time()) + datetime.timedelta(minutes=minutes)


# ----- what is heard ------------------------------------------------------------------------------

def taper_db(volume):
    """The players' gain at a volume 0..100 in dB: -ln(1 - v/100) / ln(100), unity from 99."""
    if volume >= 99:
        return 0.0
    return 20 * math.log10(-math.log(1 - volume / 100.0) / math.log(100))


def check_heard(level, what):
    check(level > AUDIBLE_DBFS, "%s is heard (%.1f dBFS)" % (what, level))


def check_quiet(level, what):
    check(level < QUIET_DBFS, "%s is silent (%.1f dBFS)" % (what, level))


def streams(desktop, pid):
    """The sinks the process's playback streams are on."""
    return [entry["sink"] for entry in desktop.pulse.sink_inputs(pid)]


def profile(sinks, start, end):
    """Loudness in 0.1 s steps on each sink between two moments, for the log."""
    lines = []
    for heard in sinks:
        samples = heard.samples()
        levels = []
        moment = start
        while moment < end - 0.05:
            levels.append("%4.0f" % dbfs(samples, heard.rec_second(moment),
                                         heard.rec_second(moment + 0.1)))
            moment += 0.1
        lines.append("  %-14s %s" % (heard.sink, " ".join(levels)))
    return "\n".join(lines)


def speech_from(reference, earliest_s, seconds):
    """The first moment, earliest_s or later into a recording, that begins seconds of speech
    without a pause: every 0.1 s of it above -40 dBFS."""
    moment = earliest_s
    while moment + seconds < len(reference) / RATE:
        quiet = next((k for k in range(int(seconds * 10))
                      if dbfs(reference, moment + k / 10, moment + (k + 1) / 10) <= -40), None)
        if quiet is None:
            return moment
        moment += (quiet + 1) / 10
    raise ValueError("no %.1f s of speech without a pause after %.1f s" % (seconds, earliest_s))


def fade_gains(heard, reference, onset, start, end, step=0.1):
    """(moment, gain in dB) of what was heard against the recording that started at onset, in
    step windows between two moments; None where the recording itself is quiet (below -40 dBFS),
    whose windows say little."""
    samples = heard.samples()
    gains = []
    moment = start
    while moment < end - step / 2:
        original = dbfs(reference, moment - onset, moment - onset + step)
        level = dbfs(samples, heard.rec_second(moment), heard.rec_second(moment + step))
        gains.append((moment, level - original if original > -40 else None))
        moment += step
    return gains


def check_whole(heard, onset, reference, seconds, what):
    """Checks that a sound plays without breaks: over its first seconds, the 10 ms windows in
    which the recording sounds but nothing was heard. Lined up to 10 ms first: the 50 ms
    envelopes that found the onset are coarser."""
    samples = heard.samples()
    step = RATE // 100
    expected = envelope(reference[:int(seconds * RATE)], 0.01)
    start = int(heard.rec_second(onset) * RATE)

    def heard_from(shift):
        first = start + shift * step
        return envelope(samples[first:first + len(expected) * step], 0.01)
    shift = max(range(-10, 11), key=lambda k: sum(a * b for a, b in zip(heard_from(k), expected)))
    got = heard_from(shift)
    # Inside sounding stretches (above -40 dBFS), not at their edges, where 10 ms of alignment
    # decide.
    sounding = [i for i in range(1, len(expected) - 1) if min(expected[i - 1:i + 2]) > 0.01]
    silent = [i for i in sounding if i >= len(got) or got[i] < 1e-4]  # below -80 dBFS
    print("%s: %d of the %d 10 ms windows in which the recording sounds were silent (%s)"
          % (what, len(silent), len(sounding),
             ", ".join("%.2f s" % (i / 100.0) for i in silent[:8]) or "none"))
    check(len(silent) <= MAX_BREAKS * len(sounding), "%s plays without breaks" % what)


def startup_sound(heard, launched, until, recordings):
    """The start-up sound: once, whole, at the players' initial volume."""
    samples = heard.samples()[int(heard.rec_second(launched) * RATE):
                              int(heard.rec_second(until) * RATE)]
    sounding = audio.sounding_seconds(samples)
    loudest = max((level for _, level in audio.loudness(samples)), default=audio.SILENCE_DBFS)
    original = decode(os.path.join(recordings.folder, "Wave.wav"))
    file_levels = [level + taper_db(START_VOLUME) for _, level in audio.loudness(original)]
    file_sounding = sum(0.1 for level in file_levels if level > -60)
    print("start-up sound: %.1f s above -60 dBFS, loudest 0.1 s %.1f dBFS; Wave.wav at volume "
          "%d: %.1f s, %.1f dBFS" % (sounding, loudest, START_VOLUME, file_sounding,
                                      max(file_levels)))
    check_heard(loudest, "the start-up sound")
    check(abs(sounding - file_sounding) <= 0.4, "the start-up sound is heard once, whole")
    check(abs(loudest - max(file_levels)) <= 3.0,
          "the start-up sound is as loud as Wave.wav at volume %d" % START_VOLUME)


def press_preview(desktop, window, shows_strip):
    """Clicks the play button; returns the moment once the strip came or went with it."""
    x, y, _, _ = desktop.window_geometry(window)
    at = time.monotonic()
    click(x + COMMAND1_AT[0], y + COMMAND1_AT[1])
    procs.wait_until(lambda: bool(desktop.windows(title="Tirvelon alert")) == shows_strip, 10,
                     interval=0.1, what="the preview's strip %s" % ("shown" if shows_strip
                                                                    else "gone"))
    return at


# ----- the parts ----------------------------------------------------------------------------------

def install(wine, setup):
    start = time.monotonic()
    # /D= takes the rest of the command line as it is, spaces and all, and no quotes: cmd
    # passes the line on untouched, where wine itself would quote the argument.
    wine.run(["cmd", "/c", "%s /S /D=%s" % (wine.windows_path(setup), INSTALL_DIR)],
             timeout=300)
    wine.wait_idle()
    print("installed in %.1f s" % (time.monotonic() - start))
    installed = wine.unix_path(INSTALL_DIR)
    for name in ("tirvelon.exe", "uninstall.exe", "Qt6Core.dll", "platforms/qwindows.dll",
                 "Data/5.mp3", "Data/7.mp3", "Data/Wave.wav", "Data/KCOURK.Fnt"):
        check(os.path.isfile(os.path.join(installed, name)), "installed: " + name)
    entry = wine.reg_values("HKCU\\" + UNINSTALL_KEY) or wine.reg_values("HKLM\\" + UNINSTALL_KEY)
    check_equal(entry.get("DisplayName"), "Tirvelon", "uninstall entry's name")
    check_equal(entry.get("InstallLocation"), INSTALL_DIR, "uninstall entry's folder")
    return installed


def preview(desktop, window):
    """A preview played for a few seconds and stopped; returns the moments of the two clicks."""
    pressed = press_preview(desktop, window, True)
    time.sleep(PREVIEW_S)
    return pressed, press_preview(desktop, window, False)


def preview_heard(heard, recordings, pressed, stopped):
    """The preview at the slider's volume, heard through the taper, and silence after its
    stop."""
    onset = recordings.expect_heard(heard.samples(), heard, pressed - 1, pressed + 3, MUEZZIN,
                                    "in the preview", length_s=PREVIEW_S - 2)
    print("preview sounds %.2f s after the click" % (onset - pressed))
    playing = heard.level(onset + 0.5, stopped - 0.2, "of the preview at volume %d" % VOLUME)
    reference = dbfs(recordings.samples(MUEZZIN), 0.5, stopped - 0.2 - onset)
    gain = playing - reference
    print("%d.mp3 there: %.1f dBFS, so the gain is %.1f dB; the taper at %d gives %.1f dB"
          % (MUEZZIN, reference, gain, VOLUME, taper_db(VOLUME)))
    check_heard(playing, "the preview")
    check_whole(heard, onset, recordings.samples(MUEZZIN), stopped - 0.2 - onset, "the preview")
    check(abs(gain - taper_db(VOLUME)) <= TAPER_TOLERANCE_DB,
          "the preview plays at the slider's volume through the taper (%.1f dB)" % gain)
    check_quiet(heard.level(stopped + 0.7, stopped + 3, "after the stop"), "the stopped preview")


class Mixed:
    """What several sinks played between two moments, added up into one recording: a sound that
    moved from one to the other is whole in it when it moved without a break."""

    def __init__(self, listenings, start, end):
        self.start = start
        count = int((end - start) * RATE)
        total = [0] * count
        for heard in listenings:
            heard.wait_recorded(end)
            samples = heard.samples()
            first = int(heard.rec_second(start) * RATE)
            for i, value in enumerate(samples[first:first + count]):
                total[i] += value
        self._samples = array.array("h", (max(-32768, min(32767, v)) for v in total))

    def samples(self):
        return self._samples

    def rec_second(self, moment):
        return moment - self.start


def default_output(desktop, window, start, heard, other, stopped, recordings):
    """The default sink moved to the second one with the output still open after a sound, moved
    back during the next sound, and moved again once the output had closed; the sound's sink is
    measured each time. Ends with the first sink the default again."""
    pulse = desktop.pulse

    def on(start_at, end_at, what):
        return heard.level(start_at, end_at, what), other.level(start_at, end_at, what)

    # With the output open but quiet (it closes 5 s after the last sound).
    time.sleep(max(0.0, stopped + 3.2 - time.monotonic()))
    check(streams(desktop, start.pid) != [], "the output is still open after the preview")
    pulse.set_default_sink(other.sink)
    pressed = press_preview(desktop, window, True)
    time.sleep(2.8)  # into the recording's first stretch of speech
    print("streams of the program: %s" % streams(desktop, start.pid))
    moved = time.monotonic()
    pulse.set_default_sink(heard.sink)
    time.sleep(3)
    print("streams of the program: %s" % streams(desktop, start.pid))
    stopped = press_preview(desktop, window, False)
    open_output = on(pressed + 1.0, moved - 0.1, "the next sound, default changed while open")
    in_progress = on(moved + 1.0, stopped - 0.2, "the same sound after the default moved back")
    print("around the change during the sound (0.1 s steps from 0.3 s before):\n"
          + profile((heard, other), moved - 0.3, moved + 1.2))
    both = Mixed((heard, other), pressed - 1, stopped)
    score, at = align(envelope(both.samples()), recordings.envelope(MUEZZIN), 0, 4, length_s=3)
    check(score > 0.8, "the moved preview is %d.mp3 (correlation %.3f)" % (MUEZZIN, score))
    onset = pressed - 1 + at
    print("the default output changed %.2f s into the recording" % (moved - onset))
    moved_sound = (onset, stopped - 0.2 - onset)

    # With the output closed.
    procs.wait_until(lambda: not streams(desktop, start.pid), 15, interval=0.1,
                     what="the output to close")
    closed = time.monotonic()
    print("output closed %.1f s after the preview's stop" % (closed - stopped))
    pulse.set_default_sink(other.sink)
    pressed = press_preview(desktop, window, True)
    time.sleep(3)
    print("streams of the program: %s" % streams(desktop, start.pid))
    stopped = press_preview(desktop, window, False)
    pulse.set_default_sink(heard.sink)
    fresh = on(pressed + 1.0, stopped - 0.2, "the next sound, default changed while closed")

    check(fresh[1] > AUDIBLE_DBFS and fresh[0] < QUIET_DBFS,
          "the next sound after the output closed plays on the new default output")
    check(open_output[1] > AUDIBLE_DBFS and open_output[0] < QUIET_DBFS,
          "the next sound on an output left open plays on the new default output")
    check(in_progress[0] > AUDIBLE_DBFS and in_progress[1] < QUIET_DBFS,
          "a sound in progress moves to the new default output")
    check_whole(both, moved_sound[0], recordings.samples(MUEZZIN), moved_sound[1],
                "the preview that moved between the outputs")


def noon_call_and_slide_out(desktop, start, heard, recordings, noon, shots, out):
    """The noon call at the noon time, its strip, and the slide-out from its close mark; returns
    (the strip's closing, moment the call started, the recording's length)."""
    reference = recordings.samples(MUEZZIN)
    length = len(reference) / RATE
    # Half a second into a stretch of speech long enough to hear the whole fade in.
    click_offset = speech_from(reference, CLICK_FROM_S, SPEECH_S) + 0.5
    strip = start.strip(start.at(noon) + 30 - time.monotonic())
    seen = time.monotonic()
    print("strip shown %+.2f s from the noon time" % (seen - start.at(noon)))
    check(start.at(noon) - 1 <= seen <= start.at(noon) + 3, "the strip appears at noon")
    box = desktop.window_geometry(strip)
    check_equal(box[2:], STRIP_SIZE, "strip size")
    time.sleep(0.5)
    shot = desktop.screenshot(os.path.join(out, "wine-screen-call.png"))
    shots["alert"] = crop(shot, box, os.path.join(out, "alert.png"))

    # Where the call started, from what was heard so far, fixes the click's moment.
    heard.wait_recorded(seen + 4.5)
    score, at = align(envelope(heard.samples()), recordings.envelope(MUEZZIN),
                      heard.rec_second(seen - 4), heard.rec_second(seen + 2), length_s=4)
    check(score > 0.8, "%d.mp3 starts to sound (correlation %.3f)" % (MUEZZIN, score))
    onset = heard.tod_of(at)
    time.sleep(max(0.0, onset + click_offset - 0.05 - time.monotonic()))
    click(box[0] + LABEL2_AT[0], box[1] + LABEL2_AT[1])
    clicked = time.monotonic()
    print("close mark clicked %.2f s into the call" % (clicked - onset))
    closing = Closing(strip)
    path = track(heard, strip, seconds=2.5)
    heard.wait_recorded(clicked + 8)

    found = recordings.expect_heard(heard.samples(), heard, start.at(noon) - 3,
                                    start.at(noon) + 5, MUEZZIN, "at noon",
                                    length_s=clicked - onset - 0.3)
    print("the call starts %+.2f s from the noon time" % (found - start.at(noon)))
    check(start.at(noon) - 1 <= found <= start.at(noon) + 3, "the call starts at noon")
    check_whole(heard, found, reference, clicked - found - 0.1, "the noon call")

    # The fade follows the strip, which Wine starts moving a little after the click (more on
    # a busy machine): the windows during and after the slide count from its first step.
    print("strip seen after the click (top/map state x times): %s" % runs(path))
    moved = next((t for t, top, state in path if top != box[1] or state != "IsViewable"), None)
    check(moved is not None, "the strip moves after the click")
    print("the strip starts to move %.2f s after the click" % (moved - clicked))
    height = int(xdotool("getdisplaygeometry").split()[1])
    gone = next((t for t, top, state in path if state != "IsViewable" or top >= height), None)
    check(gone is not None, "the strip leaves the screen (last seen at top %d of %d, %s)"
          % (path[-1][1], height, path[-1][2]))
    print("off the screen %.2f s after the click, %.2f s after its first step"
          % (gone - clicked, gone - moved))
    check(0.9 <= gone - moved <= 2.5, "the slide takes about 1.4 s")

    # The gain against the recording itself, in 0.1 s steps. Wine's output runs some tenths of
    # a second behind the program, varying with the load, so the fade is found in it rather than
    # looked for at fixed moments after the click.
    gains = fade_gains(heard, reference, onset, clicked - 1.0, moved + 4.0)
    print("gain of the call from 1 s before the click, 0.1 s steps (dB): %s"
          % " ".join("%.0f" % g if g is not None else "." for _, g in gains))
    before = sorted(g for t, g in gains if g is not None and t < clicked - 0.1)
    playing = before[len(before) // 2]
    fading = next((t for t, g in gains if t >= clicked and g is not None and g < playing - 3),
                  None)
    faded = next((t for t, g in gains if t >= clicked and g is not None and g < -40), None)
    check(abs(playing - taper_db(VOLUME)) <= TAPER_TOLERANCE_DB,
          "the call plays at the slider's volume through the taper (%.1f dB)" % playing)
    check(fading is not None and faded is not None, "the call fades out after the click")
    print("3 dB fainter %.2f s after the click, below -40 dB %.2f s after it"
          % (fading - clicked, faded - clicked))
    check(fading - clicked <= 1.0, "the fade is heard within a second of the click")
    check(0.5 <= faded - fading <= 2.2, "the call fades over about a second, not at once")
    between = [g for t, g in gains if fading <= t < faded and g is not None]
    check(len([g for g in between if playing - 30 < g < playing - 3]) >= 3,
          "on the way it is heard at levels in between")
    parked = [g for t, g in gains if t >= faded + 0.3 and g is not None]
    check(parked and max(parked) < -40, "parked, the call is nearly silent (at most %.1f dB)"
          % max(parked or [0.0]))
    tail = heard.level(faded + 1, faded + 4, "of the call after the slide")
    check(QUIET_DBFS < tail < AUDIBLE_DBFS, "the call plays on faintly (%.1f dBFS)" % tail)
    return closing, onset, length


def dialogs(desktop, window, shots, out):
    x, y, _, _ = desktop.window_geometry(window)
    for name, at in (("clockdialog", COMMAND2_AT), ("about", LABEL5_AT)):
        before = set(desktop.windows())
        click(x + at[0], y + at[1])
        opened = procs.wait_until(lambda: set(desktop.windows()) - before, 20,
                                  interval=0.2, what="the %s window" % name)
        time.sleep(1.5)
        dialog = sorted(opened)[-1]
        shot = desktop.screenshot(os.path.join(out, "wine-screen-%s.png" % name))
        shots[name] = crop(shot, desktop.window_geometry(dialog),
                           os.path.join(out, name + ".png"))
        print("%s window %s at %s" % (name, hex(dialog), desktop.window_geometry(dialog)))
        desktop.close_window(dialog)
        procs.wait_until(lambda: dialog not in desktop.windows(), 20,
                         what="the %s window closed" % name)


def kept(heard, out, name):
    """Keeps a part's recording in the output folder when the part fails."""
    try:
        heard.save(os.path.join(out, "heard-%s-%s.wav" % (name, heard.sink)))
    except Exception as error:  # the failure itself matters more
        print("recording of %s not kept: %s" % (heard.sink, error))


def first_start(args, desktop, wine, exe, recordings, shots, figures):
    minutes = slot_minutes(DAY.day, DAY.month, CITY)
    noon = moment_of(minutes[NOON])
    wine.reg_add(SETTINGS_KEY, "Salat-1", str(CITY))
    wine.reg_add(SETTINGS_KEY, "Salat-2", str(VOLUME))
    wine.reg_add(SETTINGS_KEY, "Salat-4", str(MUEZZIN))
    heard = Listening(desktop)
    other = None
    start = Start(desktop, wine, exe, noon - datetime.timedelta(seconds=NOON_LEAD_S), "noon")
    program = start.program
    try:
        window = start.main_window()
        figures["start"] = start.window_s
        check_equal(desktop.window_geometry(window)[2:], MAIN_SIZE, "main window size")
        time.sleep(2.5)  # the first ticks fill the clock and the Hijri date

        shot = desktop.screenshot(os.path.join(args.out, "wine-screen.png"))
        x, y, _, _ = desktop.window_geometry(window)
        shots["mainwindow"] = crop(shot, (x, y) + MAIN_SIZE,
                                   os.path.join(args.out, "mainwindow.png"))
        expected = [slot_text(m) for m in minutes]
        read = [ocr(shots["mainwindow"], box) for box in TIME_BOXES]
        check_equal(read, expected, "the six times of Sulaymaniyah on 21 March")
        clock = ocr(shots["mainwindow"], CLOCK_BOX)
        check(clock.endswith("AM") or clock.endswith("PM"), "the clock shows %r" % clock)

        startup_sound(heard, start.launched, time.monotonic(), recordings)
        run_value = wine.reg_value(RUN_KEY, "Delkaro")
        check_equal(run_value, '"%s"' % exe, "Delkaro, quoted for the path with spaces")
        check_equal(wine.reg_value(SETTINGS_KEY, "Salat-3"), "1", "Salat-3 after the start")

        # ----- a preview, and the default output moved ------------------------------------------
        # Another output plugged in while the program runs (headphones, a screen's speakers).
        desktop.pulse.add_sink(SECOND_SINK)
        other = Listening(desktop, SECOND_SINK)
        pressed, stopped = preview(desktop, window)
        default_output(desktop, window, start, heard, other, stopped, recordings)
        preview_heard(heard, recordings, pressed, stopped)
        check_quiet(other.level(pressed, stopped + 3, "during the first preview"),
                    "the second output while not the default")
        other.stop()
        other = None
        check(time.monotonic() < start.at(noon) - 3, "the previews are over before noon")

        # ----- the noon call and the slide-out ------------------------------------------------
        closing, onset, length = noon_call_and_slide_out(desktop, start, heard, recordings, noon,
                                                       shots, args.out)

        # ----- the dialogs, while the call plays on faintly ----------------------------------
        dialogs(desktop, window, shots, args.out)

        # ----- the logon box unticked -----------------------------------------------------
        x, y, _, _ = desktop.window_geometry(window)
        click(x + CHECK1_AT[0], y + CHECK1_AT[1])
        procs.wait_until(lambda: wine.reg_value(SETTINGS_KEY, "Salat-3") == "0", 15,
                         what="Salat-3 = 0")
        check_equal(wine.reg_value(RUN_KEY, "Delkaro"), "", "Delkaro emptied, kept")

        # ----- a second start -------------------------------------------------------------
        second = wine.start(exe, name="second-start")
        check_equal(second.wait(60), 0, "a second start's exit status")
        check(program.alive(), "the first copy still runs")
        # The running copy takes the request at its next tick.
        eventually(lambda: wine.reg_value(SETTINGS_KEY, "Close"), "",
                   "Close, once the running copy took the second start's request")

        # ----- the strip closes at the call's end ------------------------------------------
        closed = closing.wait(onset + length + 6 - time.monotonic())
        print("strip closed %.2f s after the recording ended" % (closed - onset - length))
        check(onset + length - 0.5 <= closed <= onset + length + 3.0,
              "the strip closes when the recording ends")

        figures["memory"], figures["threads"] = status(start.pid)

        # ----- a close through the window manager -----------------------------------------
        check_equal(start.close(window), 0, "exit status after a close")
        settings = wine.reg_values(SETTINGS_KEY)
        for name, value in (("Salat-1", str(CITY)), ("Salat-4", str(MUEZZIN)),
                            ("Salat-2", str(VOLUME)), ("Salat-5", "0"), ("Salat-6", "1")):
            check_equal(settings.get(name), value, name + " stored in the registry")
    except BaseException:
        kept(heard, args.out, "noon")
        if other is not None:
            kept(other, args.out, "noon")
        raise
    finally:
        if other is not None:
            other.stop()
        heard.stop()
        stop(program)


def users_recording(desktop, wine, exe, recordings, figures, out):
    """The second start: the idle minute, and the user's own 3.mp3, put into the APPDATA of the
    prefix's user (named in Arabic script), at noon."""
    noon = moment_of(slot_minutes(DAY.day, DAY.month, CITY)[NOON])
    check(os.path.isdir(wine.appdata()), "the prefix user's APPDATA: " + wine.appdata())
    folder = os.path.join(wine.appdata(), "Tirvelon", "Data")
    heard = Listening(desktop)
    start = Start(desktop, wine, exe, noon - datetime.timedelta(seconds=USERS_LEAD_S),
                  "users-recording")
    try:
        window = start.main_window()
        # The start-up sound opened the output; it closes a few seconds after the sound.
        procs.wait_until(lambda: streams(desktop, start.pid), 10, interval=0.1,
                         what="the start-up sound's output")
        procs.wait_until(lambda: not streams(desktop, start.pid), 20, interval=0.1,
                         what="the output to close after the start-up sound")
        print("output closed %.1f s after the start" % (time.monotonic() - start.launched))

        # Chosen from the Music folder the file dialog opens in: C:\users\بانگ\Music.
        music = os.path.join(os.path.dirname(os.path.dirname(wine.appdata())), "Music")
        os.makedirs(music, exist_ok=True)
        shutil.copyfile(recordings.path(STAND_IN), os.path.join(music, "call-2.mp3"))
        x, y, _, _ = desktop.window_geometry(window)
        xdotool("mousemove", x + COMBO2_AT[0], y + COMBO2_AT[1])
        time.sleep(0.1)
        xdotool("click", 3)
        time.sleep(1.5)
        # The Windows style highlights the heading too: the second item is "choose a recording…".
        xdotool("key", "Down", "Down", "Return")
        time.sleep(4)
        xdotool("type", "call-2.mp3")
        xdotool("key", "Return")
        own = os.path.join(folder, "%d.mp3" % MUEZZIN)
        procs.wait_until(lambda: os.path.isfile(own), 20, interval=0.2,
                         what="the chosen recording in " + folder)
        print("chosen: %s" % own)
        # Its preview plays; the play button stops it.
        procs.wait_until(lambda: desktop.windows(title="Tirvelon alert"), 10, interval=0.1,
                         what="the chosen recording's preview")
        press_preview(desktop, window, False)
        procs.wait_until(lambda: not streams(desktop, start.pid), 20, interval=0.1,
                         what="the output to close after the preview")
        check(time.monotonic() < start.at(noon) - IDLE_S - 2,
              "the file is in place %.0f s before the call" % (start.at(noon) - time.monotonic()))

        cpu, began = cpu_seconds(start.pid), time.monotonic()
        figures["idle threads"] = status(start.pid)[1]
        time.sleep(IDLE_S)
        spent, took = cpu_seconds(start.pid) - cpu, time.monotonic() - began
        figures["idle"] = (spent, took)
        check_equal(streams(desktop, start.pid), [], "the program's sound streams while quiet")
        check(time.monotonic() < start.at(noon) - 2, "the idle minute is over before the call")

        start.strip(start.at(noon) + 30 - time.monotonic())
        heard.wait_recorded(start.at(noon) + HEARD_S + 4)
        onset = recordings.expect_heard(heard.samples(), heard, start.at(noon) - 3,
                                        start.at(noon) + 5, STAND_IN, "at noon (the user's file)",
                                        length_s=HEARD_S)
        check(start.at(noon) - 1 <= onset <= start.at(noon) + 3,
              "the user's file starts at noon (%+.2f s)" % (onset - start.at(noon)))
        playing = heard.level(onset, onset + HEARD_S, "of the user's file")
        check_heard(playing, "the user's file")
        check_whole(heard, onset, recordings.samples(STAND_IN), HEARD_S, "the user's file")
        # The media Stop key, to the window with the keyboard: as the strip's close mark.
        xdotool("windowactivate", "--sync", window)
        pressed = time.monotonic()
        xdotool("key", "XF86AudioStop")
        procs.wait_until(lambda: not desktop.windows(title="Tirvelon alert"), 6, interval=0.1,
                         what="the strip to slide out after the Stop key")
        gone = time.monotonic()
        print("strip gone %.2f s after the Stop key" % (gone - pressed))
        heard.wait_recorded(gone + 3)
        after = heard.level(gone + 0.5, gone + 3, "after the Stop key")
        check(after < playing - 35, "the stopped call is gone (%.1f dBFS)" % after)
        figures["memory 2"], figures["threads 2"] = status(start.pid)
        check_equal(start.close(window), 0, "exit status after a close")
    except BaseException:
        kept(heard, out, "users-recording")
        raise
    finally:
        heard.stop()
        stop(start.program)
        # The shipped recordings again for what follows.
        shutil.rmtree(folder, ignore_errors=True)


def dawn(desktop, wine, exe, recordings, out):
    """The third start: just before dawn, another muezzin chosen; the dawn recording sounds."""
    at_dawn = moment_of(slot_minutes(DAY.day, DAY.month, CITY)[DAWN])
    wine.reg_add(SETTINGS_KEY, "Salat-4", str(DAWN_MUEZZIN))
    heard = Listening(desktop)
    start = Start(desktop, wine, exe, at_dawn - datetime.timedelta(seconds=DAWN_LEAD_S), "dawn")
    try:
        window = start.main_window()
        start.strip(start.at(at_dawn) + 30 - time.monotonic())
        seen = time.monotonic()
        print("strip shown %+.2f s from the dawn time" % (seen - start.at(at_dawn)))
        check(start.at(at_dawn) - 1 <= seen <= start.at(at_dawn) + 3,
              "the strip appears at dawn")
        heard.wait_recorded(start.at(at_dawn) + HEARD_S + 4)
        onset = recordings.expect_heard(heard.samples(), heard, start.at(at_dawn) - 3,
                                        start.at(at_dawn) + 5, 7,
                                        "at dawn (muezzin %d chosen)" % DAWN_MUEZZIN,
                                        length_s=HEARD_S)
        check(start.at(at_dawn) - 1 <= onset <= start.at(at_dawn) + 3,
              "the dawn call starts at dawn (%+.2f s)" % (onset - start.at(at_dawn)))
        check_heard(heard.level(onset, onset + HEARD_S, "of the dawn call"), "the dawn call")
        check_whole(heard, onset, recordings.samples(7), HEARD_S, "the dawn call")
        check_equal(start.close(window), 0, "exit status after a close")
    except BaseException:
        kept(heard, out, "dawn")
        raise
    finally:
        heard.stop()
        stop(start.program)


def wake(desktop, wine, exe, recordings, out):
    """The fourth start: asleep over noon, woken three minutes after it; the call at the wake."""
    at_noon = moment_of(slot_minutes(DAY.day, DAY.month, CITY)[2])
    clock = desktop.fake_clock(
        (at_noon - datetime.timedelta(seconds=DAWN_LEAD_S)).strftime("%Y-%m-%d %H:%M:%S"))
    noon_epoch = time.mktime(at_noon.timetuple())
    heard = Listening(desktop)
    # The clock file read at every reading, so a move is seen at once.
    program = wine.start(exe, faketime=clock, env={**WINE_PULSE_ENV, "FAKETIME_NO_CACHE": "1"},
                         name="wake")
    try:
        window = procs.wait_until(lambda: desktop.windows(title="Tirvelon"), 60, interval=0.1,
                                  what="the main window")[0]
        pid = program_pids(desktop.dir)[0]
        time.sleep(max(0.0, noon_epoch - 10 - clock.now()))
        os.kill(pid, signal.SIGSTOP)
        clock.set(noon_epoch + 180)
        time.sleep(clock.CACHE_S + 0.5)
        woke = time.monotonic()
        os.kill(pid, signal.SIGCONT)
        procs.wait_until(lambda: desktop.windows(title="Tirvelon alert"), 10, interval=0.1,
                         what="the alert strip")
        print("strip shown %.2f s after the wake, three minutes after noon"
              % (time.monotonic() - woke))
        check(time.monotonic() - woke < 3, "the strip appears at the wake")
        heard.wait_recorded(woke + HEARD_S + 6)
        onset = recordings.expect_heard(heard.samples(), heard, woke - 1, woke + 5, DAWN_MUEZZIN,
                                        "at the wake", length_s=HEARD_S)
        check_heard(heard.level(onset, onset + HEARD_S, "of the call at the wake"),
                    "the call at the wake")
        resume_brings_the_tick(desktop, wine, clock, out,
                               moment_of(slot_minutes(DAY.day, DAY.month, CITY)[3]))
        desktop.close_window(window)
        check_equal(program.wait(30), 0, "exit status after a close")
    except BaseException:
        kept(heard, out, "wake")
        raise
    finally:
        heard.stop()
        stop(program)


def resume_brings_the_tick(desktop, wine, clock, out, at_afternoon):
    """The clock set over the afternoon call just after a tick, then the resume message posted:
    the strip comes with the message, not at the next second's tick."""
    exe = os.path.join(out, "postresume.exe")
    subprocess.run(["x86_64-w64-mingw32-gcc", "-O2", "-Wall", "-Wextra", "-o", exe,
                    os.path.join(os.path.dirname(os.path.abspath(__file__)), "postresume.c")],
                   check=True, timeout=120)
    poster = subprocess.Popen(["wine", exe], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                              env=wine.env(), text=True, cwd=desktop.home)
    try:
        procs.wait_until(lambda: not desktop.windows(title="Tirvelon alert"), 60, interval=0.2,
                         what="the call's strip to close")
        # Just after the program's tick: its clock's fraction of a second is small.
        while not 0.1 < clock.now() % 1 < 0.2:
            time.sleep(0.01)
        clock.set(time.mktime(at_afternoon.timetuple()) + 120 + clock.now() % 1)
        posted = time.monotonic()
        poster.stdin.write("post\n")
        poster.stdin.flush()
        check_equal(poster.stdout.readline().strip(), "posted", "the resume message posted")
        procs.wait_until(lambda: desktop.windows(title="Tirvelon alert"), 5, interval=0.02,
                         what="the afternoon's strip")
        late = time.monotonic() - posted
        print("strip %.2f s after the resume message (the next tick was %.2f s away)"
              % (late, 1 - (clock.now() - late) % 1))
        check(late < 0.6, "the resume message brings the tick at once (%.2f s)" % late)
    finally:
        poster.stdin.close()
        poster.wait(30)


def uninstall(wine, installed, exe):
    wine.reg_add(RUN_KEY, "Delkaro", '"%s"' % exe)  # as a ticked box leaves it
    wine.run([os.path.join(installed, "uninstall.exe"), "/S"], timeout=120)
    wine.wait_idle()
    check(not os.path.exists(os.path.join(installed, "tirvelon.exe")),
          "the uninstaller removed the program")
    check_equal(wine.reg_value(RUN_KEY, "Delkaro"), None, "the uninstaller removed Delkaro")
    check_equal(wine.reg_values(SETTINGS_KEY).get("Salat-1"), str(CITY),
                "the settings survive the uninstall")


def main():
    args = arguments(__doc__)
    setups = sorted(glob.glob(os.path.join(args.dist, "tirvelon-*-setup.exe")))
    require(setups[-1] if setups else os.path.join(args.dist, "tirvelon-<version>-setup.exe"),
            "the Windows installer")
    began = time.monotonic()
    shots, figures = {}, {}
    with Desktop(tray=True) as desktop:
        marker = desktop.dir
        wine = WinePrefix(desktop, user=USER).create()
        try:
            installed = install(wine, setups[-1])
            exe = INSTALL_DIR + "\\tirvelon.exe"
            recordings = Recordings(os.path.join(installed, "tirvelon.exe"))
            for index in range(8):
                recordings.envelope(index)  # decoded now, not while the program waits
            first_start(args, desktop, wine, exe, recordings, shots, figures)
            users_recording(desktop, wine, exe, recordings, figures, args.out)
            dawn(desktop, wine, exe, recordings, args.out)
            wake(desktop, wine, exe, recordings, args.out)
            uninstall(wine, installed, exe)
        finally:
            wine.kill_all()
        if os.environ.get("TIRVELON_UPDATE_DOCS"):
            docs = os.path.join(SOURCE_DIR, "docs", "windows")
            os.makedirs(docs, exist_ok=True)
            for name, path in shots.items():
                shutil.copy(path, os.path.join(docs, name + ".png"))
    check_equal(leftover_processes(marker), [], "processes left of the desktop")
    spent, took = figures["idle"]
    print("figures under Wine: window %.2f s after the start; peak memory (VmHWM) %.1f MB with "
          "%d threads after the noon call, %.1f MB with %d after the user's call; %d threads "
          "while quiet; idle CPU %.2f s in %.0f s (%.2f %% of one core); whole run %.0f s"
          % (figures["start"], figures["memory"], figures["threads"], figures["memory 2"],
             figures["threads 2"], figures["idle threads"], spent, took, 100 * spent / took,
             time.monotonic() - began))


if __name__ == "__main__":
    sys.exit(run(main))
