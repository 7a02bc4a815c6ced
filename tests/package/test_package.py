#!/usr/bin/python3
"""The Debian package, made from this build tree as "make package" makes it: the desktop entry,
the metainfo and the package pass their validators without an error; it holds exactly the
program, the data folder, the desktop's files and the eight icon sizes; its Depends carry the
program's libraries and the sound server's client libraries that its sound opens at run time. Unpacked (never installed) into a
folder whose path has a space, the program opens its window and plays its start-up sound from
the unpacked share/tirvelon/Data, writes an autostart entry that starts this very path, and a
second start of it hands over to the running copy."""

import argparse
import filecmp
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "e2e"))

from e2e_support import Desktop, check, check_equal, leftover_processes, run  # noqa: E402
from test_desktop_common import (autostart_on, autostart_path, click_control,  # noqa: E402
                                 docked_icon, exec_program, read_autostart, read_settings,
                                 settings_path, shown_main_window, show_log, wait_for,
                                 windows_of, x)
from test_desktop_handover import second_start  # noqa: E402
from test_smoke import VOLUME_50_DB, file_loudness  # noqa: E402

APP_ID = "io.github.tirvelon.Tirvelon"
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
DEB_NAME = "tirvelon_6.0-1_amd64.deb"
# The stand-in start-up sound: long enough to be told from the shipped one at a glance.
TONE_SECONDS = 4.0


def arguments():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--build", required=True, help="the built tree (holds CPackConfig.cmake)")
    parser.add_argument("--source", required=True, help="the source tree")
    parser.add_argument("--out", required=True, help="folder for screenshots and logs")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    return args


def output(args, check_rc=True):
    result = subprocess.run(args, capture_output=True, text=True, timeout=300)
    if check_rc and result.returncode != 0:
        raise RuntimeError("%s failed (%d):\n%s%s" % (" ".join(args), result.returncode,
                                                       result.stdout, result.stderr))
    return result


class Stages:
    """Prints how long each part of the test took."""

    def __init__(self):
        self.start = self.last = time.monotonic()

    def done(self, what):
        now = time.monotonic()
        print("-- %s: %.1f s" % (what, now - self.last))
        self.last = now


# ----- the package's files -----------------------------------------------------------------


def control_fields(deb):
    text = output(["dpkg-deb", "--field", deb]).stdout
    fields = {}
    for line in text.splitlines():
        if line[:1] not in (" ", "\t") and ":" in line:
            key, value = line.split(":", 1)
            fields[key] = value.strip()
    return fields


def dependency_names(depends):
    """Package names of a Depends value (alternatives included, versions left out)."""
    return {re.split(r"[\s(]", alt.strip())[0]
            for item in depends.split(",") for alt in item.split("|") if alt.strip()}


def check_control(deb):
    fields = control_fields(deb)
    print("Depends: " + fields.get("Depends", ""))
    check_equal((fields.get("Package"), fields.get("Version"), fields.get("Architecture")),
                ("tirvelon", "6.0-1", "amd64"), "package, version and architecture")
    names = dependency_names(fields.get("Depends", ""))
    # The Qt libraries only dpkg-shlibdeps puts there, and the sound server's client libraries,
    # which the program opens at run time and so links to neither.
    for name in ("libqt6widgets6", "libpulse0", "libasound2"):
        check(name in names, "Depends names %s" % name)
    stale = sorted(n for n in names if "multimedia" in n or n.startswith("gstreamer"))
    check_equal(stale, [], "Depends on the sound stack the program no longer uses")
    return names


def expected_files(source):
    data = sorted(os.listdir(os.path.join(source, "Data")))
    files = {"usr/bin/tirvelon",
             "usr/share/applications/%s.desktop" % APP_ID,
             "usr/share/metainfo/%s.metainfo.xml" % APP_ID,
             "usr/share/doc/tirvelon/copyright",
             "usr/share/doc/tirvelon/changelog.Debian.gz",
             "usr/share/man/man1/tirvelon.1.gz"}
    files.update("usr/share/tirvelon/Data/" + name for name in data)
    files.update("usr/share/icons/hicolor/%dx%d/apps/%s.png" % (s, s, APP_ID) for s in ICON_SIZES)
    return files


def check_contents(deb, source, root):
    listing = output(["dpkg-deb", "--contents", deb]).stdout.splitlines()
    files = {line.split()[-1].lstrip("./") for line in listing if line.startswith("-")}
    expected = expected_files(source)
    check_equal(sorted(files - expected), [], "files the package should not hold")
    check_equal(sorted(expected - files), [], "files missing from the package")

    for name in os.listdir(os.path.join(source, "Data")):
        check(filecmp.cmp(os.path.join(source, "Data", name),
                          os.path.join(root, "usr/share/tirvelon/Data", name), shallow=False),
              "Data/%s is shipped as it is in the source tree" % name)


