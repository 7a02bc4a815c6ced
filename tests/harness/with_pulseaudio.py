#!/usr/bin/python3
"""Runs one command against a private PulseAudio whose default output is a null sink.

    with_pulseaudio.py [--] COMMAND [ARGS...]

The command sees PULSE_SERVER (the private socket) and TIRVELON_PULSE_SINK (the sink's name, whose
".monitor" source records what was played). The daemon is stopped whatever happens; the exit code
is the command's.
"""

import os
import sys

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import procs  # noqa: E402
from pulse import PulseAudio  # noqa: E402


def main(argv):
    if argv and argv[0] == "--":
        argv = argv[1:]
    if not argv:
        print(__doc__, file=sys.stderr)
        return 2
    procs.terminate_on_sigterm()
    with PulseAudio() as pulse:
        child = procs.spawn(argv, env=pulse.client_env(), stdout=None, stderr=sys.stderr)
        try:
            return child.wait()
        finally:
            procs.stop(child)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
