#!/usr/bin/python3
"""The strip's slide-out during a call, real sound: while the night call of muezzin 1 sounds at
volume 80, its close mark is clicked with the mouse. The desktop has a 48 px panel along the
bottom that reserves its space, as a taskbar does: the strip and its close mark stand above it, in
the work area's corner (screenshot slideout-above-panel.png). Over the next ~1.4 s the strip moves
down out of the work area step by step and the call fades: 0.3 s windows before, during and after
the slide are compared, as heard and as a gain against the recording itself at the same place.
The call plays on nearly silent, and the strip closes when the recording ends."""

import os
import sys
import time

from e2e_support import arguments, check, check_equal, leftover_processes, run
from test_call_common import (AUDIBLE_DBFS, CallSession, Desktop, Recordings, align,
                              check_strip_placed, dbfs, envelope, hms, seed_settings,
                              slot_minutes, window_map_state)

DAY, MONTH, YEAR = 21, 3, 2026
CITY = 0  # Erbil
MUEZZIN = 1
VOLUME = 80
LEAD_IN = 20
PANEL = 48  # the height of a Windows 11 taskbar
# The windows compared, in seconds from the click (the slide takes ~1.4 s).
WINDOWS = {"before": (-0.4, -0.1), "during": (0.55, 0.85), "after": (1.8, 2.1)}


