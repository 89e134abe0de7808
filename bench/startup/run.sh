#!/usr/bin/env bash
# Start-up figures, side by side in one run, best of RUNS runs (the machine may be shared: the best run is the
# least disturbed one):
#   1. `vorlo --help`, `vorlo info` and `vorlo length` on a small song (hyperfine), and the same commands of a
#      baseline build when its program folder is given;
#   2. the player started on a list of ENTRIES files (.mpl) against Audacious started on the same files (.m3u),
#      both under one virtual X server: time until the window shows, and until the whole list is in;
#   3. memory (VmHWM, PSS) with the default soundfont and one MIDI song playing, against Audacious playing it
#      through its FluidSynth plug-in with the same soundfont.
#
#   bench/startup/run.sh [BUILD_DIR] [BASELINE_PROGRAM_FOLDER]
# Environment: RUNS (5), ENTRIES (100000), SONG (a sample song of the build), PARTS ("tool list memory").
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build_dir="$(cd "${1:-build}" && pwd)"
baseline="${2:-}"
program_dir="$build_dir/bin"
player="$program_dir/MIDI_Vorlo"
vorlo="$program_dir/vorlo"
runs="${RUNS:-5}"
entries="${ENTRIES:-100000}"
song="${SONG:-$program_dir/A_Walk_to_Seashore.mid}"
parts="${PARTS:-tool list memory}"
soundfont="$(readlink -f /usr/share/sounds/sf2/default-GM.sf2)"

for tool in hyperfine audacious audtool xdotool xvfb-run dbus-run-session; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/install-deps.sh" >&2; exit 1; }
done

work="$(mktemp -d "${TMPDIR:-/tmp}/vorlo-startup.XXXXXX")"
[ -n "${KEEP:-}" ] && echo "working folder: $work" || trap 'rm -rf "$work"' EXIT

now_ms() { date +%s%3N; }

tool_figures() {
  echo "== vorlo start-up (hyperfine, $runs x 10 runs each, min and mean)"
  local commands=()
  for program in "$vorlo" ${baseline:+"$baseline/vorlo"}; do
    commands+=("$program --help" "$program info '$song'" "$program length '$song'")
  done
  hyperfine -N --warmup 3 --runs $((runs * 10)) --export-json "$work/tool.json" "${commands[@]}" >/dev/null 2>&1
  python3 - "$work/tool.json" <<'EOF'
import json, sys
for result in json.load(open(sys.argv[1]))["results"]:
    print(f"  {result['min'] * 1000:7.1f} ms min  {result['mean'] * 1000:7.1f} ms mean   {result['command']}")
EOF
  echo "  libraries loaded: vorlo $(ldd "$vorlo" | wc -l)${baseline:+, baseline $(ldd "$baseline/vorlo" | wc -l)}"
}

# A settings folder for the player as it is after a first close: Auto and Loop on.
player_settings() {
  local folder="$1"
  rm -rf "$folder"
  mkdir -p "$folder"
  printf '%s\n' 'MIDI Vorlo settings hive 1' '' '[SOFTWARE\Brackwen\MIDI Vorlo\Options]' \
    '"AutoPlay"=dword:00000001' '"LoopPlay"=dword:00000001' >"$folder/HKEY_CURRENT_USER.reg"
}

# A settings folder for Audacious: SDL output (the dummy driver keeps real time without a sound card) and the
# FluidSynth plug-in on the default soundfont. Its plug-in registry is written by a first start.
audacious_settings() {
  local home="$1"
  rm -rf "$home"
  mkdir -p "$home"
  (export XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache"
   audacious -H >/dev/null 2>&1 &
   for _ in $(seq 100); do audtool version >/dev/null 2>&1 && break; sleep 0.1; done
   audtool shutdown >/dev/null 2>&1 || true
   wait)
  python3 - "$home/config/audacious/plugin-registry" <<'EOF'
import sys
path = sys.argv[1]
lines = open(path).read().split("\n")
header = ""
for i, line in enumerate(lines):
    if line and not line.startswith((" ", "stamp", "version", "flags", "name", "domain", "priority", "about",
                                     "config", "enabled")):
        header = line
    if line.startswith("enabled ") and header.startswith("output "):
        lines[i] = "enabled 1" if header.endswith("/sdlout.so") else "enabled 0"
open(path, "w").write("\n".join(lines))
EOF
  printf '[amidiplug]\nfsyn_soundfont_file=%s\n' "$soundfont" >"$home/config/audacious/config"
}

# Waits for a visible window of process $1 and prints the wall-clock time it was found (empty after $2 seconds).
window_time() {
  local pid="$1" limit=$(($(now_ms) + $2 * 1000))
  while [ "$(now_ms)" -lt "$limit" ]; do
    if xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; then now_ms; return; fi
    sleep 0.005
  done
}