def check_icons(root, source):
    for size in ICON_SIZES:
        path = os.path.join(root, "usr/share/icons/hicolor/%dx%d/apps/%s.png"
                            % (size, size, APP_ID))
        shape = output(["identify", "-format", "%m %w %h %A", path]).stdout.split()
        check_equal(shape, ["PNG", str(size), str(size), "True"],
                    "format, size and alpha of the %d px icon" % size)
    # The theme's icons are the window icon with round corners: inside the corners and the frame
    # line the 32 px one is the committed window icon, pixel for pixel (icons made before the
    # window icon was last redrawn would differ).
    inside = "[26x26+3+3]"
    result = output(["compare", "-metric", "AE",
                     os.path.join(root, "usr/share/icons/hicolor/32x32/apps/%s.png" % APP_ID)
                     + inside, os.path.join(source, "resources/icon.png") + inside, "null:"],
                    check_rc=False)
    check_equal(result.stderr.strip(), "0", "pixels where the 32 px theme icon differs from the "
                "window icon")


def desktop_keys(path):
    keys = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            if "=" in line and not line.startswith("#"):
                key, value = line.rstrip("\n").split("=", 1)
                keys[key] = value
    return keys


def check_validators(deb, root):
    desktop_file = os.path.join(root, "usr/share/applications/%s.desktop" % APP_ID)
    metainfo = os.path.join(root, "usr/share/metainfo/%s.metainfo.xml" % APP_ID)

    result = output(["desktop-file-validate", desktop_file], check_rc=False)
    print("desktop-file-validate: %r" % (result.stdout + result.stderr).strip())
    check(result.returncode == 0 and "error:" not in result.stdout,
          "desktop-file-validate finds no error")
    keys = desktop_keys(desktop_file)
    check_equal(keys.get("Icon"), APP_ID, "the desktop entry's icon is the theme icon's name")
    check_equal(keys.get("Exec"), "tirvelon", "the desktop entry starts usr/bin/tirvelon")

    result = output(["appstreamcli", "validate", "--no-net", "--explain", metainfo],
                    check_rc=False)
    print("appstreamcli validate:\n" + (result.stdout + result.stderr).strip())
    check(result.returncode == 0 and not re.search(r"^E:", result.stdout, re.M),
          "appstreamcli validate finds no error")
    with open(metainfo, encoding="utf-8") as f:
        text = f.read()
    check_equal(re.findall(r"<launchable type=\"desktop-id\">([^<]*)<", text),
                [os.path.basename(desktop_file)], "the metainfo launches the desktop entry")
    check_equal(re.findall(r"<id>([^<]*)</id>", text), [APP_ID], "the metainfo's id")

    result = output(["lintian", "--fail-on", "error", "--display-info", deb], check_rc=False)
    tags = [line for line in result.stdout.splitlines() if re.match(r"^[EWIPX]: ", line)]
    print("lintian:\n  " + "\n  ".join(tags or ["(nothing)"]))
    check_equal([t for t in tags if t.startswith("E: ")], [], "lintian's errors")
    check_equal(result.returncode, 0, "lintian's exit status")
    return keys


# ----- the unpacked program on the test desktop ---------------------------------------------


def startup_sound(desktop, recorder):
    """Seconds above -60 dBFS that the null sink got, once the start-up sound has played out."""
    deadline = time.monotonic() + 15
    while desktop.sounding_seconds(recorder.samples()) < 0.5 and time.monotonic() < deadline:
        time.sleep(0.2)
    # Then until it has stopped growing (the tone is the longest sound that can come).
    previous = None
    deadline = time.monotonic() + TONE_SECONDS + 5
    while time.monotonic() < deadline:
        current = desktop.sounding_seconds(recorder.samples())
        if current == previous:
            break
        previous = current
        time.sleep(1.5)
    return desktop.sounding_seconds(recorder.stop())


def window_class(wid):
    """The class half of the window's WM_CLASS."""
    found = re.findall(r'"([^"]*)"', x("xprop", "-id", str(wid), "WM_CLASS"))
    return found[1] if len(found) == 2 else None


