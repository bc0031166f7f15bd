#!/usr/bin/env bash
# Builds the libFuzzer targets in build-fuzz (clang, every library instrumented with coverage,
# ASan and UBSan) and runs each for SECONDS on a copy of its seed corpus fuzz/corpus/<name>/.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
# SECONDS defaults to 60; TARGETs are names like registry_text_fuzz (default: all of fuzz/).
# Prints one line per target with its executions, coverage points (cov) and features (ft).
# A crash, leak or undefined behaviour keeps its input in build-fuzz/artifacts/ and makes the
# script exit 1; bad usage exits 2.
set -u
set -o pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
  echo "usage: scripts/fuzz.sh [SECONDS] [TARGET...]" >&2
  exit 2
fi
shift $(($# > 0 ? 1 : 0))

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for src in "$root"/fuzz/*_fuzz.cpp; do
    name=$(basename "$src" .cpp)
    targets+=("$name")
  done
fi
for target in "${targets[@]}"; do
  if [ ! -f "$root/fuzz/$target.cpp" ]; then
    echo "fuzz: no fuzz target '$target' (fuzz/$target.cpp)" >&2
    exit 2
  fi
done

build="$root/build-fuzz"
mkdir -p "$build"
if ! CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DPROJECT_FUZZ=ON \
  -DPROJECT_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$build/configure.log" 2>&1; then
  echo "fuzz: configuring $build failed; see $build/configure.log" >&2
  exit 1
fi
if ! cmake --build "$build" -j "$(nproc)" --target "${targets[@]}" >"$build/build.log" 2>&1; then
  echo "fuzz: building the fuzz targets failed; see $build/build.log" >&2
  exit 1
fi
echo "fuzz: built ${#targets[@]} targets in $build"

work=$(mktemp -d "${TMPDIR:-/tmp}/fuzz.XXXXXX")
trap 'rm -rf -- "$work"' EXIT
artifacts="$build/artifacts"
mkdir -p "$artifacts"

failed=0
for target in "${targets[@]}"; do
  name=${target%_fuzz}
  corpus="$work/corpus-$name"
  mkdir -p "$corpus" "$work/tmp-$name"
  if [ -d "$root/fuzz/corpus/$name" ]; then
    cp -R "$root/fuzz/corpus/$name/." "$corpus/"
  fi
  options=()
  if [ -f "$root/fuzz/$target.options" ]; then
    read -r -a options <"$root/fuzz/$target.options"
  fi
  log="$work/$name.log"
  TMPDIR="$work/tmp-$name" "$build/bin/$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$artifacts/$name-" "${options[@]}" "$corpus" >"$log" 2>&1
  status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  last=$(grep -E '^#[0-9]+' "$log" | grep -F 'cov:' | tail -n 1)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  if [ "$status" -eq 0 ]; then
    echo "fuzz: $target: ${runs:-?} runs in ${seconds} s, cov ${cov:-?}, ft ${ft:-?}: no findings"
  else
    failed=1
    cp "$log" "$artifacts/$name.log"
    echo "fuzz: $target: FAILED (exit $status) after ${runs:-?} runs; log and input in $artifacts/" >&2
    grep -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error)' "$log" | head -n 3 >&2
  fi
done
exit "$failed"
