"""Child processes that cannot outlive the harness.

Every helper process (PulseAudio, Xvfb, dbus, the program itself) is started through spawn():
the kernel sends it SIGTERM if the harness dies, even by SIGKILL from a CTest timeout, so a run
never leaves daemons behind. stop() ends one process politely, then firmly.
"""

import ctypes
import os
import signal
import subprocess
import time

_PR_SET_PDEATHSIG = 1
_libc = ctypes.CDLL(None, use_errno=True)


def _die_with_parent():
    _libc.prctl(_PR_SET_PDEATHSIG, signal.SIGTERM)
    # Its own process group, so that stop() can reach grandchildren (faketime's child, etc.).
    os.setpgid(0, 0)


def spawn(args, env=None, stdout=subprocess.DEVNULL, stderr=None, cwd=None):
    if stderr is None:
        stderr = subprocess.DEVNULL
    return subprocess.Popen(args, env=env, stdout=stdout, stderr=stderr, cwd=cwd,
                            stdin=subprocess.DEVNULL, preexec_fn=_die_with_parent)


def alive(proc):
    return proc is not None and proc.poll() is None


def stop(proc, timeout=5.0):
    """Ends proc and its process group: SIGTERM, then SIGKILL after timeout seconds."""
    if proc is None:
        return
    for sig in (signal.SIGTERM, signal.SIGKILL):
        if proc.poll() is not None:
            break
        try:
            os.killpg(proc.pid, sig)
        except ProcessLookupError:
            break
        try:
            proc.wait(timeout)
        except subprocess.TimeoutExpired:
            continue
    # Reap anything left in the group (the leader may have exited before its children).
    try:
        os.killpg(proc.pid, signal.SIGKILL)
    except (ProcessLookupError, PermissionError):
        pass
    try:
        proc.wait(timeout)
    except subprocess.TimeoutExpired:
        pass


def wait_until(predicate, timeout, interval=0.05, what="condition"):
    """Polls predicate until it returns a true value; returns it or raises TimeoutError."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise TimeoutError("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def terminate_on_sigterm():
    """Turns SIGTERM/SIGHUP into SystemExit so that `finally` blocks and context managers run."""
    def handler(signum, _frame):
        raise SystemExit(128 + signum)
    signal.signal(signal.SIGTERM, handler)
    signal.signal(signal.SIGHUP, handler)
