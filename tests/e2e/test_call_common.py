"""What the call-to-prayer scripts share (imported by them, not a test of its own).

- The expected times and texts, read from the source tree: the timetable rows and the strip's
  phrases, so a changed table or caption is followed and a retyped one is not trusted.
- CallSession: a settings file seeded in the private HOME, a recording of the null sink started
  first, then the program started some seconds before a prayer time under faketime. The
  program's clock and the recording's sample positions are both mapped onto this process's
  monotonic clock, so "the time of day T" can be looked up in the recording.
- The alert strip found with the window system (its size) and over AT-SPI (its description).
- Loudness and identity of what was heard: RMS in dBFS over windows, and which recording of
  Data/ it was, found by matching loudness envelopes against the decoded files.
"""

import os
import re
import subprocess
import time
import warnings

from e2e_support import Desktop, check, check_equal  # noqa: F401
from procs import wait_until  # noqa: E402

with warnings.catch_warnings():
    warnings.simplefilter("ignore", DeprecationWarning)
    try:
        import audioop  # C speed for the envelopes; gone in Python 3.13
    except ImportError:  # pragma: no cover
        audioop = None

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))
RATE = 44100
STRIP_SIZE = (288, 30)
MAIN_SIZE = (491, 272)
FLOOR_DBFS = -120.0  # digital silence as audio.rms_dbfs reports it
QUIET_DBFS = -90.0  # anything below is silence for these checks
AUDIBLE_DBFS = -50.0  # a call at a normal volume is far above this
ENVELOPE_S = 0.05


# ----- the source tree: the timetable ---------------------------------------------------------

def table_rows():
    path = os.path.join(SOURCE, "src", "timetable", "DailyTableRows.inc")
    with open(path, encoding="utf-8") as f:
        return re.findall(r'^"(\d{4}.*)",?\s*$', f.read(), re.M)


def slot_minutes(day, month, city):
    """The six times of a date for a city (0 base, 1..4 offset groups), minutes after midnight."""
    key = "%02d%02d" % (day, month)
    row = next(r for r in table_rows() if r.startswith(key))
    base = [int(row[4 + 4 * i:8 + 4 * i]) for i in range(6)]
    if city == 0:
        return base
    start = 28 + 24 * (city - 1)
    return [base[i] + int(row[start + 4 * i:start + 4 * i + 4]) for i in range(6)]


def short_time(minutes):
    """"04:49 AM": the hour on a 12-hour clock (00 in the first hour) and the half of the day."""
    hour, minute = divmod(minutes, 60)
    shown = 0 if hour == 0 else (hour - 1) % 12 + 1
    return "%02d:%02d %s" % (shown, minute, "PM" if hour >= 12 else "AM")


# ----- the texts the user reads -----------------------------------------------------------------

# The strip's "now it is the time of" phrase and the six prayers' endings LB(18)..LB(23), Kurdish
# in both languages; the muezzin lists of both languages.
STRIP_PHRASE = "       ئيَستا كاتـــى "
STRIP_PRAYERS = [
    " بانگى بهيانـيه",
    " شــــــــروقه ",
    " بانگى نيوهروَيه ",
    " بانگى عةســـره ",
    " بانگى مـهغريبه ",
    " بانگى عيشــايه ",
]
KURDISH_MUEZZINS = [
    "بانگبيَژى مهككهى پيروَز",
    "بانگبيَژى قاهيرة",
    "بانگبيَژ Halvendi",
    "بانگبيَژى تركى",
    "بانگبيَژى مزگهوتى قوباء 1",
    "بانگبيَژى مدينهى مونهووهره",
    "بانگبيَژ Sormanek",
]
ARABIC_MUEZZINS = [
    "مؤذن المكة المكرمة",
    "مؤذن القاهرة",
    "مؤذن Halvendi",
    "مؤذن التركية",
    "مؤذن القباء 1",
    "مؤذن المدينة المنورة",
    "مؤذن Sormanek",
]


