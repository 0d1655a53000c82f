#!/bin/sh
# Runs a test program on a virtual X display of its own. When no X server
# can be started here (no xvfb-run, or Xvfb fails), exits 77 so that ctest
# reports the test as skipped; once the display is up, the program's own
# result counts.
command -v xvfb-run >/dev/null 2>&1 || { echo "xvfb-run not installed: skipped"; exit 77; }
mark=$(mktemp) || exit 1
rm -f "$mark"
xvfb-run -a -s "-screen 0 1024x768x24" sh -c 'touch "$0"; shift; exec "$@"' "$mark" x "$@"
status=$?
if [ ! -e "$mark" ]; then
  echo "no X server could be started: skipped"
  exit 77
fi
rm -f "$mark"
exit $status
