#!/usr/bin/python3
"""The Windows build's unit tests, run as .exe files under Wine on the test desktop: every test
that CTest lists in the MinGW-w64 build folder, with the environment CTest would give it, in
one throw-away Wine prefix. Each must end with status 0 and a QtTest total with no failure."""

import json
import os
import re
import subprocess
import sys
import time

from wine_support import SOURCE_DIR, Desktop, WinePrefix, arguments, require

from e2e_support import Failure, check, run  # noqa: I


def listed_tests(build):
    out = subprocess.run(["ctest", "--show-only=json-v1"], cwd=build, capture_output=True,
                         text=True, check=True, timeout=120).stdout
    tests = []
    for test in json.loads(out)["tests"]:
        env = {}
        for prop in test.get("properties", []):
            if prop["name"] == "ENVIRONMENT":
                for item in prop["value"]:
                    key, _, value = item.partition("=")
                    env[key] = value
        tests.append((test["name"], test["command"], env))
    return tests


def runtime_path(build):
    """Folders of the DLLs the test programs need (Wine's PATH), and the Qt plugin folder: the
    build's Qt prefix, read from its CMake cache, and the MinGW-w64 runtime."""
    qt_dir = None
    with open(os.path.join(build, "CMakeCache.txt")) as f:
        for line in f:
            if line.startswith("Qt6_DIR:"):
                qt_dir = line.split("=", 1)[1].strip()
    check(qt_dir is not None, "the Windows build names its Qt (%s)" % qt_dir)
    prefix = os.path.normpath(os.path.join(qt_dir, "..", "..", ".."))
    libgcc = subprocess.run(["x86_64-w64-mingw32-g++-posix", "-print-libgcc-file-name"],
                            capture_output=True, text=True, check=True).stdout.strip()
    dll_dirs = [os.path.join(prefix, "bin"), os.path.dirname(libgcc), "/usr/x86_64-w64-mingw32/lib"]
    return dll_dirs, os.path.join(prefix, "plugins")


def main():
    args = arguments(__doc__)
    build = os.path.abspath(args.windows_build)
    require(os.path.join(build, "CTestTestfile.cmake"), "the Windows build")
    tests = listed_tests(build)
    check(len(tests) >= 10, "CTest lists %d Windows tests" % len(tests))
    with Desktop(tray=False) as desktop:
        wine = WinePrefix(desktop).create()
        source = wine.windows_path(SOURCE_DIR)
        dll_dirs, plugins = runtime_path(build)
        wine_path = ";".join(wine.windows_path(d) for d in dll_dirs)
        failed = []
        for name, command, env in tests:
            exe = command[0]
            check(exe.endswith(".exe"), "%s is a Windows program" % name)
            if "TIRVELON_SOURCE_DIR" in env:
                env["TIRVELON_SOURCE_DIR"] = source
            env["WINEPATH"] = wine_path
            env["QT_PLUGIN_PATH"] = wine.windows_path(plugins)
            start = time.monotonic()
            # QtTest's report goes to a file: under Wine its standard output reaches no pipe.
            report = os.path.join(args.out, name + ".txt")
            if os.path.exists(report):
                os.remove(report)
            log_path = os.path.join(args.out, name + ".log")
            with open(log_path, "w") as log:
                proc = subprocess.run(["wine", exe, *command[1:], "-o",
                                       wine.windows_path(report) + ",txt"],
                                      env=wine.env(env), stdout=log, stderr=subprocess.STDOUT,
                                      timeout=600, cwd=os.path.dirname(exe))
            output = ""
            for path in (report, log_path):
                if os.path.exists(path):
                    with open(path, errors="replace") as f:
                        output += f.read()
            totals = re.findall(r"Totals: (\d+) passed, (\d+) failed, (\d+) skipped", output)
            passed, failures, skipped = (int(n) for n in totals[-1]) if totals else (0, -1, 0)
            seconds = time.monotonic() - start
            if proc.returncode == 0 and failures == 0 and passed > 0:
                print("ok: %s under Wine: %d passed, %d skipped (%.1f s)" % (
                    name, passed, skipped, seconds))
                for line in output.splitlines():
                    if line.startswith("SKIP"):
                        print("    " + line.strip())
            else:
                failed.append(name)
                print("FAIL: %s under Wine (status %d, %s) in %.1f s; its output:" % (
                    name, proc.returncode, totals[-1] if totals else "no totals", seconds))
                print("\n".join("    " + line for line in output.splitlines()
                                if "FAIL" in line or "Loc:" in line or "Actual" in line
                                or "Expected" in line or "Totals" in line)[-6000:])
        wine.kill_all()
        if failed:
            raise Failure("%d of %d Windows tests failed under Wine: %s" % (
                len(failed), len(tests), ", ".join(failed)))
        print("%d passed, 0 failed" % len(tests))


if __name__ == "__main__":
    sys.exit(run(main))
