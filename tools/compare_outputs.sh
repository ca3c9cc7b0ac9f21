#!/usr/bin/env bash
# Compares what two builds of morvane-cli write — reports, JSON, checks, SVG plots, messages and
# exit statuses — on every example and test data file under the option sets the tests use.
# Builds the given git revision (default: main) in a scratch tree beside this one, then reports
# each difference. Exit status 0 when every output is byte-identical.
#
# Usage: tools/compare_outputs.sh [REVISION [BASELINE_BUILD_DIR]]
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
revision="${1:-main}"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
baseline_build="${2:-}"

build_tree() { # source dir, build dir
  cmake -S "$1" -B "$2" -DCMAKE_BUILD_TYPE=Release >/dev/null &&
    cmake --build "$2" -j"$(nproc)" --target morvane-cli >/dev/null
}

if [[ -z "$baseline_build" ]]; then
  git -C "$root" archive "$revision" | tar -x -C "$scratch" --one-top-level=baseline
  baseline_build="$scratch/baseline/build"
  build_tree "$scratch/baseline" "$baseline_build" || { echo "baseline build failed"; exit 2; }
fi
build_tree "$root" "$root/build" || { echo "build failed"; exit 2; }

option_sets=(
  ""
  "--tomenson"
  "--ci 90% --tomenson"
  "--ci 99% --lower-inr 2 --upper-inr 3.5"
  "--upper-inr 2.5 --sd-limit 2"
  "--isi 1.1 --se-isi 0.02 --id run7"
  "--isi x --se-isi -1 --sd-limit 0 --lower-inr 5 --upper-inr 100"
  "--tcrit /nonexistent/tcrit.txt"
)
files=("$root"/examples/*.txt "$root"/tests/data/*.txt /nonexistent/folder/data.txt
       "$root/tests/data/missing_file.txt" "$root/tests/data/plot_black_and_white.png")
export SOURCE_DATE_EPOCH=1700000000
differences=0 runs=0

run_both() { # label, arguments...
  local label="$1"; shift
  local side
  for side in old new; do
    local cli="$baseline_build/bin/morvane-cli"
    [[ $side == new ]] && cli="$root/build/bin/morvane-cli"
    (cd "$scratch" && "$cli" "${@//@OUT@/$scratch/$side.svg}" >"$scratch/$side.out" 2>"$scratch/$side.err"
     echo "exit $?" >>"$scratch/$side.err")
    [[ -f "$scratch/$side.svg" ]] && cat "$scratch/$side.svg" >>"$scratch/$side.out" && rm -f "$scratch/$side.svg"
  done
  runs=$((runs + 1))
  if ! cmp -s "$scratch/old.out" "$scratch/new.out" || ! cmp -s "$scratch/old.err" "$scratch/new.err"; then
    differences=$((differences + 1))
    echo "DIFFERENT: $label"
    diff "$scratch/old.err" "$scratch/new.err" | head -5
    diff "$scratch/old.out" "$scratch/new.out" | head -5
  fi
}

for file in "${files[@]}"; do
  for options in "${option_sets[@]}"; do
    read -r -a extra <<<"$options"
    run_both "calibrate $options $file" calibrate "$file" "${extra[@]}"
    run_both "calibrate --json $options $file" calibrate "$file" --json "${extra[@]}"
    run_both "checks $options $file" checks "$file" "${extra[@]}"
    run_both "plot $options $file" plot "$file" --out @OUT@ "${extra[@]}"
  done
  run_both "plot styled $file" plot "$file" --out @OUT@ --title T --x-label X --y-label Y \
    --no-legend --no-abnormal-line --show-excluded
done
echo "$runs runs, $differences with different output"
[[ $differences -eq 0 ]]
