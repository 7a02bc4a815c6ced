#!/usr/bin/python3
"""The user's own recording, end to end: the program runs with muezzin 5 chosen; while it runs, a
file named 5.mp3 (here a copy of the shipped 2.mp3, so that the two can be told apart) is put into
the user's data folder ($XDG_DATA_HOME/tirvelon/Data). The noon call that follows plays that
file, without a restart, and not the shipped 5.mp3. A file of that name that cannot be decoded
(bytes that are no sound) gives way to the shipped 5.mp3: the call is still heard.

Each case runs in a process of its own (one desktop per process)."""

import os
import shutil
import subprocess
import sys

from e2e_support import arguments, check, check_equal, leftover_processes, run
from test_call_common import (AUDIBLE_DBFS, CallSession, Desktop, Recordings, hms, seed_settings,
                              slot_minutes)

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
}


def put_users_file(recordings, case, path):
    if case == "copy":
        shutil.copyfile(recordings.path(STAND_IN), path)
    else:
        with open(path, "wb") as f:
            f.write(bytes((i * 7919 + 13) % 251 for i in range(20000)))


def run_case(args, case):
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