def strip_text(minutes, slot):
    """The strip's line at an arrival: time, the "now it is the time of" phrase, the prayer."""
    return short_time(minutes) + STRIP_PHRASE + STRIP_PRAYERS[slot]


def muezzin_name(index, language):
    return (KURDISH_MUEZZINS if language == 1 else ARABIC_MUEZZINS)[index]


# ----- sound ------------------------------------------------------------------------------------

def decode(path):
    """The recording at path as signed 16-bit mono samples at RATE, decoded by sox."""
    import array
    out = subprocess.run(["sox", path, "-t", "raw", "-r", str(RATE), "-c", "1", "-b", "16",
                          "-e", "signed-integer", "-"], capture_output=True, check=True).stdout
    samples = array.array("h")
    samples.frombytes(out[:len(out) - len(out) % 2])
    return samples


def duration(path):
    return float(subprocess.run(["soxi", "-D", path], capture_output=True, text=True,
                                check=True).stdout)


def envelope(samples, step_s=ENVELOPE_S):
    """Linear RMS (0..1 of full scale) of consecutive step_s blocks."""
    step = int(step_s * RATE)
    data = samples.tobytes()
    out = []
    for first in range(0, len(samples) - step + 1, step):
        block = data[2 * first:2 * (first + step)]
        if audioop is not None:
            out.append(audioop.rms(block, 2) / 32768.0)
        else:
            part = samples[first:first + step]
            out.append((sum(x * x for x in part) / step) ** 0.5 / 32768.0)
    return out


def dbfs(samples, start_s, end_s):
    """RMS in dBFS of samples between two recording seconds (FLOOR_DBFS for digital zero)."""
    import math
    first, last = max(0, int(start_s * RATE)), min(len(samples), int(end_s * RATE))
    if last <= first:
        raise ValueError("window %.2f..%.2f s is outside the recording" % (start_s, end_s))
    total = sum(x * x for x in samples[first:last]) if audioop is None else \
        audioop.rms(samples[first:last].tobytes(), 2) ** 2 * (last - first)
    mean = total / (last - first) / (32768.0 * 32768.0)
    return FLOOR_DBFS if mean <= 0 else max(FLOOR_DBFS, 10 * math.log10(mean))


def _pearson(a, b):
    n = len(a)
    ma, mb = sum(a) / n, sum(b) / n
    cov = va = vb = 0.0
    for x, y in zip(a, b):
        dx, dy = x - ma, y - mb
        cov += dx * dy
        va += dx * dx
        vb += dy * dy
    return cov / (va * vb) ** 0.5 if va > 0 and vb > 0 else 0.0


def align(recorded_env, reference_env, earliest_s, latest_s, length_s=None):
    """(correlation, start second) of the best placement of the reference's envelope (its first
    length_s seconds) in the recorded one, its start searched between earliest_s and latest_s."""
    ref = reference_env if length_s is None else reference_env[:int(length_s / ENVELOPE_S)]
    best = (-1.0, None)
    for lag in range(max(0, int(earliest_s / ENVELOPE_S)), int(latest_s / ENVELOPE_S) + 1):
        part = recorded_env[lag:lag + len(ref)]
        if len(part) < len(ref):
            break
        score = _pearson(part, ref)
        if score > best[0]:
            best = (score, lag * ENVELOPE_S)
    return best


