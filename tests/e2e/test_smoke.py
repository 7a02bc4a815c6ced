#!/usr/bin/python3
"""Smoke test: the real program starts on a desktop, shows its borderless 491 x 272 window and
exposes its widgets over AT-SPI, its start-up sound comes out of the sound server; it is stopped
again and nothing of the desktop is left. Started in a Wayland session with an X server at hand
(XWayland), it opens its window on the X server, where it can place itself and its strip."""

import math
import os
import subprocess
import sys
import time

from e2e_support import (Desktop, arguments, check, check_equal, leftover_processes,  # noqa: I
                         run)

import audio  # noqa: E402  (the harness's, put on the path by e2e_support)


# The players' gain at volume 50 (their logarithmic taper): -16.4 dB.
VOLUME_50_DB = 20 * math.log10(-math.log(1 - 0.5) / math.log(100))


def file_loudness(path, gain_db):
    """(seconds above -60 dBFS, loudest 0.1 s in dBFS) of an audio file played at gain_db."""
    raw = subprocess.run(["sox", path, "-t", "raw", "-r", "44100", "-e", "signed", "-b", "16",
                          "-c", "1", "-"], capture_output=True, check=True).stdout
    samples = audio.samples_from_bytes(raw)
    levels = [level + gain_db for _, level in audio.loudness(samples)]
    return sum(0.1 for level in levels if level > -60), max(levels)


def main():
    args = arguments(__doc__)
    with Desktop(tray=True) as desktop:
        marker = desktop.dir
        recorder = desktop.recorder().start()
        program = desktop.start_program(args.program)
        try:
            window = desktop.wait_for_window("Tirvelon", timeout=60)
            check(program.alive(), "the program runs")
            check_equal(desktop.window_title(window), "Tirvelon", "window title")
            _, _, width, height = desktop.window_geometry(window)
            check_equal((width, height), (491, 272), "window size")

            app = desktop.accessible_app(pid=program.pid, timeout=60)
            check_equal(app.name, "Tirvelon", "accessible application name")
            check(app.childCount >= 1, "the application has %d accessible child(ren)"
                  % app.childCount)
            nodes = list(desktop.walk(app))
            print("accessible nodes: %d" % len(nodes))

            shot = desktop.screenshot(os.path.join(args.out, "smoke.png"))
            check(os.path.getsize(shot) > 0, "screenshot written to " + shot)

            # The start-up sound plays once, at the players' volume of 50.
            deadline = time.monotonic() + 15
            while desktop.sounding_seconds(recorder.samples()) < 0.5 \
                    and time.monotonic() < deadline:
                time.sleep(0.2)
            time.sleep(2.0)
            samples = recorder.stop()
            sounding = desktop.sounding_seconds(samples)
            loudest = max(level for _, level in desktop.loudness(samples))
            wave = os.path.join(os.path.dirname(args.program), "Data", "Wave.wav")
            source_sounding, source_loudest = file_loudness(wave, VOLUME_50_DB)
            print("start-up sound: %.1f s above -60 dBFS, loudest 0.1 s %.1f dBFS; the file at "
                  "volume 50 would give %.1f s and %.1f dBFS" % (sounding, loudest,
                                                               source_sounding, source_loudest))
            check(abs(sounding - source_sounding) <= 0.4, "the start-up sound is heard once, "
                  "whole")
            check(abs(loudest - source_loudest) <= 6.0, "the start-up sound is as loud as the "
                  "file at volume 50")
        finally:
            recorder.stop()
            log = program.log()
            program.stop()
            if log.strip():
                print("--- program output ---\n" + log[-3000:])

        # A Wayland session of a desktop Qt would use the Wayland platform on (not GNOME's).
        wayland = desktop.start_program(args.program, env={
            "XDG_SESSION_TYPE": "wayland", "XDG_CURRENT_DESKTOP": "KDE",
            "WAYLAND_DISPLAY": "wayland-tirvelon-none"})
        try:
            deadline = time.monotonic() + 60
            while not desktop.windows(pid=wayland.pid) and wayland.alive() \
                    and time.monotonic() < deadline:
                time.sleep(0.2)
            check(desktop.windows(pid=wayland.pid),
                  "in a Wayland session the window opens on the X server")
            # Where Qt's Wayland platform is installed it would have taken it.
            check('platform plugin "wayland"' not in wayland.log(),
                  "it does not try the Wayland platform")
        finally:
            log = wayland.log()
            wayland.stop()
            if log.strip():
                print("--- program output ---\n" + log[-3000:])
    check_equal(leftover_processes(marker), [], "processes left of the desktop")


if __name__ == "__main__":
    sys.exit(run(main))
