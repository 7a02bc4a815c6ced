#!/usr/bin/python3
"""A prayer's own menu, real sound, three starts in one HOME on 21 March 2026 (Erbil, muezzin 0).

1. Kurdish, 30 s before noon: a right click on noon's name opens its menu; "strip only" is
   chosen from the keyboard. At noon the strip shows the time and the name and nothing sounds.
   Closed through the window manager, the settings file holds "Call-3=1" and no other new key.
2. Arabic, 25 s before sunset: its menu moves sunset by +2 minutes (typed into the field). The
   row shows the moved time and its mark at once; at the table's minute nothing shows or sounds.
   Started again 20 s before the moved minute, the row shows the moved time read back from the
   file, and at the moved minute the strip names the moved time and the call sounds. Both
   choices are in the file after the close; the first start's choice was read back (noon is not
   called).
Screenshots: the Kurdish menu and the moved mark in both languages (docs/ with
TIRVELON_UPDATE_DOCS=1)."""

import os
import re
import subprocess
import sys
import time

from e2e_support import arguments, check, check_equal, eventually, leftover_processes, run
from test_call_common import (AUDIBLE_DBFS, QUIET_DBFS, MAIN_SIZE, CallSession, Desktop,
                              Recordings, hms, seed_settings, short_time, slot_minutes,
                              strip_text)
from test_dialogs_support import choose_language, publish

DAY, MONTH, YEAR = 21, 3, 2026
DATE = "%d-%02d-%02d" % (YEAR, MONTH, DAY)
MUEZZIN = 0
MOVE = 2
HEARD_S = 10


def settings_file(desktop):
    return os.path.join(desktop.config_home, "Tirvelon", "Tirvelon.ini")


def stored(desktop):
    with open(settings_file(desktop), encoding="utf-8") as f:
        return dict(re.findall(r"^([^=\n]+)=(.*)$", f.read(), re.M))


def new_keys(desktop):
    return sorted(k for k in stored(desktop) if re.fullmatch(r"(Call|Minutes|Remind)-\d", k))


