#!/usr/bin/env bash
# Starts the freshly built player. Without a display it runs inside a virtual X server.
set -euo pipefail
build_dir=${1:-build}
player="$build_dir/bin/MIDI_Vorlo"
shift || true
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting the player inside Xvfb (xvfb-run)."
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$player" "$@"
fi
exec "$player" "$@"
