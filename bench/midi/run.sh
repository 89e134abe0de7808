#!/usr/bin/env bash
# Prints the figures of the MIDI benchmarks:
#  1. `vorlo length` over a corpus of 1,200 varied MIDI files against `cat` of the same files
#     (warm cache) and against python3-mido, with a comparison of the lengths;
#  2. `vorlo render` against FluidSynth's own file renderer, same file, soundfont and settings.
#
# usage: bench/midi/run.sh [BUILD_DIR] [WORK_DIR]     (defaults: build-midi, /tmp/vorlo-bench)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build-midi}" && pwd)
work=${2:-/tmp/vorlo-bench}
vorlo=$build/bin/vorlo
runs=${RUNS:-7}
soundfont=${SOUNDFONT:-/usr/share/sounds/sf2/default-GM.sf2}

source "$here/../best_of.sh"

rm -rf "$work"
mkdir -p "$work/corpus"
"$build/bench/vorlo_bench_make_corpus" "$work/corpus" 1200 > /dev/null
cd "$work/corpus"
files=(*)
bytes=$(cat -- "${files[@]}" | wc -c)
echo "== vorlo length: ${#files[@]} files, $((bytes / 1024)) KB, best of $runs runs, warm cache"
cat -- "${files[@]}" > /dev/null
cat_s=$(best_of "$runs" cat -- "${files[@]}")
vorlo_s=$(best_of "$runs" "$vorlo" length -- "${files[@]}")
empty_s=$(best_of "$runs" "$vorlo" length /dev/null)
echo "cat:            $cat_s s"
echo "vorlo length:   $vorlo_s s   ($(awk -v a="$vorlo_s" -v b="$cat_s" 'BEGIN { printf "%.2f", a / b }') x cat; target <= 3)"
echo "  of which start-up (vorlo length of one empty file): $empty_s s"

"$vorlo" length -- "${files[@]}" > "$work/vorlo.txt" || true
mido_s=$( { /usr/bin/python3 "$here/mido_lengths.py" "${files[@]}" > "$work/mido.txt"; } 2>&1 | awk '{ print $3 }')
echo "python3-mido:   $mido_s s   ($(awk -v a="$mido_s" -v b="$vorlo_s" 'BEGIN { printf "%.0f", a / b }') x vorlo length)"
echo "== lengths, vorlo against mido"
/usr/bin/python3 "$here/compare_lengths.py" "$work/vorlo.txt" "$work/mido.txt"

echo "== vorlo render against fluidsynth -F ($soundfont)"
settings=(-o synth.reverb.room-size=0.5 -o synth.reverb.damp=0.3 -o synth.reverb.width=0.8 -o synth.reverb.level=0.6
          -o synth.chorus.level=1.2 -o synth.device-id=16 -o synth.polyphony=256)
for song in "$build/bin/A_Walk_to_Seashore.mid" "$build/bin/The Waiter and The Reaper.mid"; do
  render_s=$(best_of 3 "$vorlo" render --soundfont "$soundfont" --rate 44100 --gain 0.5 "$song" "$work/vorlo.wav")
  fluid_s=$(best_of 3 fluidsynth -ni -q -F "$work/fluid.wav" -r 44100 -g 0.5 -T wav -O s16 "${settings[@]}" "$soundfont" "$song")
  vorlo_audio=$(awk -v b="$(stat -c %s "$work/vorlo.wav")" 'BEGIN { printf "%.2f", (b - 44) / 4 / 44100 }')
  fluid_audio=$(awk -v b="$(stat -c %s "$work/fluid.wav")" 'BEGIN { printf "%.2f", (b - 44) / 4 / 44100 }')
  load_s=$(best_of 3 "$vorlo" render --soundfont "$soundfont" "$build/bin/Reset/Gm_reset.mid" "$work/empty.wav")
  echo "$(basename "$song"):"
  echo "  vorlo render:  $render_s s for $vorlo_audio s of audio"
  echo "  fluidsynth -F: $fluid_s s for $fluid_audio s of audio"
  echo "  soundfont loading alone (an empty song): $load_s s"
  awk -v v="$render_s" -v va="$vorlo_audio" -v f="$fluid_s" -v fa="$fluid_audio" -v l="$load_s" 'BEGIN {
    printf "  per second of audio: vorlo %.4f s, fluidsynth %.4f s: %+.1f%% (target <= +10%%)\n", v / va, f / fa, (v / va) / (f / fa) * 100 - 100
    printf "  synthesis only (load taken off both): vorlo %.4f s, fluidsynth %.4f s per second: %+.1f%%\n", (v - l) / va, (f - l) / fa, ((v - l) / va) / ((f - l) / fa) * 100 - 100
  }'
done
