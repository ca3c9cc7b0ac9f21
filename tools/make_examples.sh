#!/bin/sh
# Writes the example calibration data files (made-up but realistic data) into examples/, or
# into the folder given as the first argument. The output is the same on every run: the random
# numbers come from a fixed-seed Park-Miller generator written out below, not from awk's rand().
#
# Model: one plasma in four is normal, the others come from patients. The working
# thromboplastin's PT x is drawn first (normals around 12.5 s, patients log-uniform over a
# range), then the reference PT y from the calibration line ln y = A + B ln x plus a normal
# error of SD 0.03 on the log scale, cut at 2.5 SD so that no plasma strays beyond the SD limit
# by chance.
#
#   calibration_example.txt     patients within the usual INR limits: a clean calibration
#   calibration_exclusions.txt  patients from about 17 to 85 s, so some INRs fall outside 1.5-4.5,
#                               and plasma 38 lies far below the line (excluded by the SD limit)
#   calibration_full_grid.txt   all 130 rows of the grid filled (33 normal, 97 patient plasmas)
set -eu

here=$(cd "$(dirname "$0")" && pwd)
out=${1:-"$here/../examples"}
mkdir -p "$out"

# make_file FILE SEED REFERENCE_NAME WORKING_NAME ISI SE_ISI PATIENT_X_LOW PATIENT_X_HIGH OUTLIER
#           [PLASMAS]
make_file() {
    awk -v seed="$2" -v refName="$3" -v workName="$4" -v isi="$5" -v seIsi="$6" \
        -v xLow="$7" -v xHigh="$8" -v outlier="$9" -v plasmas="${10:-80}" '
    # Park-Miller minimal standard generator: every product stays below 2^53, so the
    # sequence is exact in any awk.
    function uniform() {
        state = (state * 16807) % 2147483647
        return state / 2147483647
    }
    # A standard normal deviate by the Box-Muller transform, cut at 2.5.
    function gauss(   z) {
        do {
            z = sqrt(-2 * log(uniform())) * cos(6.283185307179586 * uniform())
        } while (z > 2.5 || z < -2.5)
        return z
    }
    function line(text) { printf "%s\r\n", text }
    BEGIN {
        state = seed
        A = -0.2289; B = 1.10; sd = 0.03
        line("\"" refName "\"")
        line("\"" workName "\"")
        line(isi)
        line(seIsi)
        for (i = 1; i <= plasmas; i++) {
            normal = (i % 4 == 1)
            if (normal)
                x = 12.5 * exp(0.045 * gauss())
            else
                x = exp(log(xLow) + (log(xHigh) - log(xLow)) * uniform())
            y = exp(A + B * log(x) + sd * gauss())
            if (i == outlier)
                y = y * 0.74
            line(sprintf("%d,%.1f,%.1f", normal ? 1 : 0, y, x))
        }
    }' > "$1"
}

make_file "$out/calibration_example.txt" 20240611 "rTF/09 reference" "Working lot W-117" \
    1.05 0.021 20 42 0
make_file "$out/calibration_exclusions.txt" 19970302 "R\351f\351rence RBT lot 7" \
    "Working lot W-118" 1.05 0.021 16 66 38
make_file "$out/calibration_full_grid.txt" 20010911 "rTF/09 reference" "Working lot W-119" \
    1.05 0.021 20 42 0 130
