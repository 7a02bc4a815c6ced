#!/usr/bin/python3
"""The window on screens scaled to 125 %, 150 % and 200 % (QT_SCALE_FACTOR), on one desktop, one
start each, on 21 March 2026 at 10:00 (faketime, TZ=UTC) with fresh settings: the window is its
491 x 272 pixels times the factor, rounded as Qt rounds sizes; the six times read back from a
screenshot by OCR are Erbil's in the committed table and the clock reads as a time; the
background is the picture drawn at twice the pixels, brought down to the factor, not the 1x one
enlarged (compared on a patch of the status strip that no control covers).

Screenshots of the window go to the output folder, mainwindow-125.png and so on (the 150 % one
to docs/mainwindow-150.png with TIRVELON_UPDATE_DOCS=1). Printed: each start's time to the
window and the whole run's duration."""

import math
import os
import re
import shutil
import subprocess
import sys
import time

from e2e_support import (HERE, Desktop, Failure, arguments, check, check_equal,  # noqa: I
                         eventually, leftover_processes, run)
from test_mainwindow import MOMENT, clock_seconds, expected_times, time_labels

sys.path.insert(0, os.path.join(os.path.dirname(HERE), "wine"))
from wine_support import ocr  # noqa: E402

SOURCE_DIR = os.path.dirname(os.path.dirname(HERE))
FACTORS = [1.25, 1.5, 2.0]
DESIGN_SIZE = (491, 272)
# In the window's own (100 %) pixels, twips / 15: LB(k) in Frame1 (180, 480) at
# (270, 270 + 360 k), 1095 x 255; the clock Label3 at (3960, 480), 2985 x 495.
TIME_BOXES = [(30, 50 + 24 * k, 73, 17) for k in range(6)]
CLOCK_BOX = (264, 32, 199, 33)
# Bare background between the logon band LB(25) (ends at 253) and the Hijri band LB(37) (starts
# at 288), inside the status strip (240 .. 272); its corners fall on whole pixels at every factor.
BARE_PATCH = (256, 244, 28, 24)


def qt_round(value):
    """qRound: halves away from zero (QSize * factor rounds so)."""
    return int(math.floor(value + 0.5))


def scaled(box, factor):
    return tuple(qt_round(v * factor) for v in box)


def rmse(a, b):
    """Root mean square difference of two pictures of one size, 0..1."""
    out = subprocess.run(["compare", "-metric", "RMSE", a, b, "null:"], capture_output=True,
                         text=True, timeout=60)
    return float(re.search(r"\(([0-9.e+-]+)\)", out.stderr).group(1))


def convert(*args):
    subprocess.run(["convert", *[str(a) for a in args]], check=True, timeout=60)


def check_background(shot, factor, size, out):
    """The bare patch on screen against the 2x and the 1x picture, each brought to the window's
    size on screen (as the label that holds the picture scales it)."""
    x, y, w, h = scaled(BARE_PATCH, factor)
    geometry = "%dx%d!" % size
    crop = "%dx%d+%d+%d" % (w, h, x, y)
    name = "highdpi-%d" % round(factor * 100)
    seen = os.path.join(out, name + "-patch.png")
    convert(shot, "-crop", crop, "+repage", seen)
    distances = {}
    for picture in ("background@2x.png", "background.png"):
        reference = os.path.join(out, "%s-patch-%s" % (name, picture.replace("@", "-")))
        convert(os.path.join(SOURCE_DIR, "resources", picture), "-resize", geometry, "-crop",
                crop, "+repage", reference)
        distances[picture] = rmse(seen, reference)
    print("bare background at %d %%: RMSE against the 2x picture %.4f, against the 1x %.4f"
          % (factor * 100, distances["background@2x.png"], distances["background.png"]))
    check(distances["background@2x.png"] < 0.8 * distances["background.png"],
          "at %d %% the background is drawn from the 2x picture" % (factor * 100))


def fresh_settings(desktop):
    """Each start as the first one: a first start ticks logon start, and a start with it on hides
    the window in the tray after three seconds."""
    for name in os.listdir(desktop.config_home):
        path = os.path.join(desktop.config_home, name)
        shutil.rmtree(path) if os.path.isdir(path) else os.remove(path)


def one_start(desktop, args, factor, times):
    fresh_settings(desktop)
    started = time.monotonic()
    program = desktop.start_program(args.program, faketime=MOMENT.strftime("%Y-%m-%d %H:%M:%S"),
                                    env={"TZ": "UTC", "QT_SCALE_FACTOR": str(factor)})
    try:
        window = desktop.wait_for_window("Tirvelon", timeout=60)
        shown = time.monotonic() - started
        size = tuple(qt_round(v * factor) for v in DESIGN_SIZE)
        x, y, width, height = desktop.window_geometry(window)
        check_equal((width, height), size, "window size at %d %%" % (factor * 100))

        app = desktop.accessible_app(pid=program.pid, timeout=60)
        eventually(lambda: time_labels(desktop, app), times, "the times filled in", timeout=15)
        time.sleep(1.2)  # a tick paints the clock after the texts
        shot = desktop.screenshot(os.path.join(args.out, "highdpi-screen.png"))
        window_shot = os.path.join(args.out, "mainwindow-%d.png" % round(factor * 100))
        convert(shot, "-crop", "%dx%d+%d+%d" % (width, height, x, y), "+repage", window_shot)

        read = [ocr(window_shot, scaled(box, factor)) for box in TIME_BOXES]
        check_equal(read, times, "the six times read at %d %%" % (factor * 100))
        clock = ocr(window_shot, scaled(CLOCK_BOX, factor))
        try:
            seconds = clock_seconds(clock)
        except Failure:
            raise Failure("the clock at %d %% reads %r" % (factor * 100, clock))
        ten = MOMENT.hour * 3600
        check(ten <= seconds <= ten + time.monotonic() - started + 2,
              "the clock at %d %% reads %s" % (factor * 100, clock))
        check_background(window_shot, factor, size, args.out)

        desktop.close_window(window)
        check_equal(program.wait(20), 0, "exit code after a close")
        print("%d %%: window %.2f s after the start, this start %.1f s in all"
              % (factor * 100, shown, time.monotonic() - started))
        return window_shot
    finally:
        program.stop()


def main():
    args = arguments(__doc__)
    began = time.monotonic()
    times, _ = expected_times(0)  # Erbil, the city of a fresh HOME
    shots = {}
    with Desktop(tray=True) as desktop:
        marker = desktop.dir
        for factor in FACTORS:
            shots[factor] = one_start(desktop, args, factor, times)
    check_equal(leftover_processes(marker), [], "processes left of the desktop")
    if os.environ.get("TIRVELON_UPDATE_DOCS"):
        shutil.copy(shots[1.5], os.path.join(SOURCE_DIR, "docs", "mainwindow-150.png"))
    print("whole run %.0f s" % (time.monotonic() - began))


if __name__ == "__main__":
    sys.exit(run(main))
