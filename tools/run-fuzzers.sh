#!/usr/bin/env bash
# Runs every fuzz target of a fuzzing build tree in turn, each for SECONDS, on
# its seed corpus; what a run finds new is kept in the build tree, not in the
# repository. A crash, a leak or a broken property stops the run with the
# input that caused it in <build>/artifacts/.
#   run-fuzzers.sh FUZZ_BUILD SECONDS [TARGET...]
set -euo pipefail
build=$(cd "$1" && pwd)
seconds=$2
shift 2
top=$(cd "$(dirname "$0")/.." && pwd)
seeds=$top/tools/fuzz/corpus
targets=("$@")
if ((${#targets[@]} == 0)); then
  for dir in "$seeds"/*/; do targets+=("$(basename "$dir")"); done
fi
# Findings and new functions are reported with source lines where a symbolizer is installed.
symbolizer=$(command -v llvm-symbolizer-19 || command -v llvm-symbolizer || true)
[[ -n $symbolizer ]] && export ASAN_SYMBOLIZER_PATH=${ASAN_SYMBOLIZER_PATH:-$symbolizer}
mkdir -p "$build/artifacts"
for target in "${targets[@]}"; do
  corpus=$build/corpus/$target
  mkdir -p "$corpus"
  dictionary=()
  [[ -f $top/tools/fuzz/$target.dict ]] && dictionary=(-dict="$top/tools/fuzz/$target.dict")
  echo "== $target: ${seconds}s"
  # Inputs up to 12 KiB: a list value of 4096 characters takes 8 KiB in UTF-16.
  "$build/tools/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=12288 -print_final_stats=1 \
    "${dictionary[@]}" -artifact_prefix="$build/artifacts/$target-" "$corpus" "$seeds/$target"
done
