#!/usr/bin/env bash
# Runs a program (a test program and its arguments) on a virtual X display managed by twm, where the window
# manager frames and places windows as on a desktop; the offscreen platform of the other tests does neither.
# Usage: run-under-window-manager.sh PROGRAM [ARGUMENTS...]
set -euo pipefail
if [ -z "${VORLO_UNDER_WM:-}" ]; then
  export VORLO_UNDER_WM=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

# twm places a window where the program asks (or anywhere), never waiting for a click, and never grabs the server.
config=$(mktemp)
trap 'rm -f "$config"' EXIT
printf '%s\n' 'RandomPlacement' 'UsePPosition "on"' 'NoGrabServer' > "$config"
twm -f "$config" >/dev/null 2>&1 &
wm=$!
set +e
QT_QPA_PLATFORM=xcb "$@"
status=$?
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
exit $status
