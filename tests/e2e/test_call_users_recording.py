#!/usr/bin/python3
"""The user's own recording, end to end: the program runs with muezzin 5 chosen; while it runs, a
file named 5.mp3 (here a copy of the shipped 2.mp3, so that the two can be told apart) is put into
the user's data folder ($XDG_DATA_HOME/tirvelon/Data). The noon call that follows plays that
file, without a restart, and not the shipped 5.mp3. A file of that name that cannot be decoded
(bytes that are no sound) gives way to the shipped 5.mp3: the call is still heard.

Chosen in the window: the muezzin list's menu opens Qt's file dialog, where a copy of 2.mp3 made
12 dB quieter is picked; the list marks the muezzin, the noon call plays it as loud as the shipped
2.mp3 (within 3 dB), and the MPRIS player's Stop ends it: the strip slides out and the sound goes.
"The shipped recording" then brings 5.mp3 back. Started again with GNOME's banners off (do not
disturb), the afternoon call sounds a quarter as loud (-12 dB).

Each case runs in a process of its own (one desktop per process)."""

import math
import os
import shutil
import subprocess
import sys
import time

from e2e_support import arguments, check, check_equal, leftover_processes, run
from procs import wait_until
from test_call_common import (AUDIBLE_DBFS, QUIET_DBFS, CallSession, Desktop, Recordings, dbfs,
                              decode, hms, seed_settings, slot_minutes)
from test_desktop_common import press_box_button

DAY, MONTH, YEAR = 21, 3, 2026
CITY = 0
MUEZZIN = 5
STAND_IN = 2  # the shipped recording copied in as the user's 5.mp3
LEAD_IN = 20
HEARD_S = 10
# The user's file, and the recording heard at noon because of it.
CASES = {
    "copy": ("a copy of %d.mp3" % STAND_IN, STAND_IN),
    "undecodable": ("bytes that are no sound", MUEZZIN),
    "chosen": ("a copy of %d.mp3 12 dB quieter, chosen in the window" % STAND_IN, STAND_IN),
}
VOLUME = 70
# The players' taper at VOLUME (-ln(1 - v/100) / ln 100), in dB.
VOLUME_DB = 20 * math.log10(-math.log(1 - VOLUME / 100) / math.log(100))
OWN_MARK = " (تسجيلك)"


def put_users_file(recordings, case, path):
    if case == "copy":
        shutil.copyfile(recordings.path(STAND_IN), path)
    else:
        with open(path, "wb") as f:
            f.write(bytes((i * 7919 + 13) % 251 for i in range(20000)))


def expected_level(recordings, index, start_s, end_s, trim_db=0.0):
    """The level a shipped recording plays at VOLUME between two of its own seconds."""
    return dbfs(decode(recordings.path(index)), start_s, end_s) + VOLUME_DB + trim_db


def open_recordings_menu(desktop, app):
    box = desktop.extents(desktop.find(app, description="Combo2"))
    desktop.click(box[0] + box[2] // 2, box[1] + box[3] // 2, button=3)
    time.sleep(1.0)


def mpris_stop(desktop):
    subprocess.run(["dbus-send", "--session", "--print-reply",
                    "--dest=org.mpris.MediaPlayer2.tirvelon", "/org/mpris/MediaPlayer2",
                    "org.mpris.MediaPlayer2.Player.Stop"], env=desktop.env(), check=True,
                   capture_output=True, timeout=10)


def bus_names(desktop):
    return subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                           "/org/freedesktop/DBus", "org.freedesktop.DBus.ListNames"],
                          env=desktop.env(), capture_output=True, text=True, timeout=10).stdout


