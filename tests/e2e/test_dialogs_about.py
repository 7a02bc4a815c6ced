#!/usr/bin/python3
"""The about window of the real program, in Kurdish and then in Arabic.

The about link Label5 opens a borderless modal window of 372 x 209 pixels, centred on the main
window wherever that has been moved, showing the picture of the language chosen at that moment.
A press on its "X" released outside the mark leaves it open; a press and release inside closes
it. Under the picture's text the window says, in its language, where the user's own recordings
go, and names that folder ($XDG_DATA_HOME/tirvelon/Data). Screenshots of both languages go to
--out (and to docs/ with TIRVELON_UPDATE_DOCS=1)."""

import os
import subprocess
import sys
import time

from e2e_support import Desktop, arguments, check, check_equal, leftover_processes, run
from test_dialogs_support import (ARABIC, KURDISH, SOURCE_DIR, choose_language, click_control,
                                  crop_screenshot, frame_geometry, image_difference,
                                  press_and_release, publish, seed_settings, start, stop,
                                  twips_rect, wait_for_no_window, windows_of, xdotool)

ABOUT_SIZE = (372, 209)
PICTURES = {ARABIC: os.path.join(SOURCE_DIR, "resources", "about_ar.png"),
            KURDISH: os.path.join(SOURCE_DIR, "resources", "about_ku.png")}
NAMES = {ARABIC: "arabic", KURDISH: "kurdish"}
# Left, top, width, height of the "X" in the window.
CLOSE_MARK_TWIPS = (5160, 0, 345, 255)
# The space the pictures leave free for the sentence on the user's own recordings and its folder.
OWN_RECORDINGS_AREA = (20, 154, 332, 32)
OWN_RECORDINGS = {
    ARABIC: "\u0644\u062a\u0633\u0645\u0639 \u062a\u0633\u062c\u064a\u0644\u0627\u062a\u0643 "
            "\u0636\u0639 \u0645\u0644\u0641\u0627\u064b \u0628\u0627\u0633\u0645 \u0645\u0644\u0641 "
            "\u0627\u0644\u0628\u0631\u0646\u0627\u0645\u062c (\u0645\u062b\u0644 5.mp3) "
            "\u0641\u064a \u0647\u0630\u0627 \u0627\u0644\u0645\u062c\u0644\u062f:",
    KURDISH: "\u0628\u06c6 \u062a\u06c6\u0645\u0627\u0631\u06d5\u06a9\u0627\u0646\u06cc "
             "\u062e\u06c6\u062a \u0641\u0627\u06cc\u0644\u06ce\u06a9 \u0628\u06d5 "
             "\u0646\u0627\u0648\u06cc \u0641\u0627\u06cc\u0644\u06cc "
             "\u0628\u06d5\u0631\u0646\u0627\u0645\u06d5\u06a9\u06d5 (\u0648\u06d5\u06a9 5.mp3) "
             "\u0628\u062e\u06d5\u0631\u06d5 \u0626\u06d5\u0645 "
             "\u0628\u0648\u062e\u0686\u06d5\u06cc\u06d5\u0648\u06d5:",
}
BIDI_MARKS = dict.fromkeys(map(ord, "\u200e\u200f\u2066\u2067\u2068\u2069"))


def without_own_recordings(picture, out):
    """A copy of the picture with the own-recordings area painted over, for comparing the rest."""
    left, top, width, height = OWN_RECORDINGS_AREA
    subprocess.run(["convert", picture, "-fill", "black", "-draw", "rectangle %d,%d %d,%d"
                    % (left, top, left + width - 1, top + height - 1), out],
                   check=True, timeout=60)
    return out


def about_node(desktop, app):
    """The about window's accessible dialog: the one top-level that is not the main window."""
    def find():
        for i in range(app.childCount):
            top = app.getChildAtIndex(i)
            if top is not None and top.getRoleName() == "dialog":
                return top
        return None
    deadline = time.monotonic() + 10
    node = find()
    while node is None and time.monotonic() < deadline:
        time.sleep(0.2)
        node = find()
    check(node is not None, "the about window is exposed over AT-SPI")
    return node


def close_mark(desktop, about):
    marks = desktop.find_all(about, role="label", name="X")
    check_equal(len(marks), 1, "close marks on the about window")
    return marks[0]


