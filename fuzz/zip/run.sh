#!/usr/bin/env bash
# Builds the archive reader's fuzz harness with clang and libFuzzer (plus AddressSanitizer and
# UndefinedBehaviorSanitizer) in its own folder, and runs it for the given number of seconds, starting from the
# seed archives.
#
# usage: fuzz/zip/run.sh [SECONDS] [WORK_DIR]     (defaults: 600 s, build-fuzz-zip)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
seconds=${1:-600}
work=${2:-$root/build-fuzz-zip}
mkdir -p "$work/corpus" "$work/artifacts"

flags=(-std=c++20 -O1 -g -fno-omit-frame-pointer -I"$root/src" -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=undefined)
clang++ "${flags[@]}" "$here/ZipFuzz.cpp" "$root"/src/zip/*.cpp $(pkg-config --libs libzip) -o "$work/fuzz_zip"
clang++ -std=c++20 -O1 -I"$root/tests/support" "$here/MakeZipSeeds.cpp" "$root/tests/support/ArchiveWriter.cpp" \
  $(pkg-config --libs libzip) -o "$work/make_zip_seeds"
"$work/make_zip_seeds" "$work/seeds"

echo "fuzzing for $seconds s in $work"
cd "$work"
"$work/fuzz_zip" "$work/corpus" "$work/seeds" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
  -rss_limit_mb=2048 -artifact_prefix="$work/artifacts/" -print_final_stats=1
