#!/usr/bin/python3
"""The clock-adjust dialog of the real program, in Kurdish and in Arabic, at faked moments.

The main window's clock button Command2 opens the dialog modally; its title and captions follow
the language, its fields show the faked clock and date, the seconds field follows the clock,
and a real mouse click on the upper or lower arrow of each spin bar changes the fields within
their limits (hour and minute wrap, AM/PM toggles, day, month and year stop). The window
manager's close box closes it, and the next opening reads the clock afresh. The apply button is
never pressed, and the program has no system bus to reach the clock service through anyway.

The fields carry no accessible names: each is found by its place in the dialog. Screenshots of
both languages go to --out (and to docs/ with TIRVELON_UPDATE_DOCS=1)."""

import os
import sys
import time

from e2e_support import (Desktop, Failure, arguments, check, check_equal, eventually,
                         leftover_processes, run)
from test_dialogs_support import (ARABIC, KURDISH, click_at, click_control, crop_screenshot,
                                  find_by_place, frame_geometry, publish, seed_settings, start,
                                  stop, twips_rect, wait_for_no_window, windows_of)

KURDISH_CAPTIONS = {
    "title": "راست كردنهوهى كات ژمير",
    "Label1": "كــات  ",
    "Label2": "بهروار ",
    "Label3": "راستكردنهوهى بهروارو كاتژميَرى كوَمپيوتهر",
    "Command1": "رِاست كردنهوهى ",
}
ARABIC_CAPTIONS = {
    "title": "تعديل الساعة",
    "Label1": "الوقت ",
    "Label2": "التاريخ ",
    "Label3": "تعديل الوقت والتاريخ الكمبيوتر",
    "Command1": "التعديل",
}
CAPTIONS = {KURDISH: KURDISH_CAPTIONS, ARABIC: ARABIC_CAPTIONS}
NAMES = {ARABIC: "arabic", KURDISH: "kurdish"}

DIALOG_SIZE = twips_rect(0, 0, 3390, 2235)[2:]
# Top-left corners in the dialog, in twips.
FIELDS = {"hour": (360, 480), "minute": (930, 480), "seconds": (1500, 480),
          "meridiem": (1875, 480), "year": (360, 1080), "month": (1320, 1080),
          "day": (1920, 1080)}
ARROWS = {"hour": (720, 480), "minute": (1320, 480), "meridiem": (2250, 480),
          "year": (1080, 1080), "month": (1680, 1080), "day": (2280, 1080)}
ARROW_SIZE = twips_rect(0, 0, 195, 300)[2:]
BANDS = {"Label3": (150, 120), "Label1": (330, 450), "Label2": (330, 1050)}
APPLY_BUTTON = (960, 1680)
EDITABLE = ("hour", "minute", "meridiem", "day", "month", "year")


def px(place):
    return twips_rect(place[0], place[1], 0, 0)[:2]