def run_chosen(args):
    recordings = Recordings(args.program)
    times = slot_minutes(DAY, MONTH, CITY)
    noon, afternoon = times[2] * 60, times[3] * 60
    date = "%d-%02d-%02d" % (YEAR, MONTH, DAY)
    # GNOME's settings in a file of the private HOME, so the test can turn do-not-disturb on.
    os.environ["GSETTINGS_BACKEND"] = "keyfile"
    with Desktop(tray=True) as desktop:
        marker = desktop.dir
        quiet = os.path.join(desktop.home, "Music", "quiet call.wav")
        os.makedirs(os.path.dirname(quiet))
        subprocess.run(["sox", recordings.path(STAND_IN), quiet, "gain", "-12"], check=True)
        seed_settings(desktop, city=CITY, muezzin=MUEZZIN, lead=0, volume=VOLUME, language=0,
                      logon=0)
        session = CallSession(desktop, args.program, date, noon - 45).start()
        own = os.path.join(desktop.data_home, "tirvelon", "Data", "%d.mp3" % MUEZZIN)
        try:
            session.main_window()
            app = session.accessible()
            open_recordings_menu(desktop, app)
            desktop.key("Down", "Return")  # the muezzin's "choose a recording…"
            time.sleep(2.0)
            desktop.key("ctrl+a")
            desktop.type_text(quiet)
            desktop.key("Return")
            wait_until(lambda: os.path.exists(own), 15, what="the chosen file in the data folder")
            combo = desktop.find(app, description="Combo2")
            check(combo.name.endswith(OWN_MARK), "the list marks the muezzin (%r)" % combo.name)
            # The chosen file's preview plays; the play button stops it before noon.
            time.sleep(1.0)
            box = desktop.extents(desktop.find(app, description="Command1"))
            desktop.click(box[0] + box[2] // 2, box[1] + box[3] // 2)
            session.wait_strip_gone(timeout=5)
            check(session.now() < noon - 3, "chosen before the call (%s)" % hms(session.now()))
            session.wait_strip(timeout=noon + 6 - session.now())
            session.sleep_until(noon + HEARD_S + 1)
            session.wait_recorded(noon + HEARD_S + 1)
            check("org.mpris.MediaPlayer2.tirvelon" in bus_names(desktop),
                  "the call is a media player on the bus")
            stopped = session.now()
            mpris_stop(desktop)
            gone = session.wait_strip_gone(timeout=6)
            print("MPRIS Stop at %s, strip gone at %s" % (hms(stopped, 1), hms(gone, 1)))
            session.wait_recorded(gone + 3)
            samples = session.samples()
            check("org.mpris.MediaPlayer2.tirvelon" not in bus_names(desktop),
                  "the player leaves the bus when the call stops")
            onset = recordings.expect_heard(samples, session, noon - 3, noon + 5, STAND_IN,
                                            "at noon (the chosen file)", length_s=HEARD_S - 2)
            heard = session.level(onset + 1, onset + HEARD_S - 1, "of the chosen file")
            shipped = expected_level(recordings, STAND_IN, 1, HEARD_S - 1)
            print("the shipped %d.mp3 plays at %.1f dBFS there" % (STAND_IN, shipped))
            check(abs(heard - shipped) <= 3, "as loud as the shipped recording (%.1f against "
                  "%.1f dBFS)" % (heard, shipped))
            after = session.level(gone + 0.5, gone + 3, "after the strip slid out")
            check(after < heard - 40, "the stopped call is silent (%.1f dBFS)" % after)

            open_recordings_menu(desktop, app)
            desktop.key("Down", "Down", "Return")  # "the shipped recording"
            press_box_button(desktop, app, "Yes")
            wait_until(lambda: not os.path.exists(own), 10, what="the user's file removed")
            check(not combo.name.endswith(OWN_MARK), "the mark is gone (%r)" % combo.name)
        finally:
            session.stop()

        # Do not disturb: the afternoon call, from the shipped 5.mp3 again, a quarter as loud.
        keyfile = os.path.join(desktop.config_home, "glib-2.0", "settings", "keyfile")
        os.makedirs(os.path.dirname(keyfile), exist_ok=True)
        with open(keyfile, "w") as f:
            f.write("[org/gnome/desktop/notifications]\nshow-banners=false\n")
        session = CallSession(desktop, args.program, date, afternoon - 15).start()
        try:
            session.main_window()
            session.wait_strip(timeout=afternoon + 6 - session.now())
            session.sleep_until(afternoon + HEARD_S + 1)
            session.wait_recorded(afternoon + HEARD_S + 1)
            samples = session.samples()
        finally:
            session.stop()
        onset = recordings.expect_heard(samples, session, afternoon - 3, afternoon + 5, MUEZZIN,
                                        "in the afternoon", length_s=HEARD_S - 2)
        heard = session.level(onset + 1, onset + HEARD_S - 1, "of the call in a meeting")
        full = expected_level(recordings, MUEZZIN, 1, HEARD_S - 1)
        check(abs(heard - (full - 12)) <= 2, "a quarter as loud: %.1f dBFS against %.1f at full "
              "volume" % (heard, full))
    check_equal(leftover_processes(marker), [], "processes left of the desktop")


def run_case(args, case):
    if case == "chosen":
        return run_chosen(args)
    what, expected = CASES[case]
    recordings = Recordings(args.program)
    noon = slot_minutes(DAY, MONTH, CITY)[2] * 60
    print("noon at %s" % hms(noon))

    with Desktop(tray=True) as desktop:
        marker = desktop.dir
        seed_settings(desktop, city=CITY, muezzin=MUEZZIN, lead=0, volume=70, language=0,
                      logon=0)
        session = CallSession(desktop, args.program, "%d-%02d-%02d" % (YEAR, MONTH, DAY),
                              noon - LEAD_IN).start()
        try:
            session.main_window()
            users = os.path.join(desktop.data_home, "tirvelon", "Data")
            os.makedirs(users, exist_ok=True)
            put_users_file(recordings, case, os.path.join(users, "%d.mp3" % MUEZZIN))
            print("put %s as the user's %d.mp3 at %s" % (what, MUEZZIN, hms(session.now())))
            check(session.now() < noon - 3, "the file is in place before the call")
            session.wait_strip(timeout=noon + 6 - session.now())
            session.wait_recorded(noon + HEARD_S + 2)
            samples = session.samples()
        finally:
            session.stop()

        onset = recordings.expect_heard(samples, session, noon - 3, noon + 5, expected,
                                        "at noon (the user's file: %s)" % what,
                                        length_s=HEARD_S)
        check(noon - 1 <= onset <= noon + 3, "%d.mp3 starts at noon (%s)" % (expected,
                                                                          hms(onset)))
        during = session.level(onset, onset + HEARD_S, "of %d.mp3" % expected)
        check(during > AUDIBLE_DBFS, "the call is audible (%.1f dBFS)" % during)
    check_equal(leftover_processes(marker), [], "processes left of the desktop")


def main():
    if "--case" in sys.argv:
        at = sys.argv.index("--case")
        case = sys.argv[at + 1]
        del sys.argv[at:at + 2]
        run_case(arguments(__doc__), case)
        return 0
    failed = [case for case in CASES
              if subprocess.run([sys.executable, os.path.abspath(__file__), *sys.argv[1:],
                                 "--case", case]).returncode != 0]
    check_equal(failed, [], "cases that failed")
    return 0


if __name__ == "__main__":
    sys.exit(run(main))
