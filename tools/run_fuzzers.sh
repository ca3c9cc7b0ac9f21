#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer and runs each for a bounded time.
#
#   tools/run_fuzzers.sh SECONDS [TARGET...]
#
# SECONDS is the run time of each target; without TARGETs all of them run, one after another.
# The seed corpus in tests/fuzz/corpus/<target>/ is only read: inputs that reach new code are
# kept in <build>/corpus/<target>/, so later runs go on from there. A crash, a sanitizer report
# or a broken property leaves its input in <build>/artifacts/<target>/ and makes the script exit
# with status 1 once all targets have run; a failed build exits with status 2.
#
# Environment: MORVANE_FUZZ_BUILD_DIR (default build-fuzz in the source tree), CXX (default
# clang++-14), MORVANE_FUZZ_JOBS (build jobs, default 2), MORVANE_FUZZ_KEEP_GOING=1 (run each
# target in a forked child that is restarted after a crash, so one run collects every crash it
# meets instead of stopping at the first).
set -u -o pipefail

usage() {
    echo "usage: $0 SECONDS [TARGET...]" >&2
    exit 64
}

[[ $# -ge 1 && $1 =~ ^[1-9][0-9]*$ ]] || usage
seconds=$1
shift

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${MORVANE_FUZZ_BUILD_DIR:-$root/build-fuzz}
compiler=${CXX:-clang++-14}
jobs=${MORVANE_FUZZ_JOBS:-2}
all_targets=(file_fuzzer calibration_run_fuzzer text_fuzzer)
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=("${all_targets[@]}")

cmake -S "$root/tests/fuzz" -B "$build" -DCMAKE_CXX_COMPILER="$compiler" >/dev/null &&
    cmake --build "$build" -j"$jobs" --target "${targets[@]}" || {
    echo "run_fuzzers: the fuzz targets did not build" >&2
    exit 2
}

# The readers open the inputs as files, and a saved data file is flushed to disk each time: a
# scratch folder in memory keeps that from setting the pace.
if [[ -n ${MORVANE_FUZZ_SCRATCH:-} ]]; then
    scratch=$MORVANE_FUZZ_SCRATCH
    mkdir -p "$scratch"
elif [[ -d /dev/shm && -w /dev/shm ]]; then
    scratch=$(mktemp -d /dev/shm/morvane-fuzz.XXXXXX)
    trap 'rm -rf "$scratch"' EXIT
else
    scratch="$build/scratch"
    mkdir -p "$scratch"
fi

keep_going=()
[[ ${MORVANE_FUZZ_KEEP_GOING:-0} == 1 ]] && keep_going=(-fork=1 -ignore_crashes=1 -ignore_timeouts=1
                                                   -ignore_ooms=1)

failed=()
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    artifacts="$build/artifacts/$target"
    log="$build/logs/$target.log"
    mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
    started="$build/logs/$target.started"
    touch "$started"
    echo "== $target: ${seconds}s"
    TMPDIR="$scratch" "$build/$target" "$corpus" "$root/tests/fuzz/corpus/$target" \
        -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "${keep_going[@]}" >"$log" 2>&1
    status=$?
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|Done )' "$log" | sed 's/^/   /'
    grep -E '^#[0-9]+: cov:' "$log" | tail -n 1 | sed 's/^/   /'
    found=$(find "$artifacts" -type f -newer "$started" | sort)
    if [[ $status -ne 0 || -n $found ]]; then
        echo "   FAILED (exit $status); report: $log"
        # Replays each input found for the first line that names its fault, and counts them.
        for input in $found; do
            fault=$(TMPDIR="$scratch" "$build/$target" "$input" 2>&1 |
                grep -m 1 -E 'Property violated|runtime error|ERROR: (AddressSanitizer|libFuzzer)')
            echo "${fault:-(no fault on replay)}"
        done | sort | uniq -c | sed 's/^ */   /'
        echo "$found" | head -n 5 | sed 's/^/   input: /'
        count=$(echo "$found" | grep -c .)
        [[ $count -le 5 ]] || echo "   ... $((count - 5)) more in $artifacts/"
        failed+=("$target")
    fi
done

if [[ ${#failed[@]} -gt 0 ]]; then
    echo "run_fuzzers: crashes in ${failed[*]}" >&2
    exit 1
fi
echo "run_fuzzers: no crashes"