class ClockDialog:
    """The open dialog: its window, its accessible nodes and the real mouse on its arrows."""

    def __init__(self, desktop, wid, node):
        self.desktop = desktop
        self.wid = wid
        self.node = node
        self.fields = {name: find_by_place(desktop, node, "label", px(place))
                       for name, place in FIELDS.items()}
        self.bands = {name: find_by_place(desktop, node, "label", px(place))
                      for name, place in BANDS.items()}
        self.apply_button = find_by_place(desktop, node, "push button", px(APPLY_BUTTON))
        print("fields found by their places in the dialog")

    def read(self, name):
        return self.desktop.text(self.fields[name])

    def state(self):
        return {name: self.read(name) for name in EDITABLE}

    def press_arrow(self, name, direction):
        """Clicks the upper ("up") or lower ("down") arrow of a spin bar with the mouse."""
        x, y, _, _ = self.desktop.window_geometry(self.wid)
        bar_x, bar_y = px(ARROWS[name])
        width, height = ARROW_SIZE
        # A few pixels inside the arrow, well away from the middle of the bar.
        arrow_y = 3 if direction == "up" else height - 4
        click_at(x + bar_x + width // 2, y + bar_y + arrow_y)


def open_dialog(desktop, program, app, main_window):
    before = desktop.text(desktop.find(app, description="Label3"))
    click_control(desktop, main_window, desktop.find(app, description="Command2"))

    def dialog_window():
        others = [w for w in desktop.windows(pid=program.pid) if w != main_window]
        return others[0] if len(others) == 1 else None
    deadline = time.monotonic() + 10
    wid = dialog_window()
    while wid is None and time.monotonic() < deadline:
        time.sleep(0.2)
        wid = dialog_window()
    check(wid is not None, "the clock button opened one more window")

    node = None
    deadline = time.monotonic() + 10
    while node is None and time.monotonic() < deadline:
        dialogs = [app.getChildAtIndex(i) for i in range(app.childCount)]
        dialogs = [d for d in dialogs if d is not None and d.getRoleName() == "dialog"]
        node = dialogs[0] if len(dialogs) == 1 else None
        if node is None:
            time.sleep(0.2)
    check(node is not None, "the dialog is exposed over AT-SPI")
    after = desktop.text(desktop.find(app, description="Label3"))
    return ClockDialog(desktop, wid, node), (before, after)


def check_window(desktop, dialog, language):
    check_equal(desktop.window_title(dialog.wid), CAPTIONS[language]["title"], "dialog title")
    x, y, width, height = desktop.window_geometry(dialog.wid)
    check_equal((width, height), DIALOG_SIZE, "dialog client area")
    fx, fy, fwidth, fheight = frame_geometry(desktop, dialog.wid)
    screen_width, screen_height = (int(v) for v in desktop.screen.split("x")[:2])
    dx = fx + fwidth / 2 - screen_width / 2
    dy = fy + fheight / 2 - screen_height / 2
    print("dialog frame %dx%d at %d,%d; off the screen centre by %.1f,%.1f"
          % (fwidth, fheight, fx, fy, dx, dy))
    # The frame's title bar may shift it by up to its own height.
    check(abs(dx) <= 2 and abs(dy) <= fheight - height, "the dialog is centred on the screen")
    check("_NET_WM_STATE_MODAL" in desktop.window_state(dialog.wid), "the dialog is modal")


def check_captions(desktop, dialog, language):
    for name, node in dialog.bands.items():
        check_equal(desktop.text(node), CAPTIONS[language][name], "caption of " + name)
    check_equal(dialog.apply_button.name, CAPTIONS[language]["Command1"],
                "caption of the apply button")
    check("enabled" in desktop.states(dialog.apply_button), "the apply button is enabled")


def check_opening_fields(dialog, clock_readings, date):
    """Hour, minute and AM/PM of the clock at the click (either reading around it), the date."""
    state = dialog.state()
    shown = (state["hour"], state["minute"], state["meridiem"])
    expected = [(c[0:2], c[3:5], c[9:11]) for c in clock_readings]
    if shown not in expected:
        raise Failure("time fields %r match none of the clock readings %r"
                      % (shown, clock_readings))
    print("ok: time fields %r match the main clock %r" % (shown, clock_readings))
    year, month, day = date.split("-")
    check_equal((state["day"], state["month"], state["year"]), (day, month, year), "date fields")
    return state


def check_seconds_follow(desktop, app, dialog, clock_at_opening):
    """The seconds field shows the seconds of the main clock, tick after tick."""
    clock = desktop.find(app, description="Label3")
    # The dialog opens with "00" there; the first tick after the opening writes the seconds.
    eventually(lambda: desktop.text(clock) != clock_at_opening, True,
               "a tick after the opening", timeout=5)
    seen = []
    for _ in range(3):
        for _attempt in range(10):
            first = desktop.text(clock)
            seconds = dialog.read("seconds")
            second = desktop.text(clock)
            if first == second:  # no tick in between
                break
            time.sleep(0.1)
        check_equal(seconds, first[6:8], "seconds field beside the clock %s" % first)
        seen.append(seconds)
        time.sleep(1.5)
    check(len(set(seen)) == 3, "the seconds field moved: %s" % " ".join(seen))


def press_arrows(dialog, state, steps):
    """Each step: (field, "up"/"down", the fields it changes, what it shows). All six editable
    fields are compared after each click, so a field that must stay is checked too."""
    for field, direction, changes, what in steps:
        state = dict(state, **changes)
        dialog.press_arrow(field, direction)
        eventually(dialog.state, state, "%s (%s %s)" % (what, field, direction), timeout=5)
    return state


def close_dialog(desktop, program, dialog):
    title = desktop.window_title(dialog.wid)
    desktop.close_window(dialog.wid)
    check(wait_for_no_window(desktop, title, program.pid),
          "the close box closed the dialog")
    check(program.alive(), "the program still runs")


def check_modal(desktop, program, app, main_window):
    """While the dialog is up, the main window's about link opens nothing."""
    click_control(desktop, main_window, desktop.find(app, description="Label5"))
    time.sleep(1.5)
    check_equal(windows_of(desktop, program.pid, "Form1"), [],
                "about windows after a click on the main window's about link")


def screenshot(desktop, dialog, language, out):
    name = "clockdialog-%s.png" % NAMES[language]
    shot = crop_screenshot(desktop, frame_geometry(desktop, dialog.wid), os.path.join(out, name))
    publish(shot, name)


KURDISH_STEPS = [
    ("hour", "up", {"hour": "00"}, "hour 12 wraps to 00, AM/PM kept"),
    ("hour", "down", {"hour": "12"}, "hour 00 wraps to 12"),
    ("minute", "down", {"minute": "59"}, "minute 00 wraps to 59, hour kept"),
    ("minute", "up", {"minute": "00"}, "minute 59 wraps to 00"),
    ("meridiem", "up", {"meridiem": "AM"}, "upper arrow turns PM to AM"),
    ("meridiem", "down", {"meridiem": "PM"}, "lower arrow turns AM to PM"),
    ("day", "up", {}, "day 31 of January stays"),
    ("month", "up", {"month": "02", "day": "29"}, "31 January to February of a leap year"),
    ("year", "up", {"year": "2025", "day": "28"}, "29 February to a common year"),
    ("month", "down", {"month": "01"}, "back to January, the day kept"),
    ("day", "up", {"day": "29"}, "day up in January"),
]

ARABIC_STEPS = [
    ("hour", "up", {"hour": "10"}, "hour up"),
    ("minute", "down", {"minute": "04"}, "minute down"),
    ("day", "down", {}, "day 01 stays"),
    ("month", "up", {}, "month 12 stays"),
    ("year", "up", {}, "year 2035 stays"),
] + [("year", "down", {"year": str(year)}, "year down") for year in range(2034, 2011, -1)] + [
    ("year", "down", {}, "year 2012 stays"),
    ("month", "down", {"month": "11"}, "month down, the day kept"),
]


def session(desktop, binary, out, language, moment, expected_start, steps):
    seed_settings(desktop, Salat_6=language)
    # On Iraq's time, so the dialog has no line about the zone and keeps its size.
    program, main_window, app = start(desktop, binary, moment, env={"TZ": "Asia/Baghdad"})
    try:
        dialog, readings = open_dialog(desktop, program, app, main_window)
        check_window(desktop, dialog, language)
        check_captions(desktop, dialog, language)
        state = check_opening_fields(dialog, readings, moment.split()[0])
        check_equal(state, expected_start, "fields at opening")
        check_seconds_follow(desktop, app, dialog, readings[1])
        screenshot(desktop, dialog, language, out)
        if language == KURDISH:
            check_modal(desktop, program, app, main_window)
        started = time.monotonic()
        press_arrows(dialog, state, steps)
        print("%d arrow clicks in %.1f s" % (len(steps), time.monotonic() - started))
        close_dialog(desktop, program, dialog)

        # A new opening loads the fields from the clock again, not from the last edit.
        dialog, readings = open_dialog(desktop, program, app, main_window)
        check_opening_fields(dialog, readings, moment.split()[0])
        close_dialog(desktop, program, dialog)
    finally:
        stop(program)


def main():
    args = arguments(__doc__)
    with Desktop(tray=False, audio_sink=False) as desktop:
        marker = desktop.dir
        session(desktop, args.program, args.out, KURDISH, "2024-01-31 12:00:05",
                {"hour": "12", "minute": "00", "meridiem": "PM", "day": "31", "month": "01",
                 "year": "2024"}, KURDISH_STEPS)
        session(desktop, args.program, args.out, ARABIC, "2035-12-01 09:05:20",
                {"hour": "09", "minute": "05", "meridiem": "AM", "day": "01", "month": "12",
                 "year": "2035"}, ARABIC_STEPS)
    check_equal(leftover_processes(marker), [], "processes left of the desktop")


if __name__ == "__main__":
    sys.exit(run(main))
