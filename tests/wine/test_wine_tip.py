#!/usr/bin/python3
"""The Windows program's tray tip under Wine: the portable zip unpacked into a throw-away prefix
and started on 28 February 2026 at 19:14:50 (faketime; base city, Kurdish), its icon docked in
trayer. The pointer rests on the icon and Wine's own tool tip window for it is read back with a
small Windows program (WM_GETTEXT on the tooltips_class32 windows that show): the two lines of
old and the night call "in 0:01"; after the night call (07:16 PM), 1 March's dawn (05:16 AM) ten
hours ahead. A screenshot of the tip goes to the output folder."""

import glob
import math
import os
import re
import subprocess
import sys
import time
import zipfile

from wine_support import Desktop, WinePrefix, arguments, leftover_processes, require

from e2e_support import check, check_equal, run  # noqa: I
from test_desktop_common import geometry, wait_for  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
START = "2026-02-28 19:14:50"
START_SECONDS = 19 * 3600 + 14 * 60 + 50
TWO_LINES = "    Tirvelon\r\n  دوو كليك داگره  "
NIGHT = ("بانگى عيشاء", "07:16 PM", 19 * 3600 + 16 * 60)
DAWN = ("بانگى بهيانى", "05:16 AM", 24 * 3600 + 5 * 3600 + 16 * 60)


def tip(prayer, left_minutes):
    name, clock, _ = prayer
    return "%s\r\n\u202b%s \u202a%s\u202c پاش %d:%02d\u202c" % (
        TWO_LINES, name, clock, left_minutes // 60, left_minutes % 60)


def build_reader(folder):
    """tiptexts.exe, made from its source with MinGW-w64 (the machine that builds the Windows
    program has it)."""
    exe = os.path.join(folder, "tiptexts.exe")
    subprocess.run(["x86_64-w64-mingw32-gcc", "-O2", "-Wall", "-Wextra", "-o", exe,
                    os.path.join(HERE, "tiptexts.c")], check=True, timeout=120)
    return exe


def tips_showing(wine, reader):
    result = subprocess.run(["wine", reader], env=wine.env(), capture_output=True, timeout=60,
                            cwd=wine.desktop.home)
    return [t for t in result.stdout.decode("utf-8", "replace").split("\x1e") if t]


def docked():
    """The box of the icon docked in trayer's panel: Wine's icon window is embedded there under
    a window of trayer's own, so it is found as the panel's child rather than by its process."""
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True,
                          timeout=30).stdout
    for line in tree.splitlines():
        if '("panel" "trayer")' not in line:
            continue
        panel = line.split()[0]
        children = subprocess.run(["xwininfo", "-children", "-id", panel], capture_output=True,
                                  text=True, timeout=30).stdout
        for child in re.findall(r"^\s+(0x[0-9a-f]+) .*?(\d+)x(\d+)\+", children, re.M):
            if int(child[1]) >= 8 and int(child[2]) >= 8:
                return int(child[0], 16)
    return None


def shown_tip(wine, reader, icon):
    """Rests the pointer on the icon (moving it there by a pixel) until Wine shows its tip.
    The pointer comes from the program's window in the middle of the screen: coming from the
    bare root window, Wine never woke the tip."""
    left, top, width, height = geometry(icon)
    # Wine does not wake the tip every time: the pointer goes away and comes back, wandering a
    # little more over the icon each time, for up to half a minute.
    deadline = time.monotonic() + 30
    attempt = 0
    while time.monotonic() < deadline:
        attempt += 1
        subprocess.run(["xdotool", "mousemove", "640", "400"], timeout=10)
        time.sleep(0.5)
        for step in range(2 + attempt % 4):
            subprocess.run(["xdotool", "mousemove", str(left + width // 2 + step % 3 - 1),
                            str(top + height // 2 + step % 2)], timeout=10)
            time.sleep(0.2)
        for _ in range(4):
            time.sleep(0.5)
            tips = tips_showing(wine, reader)
            if tips:
                print("tip shown at attempt %d" % attempt)
                return tips[0]
    check(False, "a tool tip shows on the icon (%d attempts)" % attempt)


def read_tip(wine, reader, icon, started, what):
    """The tip against the one due at the program's time of the reading (faketime runs from
    START, set when the program started, known to a second): the night call, or from its
    second on, tomorrow's dawn."""
    def day_seconds():
        return START_SECONDS + (time.monotonic() - started)

    def due(t):
        prayer = NIGHT if t < NIGHT[2] else DAWN
        return tip(prayer, math.ceil((prayer[2] - t) / 60))
    before = day_seconds() - 1
    text = shown_tip(wine, reader, icon)
    after = day_seconds() + 1
    if text not in (due(before), due(after)):
        check_equal(text, due(after), what)
    print("ok: %s = %r" % (what, text))
    return text


def main():
    args = arguments(__doc__)
    zips = sorted(glob.glob(os.path.join(args.dist, "tirvelon-*-windows-x64.zip")))
    require(zips[-1] if zips else os.path.join(args.dist, "tirvelon-<version>-windows-x64.zip"),
            "the portable Windows zip")
    with Desktop(tray=True) as desktop:
        marker = desktop.dir
        wine = WinePrefix(desktop).create()
        try:
            folder = os.path.join(wine.path, "drive_c", "Tirvelon")
            with zipfile.ZipFile(zips[-1]) as archive:
                archive.extractall(folder)
            exes = glob.glob(os.path.join(folder, "**", "tirvelon.exe"), recursive=True)
            check(exes, "the zip holds tirvelon.exe")
            reader = build_reader(desktop.dir)
            program = wine.start(wine.windows_path(exes[0]), faketime=START)
            started = time.monotonic()
            icon, took = wait_for(docked, 60, 0.3)
            check(icon, "the icon is docked in trayer (%.1f s after the start)" % took)
            time.sleep(1.5)  # a tick has worked out the day

            text = read_tip(wine, reader, icon, started, "the tip before the night call")
            check(NIGHT[0] in text, "it names the night call")
            subprocess.run(["import", "-window", "root",
                            os.path.join(args.out, "tip_kurdish.png")], timeout=60)
            left = NIGHT[2] + 3 - START_SECONDS - (time.monotonic() - started)
            if left > 0:
                time.sleep(left)
            text = read_tip(wine, reader, icon, started, "the tip after the night call")
            check(DAWN[0] in text and "05:16 AM" in text, "it names 1 March's dawn")
        finally:
            wine.kill_all()
    check_equal(leftover_processes(marker), [], "processes left of the desktop")


if __name__ == "__main__":
    sys.exit(run(main))
