"""The Windows build under Wine on the test desktop: a throw-away prefix, programs started in
it, its registry, what the sound server played (Wine's sound goes to the desktop's PulseAudio),
and reading the program's window from a screenshot (Wine's windows offer no AT-SPI, so the times
are read back with OCR).

    with Desktop(tray=True) as desktop:
        wine = WinePrefix(desktop).create()
        program = wine.start(r"C:\\Program Files\\Tirvelon\\tirvelon.exe")
        wine.reg_value(r"HKCU\\Software\\Tirvelon\\Tirvelon\\Settings", "Salat-1")
        heard = Listening(desktop)  # the null sink, from now on
        heard.level(start, end, "the call")

The prefix lives in the desktop's temporary folder and ends with it. Its fonts are set up as a
Windows desktop has them: Wine brings Tahoma, Webdings and Fixedsys of its own; Arial, which
Wine does not ship, is Debian's metric-compatible Liberation Sans under Arial's name.

Not a test of its own: the scripts that import it are registered in CMakeLists.txt."""

import argparse
import os
import re
import shutil
import subprocess
import sys
import time
import wave

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "harness"))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "e2e"))

from desktop import LIBFAKETIME, Desktop, Program, leftover_processes  # noqa: E402
import procs  # noqa: E402
from test_call_common import RATE, dbfs  # noqa: E402

# The exit code CTest reads as "skipped".
SKIP = 77

# Metric-compatible faces for the Windows faces that Wine does not carry.
FONT_REPLACEMENTS = {
    "Arial": "Liberation Sans",
    "Times New Roman": "Liberation Serif",
    "Courier New": "Liberation Mono",
}


def arguments(description):
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--windows-build", required=True, help="the MinGW-w64 build folder")
    parser.add_argument("--dist", required=True, help="folder of the zip and the installer")
    parser.add_argument("--out", required=True, help="folder for screenshots and logs")
    args = parser.parse_args()
    args.windows_build = os.path.abspath(args.windows_build)
    args.dist = os.path.abspath(args.dist)
    args.out = os.path.abspath(args.out)
    os.makedirs(args.out, exist_ok=True)
    return args


def require(path, what):
    """Skips the test (or fails it in CI) when the Windows build has not been made."""
    if os.path.exists(path):
        return
    message = "Wine tests: not run, %s is missing (%s); make windows builds it" % (what, path)
    print(message)
    if os.environ.get("CI"):
        print("FAIL: CI always runs the Wine tests", file=sys.stderr)
        sys.exit(1)
    sys.exit(SKIP)


class WinePrefix:
    def __init__(self, desktop, user=None):
        """user: the name of the prefix's Windows user, and so of its profile folder
        (C:\\users\\<user>, where APPDATA points); the Unix user's name unless given."""
        self.desktop = desktop
        self.path = os.path.join(desktop.dir, "wineprefix")
        self.user = user
        self._programs = []

    def env(self, extra=None, faketime=None):
        env = self.desktop.env(extra)
        env.update({
            "WINEPREFIX": self.path,
            "WINEARCH": "win64",
            "WINEDEBUG": env.get("WINEDEBUG", "-all"),
            # No Mono or Gecko: nothing here uses them, and their installers would ask.
            "WINEDLLOVERRIDES": "mscoree,mshtml=",
        })
        if self.user:
            # Wine names the profile after the Unix login.
            env.update({"USER": self.user, "LOGNAME": self.user})
        if faketime is not None:
            # A start moment, or a clock the test moves (desktop.fake_clock).
            env.update(faketime.env() if hasattr(faketime, "env") else {
                "LD_PRELOAD": LIBFAKETIME,
                "FAKETIME": "@" + faketime,
                "FAKETIME_DONT_FAKE_MONOTONIC": "1",
            })
            env.update({
                # File times stay real: Wine compares them to decide whether the prefix needs
                # an update, which would add seconds to every start.
                "NO_FAKE_STAT": "1",
            })
        return env

    def run(self, args, timeout=120, check=True, env=None):
        """Runs a Wine command to its end; returns its CompletedProcess (text)."""
        result = subprocess.run(["wine", *args], env=self.env(env), capture_output=True,
                                text=True, errors="replace", timeout=timeout,
                                cwd=self.desktop.home)
        if check and result.returncode != 0:
            raise RuntimeError("wine %s failed (%d): %s%s" % (
                " ".join(args), result.returncode, result.stdout[-1500:], result.stderr[-1500:]))
        return result

    def create(self):
        start = time.monotonic()
        self.run(["wineboot", "--init"], timeout=180)
        self.wait_idle()
        for face, replacement in FONT_REPLACEMENTS.items():
            self.reg_add(r"HKCU\Software\Wine\Fonts\Replacements", face, replacement)
        # Sound through the desktop's PulseAudio, as Wine would pick on a desktop with it.
        self.reg_add(r"HKCU\Software\Wine\Drivers", "Audio", "pulse")
        self.wait_idle()
        print("wine prefix made in %.1f s" % (time.monotonic() - start))
        return self

    def add_fonts(self, *names):
        """Puts font files that Wine carries (/usr/share/wine/fonts) into the prefix's Fonts
        folder, where programs find them: Debian's Wine leaves that folder empty, and without
        them the bitmap faces of Windows (Fixedsys in vgafix.fon, MS Sans Serif in sserife.fon)
        are missing and other faces drawn in their place."""
        folder = os.path.join(self.path, "drive_c", "windows", "Fonts")
        os.makedirs(folder, exist_ok=True)
        for name in names:
            shutil.copy(os.path.join("/usr/share/wine/fonts", name), folder)
        self.kill_all()
        self.wait_idle()

    def wait_idle(self, timeout=60):
        subprocess.run(["wineserver", "-w"], env=self.env(), timeout=timeout)

    def kill_all(self):
        subprocess.run(["wineserver", "-k"], env=self.env(), timeout=30)

    def start(self, windows_path, args=(), faketime=None, env=None, name=None):
        """Starts a Windows program in the background; returns a harness Program."""
        name = name or "wine-program-%d" % (len(self._programs) + 1)
        log_path = os.path.join(self.desktop.logs, name + ".log")
        log = open(log_path, "w")
        proc = procs.spawn(["wine", windows_path, *args], env=self.env(env, faketime),
                           stdout=log, stderr=log, cwd=self.desktop.home)
        program = Program(proc, log_path, log)
        self._programs.append(program)
        return program

    def appdata(self):
        """The Unix path of the prefix user's roaming profile folder (APPDATA)."""
        user = self.user or self.env().get("USER", "")
        return os.path.join(self.path, "drive_c", "users", user, "AppData", "Roaming")

    def unix_path(self, windows_path):
        result = self.run(["winepath", "-u", windows_path])
        return result.stdout.strip()

    def windows_path(self, unix_path):
        result = self.run(["winepath", "-w", unix_path])
        return result.stdout.strip()

    # ----- registry ---------------------------------------------------------------------------

    def reg_add(self, key, name, data, kind="REG_SZ"):
        self.run(["reg", "add", key, "/v", name, "/t", kind, "/d", str(data), "/f"])

    def reg_values(self, key):
        """{value name: text} of a registry key, {} when the key does not exist."""
        result = self.run(["reg", "query", key], check=False)
        if result.returncode != 0:
            return {}
        values = {}
        for line in result.stdout.splitlines():
            match = re.match(r"^    (.*?)    (REG_\w+)    ?(.*)$", line.rstrip("\r"))
            if match:
                values[match.group(1)] = match.group(3)
        return values

    def reg_value(self, key, name):
        return self.reg_values(key).get(name)


