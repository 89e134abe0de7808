#!/usr/bin/env bash
# Builds the flat distribution folder that setup installs from, and a tarball of it beside the folder.
#   scripts/make-dist.sh BUILD_DIR DIST_DIR
# The folder holds the player, setup, the video module, the help pages (help/), ReadMe.txt, File_id.diz, the two
# sample songs and the three reset files, all at the top level except the help pages.
set -euo pipefail
build_dir=${1:?build folder}
dist_dir=${2:?distribution folder}
here="$(cd "$(dirname "$0")/.." && pwd)"
bin="$build_dir/bin"
version=1.90

for f in MIDI_Vorlo setup vorlo-video.so ReadMe.txt A_Walk_to_Seashore.mid "The Waiter and The Reaper.mid" \
         Reset/Gm_reset.mid Reset/Gs_reset.mid Reset/Xg_reset.mid help/index.html; do
  if [ ! -e "$bin/$f" ]; then
    echo "make-dist: $bin/$f is missing; build first (make build)" >&2
    exit 1
  fi
done

rm -rf "$dist_dir"
mkdir -p "$dist_dir/help"
cp -p "$bin/MIDI_Vorlo" "$bin/setup" "$bin/vorlo-video.so" "$bin/ReadMe.txt" \
      "$bin/A_Walk_to_Seashore.mid" "$bin/The Waiter and The Reaper.mid" "$dist_dir/"
cp -p "$bin/Reset/Gm_reset.mid" "$bin/Reset/Gs_reset.mid" "$bin/Reset/Xg_reset.mid" "$dist_dir/"
cp -p "$bin"/help/* "$dist_dir/help/"
cp -p "$here/data/File_id.diz" "$dist_dir/"
# Debug information stays in the build; the distribution is what a user runs.
strip --strip-unneeded "$dist_dir/MIDI_Vorlo" "$dist_dir/setup" "$dist_dir/vorlo-video.so" 2>/dev/null || true

tarball="$(dirname "$dist_dir")/MIDIVorlo-$version.tar.gz"
tar -C "$(dirname "$dist_dir")" -czf "$tarball" --transform "s,^$(basename "$dist_dir"),MIDIVorlo-$version," \
    "$(basename "$dist_dir")"
echo "Distribution folder: $dist_dir"
echo "Tarball: $tarball"
