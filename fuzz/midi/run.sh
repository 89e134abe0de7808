#!/usr/bin/env bash
# Builds the MIDI reader's fuzz harness with clang and libFuzzer (plus AddressSanitizer and
# UndefinedBehaviorSanitizer) in its own folder, and runs it for the given number of seconds,
# starting from the seed corpus and our data files.
#
# usage: fuzz/midi/run.sh [SECONDS] [WORK_DIR]     (defaults: 600 s, build-fuzz-midi)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
seconds=${1:-600}
work=${2:-$root/build-fuzz-midi}
jobs=${JOBS:-1}
mkdir -p "$work/obj" "$work/corpus" "$work/artifacts"

flags=(-std=c++20 -O1 -g -fno-omit-frame-pointer -I"$root/src" -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=undefined)
objects=()
for source in "$root"/src/midi/*.cpp; do
  object="$work/obj/$(basename "${source%.cpp}").o"
  if [[ ! -f $object || $source -nt $object ]]; then
    clang++ "${flags[@]/-fsanitize=fuzzer,/-fsanitize=fuzzer-no-link,}" -c "$source" -o "$object"
  fi
  objects+=("$object")
done
clang++ "${flags[@]}" "$here/FuzzMidiReader.cpp" "${objects[@]}" -o "$work/fuzz_midi_reader"

# Seeds: the kinds of files the tests build, and our data files.
clang++ -std=c++20 -O1 -I"$root/src" "$here/MakeSeeds.cpp" "$root"/src/midi/SmfWriter.cpp "$root"/src/midi/MidiFile.cpp \
  -o "$work/make_seeds"
"$work/make_seeds" "$work/seeds"
data_generator_dir=$(mktemp -d)
clang++ -std=c++20 -O1 -I"$root/src" "$root"/data/generator/*.cpp "$root"/src/midi/SmfWriter.cpp "$root"/src/midi/MidiFile.cpp \
  -o "$data_generator_dir/generate"
"$data_generator_dir/generate" "$work/seeds/data"
rm -rf "$data_generator_dir"

echo "fuzzing for $seconds s in $work"
parallel=()
if ((jobs > 1)); then parallel=(-jobs="$jobs" -workers="$jobs"); fi  # libFuzzer then logs to fuzz-N.log in $work
cd "$work"
"$work/fuzz_midi_reader" "$work/corpus" "$work/seeds" "$work/seeds/data" "$work/seeds/data/Reset" \
  -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 "${parallel[@]}" \
  -artifact_prefix="$work/artifacts/" -print_final_stats=1
