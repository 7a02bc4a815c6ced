"""What every end-to-end script shares: its command line, the harness import and checks that
say what they compared."""

import argparse
import os
import sys
import time

sys.dont_write_bytecode = True  # keep the source tree clean
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "harness"))

from desktop import Desktop, leftover_processes  # noqa: E402,F401


def arguments(description):
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--program", required=True, help="the built tirvelon binary")
    parser.add_argument("--out", help="folder for screenshots and logs (default: beside the "
                                      "program, in e2e-output)")
    args = parser.parse_args()
    args.program = os.path.abspath(args.program)
    if not os.access(args.program, os.X_OK):
        parser.error("not an executable: " + args.program)
    if args.out is None:
        args.out = os.path.join(os.path.dirname(os.path.dirname(args.program)), "e2e-output")
    os.makedirs(args.out, exist_ok=True)
    return args


class Failure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)
    print("ok:", message)


def check_equal(actual, expected, what):
    if actual != expected:
        raise Failure("%s: expected %r, got %r" % (what, expected, actual))
    print("ok: %s = %r" % (what, actual))


def eventually(read, expected, what, timeout=10.0, interval=0.2):
    """Waits until read() returns expected; fails with the last value seen."""
    deadline = time.monotonic() + timeout
    value = read()
    while value != expected and time.monotonic() < deadline:
        time.sleep(interval)
        value = read()
    check_equal(value, expected, what)
    return value


def run(main):
    """Runs main() and turns its outcome into the exit code CTest reads."""
    try:
        main()
    except Failure as failure:
        print("FAIL:", failure, file=sys.stderr)
        return 1
    print("PASS")
    return 0
