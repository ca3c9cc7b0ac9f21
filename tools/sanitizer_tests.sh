#!/usr/bin/env bash
# Builds every test with AddressSanitizer and UndefinedBehaviorSanitizer and runs them; any
# sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_dependencies.sh
flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DMORVANE_BUILD_BENCHMARKS=OFF -DMORVANE_CLI_LINKAGE=shared \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
cmake --build build-asan -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Qt's own font and platform plugins allocate for the life of the process; leaks are checked
# in the engine's tests, not in the window tests.
ctest --test-dir build-asan --output-on-failure -j"$(nproc)" -LE 'package|ui'
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$(nproc)" -L ui
