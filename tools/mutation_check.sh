#!/usr/bin/env bash
# Measures how many small faults in core/ and plot/ the fast tests (core_tests, plot_tests,
# results_shown_tests, cli_tests) catch; the last line is "mutation score: K of N killed".
#
#   tools/mutation_check.sh [--tree DIR] [--jobs N] [--seed S --count N] [--ids m001,m002]
#
# The mutants of tools/mutation_list.jsonl are applied one at a time to scratch copies of the
# checkout in a temporary folder, never to the checkout itself; each copy has its own build
# (-O1, no desktop program, no benchmarks) and rebuilds incrementally. A mutant is killed when a
# test fails or runs past its time limit. One that does not compile is "stillborn" and one whose
# line is gone from the tree is "missing"; neither counts in N. --seed and --count draw a new
# list from the sources (--save FILE keeps it). tools/mutation_check.py --help has every option.
if ! command -v python3 >/dev/null; then
    echo "mutation_check.sh: python3 is needed (Debian package python3)" >&2
    exit 2
fi
exec python3 "$(dirname "${BASH_SOURCE[0]}")/mutation_check.py" "$@"