def first_copy(desktop, program, args, entry_keys):
    """The package's own data: window, start-up sound, autostart entry, hand-over."""
    wave = os.path.join(os.path.dirname(os.path.dirname(program)), "share/tirvelon/Data/Wave.wav")
    recorder = desktop.recorder().start()
    first = desktop.start_program(program)
    try:
        wid, took = wait_for(lambda: shown_main_window(first.pid), 60, 0.2)
        check(wid, "the unpacked program shows its window (%.1f s)" % took)
        check_equal(window_class(wid), entry_keys.get("StartupWMClass"),
                    "the window's class, as the desktop entry names it")
        desktop.screenshot(os.path.join(args.out, "package.png"))
        sounding = startup_sound(desktop, recorder)
        expected, _ = file_loudness(wave, VOLUME_50_DB)
        print("start-up sound: %.1f s heard, the shipped Wave.wav gives %.1f s"
              % (sounding, expected))
        check(abs(sounding - expected) <= 0.4, "the shipped start-up sound is heard, whole")

        entry = read_autostart(desktop)
        print("autostart Exec=%s" % entry.get("Exec"))
        check(autostart_on(entry), "the first start turns the autostart entry on")
        check_equal(exec_program(entry), program, "the program the autostart entry starts")
        check(entry["Exec"].startswith('"'), "the path with a space is quoted in Exec")

        app = desktop.accessible_app(pid=first.pid, timeout=60)
        icon, _ = wait_for(lambda: docked_icon(first.pid), 30, 0.2)
        check(icon, "its icon is docked")
        click_control(desktop, app, "Label4")
        hidden, _ = wait_for(lambda: shown_main_window(first.pid) is None, 5)
        check(hidden, "it hides in the tray")
        code, restored, ended, shown = second_start(desktop, program,
                                                    lambda: shown_main_window(first.pid))
        print("second start: ended after %s s with status %r, window back after %s s"
              % (ended and "%.2f" % ended, code, restored and "%.2f" % restored))
        check_equal(code, 0, "exit status of the second start")
        check_equal(sorted(shown), [], "windows shown by the second copy")
        check(restored is not None and restored <= 2.0, "the running copy takes the request "
              "and shows its window within 2 s")
        check(first.alive(), "the first copy still runs")
        check_equal(read_settings(desktop).get("Close"), "", "the request, taken and cleared")
    finally:
        recorder.stop()
        show_log(first)
        first.stop()
    return expected


def marked_copy(desktop, program, shipped_seconds):
    """The unpacked Wave.wav swapped for a tone that only the unpacked tree has: what is heard
    must be that tone."""
    wave = os.path.join(os.path.dirname(os.path.dirname(program)), "share/tirvelon/Data/Wave.wav")
    subprocess.run(["sox", "-n", "-r", "44100", "-c", "1", "-b", "16", wave, "synth",
                    str(TONE_SECONDS), "sine", "660", "vol", "0.5"], check=True)
    tone, _ = file_loudness(wave, VOLUME_50_DB)
    check(abs(tone - shipped_seconds) > 1.5, "the tone (%.1f s) is told from the shipped sound "
          "(%.1f s)" % (tone, shipped_seconds))

    # As a first start again, so that it neither hides nor finds the earlier copy's choices.
    for path in (settings_path(desktop), autostart_path(desktop)):
        if os.path.exists(path):
            os.remove(path)
    recorder = desktop.recorder().start()
    program_run = desktop.start_program(program)
    try:
        wid, _ = wait_for(lambda: windows_of(program_run.pid, visible=True), 60, 0.2)
        check(wid, "the marked copy shows its window")
        sounding = startup_sound(desktop, recorder)
        print("start-up sound: %.1f s heard, the tone gives %.1f s" % (sounding, tone))
        check(abs(sounding - tone) <= 0.4, "the unpacked data's Wave.wav is what plays")
    finally:
        recorder.stop()
        show_log(program_run)
        program_run.stop()


def main():
    args = arguments()
    stages = Stages()
    work = tempfile.mkdtemp(prefix="tirvelon-package-")
    try:
        made = subprocess.run([os.path.join(args.source, "tools/package/make-deb.sh"), args.build,
                               os.path.join(work, "dist")], capture_output=True, text=True,
                              timeout=300)
        if made.returncode != 0:
            raise RuntimeError("make-deb.sh failed:\n" + made.stderr)
        deb = made.stdout.strip()
        check_equal(os.path.basename(deb), DEB_NAME, "package file name")
        stages.done("package made")

        root = os.path.join(work, "un packed")
        output(["dpkg-deb", "-x", deb, root])
        check_control(deb)
        check_contents(deb, args.source, root)
        check_icons(root, args.source)
        stages.done("contents checked")
        entry_keys = check_validators(deb, root)
        stages.done("validators")

        program = os.path.join(root, "usr/bin/tirvelon")
        check(not os.path.exists(os.path.join(root, "usr/bin/Data")),
              "no data folder beside the unpacked program: only ../share/tirvelon/Data can serve")
        with Desktop(tray=True) as desktop:
            marker = desktop.dir
            shipped = first_copy(desktop, program, args, entry_keys)
            marked_copy(desktop, program, shipped)
        check_equal(leftover_processes(marker), [], "processes left of the desktop")
        stages.done("unpacked program")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("-- in all: %.1f s" % (time.monotonic() - stages.start))


if __name__ == "__main__":
    sys.exit(run(main))