def main():
    args = arguments(__doc__)
    recordings = Recordings(args.program)
    reference = recordings.samples(MUEZZIN)
    length = len(reference) / 44100.0
    night = slot_minutes(DAY, MONTH, CITY)[5] * 60
    click_offset = speech_everywhere(reference)
    print("night call at %s; %d.mp3 lasts %.2f s; the mark is clicked %.2f s into it"
          % (hms(night), MUEZZIN, length, click_offset))

    with Desktop(tray=True, panel=PANEL) as desktop:
        marker = desktop.dir
        seed_settings(desktop, city=CITY, muezzin=MUEZZIN, lead=0, volume=VOLUME, language=0,
                      logon=0)
        session = CallSession(desktop, args.program, "%d-%02d-%02d" % (YEAR, MONTH, DAY),
                              night - LEAD_IN).start()
        try:
            main_wid = session.main_window()
            session.accessible()
            strip, geometry, shown_at = session.wait_strip(timeout=night + 6 - session.now())
            check(night - 1 <= shown_at <= night + 3, "the strip appears at the night call")
            area = desktop.work_area()
            screen_width, screen_height = desktop.screen_size()
            check_equal(area, (0, 0, screen_width, screen_height - PANEL),
                        "the work area left above the panel")
            check_strip_placed(session, geometry, main_wid, strip)
            x, y, w, h = desktop.extents(session.control("AlertWindow.Label2"))
            print("close mark at (%d, %d), %d x %d" % (x, y, w, h))
            check(inside((x, y, w, h), area) and inside(geometry, area),
                  "the strip and its close mark stand above the panel")
            shot = desktop.screenshot(os.path.join(args.out, "slideout-above-panel.png"))
            print("screenshot:", shot)

            # Where the call started, from what was heard so far, fixes the click's moment.
            session.wait_recorded(night + 4)
            score, start = align(envelope(session.samples()), recordings.envelope(MUEZZIN),
                                 session.rec_second(night - 3), session.rec_second(night + 3),
                                 length_s=3)
            check(score > 0.8, "%d.mp3 is heard (correlation %.3f)" % (MUEZZIN, score))
            onset = session.tod_of(start)
            session.sleep_until(onset + click_offset - 0.05)
            desktop.click(x + w // 2, y + h // 2)
            clicked = session.now()
            print("clicked at %s, %.2f s into the call" % (hms(clicked), clicked - onset))

            path = track(session, strip, seconds=2.5)
            closed_at = session.wait_window_destroyed(strip,
                                                      timeout=onset + length + 6 - session.now())
            print("strip closed %.2f s after the recording ended" % (closed_at - onset - length))
            session.wait_recorded(closed_at + 1)
        finally:
            session.stop()

        # The fade, as heard and against the recording itself at the same place.
        heard, gain = {}, {}
        for name, (a, b) in WINDOWS.items():
            heard[name] = session.level(clicked + a, clicked + b, "%s the slide" % name)
            ref = dbfs(reference, clicked + a - onset, clicked + b - onset)
            gain[name] = heard[name] - ref
            print("  %d.mp3 there: %.1f dBFS, so the gain is %.1f dB" % (MUEZZIN, ref, gain[name]))
        tail = session.level(clicked + 3, onset + length - 1, "of the rest of the call")
        check(heard["before"] > AUDIBLE_DBFS, "the call sounds before the click")
        check(heard["before"] > heard["during"] > heard["after"],
              "the loudness falls during the slide")
        check(gain["before"] - gain["during"] >= 3, "half-way down the call is fainter")
        check(gain["during"] - gain["after"] >= 10, "parked, the call is nearly silent")
        check(gain["after"] < -40, "after the slide the gain is %.1f dB" % gain["after"])
        check(tail < heard["during"], "the call plays on faintly (%.1f dBFS)" % tail)
        check(onset + length - 0.5 <= closed_at <= onset + length + 3.0,
              "the strip closes when the recording ends")

        # The strip's way down, as the window system saw it: toward the work area's bottom, where
        # it is hidden.
        bottom = area[1] + area[3]
        print("strip seen after the click (top/map state x times): %s" % runs(path))
        shown = [top for _, top, state in path if state == "IsViewable"]
        check(shown == sorted(shown), "the strip only moves down")
        steps = {top for top in shown if geometry[1] < top < bottom}
        check(len(steps) >= 8, "it moves in small steps (%d places seen on the way)" % len(steps))
        gone = next((t for t, top, state in path
                     if state != "IsViewable" or top >= screen_height), None)
        check(gone is not None, "it leaves the screen (last seen at top %d of %d, %s)"
              % (path[-1][1], screen_height, path[-1][2]))
        print("off the screen %.2f s after the click" % (gone - clicked))
        check(0.9 <= gone - clicked <= 2.5, "the slide takes about 1.4 s")
        last_shown = max(shown) if shown else geometry[1]
        check(bottom - 15 <= last_shown <= bottom,
              "the slide ends at the work area's bottom (last seen at top %d, bottom %d)"
              % (last_shown, bottom))
    check_equal(leftover_processes(marker), [], "processes left of the desktop")


def inside(box, area):
    """Whether box (x, y, width, height) lies wholly inside area."""
    return (area[0] <= box[0] and area[1] <= box[1] and box[0] + box[2] <= area[0] + area[2]
            and box[1] + box[3] <= area[1] + area[3])


def speech_everywhere(reference, threshold=-40.0):
    """The first moment, 3 s or later into the recording, around which every window compared
    holds speech, so that a fall in loudness is the fade's and not a pause's."""
    t = 3.0
    while t < len(reference) / 44100.0 - 3:
        levels = [dbfs(reference, t + a, t + b) for a, b in WINDOWS.values()]
        if min(levels) > threshold and max(levels) - min(levels) < 6:
            return t
        t += 0.05
    return 5.0


def runs(path):
    """The tops and map states seen, repeats folded: "736 737 797x4 797/IsUnMapped x40"."""
    out = []
    for _, top, state in path:
        word = "%d" % top if state == "IsViewable" else "%d/%s" % (top, state)
        if out and out[-1][0] == word:
            out[-1][1] += 1
        else:
            out.append([word, 1])
    return " ".join(w if n == 1 else "%s x%d" % (w, n) for w, n in out)


def track(session, strip, seconds):
    """(time of day, top, map state) of the strip, as fast as the window system answers."""
    path = []
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        state = window_map_state(strip)
        if state is None:
            break
        try:
            top = session.desktop.window_geometry(strip)[1]
        except RuntimeError:
            break  # gone between the two questions; the close time is checked on its own
        path.append((session.now(), top, state))
        time.sleep(0.02)
    return path


if __name__ == "__main__":
    sys.exit(run(main))
