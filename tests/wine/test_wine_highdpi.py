#!/usr/bin/python3
"""The Windows program on screens scaled to 125 % and 150 %, under Wine on the test desktop: the
prefix's display set to 96, then 120 and 144 dots per inch (LogPixels under HKCU\\Control Panel\\
Desktop, the value Wine's display settings write and read), the program started from the
gathered program folder of dist/ on 21 March 2026 at 10:00 each time. The prefix carries
Windows' bitmap faces, Fixedsys and MS Sans Serif (Wine's own vgafix.fon and sserife.fon), as
a Windows desktop does.

At 96 dpi the window is 491 x 272 and its clock is drawn in the bitmap Fixedsys, as always. At
120 and 144 dpi: the window is its 491 x 272 pixels times the factor, rounded as Qt rounds
sizes; the six times read back from a screenshot by OCR are Erbil's in the committed table and
the clock reads as a time (drawn for the screen: Fixedsys enlarged in blocks does not read);
the clock's text is as wide as at 96 dpi times the factor; the background is the picture drawn
at twice the pixels.

Screenshots of the window go to the output folder (wine-mainwindow-100.png, -125 and -150; the
150 % one to docs/windows/mainwindow-150.png with TIRVELON_UPDATE_DOCS=1). Printed: each
start's time to the window, the clock's measures and the whole run's duration."""

import datetime
import glob
import os
import shutil
import subprocess
import sys
import time

from wine_support import SOURCE_DIR, Desktop, WinePrefix, arguments, leftover_processes, ocr, \
    program_pids, require

from e2e_support import Failure, check, check_equal, run  # noqa: I
from test_call_common import slot_minutes  # noqa: E402
from test_highdpi import CLOCK_BOX, DESIGN_SIZE, TIME_BOXES, check_background, convert, \
    qt_round, scaled  # noqa: E402
from test_mainwindow import clock_seconds, slot_text  # noqa: E402
import procs  # noqa: E402

MOMENT = datetime.datetime(2026, 3, 21, 10, 0, 0)
DESKTOP_KEY = r"HKCU\Control Panel\Desktop"
SETTINGS_KEY = r"HKCU\Software\Tirvelon\Tirvelon\Settings"
SCALES = [(96, 1.0), (120, 1.25), (144, 1.5)]
BITMAP_FACES = ("vgafix.fon", "sserife.fon")  # Fixedsys, MS Sans Serif


def clock_ink(path, box):
    """Pixels from the first to the last column inside box, its border left out, that hold the
    clock's dark text."""
    x, y, w, h = box[0] + 3, box[1] + 3, box[2] - 6, box[3] - 6
    out = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage",
                          "-colorspace", "gray", "-threshold", "50%", "-negate", "-trim",
                          "-format", "%w", "info:"],
                         capture_output=True, text=True, check=True, timeout=60).stdout
    return int(out.strip())


def one_start(desktop, wine, exe, args, dpi, factor, times, reference):
    """One start at dpi; returns (window screenshot, clock text width)."""
    wine.reg_add(DESKTOP_KEY, "LogPixels", dpi, kind="REG_DWORD")
    # Logon start off: a start with it on hides the window in the tray after three seconds.
    wine.reg_add(SETTINGS_KEY, "Salat-3", "0")
    wine.kill_all()  # the next Wine process reads the value afresh
    wine.wait_idle()
    started = time.monotonic()
    program = wine.start(exe, faketime=MOMENT.strftime("%Y-%m-%d %H:%M:%S"),
                         name="highdpi-%d" % dpi)
    try:
        window = procs.wait_until(lambda: desktop.windows(title="Tirvelon"), 60, interval=0.1,
                                  what="the main window")[0]
        shown = time.monotonic() - started
        check_equal(len(program_pids(desktop.dir)), 1, "processes running tirvelon.exe")
        size = tuple(qt_round(v * factor) for v in DESIGN_SIZE)
        x, y, width, height = desktop.window_geometry(window)
        check_equal((width, height), size, "window size at %d dpi" % dpi)
        time.sleep(2.5)  # the first ticks fill the times and the clock

        shot = desktop.screenshot(os.path.join(args.out, "wine-screen.png"))
        window_shot = os.path.join(args.out, "wine-mainwindow-%d.png" % round(factor * 100))
        convert(shot, "-crop", "%dx%d+%d+%d" % (width, height, x, y), "+repage", window_shot)
        read = [ocr(window_shot, scaled(box, factor)) for box in TIME_BOXES]
        check_equal(read, times, "the six times read at %d dpi" % dpi)
        inked = clock_ink(window_shot, scaled(CLOCK_BOX, factor))
        print("clock at %d dpi: text %d pixels wide" % (dpi, inked))
        # At 96 dpi the clock is the bitmap Fixedsys, whose width the others are held to (OCR
        # does not read its blocky digits, nor the same digits enlarged at 120 or 144 dpi).
        if reference is not None:
            clock = ocr(window_shot, scaled(CLOCK_BOX, factor))
            try:
                seconds = clock_seconds(clock)
            except Failure:
                raise Failure("the clock at %d dpi reads %r" % (dpi, clock))
            ten = MOMENT.hour * 3600
            check(ten <= seconds <= ten + time.monotonic() - started + 2,
                  "the clock at %d dpi reads %s" % (dpi, clock))
            expected = reference * factor
            check(abs(inked - expected) <= 0.08 * expected,
                  "the clock's text at %d dpi is %d pixels wide, %.0f expected (%d at 96 dpi)"
                  % (dpi, inked, expected, reference))
            check_background(window_shot, factor, size, args.out)

        desktop.close_window(window)
        check_equal(program.wait(30), 0, "exit code after a close")
        print("%d dpi: window %.2f s after the start, this start %.1f s in all"
              % (dpi, shown, time.monotonic() - started))
        return window_shot, inked
    finally:
        program.stop()


def main():
    args = arguments(__doc__)
    setups = sorted(glob.glob(os.path.join(args.dist, "tirvelon-*-setup.exe")))
    stage = setups[-1][:-len("-setup.exe")] + "-windows-x64" if setups else \
        os.path.join(args.dist, "tirvelon-<version>-windows-x64")
    exe = os.path.join(stage, "tirvelon.exe")
    require(exe, "the gathered program folder")
    began = time.monotonic()
    times = [slot_text(m) for m in slot_minutes(MOMENT.day, MOMENT.month, 0)]
    shots = {}
    with Desktop(tray=True) as desktop:
        marker = desktop.dir
        wine = WinePrefix(desktop).create()
        wine.add_fonts(*BITMAP_FACES)
        reference = None
        try:
            for dpi, factor in SCALES:
                shots[factor], inked = one_start(desktop, wine, exe, args, dpi, factor, times,
                                                 reference)
                if reference is None:
                    reference = inked
        finally:
            wine.kill_all()
    check_equal(leftover_processes(marker), [], "processes left of the desktop")
    if os.environ.get("TIRVELON_UPDATE_DOCS"):
        shutil.copy(shots[1.5], os.path.join(SOURCE_DIR, "docs", "windows", "mainwindow-150.png"))
    print("whole run %.0f s" % (time.monotonic() - began))


if __name__ == "__main__":
    sys.exit(run(main))
