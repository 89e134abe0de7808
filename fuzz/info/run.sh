#!/usr/bin/env bash
# Builds the file report fuzz target with clang and libFuzzer and runs it for the given number of seconds.
#   fuzz/info/run.sh [SECONDS]   (default 60)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=${FUZZ_OUT:-$root/build-fuzz/info}
seconds=${1:-60}
mkdir -p "$out/corpus"
flags=(-std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -I"$root/src" $(pkg-config --cflags Qt6Core))
libs=($(pkg-config --libs Qt6Core))
clang++ "${flags[@]}" "$here/FileReportFuzz.cpp" "$root/src/core/info/FileReport.cpp" \
  "$root/src/core/playlist/MediaPaths.cpp" "$root/src/os/NativePath.cpp" "$root"/src/midi/*.cpp -o "$out/file_report_fuzz" "${libs[@]}"
"$out/file_report_fuzz" -max_total_time="$seconds" -max_len=4096 "$out/corpus" "$here/corpus"
