#!/usr/bin/env bash
# Takes the documentation's pictures of the desktop program under a virtual X server: the data
# editor holding an example data set (docs/images/editor.png), the window after "Calibrate"
# with the results in front (docs/images/results.png) and after "Produce Plot"
# (docs/images/plot-window.png), on a screen of 1280 x 800 with the window as it starts,
# maximised by the openbox window manager.
#
# Usage: tools/screenshots.sh [DATAFILE]
# Environment: MORVANE_BUILD_DIR (default build/). The report in the pictures carries the
# moment they were taken, as the desktop program's reports always do.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${MORVANE_BUILD_DIR:-$root/build}"
images="$root/docs/images"

data="${1:-$root/examples/calibration_example.txt}"
if [[ ! -f "$data" ]]; then
    data="$root/tests/data/ui_calibration.txt"
fi

for tool in xvfb-run:xvfb openbox:openbox; do
    if ! command -v "${tool%%:*}" >/dev/null; then
        echo "screenshots.sh: ${tool%%:*} is needed (Debian package ${tool##*:})" >&2
        exit 1
    fi
done

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMORVANE_BUILD_UI=ON >/dev/null
cmake --build "$build" -j2 --target morvane

mkdir -p "$images"
# The program opens the data file, saves editor.png, calibrates, saves results.png, produces the
# plot, saves plot-window.png and ends; messages it would show go to the standard error.
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    openbox & manager=$!
    sleep 1
    env MORVANE_SCREENSHOTS="$1" QT_QPA_PLATFORM=xcb "$2" "$3"
    status=$?
    kill "$manager"
    exit "$status"' screenshots "$images" "$build/bin/morvane" "$data"

echo "Saved editor.png, results.png and plot-window.png in $images from $data"
