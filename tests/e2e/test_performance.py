#!/usr/bin/python3
"""Idle cost of the real program: with its main window shown on a desktop with a tray and a
sound server, its processor time over 60 seconds (user plus system time from /proc/<pid>/stat,
as a share of one core) and its peak resident memory (VmHWM from /proc/<pid>/status).

The clock is faked to a quiet morning hour, far from any prayer time, so no call sounds during
the measurement. The bounds are only sanity limits, wide enough for a loaded CI machine; the
figures are printed for the record."""

import os
import sys
import time

from e2e_support import Desktop, arguments, check, check_equal, leftover_processes, run
from test_dialogs_support import seed_settings, start, stop

MEASURE_SECONDS = 60
SETTLE_SECONDS = 5  # the start-up chime and the first layout passes are not idle time
CPU_PERCENT_LIMIT = 20.0
PEAK_RSS_LIMIT_MB = 500.0


def cpu_ticks(pid):
    """utime + stime of the process, all its threads, in clock ticks."""
    with open("/proc/%d/stat" % pid) as f:
        # The command name may hold spaces: the fields after it are split from its ")".
        fields = f.read().rpartition(")")[2].split()
    return int(fields[11]) + int(fields[12])


def status_kb(pid, key):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith(key + ":"):
                return int(line.split()[1])
    raise KeyError(key)


def main():
    args = arguments(__doc__)
    with Desktop(tray=True, audio_sink=True) as desktop:
        marker = desktop.dir
        # Erbil, fourth muezzin, half volume, Kurdish: an ordinary set of choices.
        seed_settings(desktop, Salat_1=0, Salat_2=50, Salat_3=0, Salat_4=3, Salat_5=0,
                      Salat_6=1)
        program, window, app = start(desktop, args.program, "2024-03-21 10:00:00")
        try:
            check(desktop.windows(pid=program.pid), "the main window is shown")
            time.sleep(SETTLE_SECONDS)
            hz = os.sysconf("SC_CLK_TCK")
            ticks_before = cpu_ticks(program.pid)
            started = time.monotonic()
            time.sleep(MEASURE_SECONDS)
            ticks_after = cpu_ticks(program.pid)
            elapsed = time.monotonic() - started
            check(program.alive(), "the program ran through the measurement")

            cpu_seconds = (ticks_after - ticks_before) / hz
            cpu_percent = 100.0 * cpu_seconds / elapsed
            peak_mb = status_kb(program.pid, "VmHWM") / 1024.0
            rss_mb = status_kb(program.pid, "VmRSS") / 1024.0
            threads = status_kb(program.pid, "Threads")
            print("cpu: %.2f s of processor time in %.1f s = %.2f %% of one core"
                  % (cpu_seconds, elapsed, cpu_percent))
            print("memory: peak resident %.1f MB, resident now %.1f MB, %d threads"
                  % (peak_mb, rss_mb, threads))
            check(cpu_percent < CPU_PERCENT_LIMIT, "idle cpu %.2f %% < %.0f %%"
                  % (cpu_percent, CPU_PERCENT_LIMIT))
            check(peak_mb < PEAK_RSS_LIMIT_MB, "peak resident memory %.1f MB < %.0f MB"
                  % (peak_mb, PEAK_RSS_LIMIT_MB))
            # A clock that stopped ticking would also be cheap: make sure it still runs.
            clock = desktop.find(app, description="Label3")
            shown = desktop.text(clock)
            time.sleep(1.5)
            check(desktop.text(clock) != shown, "the clock still ticks (%s, then %s)"
                  % (shown, desktop.text(clock)))
        finally:
            stop(program)
    check_equal(leftover_processes(marker), [], "processes left of the desktop")


if __name__ == "__main__":
    sys.exit(run(main))
