#!/bin/sh
# Prints the playlist figures: run.sh <build dir> [entries]
set -e
BUILD_DIR=${1:-build}
QT_QPA_PLATFORM=offscreen "$BUILD_DIR/bin/playlist_bench" "${2:-100000}"
