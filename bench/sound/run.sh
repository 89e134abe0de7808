#!/usr/bin/env bash
# Prints the figures of the sound:
#  1. the stress set (dense files written by vorlo_bench_sound, the sample songs at full volume, and the MIDI files
#     that installed Debian packages ship, loud or not) rendered offline as the synthesizer sounded before it had a
#     limiter and as it sounds now: peaks, the share of 50 ms windows at full scale, loudness (LUFS) and its change;
#  2. `vorlo render` (limiter on) against FluidSynth's own file renderer, per second of audio, as bench/midi/run.sh
#     measures it.
#
# usage: bench/sound/run.sh [BUILD_DIR] [WORK_DIR]     (defaults: build, /tmp/vorlo-bench-sound)
# SOUNDFONT picks the soundfont (default: the system's General MIDI soundfont), RUNS the timing runs (default 5).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
work=${2:-/tmp/vorlo-bench-sound}
vorlo=$build/bin/vorlo
runs=${RUNS:-5}
soundfont=${SOUNDFONT:-/usr/share/sounds/sf2/default-GM.sf2}

rm -rf "$work"
mkdir -p "$work/stress"
samples=("$build/bin/A_Walk_to_Seashore.mid" "$build/bin/The Waiter and The Reaper.mid")
"$build/bench/vorlo_bench_sound" stress "$work/stress" "${samples[@]}"
# MIDI files from installed packages (games' music, mostly): whatever this machine has.
mapfile -t packaged < <(find /usr/share -xdev \( -iname '*.mid' -o -iname '*.midi' -o -iname '*.kar' \) -type f 2>/dev/null | sort)

echo "== the stress set: ${#packaged[@]} packaged files, $(ls "$work/stress" | wc -l) written ones, the sample songs"
"$build/bench/vorlo_bench_sound" measure --soundfont "$soundfont" "$work"/stress/*.mid "${samples[@]}" "${packaged[@]}"

source "$here/../best_of.sh"

echo "== vorlo render (limiter on) against fluidsynth -F ($soundfont), best of $runs"
settings=(-o synth.reverb.room-size=0.5 -o synth.reverb.damp=0.3 -o synth.reverb.width=0.8 -o synth.reverb.level=0.6
          -o synth.chorus.level=1.2 -o synth.device-id=16 -o synth.polyphony=256)
for song in "${samples[@]}"; do
  render_s=$(best_of "$runs" "$vorlo" render --soundfont "$soundfont" --rate 44100 --gain 0.5 "$song" "$work/vorlo.wav")
  fluid_s=$(best_of "$runs" fluidsynth -ni -q -F "$work/fluid.wav" -r 44100 -g 0.5 -T wav -O s16 "${settings[@]}" "$soundfont" "$song")
  vorlo_audio=$(awk -v b="$(stat -c %s "$work/vorlo.wav")" 'BEGIN { printf "%.2f", (b - 44) / 4 / 44100 }')
  fluid_audio=$(awk -v b="$(stat -c %s "$work/fluid.wav")" 'BEGIN { printf "%.2f", (b - 44) / 4 / 44100 }')
  load_s=$(best_of "$runs" "$vorlo" render --soundfont "$soundfont" "$build/bin/Reset/Gm_reset.mid" "$work/empty.wav")
  echo "$(basename "$song"):"
  echo "  vorlo render:  $render_s s for $vorlo_audio s of audio"
  echo "  fluidsynth -F: $fluid_s s for $fluid_audio s of audio"
  echo "  soundfont loading alone (an empty song): $load_s s"
  awk -v v="$render_s" -v va="$vorlo_audio" -v f="$fluid_s" -v fa="$fluid_audio" -v l="$load_s" 'BEGIN {
    printf "  per second of audio: vorlo %.4f s, fluidsynth %.4f s: %+.1f%% (target <= +10%%)\n", v / va, f / fa, (v / va) / (f / fa) * 100 - 100
    printf "  synthesis only (load taken off both): vorlo %.4f s, fluidsynth %.4f s per second: %+.1f%%\n", (v - l) / va, (f - l) / fa, ((v - l) / va) / ((f - l) / fa) * 100 - 100
  }'
done
