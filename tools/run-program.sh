#!/usr/bin/env bash
# Starts the program; on a machine without a desktop it starts one in memory first.
set -euo pipefail
program=$1
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$program"
fi
echo "No desktop display found: starting the program on a virtual X display (xvfb-run)." >&2
exec xvfb-run -a -s "-screen 0 1280x800x24" "$program"
