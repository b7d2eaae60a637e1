#!/bin/sh
# Runs a test program on an X server of its own (Xvfb), so that it shares a
# clipboard with the programs it starts. Exits 77 (skipped for ctest) only
# when no X server can be started here.
# Usage: RunUnderX.sh <program> [arguments...]
Server="-screen 0 640x480x24 -nolisten tcp"
if ! command -v xvfb-run >/dev/null 2>&1 || ! command -v Xvfb >/dev/null 2>&1; then
  echo "RunUnderX: Xvfb is not installed; skipped"
  exit 77
fi
if ! xvfb-run -a -s "$Server" true >/dev/null 2>&1; then
  echo "RunUnderX: no X server could be started; skipped"
  exit 77
fi
QT_QPA_PLATFORM=xcb
export QT_QPA_PLATFORM
exec xvfb-run -a -s "$Server" "$@"
