#!/usr/bin/env bash
# Starts the freshly built player on a list of the two sample songs. Without a display it runs inside a virtual
# X server. Settings go to a folder of the build's own, so trying the player leaves your own settings alone.
set -euo pipefail
build_dir=${1:-build}
shift || true
program_dir="$(cd "$build_dir/bin" && pwd)"
player="$program_dir/MIDI_Vorlo"

list="$program_dir/Sample Songs.mpl"
printf '%s\r\n' "$program_dir/A_Walk_to_Seashore.mid" "$program_dir/The Waiter and The Reaper.mid" > "$list"

export VORLO_CONFIG_DIR="${VORLO_CONFIG_DIR:-$program_dir/../run-settings}"
hive="$VORLO_CONFIG_DIR/HKEY_CURRENT_USER.reg"
if [ ! -f "$hive" ]; then
  # Options as a player leaves them after its first close: Auto and Loop on.
  mkdir -p "$VORLO_CONFIG_DIR"
  printf '%s\n' 'MIDI Vorlo settings hive 1' '' '[SOFTWARE\Brackwen\MIDI Vorlo\Options]' \
    '"AutoPlay"=dword:00000001' '"LoopPlay"=dword:00000001' > "$hive"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting the player inside Xvfb (xvfb-run)."
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$player" "$list" "$@"
fi
exec "$player" "$list" "$@"
