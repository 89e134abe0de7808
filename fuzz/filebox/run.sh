#!/bin/sh
# Builds the mount table fuzz target with clang's libFuzzer and runs it for a while (default 60 s).
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=${BUILD_DIR:-$root/build-fuzz-filebox}
seconds=${1:-60}
flags=$(pkg-config --cflags --libs Qt6Core)
mkdir -p "$out" "$out/corpus"
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fPIC -I"$root/src" \
  "$here/MountInfoFuzz.cpp" "$root/src/os/Drives.cpp" $flags -o "$out/mountinfo_fuzz"
cp "$here"/corpus/* "$out/corpus/"
"$out/mountinfo_fuzz" -max_total_time="$seconds" "$out/corpus" 2>&1 | tail -5