def open_about(desktop, program, app, main_window, language, out):
    click_control(desktop, main_window, desktop.find(app, description="Label5"))
    wid = desktop.wait_for_window("Form1", timeout=10)
    check_equal(windows_of(desktop, program.pid, "Form1"), [wid], "about windows shown")

    x, y, width, height = desktop.window_geometry(wid)
    check_equal((width, height), ABOUT_SIZE, "about window size")
    check_equal(frame_geometry(desktop, wid), (x, y, width, height),
                "about window with its frame (borderless: no frame)")
    mx, my, mwidth, mheight = desktop.window_geometry(main_window)
    offset = (x + width / 2 - (mx + mwidth / 2), y + height / 2 - (my + mheight / 2))
    print("about window at %d,%d; main window at %d,%d; centre offset %.1f,%.1f"
          % (x, y, mx, my, offset[0], offset[1]))
    check(abs(offset[0]) <= 1 and abs(offset[1]) <= 1, "the about window is centred on the "
          "main window")
    check("_NET_WM_STATE_MODAL" in desktop.window_state(wid), "the about window is modal")

    shot = crop_screenshot(desktop, (x, y, width, height),
                           os.path.join(out, "about-%s.png" % NAMES[language]))
    masked = without_own_recordings(shot, shot + ".masked.png")
    own = image_difference(masked, without_own_recordings(PICTURES[language],
                                                          shot + ".own.png"))
    other = image_difference(masked, without_own_recordings(PICTURES[1 - language],
                                                            shot + ".other.png"))
    print("picture difference (RMSE): own language %.4f, other language %.4f" % (own, other))
    check(own < 0.06 and other > 2 * own, "the about window shows the %s picture"
          % NAMES[language])
    publish(shot, "about-%s.png" % NAMES[language])

    about = about_node(desktop, app)
    sentence = desktop.text(desktop.find(about, description="AboutWindow.Label3"))
    check_equal(sentence.translate(BIDI_MARKS), OWN_RECORDINGS[language],
                "the sentence on the user's own recordings")
    folder = desktop.text(desktop.find(about, description="AboutWindow.Label4"))
    check_equal(folder, os.path.join(desktop.data_home, "tirvelon", "Data"),
                "the folder of the user's own recordings")
    return wid


def check_modal(desktop, program, app, main_window):
    """While the about window is up, the main window's clock button opens nothing."""
    click_control(desktop, main_window, desktop.find(app, description="Command2"))
    time.sleep(1.5)
    titles = [desktop.window_title(w) for w in desktop.windows(pid=program.pid)]
    check_equal(sorted(titles), sorted(["Tirvelon", "Form1"]),
                "windows after a click on the main window's clock button")


def close_about(desktop, program, app, wid):
    about = about_node(desktop, app)
    close_mark(desktop, about)
    # AT-SPI may still give a freshly shown window's places relative to the window itself, so
    # the mark is found from the window's place and the mark's place in the window.
    x, y, width, height = desktop.window_geometry(wid)
    mark_x, mark_y, mark_width, mark_height = twips_rect(*CLOSE_MARK_TWIPS)
    mark_centre = (x + mark_x + mark_width // 2, y + mark_y + mark_height // 2)
    print("close mark at %d,%d" % mark_centre)

    # Pressed on the mark, let go in the middle of the picture: no click.
    press_and_release(mark_centre, (x + width // 2, y + height // 2))
    time.sleep(1.0)
    check_equal(windows_of(desktop, program.pid, "Form1"), [wid],
                "about windows after a press on X released outside it")

    press_and_release(mark_centre, mark_centre)
    check(wait_for_no_window(desktop, "Form1", program.pid),
          "the about window is gone after a click on X")
    check(program.alive(), "the program still runs")


def main():
    args = arguments(__doc__)
    with Desktop(tray=False, audio_sink=False) as desktop:
        marker = desktop.dir
        seed_settings(desktop, Salat_6=KURDISH)
        program, main_window, app = start(desktop, args.program, "2024-03-21 10:00:00")
        try:
            wid = open_about(desktop, program, app, main_window, KURDISH, args.out)
            check_modal(desktop, program, app, main_window)
            close_about(desktop, program, app, wid)

            # Another language and another place: the next opening follows both.
            choose_language(desktop, app, main_window, ARABIC)
            xdotool("windowmove", "--sync", main_window, 60, 90)
            time.sleep(0.5)
            check_equal(desktop.window_geometry(main_window)[:2], (60, 90),
                        "main window moved to")
            wid = open_about(desktop, program, app, main_window, ARABIC, args.out)
            close_about(desktop, program, app, wid)
        finally:
            stop(program)
    check_equal(leftover_processes(marker), [], "processes left of the desktop")


if __name__ == "__main__":
    sys.exit(run(main))
