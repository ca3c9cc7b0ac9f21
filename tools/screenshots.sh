#!/usr/bin/env bash
# Takes the documentation's pictures of the desktop program under a virtual X server: the data
# editor holding an example data set (docs/images/editor.png) and the window after "Calibrate"
# with the results in front (docs/images/results.png).
#
# Usage: tools/screenshots.sh [DATAFILE]
# Environment: MORVANE_BUILD_DIR (default build/), SOURCE_DATE_EPOCH (the report's date and
# time; default the moment of the last commit, so the pictures can be reproduced).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${MORVANE_BUILD_DIR:-$root/build}"
images="$root/docs/images"

data="${1:-$root/examples/calibration_example.txt}"
if [[ ! -f "$data" ]]; then
    data="$root/tests/data/ui_calibration.txt"
fi

if ! command -v xvfb-run >/dev/null; then
    echo "screenshots.sh: xvfb-run is needed (Debian package xvfb)" >&2
    exit 1
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMORVANE_BUILD_UI=ON >/dev/null
cmake --build "$build" -j2 --target morvane

if [[ -z "${SOURCE_DATE_EPOCH:-}" ]]; then
    SOURCE_DATE_EPOCH="$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)"
fi
export SOURCE_DATE_EPOCH

mkdir -p "$images"
# The program opens the data file, saves editor.png, presses Calibrate, saves results.png and
# ends; messages it would show go to the standard error.
xvfb-run -a -s "-screen 0 1280x1024x24" \
    env MORVANE_SCREENSHOTS="$images" QT_QPA_PLATFORM=xcb "$build/bin/morvane" "$data"

echo "Saved $images/editor.png and $images/results.png from $data"
