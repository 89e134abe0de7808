# Sourced by the benchmarks' run.sh scripts.
# best_of N command... : prints the shortest wall time in seconds of N runs of the command (its output discarded).
best_of() {
  local n=$1 best="" t0 t1 took
  shift
  for ((i = 0; i < n; i++)); do
    t0=$(date +%s%N)
    "$@" > /dev/null 2>&1 || true
    t1=$(date +%s%N)
    took=$(( (t1 - t0) / 1000 ))
    if [[ -z $best || $took -lt $best ]]; then best=$took; fi
  done
  awk -v us="$best" 'BEGIN { printf "%.4f", us / 1e6 }'
}
