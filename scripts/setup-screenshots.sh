#!/usr/bin/env bash
# Walks through setup's windows on a virtual display, in a home of its own, and saves a picture of each: the first
# window, the directory dialog, the group dialog, the desktop question, the finish page, and the first window
# again with the uninstall choice.
#   scripts/setup-screenshots.sh BUILD_DIR OUT_DIR
# Needs xvfb-run, xdotool and ImageMagick's import.
set -euo pipefail
build_dir=$(cd "${1:?build folder}" && pwd)
out=$(mkdir -p "${2:?folder for the pictures}" && cd "$2" && pwd)
here="$(cd "$(dirname "$0")/.." && pwd)"

if [ -z "${SETUP_SCREENSHOTS_INNER:-}" ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  bash "$here/scripts/make-dist.sh" "$build_dir" "$work/dist" >/dev/null
  mkdir -p "$work/home/Desktop"
  SETUP_SCREENSHOTS_INNER="$work" HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
    XDG_DATA_HOME="$work/home/.local/share" VORLO_CONFIG_DIR="$work/home/.config/MIDI Vorlo" \
    xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$build_dir" "$out"
  exit
fi
work=$SETUP_SCREENSHOTS_INNER
# A window manager gives the windows their frames and the keyboard focus, as on a desktop.
printf '%s\n' 'RandomPlacement' 'UsePPosition "on"' 'NoGrabServer' >"$work/twmrc"
twm -f "$work/twmrc" >/dev/null 2>&1 &
wm=$!
trap 'kill "$wm" 2>/dev/null' EXIT
export QT_QPA_PLATFORM=xcb

# Waits for a window whose title is $1, raises it, and saves the screen as $2.
shot() {
  local id=
  for _ in $(seq 1 100); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -1) && [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || { echo "no window \"$1\"" >&2; return 1; }
  sleep 0.5
  # twm gives the focus to the window under the pointer.
  xdotool mousemove --window "$id" 20 20 windowfocus --sync "$id" 2>/dev/null || true
  import -window root "$out/$2"
  echo "$out/$2"
}
key() { xdotool key --clearmodifiers "$@"; sleep 0.4; }
# Clicks at X Y inside the window whose title is $1.
click() {
  local id
  id=$(xdotool search --onlyvisible --name "^$1\$" | tail -1)
  xdotool mousemove --window "$id" "$2" "$3" click 1
  sleep 0.4
}

cd "$work/dist"
./setup &
setup_pid=$!
shot "MIDI Vorlo Setup" 1-title.png
click "MIDI Vorlo Setup" 289 140             # Continue: install
shot "Create Program Files Folder" 2-folder.png
key Return                                   # Continue with the default folder
shot "Tasks Complete" 3-copied.png
key Return
shot "Create MIDI Vorlo Program Group" 4-group.png
key Return                                   # Continue with the default group
shot "Create Shortcut" 5-desktop-question.png
key Return                                   # Yes
shot "MIDI Vorlo Installation Complete" 6-finish.png
xdotool search --onlyvisible --name "^MIDI Vorlo Installation Complete\$" windowkill 2>/dev/null || true
wait "$setup_pid" 2>/dev/null || true

./setup &
setup_pid=$!
shot "MIDI Vorlo Setup" 7-title-installed.png
kill "$setup_pid"
