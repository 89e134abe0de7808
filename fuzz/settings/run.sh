#!/usr/bin/env bash
# Builds the settings fuzz targets with clang and libFuzzer and runs each for the given number of seconds.
#   fuzz/settings/run.sh [SECONDS]   (default 60 per target; FUZZ_TARGETS="history folder" runs only those named)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=${FUZZ_OUT:-$root/build-fuzz/settings}
seconds=${1:-60}
mkdir -p "$out"
flags=(-std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -I"$root/src" $(pkg-config --cflags Qt6Core))
libs=($(pkg-config --libs Qt6Core))
clang++ "${flags[@]}" "$here/HiveFuzz.cpp" "$root/src/os/RegistryHive.cpp" -o "$out/hive_fuzz" "${libs[@]}"
list_sources=("$root/src/core/playlist/ListFile.cpp" "$root/src/os/SafeSave.cpp" "$root/src/os/NativePath.cpp"
              "$root/src/os/RegularFile.cpp")
clang++ "${flags[@]}" "$here/ListFuzz.cpp" "${list_sources[@]}" -o "$out/list_fuzz" "${libs[@]}"
clang++ "${flags[@]}" "$here/HistoryFuzz.cpp" "${list_sources[@]}" -o "$out/history_fuzz" "${libs[@]}"
clang++ "${flags[@]}" "$here/FolderFuzz.cpp" "$root/src/core/files/FolderHistory.cpp" "${list_sources[@]}" \
  -o "$out/folder_fuzz" "${libs[@]}"
clang++ "${flags[@]}" "$here/MimeappsFuzz.cpp" "$root/src/os/MimeAppsList.cpp" -o "$out/mimeapps_fuzz" "${libs[@]}"
for target in ${FUZZ_TARGETS:-hive list history folder mimeapps}; do
  mkdir -p "$out/corpus-$target"
  "$out/${target}_fuzz" -max_total_time="$seconds" -max_len=4096 "$out/corpus-$target" "$here/corpus/$target"
done
