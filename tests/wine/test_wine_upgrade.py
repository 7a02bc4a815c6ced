#!/usr/bin/python3
"""Installing over a running copy and uninstalling it, under Wine on the test desktop.

The installer is run silently into a fresh prefix, and the installed tirvelon.exe and Qt6Core.dll
are made into an "old version" (a byte appended: the files still load, and differ from the
package's). The program is started with the city, muezzin and volume seeded in the registry;
while it runs, the registry values are overwritten behind its back. Only the program's normal
close (WM_CLOSE: closeEvent saves the choices it holds) writes its own values back, so finding
them again after the upgrade proves the copy was closed that way and not killed.

Then `setup.exe /S` over the running copy: it ends with 0, the package's files are in place, the
choices were saved, and the program runs again (a new process, its window shown). Then
`uninstall.exe /S` with that copy running: it closes it the same way, nothing of the program is
left in the folder, the Apps entry is gone, the settings key is kept.

Wine runs the installer as an administrator (installed for every user), so the elevated paths
(the restart through the shell, the uninstaller's elevation) take their Wine branch here."""

import hashlib
import glob
import os
import subprocess
import sys
import time

from wine_support import (Desktop, WinePrefix, arguments, leftover_processes, program_pids,
                          require)

from e2e_support import check, check_equal, run  # noqa: I
import procs  # noqa: E402

INSTALL_DIR = r"C:\Program Files\Tirvelon Upgrade"
SETTINGS_KEY = r"HKCU\Software\Tirvelon\Tirvelon\Settings"
UNINSTALL_KEY = r"Software\Microsoft\Windows\CurrentVersion\Uninstall\Tirvelon"
# What the program holds (seeded before its start) and what is written behind its back.
HELD = {"Salat-1": "2", "Salat-4": "3", "Salat-2": "70"}
OVERWRITTEN = {"Salat-1": "0", "Salat-4": "0", "Salat-2": "5"}
REPLACED = ("tirvelon.exe", "Qt6Core.dll")


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def run_windows(wine, command, log, timeout):
    """Runs a Windows program to its end; returns its exit code. command: a command line for
    cmd, or a list (program and arguments). The output goes to a file, not a pipe: a program it
    starts keeps the inherited handles open."""
    if isinstance(command, str):
        command = ["cmd", "/c", command]
    with open(log, "a") as out:
        return subprocess.run(["wine", *command], env=wine.env(), stdout=out,
                              stderr=out, timeout=timeout, cwd=wine.desktop.home).returncode


def main_window(desktop):
    return procs.wait_until(lambda: desktop.windows(title="Tirvelon"), 60, interval=0.2,
                            what="the main window")[0]


def overwrite_behind_its_back(wine):
    for name, value in OVERWRITTEN.items():
        wine.reg_add(SETTINGS_KEY, name, value)


def check_saved_by_close(wine, what):
    settings = wine.reg_values(SETTINGS_KEY)
    check_equal({name: settings.get(name) for name in HELD}, HELD,
                "the choices the program held, written by its close during " + what)


def main():
    args = arguments(__doc__)
    setups = sorted(glob.glob(os.path.join(args.dist, "tirvelon-*-setup.exe")))
    require(setups[-1] if setups else os.path.join(args.dist, "tirvelon-<version>-setup.exe"),
            "the Windows installer")
    setup = setups[-1]
    stage = setup[:-len("-setup.exe")] + "-windows-x64"
    require(os.path.join(stage, "tirvelon.exe"), "the gathered program folder")
    log = os.path.join(args.out, "upgrade-installers.log")
    began = time.monotonic()
    with Desktop(tray=True) as desktop:
        marker = desktop.dir
        wine = WinePrefix(desktop).create()
        try:
            command = "%s /S /D=%s" % (wine.windows_path(setup), INSTALL_DIR)
            check_equal(run_windows(wine, command, log, 300), 0, "the first install's exit code")
            wine.wait_idle()
            installed = wine.unix_path(INSTALL_DIR)
            for name in REPLACED:
                with open(os.path.join(installed, name), "ab") as f:
                    f.write(b"old")
            old = {name: digest(os.path.join(installed, name)) for name in REPLACED}

            for name, value in HELD.items():
                wine.reg_add(SETTINGS_KEY, name, value)
            wine.start(INSTALL_DIR + "\\tirvelon.exe", name="old-copy")
            first_window = main_window(desktop)
            first_pids = program_pids(marker)
            check_equal(len(first_pids), 1, "processes running tirvelon.exe before the upgrade")
            time.sleep(2)  # past the start-up
            overwrite_behind_its_back(wine)

            # ----- the upgrade over the running copy ------------------------------------------
            started = time.monotonic()
            check_equal(run_windows(wine, command, log, 120), 0, "the upgrade's exit code")
            print("upgrade over the running copy took %.1f s" % (time.monotonic() - started))
            for name in REPLACED:
                now = digest(os.path.join(installed, name))
                check(now != old[name], "the upgrade replaced the old " + name)
                check_equal(now, digest(os.path.join(stage, name)), name + " is the package's")
            check_saved_by_close(wine, "the upgrade")
            check(first_window not in desktop.windows(), "the old copy's window is gone")
            procs.wait_until(lambda: desktop.windows(title="Tirvelon"), 60, interval=0.2,
                             what="the new copy's window")
            pids = program_pids(marker)
            check_equal(len(pids), 1, "processes running tirvelon.exe after the upgrade")
            check(pids[0] not in first_pids, "the copy running now is a new process")
            time.sleep(2)

            # ----- the uninstall with a copy running ------------------------------------------
            overwrite_behind_its_back(wine)
            # By its Windows path, as the Apps entry starts it (a Unix path would be seen
            # through drive Z:).
            uninstaller = INSTALL_DIR + "\\uninstall.exe"
            check_equal(run_windows(wine, [uninstaller, "/S"], log, 60), 0,
                        "the uninstaller's exit code")
            # It copies itself to the temporary folder and runs from there; its end is the end
            # of every Wine process (nothing of the program may remain to hold the prefix).
            try:
                wine.wait_idle(timeout=60)
            except subprocess.TimeoutExpired:
                check(False, "the uninstall ends and leaves no Wine process running")
            check_equal(program_pids(marker), [], "processes running tirvelon.exe")
            check_saved_by_close(wine, "the uninstall")
            left = sorted(os.listdir(installed)) if os.path.exists(installed) else []
            check_equal(left, [], "what is left of the program's folder")
            for hive in ("HKCU", "HKLM"):
                check_equal(wine.reg_values(hive + "\\" + UNINSTALL_KEY), {},
                            "the Apps entry in " + hive)
        finally:
            wine.kill_all()
    check_equal(leftover_processes(marker), [], "processes left of the desktop")
    print("whole run %.0f s" % (time.monotonic() - began))


if __name__ == "__main__":
    sys.exit(run(main))
