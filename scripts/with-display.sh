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
for n in $(seq 91 140); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { display=":$n"; break; }
done
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
export DISPLAY="$display"
"$@"