class Recordings:
    """The program's Data/ recordings, decoded once, and which of them a recording holds."""

    def __init__(self, program):
        self.folder = os.path.join(os.path.dirname(program), "Data")
        self._env = {}

    def path(self, index):
        return os.path.join(self.folder, "%d.mp3" % index)

    def duration(self, index):
        return duration(self.path(index))

    def envelope(self, index):
        if index not in self._env:
            self._env[index] = envelope(decode(self.path(index)))
        return self._env[index]

    def samples(self, index):
        return decode(self.path(index))

    def identify(self, samples, earliest_s, latest_s, length_s=None):
        """Matches every recording 0..7 against samples; returns the list of (correlation,
        start second, index), best first."""
        recorded = envelope(samples)
        found = []
        for index in range(8):
            score, start = align(recorded, self.envelope(index), earliest_s, latest_s, length_s)
            found.append((score, start, index))
        found.sort(reverse=True)
        for score, start, index in found[:3]:
            print("  match %d.mp3: correlation %.3f at %.2f s" % (index, score, start or -1))
        return found

    def expect_heard(self, samples, session, earliest_tod, latest_tod, index, what,
                     length_s=None):
        """Checks that recording index is the one that starts between the two times of day,
        clearly ahead of every other; returns the time of day it starts at."""
        found = self.identify(samples, session.rec_second(earliest_tod),
                              session.rec_second(latest_tod), length_s=length_s)
        score, start, best = found[0]
        check_equal(best, index, "recording heard %s" % what)
        check(score > 0.8 and score - found[1][0] > 0.05,
              "it matches %d.mp3 clearly (%.3f, next %.3f)" % (index, score, found[1][0]))
        return session.tod_of(start)


# ----- a session: settings, recording, program, clocks -----------------------------------------

SETTING_KEYS = {"city": "Salat-1", "volume": "Salat-2", "logon": "Salat-3", "muezzin": "Salat-4",
                "lead": "Salat-5", "language": "Salat-6"}


def seed_settings(desktop, **choices):
    folder = os.path.join(desktop.config_home, "Tirvelon")
    os.makedirs(folder, exist_ok=True)
    lines = ["[Settings]"] + ["%s=%s" % (SETTING_KEYS[k], v) for k, v in choices.items()]
    with open(os.path.join(folder, "Tirvelon.ini"), "w") as f:
        f.write("\n".join(lines) + "\n")