def open_menu(desktop, session, slot):
    """A right click on the prayer's name, LB(12 + slot)."""
    x, y, w, h = desktop.extents(session.control("LB(%d)" % (12 + slot)))
    desktop.click(x + w // 2, y + h // 2, button=3)
    time.sleep(1.0)


def window_shot(desktop, wid, path, height=MAIN_SIZE[1]):
    """The main window (and below it, with a greater height) cropped from the screen."""
    x, y, _, _ = desktop.window_geometry(wid)
    full = desktop.screenshot(path + ".screen.png")
    subprocess.run(["convert", full, "-crop", "%dx%d+%d+%d" % (MAIN_SIZE[0], height, x, y),
                    "+repage", path], check=True, timeout=60)
    os.remove(full)
    return path


def close(desktop, session, wid):
    desktop.close_window(wid)
    check_equal(session.program.wait(20), 0, "exit code after a close")


def strip_only_noon(desktop, args):
    minutes = slot_minutes(DAY, MONTH, 0)[2]
    noon = minutes * 60
    session = CallSession(desktop, args.program, DATE, noon - 30).start()
    try:
        wid = session.main_window()
        session.accessible()
        open_menu(desktop, session, 2)
        shot = window_shot(desktop, wid, os.path.join(args.out, "prayer-menu-kurdish.png"),
                           height=500)
        publish(shot, "mainwindow-prayer-menu.png")
        # Down from nothing: the first item that can be chosen (the call), then "strip only".
        desktop.key("Down", "Down", "Return")
        check(session.now() < noon - 3, "the choice was made before noon (%s)" % hms(session.now()))
        eventually(lambda: new_keys(desktop), ["Call-3"], "key written when chosen")

        _, _, shown_at = session.wait_strip(timeout=noon + 6 - session.now())
        print("strip shown at %s (%+.2f s from noon)" % (hms(shown_at), shown_at - noon))
        check(noon - 1 <= shown_at <= noon + 3, "the strip appears at noon")
        check_equal(desktop.text(session.control("AlertWindow.Label1")), strip_text(minutes, 2),
                    "strip text names noon")
        session.wait_recorded(noon + 8)
        close(desktop, session, wid)
    finally:
        session.stop()
    startup = session.level(session.start_tod, session.start_tod + 5, "of the start-up sound")
    check(startup > AUDIBLE_DBFS, "the recording hears the program (%.1f dBFS)" % startup)
    during = session.level(noon - 1, noon + 8, "while the strip-only noon showed")
    check(during < QUIET_DBFS, "nothing sounds at a strip-only noon (%.1f dBFS)" % during)
    values = stored(desktop)
    check_equal(values.get("Call-3"), "1", "noon's mode in the file")
    check_equal(new_keys(desktop), ["Call-3"], "the only new key")


def moved_sunset(desktop, args, recordings):
    minutes = slot_minutes(DAY, MONTH, 0)[4]
    table = minutes * 60
    moved = table + 60 * MOVE
    with open(settings_file(desktop), encoding="utf-8") as f:
        text = f.read().replace("Salat-6=1", "Salat-6=0")
    with open(settings_file(desktop), "w", encoding="utf-8") as f:
        f.write(text)
    session = CallSession(desktop, args.program, DATE, table - 25).start()
    try:
        wid = session.main_window()
        session.accessible()
        label = session.control("LB(4)")
        eventually(lambda: desktop.text(label), short_time(minutes)[:5] + ":00 PM",
                   "sunset's table time before the move")
        open_menu(desktop, session, 4)
        # The minutes' field is the fourth item that takes the keyboard; its number is selected.
        desktop.key("Down", "Down", "Down", "Down")
        desktop.type_text("%d" % MOVE)
        time.sleep(0.5)
        desktop.key("Escape")
        moved_text = short_time(minutes + MOVE)
        eventually(lambda: desktop.text(label), moved_text[:5] + ":00 " + moved_text[-2:],
                   "sunset's moved time shown at once", timeout=3)
        check_equal(desktop.text(session.control("PrayerMark(4)")), "+%d" % MOVE, "moved mark")
        check_equal(stored(desktop).get("Minutes-5"), str(MOVE), "key written when chosen")
        check(session.now() < table - 3, "the move was made before sunset (%s)"
              % hms(session.now()))
        publish(window_shot(desktop, wid, os.path.join(args.out, "moved-arabic.png")),
                "mainwindow-moved-arabic.png")

        session.sleep_until(table + 5)
        check_equal(session.strips(), [], "no strip at the table's minute")
        close(desktop, session, wid)
    finally:
        session.stop()
    quiet = session.level(table - 1, table + 5, "at the table's minute")
    check(quiet < QUIET_DBFS, "nothing sounds at the table's minute (%.1f dBFS)" % quiet)

    # Started again just before the moved minute rather than waiting for it: the move is read
    # back from the file, shown, and called at.
    session = CallSession(desktop, args.program, DATE, moved - 20).start()
    try:
        wid = session.main_window()
        session.accessible()
        eventually(lambda: desktop.text(session.control("LB(4)")),
                   moved_text[:5] + ":00 " + moved_text[-2:], "the moved time after a restart")
        _, _, shown_at = session.wait_strip(timeout=moved + 6 - session.now())
        print("strip shown at %s (%+.2f s from the moved time)" % (hms(shown_at), shown_at - moved))
        check(moved - 1 <= shown_at <= moved + 3, "the strip appears at the moved minute")
        check_equal(desktop.text(session.control("AlertWindow.Label1")),
                    strip_text(minutes + MOVE, 4), "strip text names the moved time")
        session.wait_recorded(moved + HEARD_S + 2)
        samples = session.samples()
        choose_language(desktop, session.app, wid, 1)
        time.sleep(1.0)
        publish(window_shot(desktop, wid, os.path.join(args.out, "moved-kurdish.png")),
                "mainwindow-moved-kurdish.png")
        close(desktop, session, wid)
    finally:
        session.stop()
    onset = recordings.expect_heard(samples, session, moved - 3, moved + 5, MUEZZIN,
                                    "at the moved minute", length_s=HEARD_S)
    print("%d.mp3 starts at %s (%+.2f s from the moved time)" % (MUEZZIN, hms(onset),
                                                                  onset - moved))
    check(moved - 1 <= onset <= moved + 3, "the call starts at the moved minute")
    values = stored(desktop)
    check_equal((values.get("Call-3"), values.get("Minutes-5")), ("1", str(MOVE)),
                "both choices kept")
    check_equal(new_keys(desktop), ["Call-3", "Minutes-5"], "the new keys")


def main():
    args = arguments(__doc__)
    recordings = Recordings(args.program)
    started = time.monotonic()
    with Desktop(tray=True) as desktop:
        marker = desktop.dir
        seed_settings(desktop, city=0, muezzin=MUEZZIN, lead=0, volume=80, language=1, logon=0)
        strip_only_noon(desktop, args)
        moved_sunset(desktop, args, recordings)
    check_equal(leftover_processes(marker), [], "processes left of the desktop")
    print("test took %.0f s" % (time.monotonic() - started))


if __name__ == "__main__":
    sys.exit(run(main))
