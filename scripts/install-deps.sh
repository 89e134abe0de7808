#!/usr/bin/env bash
# Installs every Debian 12 package that building, testing and running the player needs.
# Idempotent: packages already present are not touched, and apt-get runs only when something is missing.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config ccache clang
  # libraries the player links
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libgl-dev
  libfluidsynth-dev libsndfile1-dev libzip-dev libcdio-dev libcdio-paranoia-dev libiso9660-dev
  # tests
  googletest libgtest-dev libgmock-dev timgm6mb-soundfont fluid-soundfont-gm
  # the desktop media controls are driven over a private D-Bus session bus (dbus-daemon, below) and by playerctl
  playerctl
  # running: media back ends, a soundfont, a display for headless use
  fluidsynth gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav
  qt6-qpa-plugins xvfb xauth
  # benchmarks and screenshots; bench/startup compares the start with Audacious (its FluidSynth plug-in on the
  # default soundfont) and times `vorlo` with hyperfine
  python3-mido imagemagick twm hyperfine audacious audacious-plugins xdotool dbus-daemon
  # file associations on the desktop: the tests ask xdg-mime for the default handler, open a song with xdg-open
  # (which tells a file's type by its content with `file`), validate the player's desktop entry and build the
  # user's MIME database for the playlist type
  xdg-utils desktop-file-utils file shared-mime-info
  # setup's install test reads the applications menu with a menu parser
  python3-xdg
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