def hms(seconds, decimals=0):
    """A time of day as "HH:MM:SS", with tenths etc. when decimals asks for them."""
    whole, part = divmod(round(seconds * 10 ** decimals), 10 ** decimals)
    text = "%02d:%02d:%02d" % (whole // 3600, whole // 60 % 60, whole % 60)
    return text + ".%0*d" % (decimals, part) if decimals else text


class CallSession:
    """The program started lead_in seconds before a time of day on a date, with a recording of
    the sink running since before its start. Times of day are seconds after midnight (floats)."""

    def __init__(self, desktop, program, date, start_tod):
        self.desktop = desktop
        self.binary = program
        self.date = date  # "YYYY-MM-DD"
        self.start_tod = start_tod
        self.recorder = None
        self.program = None

    def start(self):
        self.recorder = self.desktop.recorder().start()
        self._rec_origin = time.monotonic() - self.recorder.seconds()
        before = time.monotonic()
        self.program = self.desktop.start_program(
            self.binary, faketime="%s %s" % (self.date, hms(self.start_tod)))
        self._spawned = (before + time.monotonic()) / 2
        print("program started at %s %s (fake clock)" % (self.date, hms(self.start_tod)))
        return self

    def stop(self):
        if self.program is not None:
            log = self.program.log()
            self.program.stop()
            if log.strip():
                print("--- program output ---\n" + log[-2000:])
        if self.recorder is not None:
            self.recorder.stop()

    def now(self):
        """The program's time of day, as its fake clock runs."""
        return self.start_tod + (time.monotonic() - self._spawned)

    def rec_second(self, tod):
        """The position, in seconds of the recording, of the program's time of day tod."""
        return self._spawned + (tod - self.start_tod) - self._rec_origin

    def tod_of(self, rec_second):
        return self.start_tod + self._rec_origin + rec_second - self._spawned

    def sleep_until(self, tod):
        left = tod - self.now()
        if left > 0:
            time.sleep(left)

    def samples(self):
        return self.recorder.samples()

    def level(self, tod_from, tod_to, what):
        """RMS in dBFS of the recording between two times of day; printed."""
        level = dbfs(self.samples(), self.rec_second(tod_from), self.rec_second(tod_to))
        print("loudness %s (%s..%s): %.1f dBFS" % (what, hms(tod_from, 1), hms(tod_to, 1), level))
        return level

    def wait_recorded(self, tod, timeout=15):
        """Waits until the recording holds the program's time of day tod."""
        deadline = time.monotonic() + timeout
        while self.recorder.seconds() < self.rec_second(tod):
            if time.monotonic() > deadline:
                raise TimeoutError("recording stalled at %.1f s" % self.recorder.seconds())
            time.sleep(0.1)

    # ----- windows ----------------------------------------------------------------------------

    def main_window(self, timeout=60):
        def find():
            for wid in self.desktop.windows(pid=self.program.pid):
                if self.desktop.window_geometry(wid)[2:] == MAIN_SIZE:
                    return wid
            return None
        return wait_until(find, timeout, interval=0.2, what="the main window")

    def strips(self):
        found = []
        for wid in self.desktop.windows(pid=self.program.pid):
            try:
                geometry = self.desktop.window_geometry(wid)
            except Exception:  # gone between search and look
                continue
            if geometry[2:] == STRIP_SIZE:
                found.append((wid, geometry))
        return found

    def wait_strip(self, timeout):
        """(window id, geometry, time of day it was first seen)."""
        found = wait_until(lambda: self.strips(), timeout, interval=0.1, what="the alert strip")
        return found[0][0], found[0][1], self.now()

    def wait_strip_gone(self, timeout):
        """The time of day the strip was first found gone."""
        wait_until(lambda: not self.strips(), timeout, interval=0.1, what="the strip to close")
        return self.now()

    def wait_window_destroyed(self, wid, timeout):
        """The time of day the window wid was first found destroyed (not merely hidden)."""
        wait_until(lambda: window_map_state(wid) is None, timeout, interval=0.1,
                   what="window %#x to go" % wid)
        return self.now()

    def accessible(self, timeout=60):
        self.app = self.desktop.accessible_app(pid=self.program.pid, timeout=timeout)
        return self.app

    def control(self, description, timeout=10):
        return self.desktop.find(self.app, description=description, timeout=timeout)

    def stacking(self):
        """Client windows bottom to top, as the window manager stacks them."""
        out = subprocess.run(["xprop", "-root", "_NET_CLIENT_LIST_STACKING"], capture_output=True,
                             text=True).stdout
        return [int(w, 16) for w in re.findall(r"0x[0-9a-fA-F]+", out)]

    def screen_size(self):
        out = subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True,
                             text=True).stdout.split()
        return int(out[0]), int(out[1])


def window_map_state(wid):
    """"IsViewable", "IsUnMapped" or "IsUnviewable"; None once the window is destroyed."""
    result = subprocess.run(["xwininfo", "-id", str(wid)], capture_output=True, text=True)
    found = re.search(r"Map State:\s+(\w+)", result.stdout)
    return found.group(1) if result.returncode == 0 and found else None


def check_strip_placed(session, geometry, main_wid, strip_wid):
    """The strip's place in the work area's lower right corner (2 px from its right edge, 39 px
    between the bottoms), its size, and its stacking above the main window."""
    left, top, width, height = session.desktop.work_area()
    check_equal(tuple(geometry), (left + width - 290, top + height - 69, 288, 30),
                "strip place and size in a %dx%d work area at (%d, %d)"
                % (width, height, left, top))
    order = session.stacking()
    check(strip_wid in order and main_wid in order
          and order.index(strip_wid) > order.index(main_wid),
          "the strip is stacked above the main window")
    check("_NET_WM_STATE_ABOVE" in session.desktop.window_state(strip_wid),
          "the strip asks to stay above other windows")
