#!/usr/bin/env bash
# Counts instructions with callgrind, which the load of a shared machine does not disturb:
#
#   bench/count_instructions.sh BUILD_DIR
#
# 1. per call of PerformCalibrationRun and BuildResultsReport (and of the parts of the report),
#    over the iterations of the CalibrationRunWithReport benchmark;
# 2. per load of the critical t table, over the CriticalTTableLoad benchmark;
# 3. the whole `morvane-cli calibrate` process on the 130-plasma example, and its parts.
# The callgrind files are left in BUILD_DIR/callgrind/.
set -eu -o pipefail

[[ $# -eq 1 ]] || {
    echo "usage: $0 BUILD_DIR" >&2
    exit 64
}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "$1" && pwd)
out=$build/callgrind
mkdir -p "$out"
example=$root/examples/calibration_full_grid.txt

# Inclusive instructions of the functions whose names match the pattern, in all and per call: the
# costs callgrind records at each call of them, summed and divided by the number of calls.
per_call() {
    awk -v PATTERN="$2" '
        /^c?fn=\(/ {
            id = $0; sub(/^c?fn=/, "", id)
            key = id; sub(/ .*/, "", key)
            if (index(id, " ") > 0) name[key] = substr(id, index(id, " ") + 1)
        }
        /^cfn=\(/ { callee = key; next }
        /^calls=/ { split($0, c, /[= ]/); pending = c[2]; next }
        pending != "" {
            split($0, cost, " "); calls[callee] += pending; incl[callee] += cost[2]; pending = ""
        }
        END {
            for (k in calls) {
                n = name[k]; sub(/\(.*/, "", n); sub(/\[abi:cxx11\]/, "", n)
                if (n ~ PATTERN)
                    printf "  %-40s %7d calls %10.0f per call %11d in all\n", n, calls[k],
                        incl[k] / calls[k], incl[k]
            }
        }' "$1" | sort -k7 -n -r
}

total() {
    sed -n 's/^totals: //p' "$1"
}

echo "== In process: one calibration run with its report"
valgrind --tool=callgrind --callgrind-out-file="$out/run_with_report.out" \
    '--toggle-collect=morvane::PerformCalibrationRun*' \
    '--toggle-collect=morvane::BuildResultsReport*' \
    "$build/bin/morvane_bench" --benchmark_filter=CalibrationRunWithReport >/dev/null 2>&1
per_call "$out/run_with_report.out" \
    '^morvane::(PerformCalibrationRun|BuildResultsReport|RoundResultsForReport|AppendPattern|ReadDataFromGrid|ParseNumber)$'

echo "== In process: the critical t table"
valgrind --tool=callgrind --callgrind-out-file="$out/tcrit.out" \
    '--toggle-collect=morvane::LoadCriticalTTable*' \
    "$build/bin/morvane_bench" --benchmark_filter=CriticalTTableLoad >/dev/null 2>&1
# Each load reads the file once: the loads are the calls of ReadWholeFile.
loads=$(awk '/^c?fn=\([0-9]+\) morvane::ReadWholeFile/ { id = $1; sub(/^c?fn=/, "", id) }
    /^cfn=/ { callee = $1; sub(/^cfn=/, "", callee); wanted = (callee == id) }
    /^calls=/ && wanted { split($1, count, "="); loads += count[2]; wanted = 0 }
    END { print loads }' "$out/tcrit.out")
echo "  LoadCriticalTTable: $(($(total "$out/tcrit.out") / loads)) instructions per load ($loads loads)"

echo "== Whole process: morvane-cli calibrate $(basename "$example")"
valgrind --tool=callgrind --callgrind-out-file="$out/cli.out" \
    "$build/bin/morvane-cli" calibrate "$example" >/dev/null 2>&1
echo "  whole process: $(total "$out/cli.out") instructions"
per_call "$out/cli.out" \
    '^(morvane::(LoadCriticalTTable|WriteDataToGrid|ReadDataFile|BuildResultsReport|PerformCalibrationRun|MakeReportHeader|DefaultTCritPath|ExecutableFolder|Calibration::Calibration)|_dl_start|_dl_runtime_resolve_xsave|std::ios_base::Init::Init|std::locale::_S_initialize)$'
