#!/bin/sh
# Builds the dropped file list fuzz target with clang's libFuzzer and runs it for a while (default 60 s):
#   fuzz/files/run.sh [SECONDS]
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=${BUILD_DIR:-$root/build-fuzz-files}
seconds=${1:-60}
flags=$(pkg-config --cflags --libs Qt6Core)
mkdir -p "$out" "$out/corpus"
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fPIC -I"$root/src" \
  "$here/UriListFuzz.cpp" "$root/src/core/files/UriList.cpp" "$root/src/os/NativePath.cpp" $flags -o "$out/urilist_fuzz"
cp "$here"/corpus/* "$out/corpus/"
"$out/urilist_fuzz" -max_total_time="$seconds" "$out/corpus" 2>&1 | tail -5