# Waits for "$2" in the file $1 and prints the number after "at " in that line (empty after $3 seconds).
logged_time() {
  local limit=$(($(now_ms) + $3 * 1000))
  while [ "$(now_ms)" -lt "$limit" ]; do
    local line
    line="$(grep -m1 -- "$2" "$1" 2>/dev/null || true)"
    if [ -n "$line" ]; then echo "${line##* at }"; return; fi
    sleep 0.01
  done
}

stop_process() {
  kill -TERM "$1" 2>/dev/null || true
  for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || { wait "$1" 2>/dev/null || true; return; }; sleep 0.05; done
  kill -KILL "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

start_player() {  # start_player LOG FILE...: prints the start time, then the process id; PLAYER overrides
  player_settings "$work/player-settings"
  local log="$1"
  shift
  now_ms
  # Its own runtime folder too: a player already running for this user would otherwise be handed the files.
  VORLO_CONFIG_DIR="$work/player-settings" VORLO_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
    QT_LOGGING_RULES="vorlo.startup.info=true" "${PLAYER:-$player}" "$@" >"$log" 2>&1 &
  echo $!
}

start_audacious() {  # start_audacious LOG FILE...
  rm -rf "$work/audacious-run"
  cp -a "$work/audacious" "$work/audacious-run"
  local log="$1"
  shift
  now_ms
  XDG_CONFIG_HOME="$work/audacious-run/config" XDG_DATA_HOME="$work/audacious-run/data" \
    XDG_CACHE_HOME="$work/audacious-run/cache" SDL_AUDIODRIVER=dummy audacious -V "$@" >"$log" 2>&1 &
  echo $!
}

audacious_tool() {
  XDG_CONFIG_HOME="$work/audacious-run/config" XDG_DATA_HOME="$work/audacious-run/data" \
    XDG_CACHE_HOME="$work/audacious-run/cache" audtool "$@" 2>/dev/null
}

best() { sort -n | head -1; }

# Starts the player on the list $1 and appends its figures (ms from the start) to $work/$2-shown, -mapped, -list.
player_run() {
  local start pid mapped shown listed
  { read -r start; read -r pid; } < <(start_player "$work/player.log" "$1")
  mapped="$(window_time "$pid" 60)"
  # Its log comes with the window; a build without the log (an older baseline) is not waited for long.
  shown="$(logged_time "$work/player.log" "window exposed" 5)"
  listed="$(logged_time "$work/player.log" "entries in" 5)"
  stop_process "$pid"
  if [ -n "$shown" ]; then echo $((shown - start)) >>"$work/$2-shown"; fi
  if [ -n "$mapped" ]; then echo $((mapped - start)) >>"$work/$2-mapped"; fi
  if [ -n "$listed" ]; then echo $((listed - start)) >>"$work/$2-list"; fi
}

list_figures() {
  echo "== start-up with a list of $entries entries on the command line (best of $runs, ms from the start)"
  mkdir -p "$work/songs"
  python3 - "$song" "$work/songs" "$entries" "$work/list.mpl" "$work/list.m3u" <<'EOF'
import os, shutil, sys
song, folder, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
names = [os.path.join(folder, f"Song {i:06d}.mid") for i in range(1, count + 1)]
# Hard links to a few copies of the song: real files, little disk, and within a file system's limit of links.
per_copy = 50000
for first in range(0, count, per_copy):
    copy = os.path.join(folder, f".copy-{first // per_copy}.mid")
    shutil.copyfile(song, copy)
    for name in names[first:first + per_copy]:
        os.link(copy, name)
open(sys.argv[4], "w", newline="").write("".join(name + "\r\n" for name in names))
open(sys.argv[5], "w").write("".join(name + "\n" for name in names))
EOF
  printf '%s\r\n' "$work/songs/Song 000001.mid" >"$work/one.mpl"
  : >"$work/ours-shown" >"$work/ours-mapped" >"$work/ours-list" >"$work/theirs-shown" >"$work/theirs-list"
  : >"$work/one-shown" >"$work/one-mapped" >"$work/one-list" >"$work/base-mapped"
  for run in $(seq "$runs"); do
    player_run "$work/list.mpl" ours
    grep -m1 "entries in" "$work/player.log" | sed 's/^/  run '"$run"': /' || true
    # The same start with one entry: the difference is what loading the list costs.
    player_run "$work/one.mpl" one
    if [ -n "$baseline" ]; then PLAYER="$baseline/MIDI_Vorlo" player_run "$work/one.mpl" base; fi

    { read -r start; read -r pid; } < <(start_audacious "$work/audacious.log" "$work/list.m3u")
    mapped="$(window_time "$pid" 60)"
    [ -n "$mapped" ] && echo $((mapped - start)) >>"$work/theirs-shown"
    limit=$(($(now_ms) + 60000))
    while [ "$(now_ms)" -lt "$limit" ]; do
      [ "$(audacious_tool playlist-length || echo 0)" -ge "$entries" ] && { echo $(($(now_ms) - start)) >>"$work/theirs-list"; break; }
      sleep 0.05
    done
    audacious_tool shutdown || true
    stop_process "$pid"
  done
  printf '  %-38s %13s %10s\n' "" "ours" "Audacious"
  printf '  %-38s %13s %10s\n' "window shown (first expose / mapped)" \
    "$(best <"$work/ours-shown") / $(best <"$work/ours-mapped")" "$(best <"$work/theirs-shown")"
  printf '  %-38s %13s %10s\n' "whole list in" "$(best <"$work/ours-list")" "$(best <"$work/theirs-list")"
  printf '  %-38s %13s\n' "window shown with a list of one entry" "$(best <"$work/one-shown") / $(best <"$work/one-mapped")"
  if [ -n "$baseline" ]; then
    printf '  %-38s %13s\n' "the same, baseline build (mapped)" "$(best <"$work/base-mapped")"
  fi
  local all one
  all="$(best <"$work/ours-list")"
  one="$(best <"$work/one-list")"
  if [ -n "$all" ] && [ -n "$one" ]; then
    printf '  list loading: %d ms for %d entries more, %.1f us per entry (the existence check included)\n' \
      $((all - one)) $((entries - 1)) "$(awk "BEGIN {print ($all - $one) * 1000 / ($entries - 1)}")"
  fi
  rm -rf "$work/songs"
}

memory_of() {  # memory_of PID: "VmHWM-kB PSS-kB"
  echo "$(awk '/^VmHWM/ {print $2}' "/proc/$1/status") $(awk '/^Pss:/ {print $2}' "/proc/$1/smaps_rollup")"
}

memory_figures() {
  echo "== memory with the default soundfont ($(basename "$soundfont")) and one MIDI song playing (best of $runs)"
  : >"$work/ours-memory" >"$work/theirs-memory" >"$work/base-memory"
  for run in $(seq "$runs"); do
    { read -r start; read -r pid; } < <(start_player "$work/player.log" "$song")
    logged_time "$work/player.log" "window exposed" 60 >/dev/null
    sleep 3
    memory_of "$pid" >>"$work/ours-memory"
    stop_process "$pid"
    if [ -n "$baseline" ]; then
      { read -r start; read -r pid; } < <(PLAYER="$baseline/MIDI_Vorlo" start_player "$work/player.log" "$song")
      window_time "$pid" 60 >/dev/null
      sleep 3
      memory_of "$pid" >>"$work/base-memory"
      stop_process "$pid"
    fi

    { read -r start; read -r pid; } < <(start_audacious "$work/audacious.log" "$song")
    window_time "$pid" 60 >/dev/null
    sleep 3
    [ "$(audacious_tool playback-status)" = playing ] || echo "  run $run: Audacious is not playing" >&2
    # Without its soundfont the plug-in says so, and FluidSynth finds no preset for the song's programs.
    if grep -qE "no SoundFont has been specified|unable to load SoundFont|No preset found" "$work/audacious.log"; then
      echo "  run $run: Audacious did not load $soundfont" >&2
    fi
    memory_of "$pid" >>"$work/theirs-memory"
    audacious_tool shutdown || true
    stop_process "$pid"
  done
  read -r ours_hwm ours_pss < <(sort -n "$work/ours-memory" | head -1)
  read -r theirs_hwm theirs_pss < <(sort -n "$work/theirs-memory" | head -1)
  printf '  %-8s %10s %10s %7s\n' "" "ours" "Audacious" "ratio"
  printf '  %-8s %7d MB %7d MB %7s\n' VmHWM $((ours_hwm / 1024)) $((theirs_hwm / 1024)) \
    "$(awk "BEGIN {printf \"%.2f\", $ours_hwm / $theirs_hwm}")"
  printf '  %-8s %7d MB %7d MB %7s\n' PSS $((ours_pss / 1024)) $((theirs_pss / 1024)) \
    "$(awk "BEGIN {printf \"%.2f\", $ours_pss / $theirs_pss}")"
  if [ -n "$baseline" ]; then
    read -r base_hwm base_pss < <(sort -n "$work/base-memory" | head -1)
    printf '  baseline build: VmHWM %d MB, PSS %d MB\n' $((base_hwm / 1024)) $((base_pss / 1024))
  fi
}

if [ -z "${VORLO_BENCH_INSIDE:-}" ]; then
  [[ " $parts " == *" tool "* ]] && tool_figures
  if [[ " $parts " == *" list "* || " $parts " == *" memory "* ]]; then
    # The players run side by side under one virtual X server with one session bus (audtool talks over it); the
    # server number starts at a random place, so that other virtual servers starting at the same time do not clash.
    env VORLO_BENCH_INSIDE=1 PARTS="$parts" RUNS="$runs" ENTRIES="$entries" SONG="$song" \
      xvfb-run -a -n $((100 + RANDOM % 500)) -s "-screen 0 1280x800x24" dbus-run-session -- bash "$here/run.sh" "$build_dir" "$baseline" \
      2> >(grep -v "Failed to set fd limit" >&2)
  fi
  exit 0
fi
audacious_settings "$work/audacious"
[[ " $parts " == *" list "* ]] && list_figures
[[ " $parts " == *" memory "* ]] && memory_figures
exit 0
