#!/usr/bin/env bash
# Runs a command with an X display: the caller's, or a private Xvfb started here.
set -euo pipefail
if [ -n "${DISPLAY:-}" ] && [ "${OSTRAND_FORCE_XVFB:-0}" != 1 ]; then
  exec "$@"
fi
if ! command -v Xvfb >/dev/null; then
  echo "No X display: set DISPLAY, or install Xvfb (scripts/setup.sh does)." >&2
  exit 1
fi
# Xvfb picks a free display number itself and writes it to the pipe.
fifo="$(mktemp -u)"
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true; rm -f "$fifo"' EXIT
read -r -t 30 number <"$fifo"
export DISPLAY=":$number"
"$@"
