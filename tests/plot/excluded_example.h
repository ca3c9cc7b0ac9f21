// Samples in the fit from ln PT 2.30 to 4.10 (axes 2.25 to 4.25, U = 0.4, N = 8); two more left
// out by the limits. The lines' coefficients are texts, as the report leaves them.
#pragma once
#include "calibration_records.h"

#include <cmath>

struct ExcludedExample {
    morvane::CalibrationDataSet data;
    morvane::CalibrationResults results;
    ExcludedExample() {
        const double ln[][3] = {{2.30, 2.45, 1}, {2.40, 2.35, 1}, {3.00, 3.20, 0}, {3.60, 3.90, 0},
                                {3.90, 4.10, 0}, {4.40, 4.70, 0}, {3.10, 2.60, 1}};
        data.SampleCount = 7;
        for (int row = 1; row <= 7; ++row) {
            data.WorkingPT[row] = std::exp(ln[row - 1][0]);
            data.ReferencePT[row] = std::exp(ln[row - 1][1]);
            data.IsNormal[row] = static_cast<int>(ln[row - 1][2]);
        }
        results.INRExcluded[6] = results.SDExcluded[7] = 1;
        results.SlopeAll = morvane::Value("1.0000");
        results.InterceptAll = morvane::Value("0.1000");
        results.InterceptAbnormal = morvane::Value("-0.5000");
        results.SlopeAbnormal = morvane::Value("1.2000");
    }
};