# ----- what the sound server played -------------------------------------------------------------

class Listening:
    """A recording of a null sink's monitor (the default sink's unless named), its positions
    mapped onto this process's monotonic clock: level(a, b) is what was heard between two
    time.monotonic() moments. Offers rec_second(), tod_of(), now() and desktop as
    test_call_common.CallSession does, with monotonic moments for its times of day, so that
    Recordings.expect_heard and the call scripts' helpers work on it."""

    def __init__(self, desktop, sink=None):
        self.desktop = desktop
        self.sink = sink or desktop.pulse.sink
        self.recorder = desktop.recorder(sink).start()
        self._origin = time.monotonic() - self.recorder.seconds()

    @staticmethod
    def now():
        return time.monotonic()

    def rec_second(self, moment):
        return moment - self._origin

    def tod_of(self, second):
        return second + self._origin

    def samples(self):
        return self.recorder.samples()

    def wait_recorded(self, moment, timeout=15):
        """Waits until the recording holds the moment."""
        procs.wait_until(lambda: self.recorder.seconds() >= self.rec_second(moment), timeout,
                         interval=0.1, what="the recording of %s" % self.sink)

    def level(self, start, end, what):
        """RMS in dBFS between two moments; printed."""
        self.wait_recorded(end)
        level = dbfs(self.samples(), self.rec_second(start), self.rec_second(end))
        print("loudness %s on %s (%.1f s): %.1f dBFS" % (what, self.sink, end - start, level))
        return level

    def save(self, path):
        """Writes what was recorded as a WAV file (to listen to after a failure)."""
        with wave.open(path, "wb") as f:
            f.setnchannels(1)
            f.setsampwidth(2)
            f.setframerate(RATE)
            f.writeframes(self.samples().tobytes())
        print("recording of %s kept: %s" % (self.sink, path))

    def stop(self):
        self.recorder.stop()


# ----- reading the window -----------------------------------------------------------------------

def program_pids(marker_dir):
    """Unix pids of the desktop's processes running tirvelon.exe."""
    found = []
    for pid in leftover_processes(marker_dir):
        try:
            with open("/proc/%d/cmdline" % pid, "rb") as f:
                if b"tirvelon.exe" in f.read().lower():
                    found.append(pid)
        except OSError:
            continue
    return found


def ocr(screenshot, box, whitelist="0123456789:APM "):
    """The text inside box (x, y, width, height) of a screenshot, read by tesseract as one line."""
    x, y, width, height = box
    crop = screenshot + ".%d-%d.png" % (x, y)
    subprocess.run(["convert", screenshot, "-crop", "%dx%d+%d+%d" % (width, height, x, y),
                    "+repage", "-resize", "400%", "-colorspace", "gray", "-normalize", crop],
                   check=True, timeout=60)
    result = subprocess.run(["tesseract", crop, "-", "--psm", "7", "-c",
                             "tessedit_char_whitelist=" + whitelist],
                            capture_output=True, text=True, timeout=60)
    os.remove(crop)
    return " ".join(result.stdout.split())
