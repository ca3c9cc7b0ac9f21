#include "engine_steps.h"

#include "checked_math.h"

#include <cmath>

namespace morvane {

namespace c = checked;

namespace {

void appendToGroup(const CalibrationDataSet& data, const CalibrationResults& results, int i, int k,
                   SampleDoubles& working, SampleDoubles& reference, SampleFlags& rows) {
    working[k] = data.WorkingPT[i];
    reference[k] = data.ReferencePT[i];
    rows[k] = results.SampleNo[i];
}

// The log PTs of the points on a line (x working, y reference), their sums, means and centred
// sums of squares. Each logarithm is taken once; entry k (1 to m) came from table entry row[k].
struct LogSums {
    int m = 0;
    SampleDoubles x{}, y{};
    SampleFlags row{};
    double sumX = 0, sumY = 0;
    double meanX = 0, meanY = 0;
    double sxx = 0, syy = 0, sxy = 0;
};

// First pass over a table: the logarithms and sums of the entries 1 to count that `used`
// accepts.
template <typename Used>
LogSums collectLogs(int count, const SampleDoubles& working, const SampleDoubles& reference,
                    Used used) {
    LogSums sums;
    for (int i = 1; i <= count; ++i) {
        if (!used(i))
            continue;
        ++sums.m;
        sums.row[sums.m] = i;
        sums.x[sums.m] = c::log(working[i]);
        sums.y[sums.m] = c::log(reference[i]);
        sums.sumX += sums.x[sums.m];
        sums.sumY += sums.y[sums.m];
    }
    return sums;
}

// Second pass: the means and the centred sums of squares and products.
void centre(LogSums& sums) {
    sums.meanX = c::div(sums.sumX, sums.m);
    sums.meanY = c::div(sums.sumY, sums.m);
    for (int k = 1; k <= sums.m; ++k) {
        const double dx = sums.x[k] - sums.meanX;
        const double dy = sums.y[k] - sums.meanY;
        sums.sxx += dx * dx;
        sums.syy += dy * dy;
        sums.sxy += dy * dx;
    }
}

// The orthogonal line through centred sums: h = (Syy - Sxx) / 2Sxy, b = h + sqrt(1 + h^2)
// (the positive root), a = mean y - b mean x.
struct OrthogonalFit {
    double slope = 0, intercept = 0;
};

OrthogonalFit orthogonalFit(const LogSums& sums) {
    const double h = c::div(sums.syy - sums.sxx, 2.0 * sums.sxy);
    OrthogonalFit fit;
    fit.slope = c::finite(h + std::sqrt(1.0 + h * h));
    fit.intercept = c::finite(sums.meanY - fit.slope * sums.meanX);
    return fit;
}

// The confidence interval of a slope by the angle of the line: R from the variances and
// covariance of the points, q = 4 t^2 R / df, phi = atan(sqrt(q / (1 - q))) / 2, limits
// tan(theta -+ phi); both limits 0 when q >= 1 (no interval exists).
void slopeInterval(const LogSums& sums, double slope, double t, Value& low, Value& high) {
    const double n1 = sums.m - 1;
    const double vx = c::div(sums.sxx, n1), vy = c::div(sums.syy, n1), cxy = c::div(sums.sxy, n1);
    const double r = c::div(vx * vy - cxy * cxy, (vx - vy) * (vx - vy) + 4.0 * cxy * cxy);
    const double q = c::div(4.0 * t * t * r, sums.m - 2);
    if (q >= 1.0) {
        low = Value(0.0);
        high = Value(0.0);
        return;
    }
    const double theta = std::atan(slope);
    const double phi = 0.5 * std::atan(c::sqrt(c::div(q, 1.0 - q)));
    low = Value(c::finite(std::tan(theta - phi)));
    high = Value(c::finite(std::tan(theta + phi)));
}

bool inAllSamplesFit(const CalibrationResults& results, int i) {
    return results.INRExcluded[i] == 0 && results.SDExcluded[i] == 0;
}

// Steps 1 and 2 of a pass of the all-samples fit: the log PTs of the samples in the fit and the
// counts of abnormal and normal samples used.
LogSums allSamplesSums(const CalibrationDataSet& data, CalibrationResults& results) {
    LogSums sums = collectLogs(data.SampleCount, data.WorkingPT, data.ReferencePT,
                               [&](int i) { return inAllSamplesFit(results, i); });
    results.AbnormalsUsed = 0;
    results.NormalsUsed = 0;
    for (int i = 1; i <= data.SampleCount; ++i) {
        if (data.IsNormal[i] == 0 && inAllSamplesFit(results, i))
            ++results.AbnormalsUsed;
        if (data.IsNormal[i] != 0 && results.SDExcluded[i] == 0)
            ++results.NormalsUsed;
    }
    return sums;
}

// Steps 5 to 7 of a pass: the line, the SD about it and the standard errors, written as they
// are computed. Returns the SD s.
double fitAllSamplesLine(const LogSums& sums, CalibrationResults& results) {
    const OrthogonalFit fit = orthogonalFit(sums);
    const double b = fit.slope;
    results.SlopeAll = Value(b);
    results.InterceptAll = Value(fit.intercept);
    const double cov = sums.sxy / sums.m;
    const double s2 = c::div(sums.syy - b * sums.sxy, sums.m - 2);
    const double s = c::sqrt(s2);
    results.SDAboutLineAll = Value(s);
    const double seSlope =
        c::sqrt(c::div(b * s2 * (b * s2 + (1.0 + b * b) * cov), sums.m * cov * cov));
    results.SESlopeAll = Value(seSlope);
    const double seIntercept = c::sqrt(
        c::finite(s2 * (1.0 + b * b) / sums.m + seSlope * seSlope * sums.meanX * sums.meanX));
    results.SEInterceptAll = Value(seIntercept);
    return s;
}

// Pass 1's exclusion: a sample within the INR limits (all of pass 1's points) whose
// perpendicular distance from the line is L s or more is left out of pass 2. The fit clears every
// flag before pass 1.
void excludeBySDLimit(const LogSums& pass1, double sdLimit, double s, CalibrationResults& results) {
    const double a = c::number(results.InterceptAll);
    const double b = c::number(results.SlopeAll);
    const double cosTheta = std::cos(std::atan(b));
    for (int k = 1; k <= pass1.m; ++k) {
        const int i = pass1.row[k];
        const double residual = (a + b * pass1.x[k]) - pass1.y[k];
        const double distance = std::fabs(cosTheta * residual);
        if (distance >= sdLimit * s) {
            results.SDExcluded[i] = 1;
            ++results.SDExcludedCount;
        }
    }
}

// One pass of the all-samples fit; false when too few samples were left.
bool allSamplesPass(int pass, const CalibrationDataSet& data, const CalibrationSettings& settings,
                    const CriticalTTable& table, CalibrationResults& results, MessageSink& sink) {
    LogSums sums = allSamplesSums(data, results);
    if (results.AbnormalsUsed <= 2 || results.NormalsUsed < 2) {
        sink.show(DataErrorMessage(kInsufficientAfterExclusionsText));
        results.CalibrationFailed = true;
        return false;
    }
    centre(sums);
    const double s = fitAllSamplesLine(sums, results);
    if (pass == 1) {
        excludeBySDLimit(sums, settings.SDLimit, s, results);
    } else {
        const double t = table.value(sums.m - 2, ConfidenceLevelColumn(settings.ConfidenceLevel));
        slopeInterval(sums, c::number(results.SlopeAll), t, results.SlopeCILowAll,
                      results.SlopeCIHighAll);
    }
    return true;
}

} // namespace

void SplitByTag(const CalibrationDataSet& data, CalibrationResults& results) {
    results.NormalCount = 0;
    for (int i = 1; i <= data.SampleCount; ++i)
        if (data.IsNormal[i] != 0)
            appendToGroup(data, results, i, ++results.NormalCount, results.WorkingPTNormal,
                          results.ReferencePTNormal, results.SampleNoNormal);
    results.AbnormalCount = 0;
    for (int i = 1; i <= data.SampleCount; ++i)
        if (data.IsNormal[i] == 0)
            appendToGroup(data, results, i, ++results.AbnormalCount, results.WorkingPTAbnormal,
                          results.ReferencePTAbnormal, results.SampleNoAbnormal);
}

void MeanNormalPT(CalibrationResults& results) {
    c::runStep({&results.MNPTReference}, [&] {
        double sumLog = 0.0;
        for (int k = 1; k <= results.NormalCount; ++k)
            sumLog += c::log(results.ReferencePTNormal[k]);
        results.MNPTReference = Value(c::exp(c::div(sumLog, results.NormalCount)));
    });
}

void ExcludeByINR(const CalibrationDataSet& data, const CalibrationSettings& settings,
                  CalibrationResults& results) {
    // A step that fails part-way leaves no earlier run's flag on this run's samples.
    results.INRExcludedCount = 0;
    for (int i = 1; i <= data.SampleCount; ++i)
        results.INRExcluded[i] = 0;
    for (int k = 1; k <= results.AbnormalCount; ++k)
        results.INRExcludedAbnormal[k] = 0;
    c::runStep({}, [&] {
        int abnormal = 0;
        const double lower = c::number(settings.LowerINR);
        const double upper = c::number(settings.UpperINR);
        const double isi = c::number(data.ISIReference);
        const double mnpt = c::number(results.MNPTReference);
        for (int i = 1; i <= data.SampleCount; ++i) {
            if (data.IsNormal[i] != 0)
                continue; // a normal is never flagged by the INR
            const double inr = c::pow(c::div(data.ReferencePT[i], mnpt), isi);
            ++abnormal;
            const int outside = (lower <= inr && inr <= upper) ? 0 : 1;
            results.INRExcluded[i] = outside;
            results.INRExcludedAbnormal[abnormal] = outside;
            results.INRExcludedCount += outside;
        }
    });
}

void FitOrthogonalLine(const CalibrationDataSet& data, const CalibrationSettings& settings,
                       const CriticalTTable& table, CalibrationResults& results,
                       MessageSink& sink) {
    results.CalibrationFailed = false;
    for (int i = 1; i <= data.SampleCount; ++i)
        results.SDExcluded[i] = 0;
    results.SDExcludedCount = 0;
    const auto bothPasses = [&] {
        if (allSamplesPass(1, data, settings, table, results, sink))
            allSamplesPass(2, data, settings, table, results, sink);
    };
    c::runStep({&results.InterceptAll, &results.SlopeAll, &results.SEInterceptAll,
                &results.SESlopeAll, &results.SDAboutLineAll, &results.SlopeCILowAll,
                &results.SlopeCIHighAll},
               bothPasses);
}

namespace {

bool abnormalUsed(const CalibrationResults& results, int k) {
    return results.INRExcludedAbnormal[k] == 0 &&
           results.SDExcluded[results.SampleNoAbnormal[k]] == 0;
}

LogSums abnormalSums(CalibrationResults& results) {
    LogSums sums =
        collectLogs(results.AbnormalCount, results.WorkingPTAbnormal, results.ReferencePTAbnormal,
                    [&](int k) { return abnormalUsed(results, k); });
    results.AbnormalsUsed = sums.m;
    centre(sums);
    return sums;
}

} // namespace

void FitAbnormalOnlyLine(const CalibrationSettings& settings, const CriticalTTable& table,
                         CalibrationResults& results) {
    const auto fitLine = [&] {
        const LogSums sums = abnormalSums(results);
        const int k = sums.m;
        const OrthogonalFit fit = orthogonalFit(sums);
        const double b = fit.slope;
        results.SlopeAbnormal = Value(b);
        results.InterceptAbnormal = Value(fit.intercept);
        const double s2 = c::div(sums.syy - b * sums.sxy, k - 2);
        results.SDAboutLineAbnormal = Value(c::sqrt(s2));
        const double seSlope = c::sqrt(
            c::div(k * b * s2 * (b * s2 + (1.0 + b * b) * sums.sxy / k), sums.sxy * sums.sxy));
        results.SESlopeAbnormal = Value(seSlope);
        const double seIntercept = c::sqrt(
            c::finite(s2 * (1.0 + b * b) / k + sums.meanX * sums.meanX * seSlope * seSlope));
        results.SEInterceptAbnormal = Value(seIntercept);
        results.CorrInterceptSlopeAbnormal = Value(c::div(-sums.meanX * seSlope, seIntercept));
        const double t = table.value(k - 2, ConfidenceLevelColumn(settings.ConfidenceLevel));
        slopeInterval(sums, b, t, results.SlopeCILowAbnormal, results.SlopeCIHighAbnormal);
    };
    c::runStep({&results.InterceptAbnormal, &results.SlopeAbnormal, &results.SEInterceptAbnormal,
                &results.SESlopeAbnormal, &results.SDAboutLineAbnormal,
                &results.CorrInterceptSlopeAbnormal, &results.SlopeCILowAbnormal,
                &results.SlopeCIHighAbnormal},
               fitLine);
}

namespace {

bool normalTaken(const CalibrationResults& results, int k) {
    return results.SDExcluded[results.SampleNoNormal[k]] == 0;
}

// The log PTs of the normals taken: means (and the MNPTs they give) and centred sums.
LogSums normalSums(CalibrationResults& results) {
    LogSums sums =
        collectLogs(results.NormalCount, results.WorkingPTNormal, results.ReferencePTNormal,
                    [&](int k) { return normalTaken(results, k); });
    results.NormalsUsed = sums.m;
    sums.meanX = c::div(sums.sumX, sums.m);
    sums.meanY = c::div(sums.sumY, sums.m);
    results.MNPTWorkingUsed = Value(c::exp(sums.meanX));
    results.MNPTReferenceUsed = Value(c::exp(sums.meanY));
    centre(sums);
    return sums;
}

// Welch's approximate degrees of freedom as used here, rounded to an integer with a fraction of
// one half going up: the line term is divided by k, the normal term by n + 1.
double displacementDegreesOfFreedom(double v1, double v2, int k, int n) {
    return RoundDegreesOfFreedom(
        c::div((v1 + v2) * (v1 + v2), c::div(v1 * v1, k) + c::div(v2 * v2, n + 1)) - 2.0);
}

} // namespace

double RoundDegreesOfFreedom(double f) {
    const double whole = std::floor(f);
    return f - whole >= 0.5 ? whole + 1.0 : whole;
}

void ApplyTomensonCorrection(const CalibrationSettings& settings, const CriticalTTable& table,
                             CalibrationResults& results) {
    const auto correct = [&] {
        const LogSums sums = normalSums(results);
        const int n = sums.m;
        const double vA = c::div(sums.sxx, n - 1);
        const double vC = c::div(sums.syy, n - 1);
        const double cAC = c::div(sums.sxy, n - 1);
        const double a = c::number(results.InterceptAbnormal);
        const double b = c::number(results.SlopeAbnormal);
        const double seA = c::number(results.SEInterceptAbnormal);
        const double seB = c::number(results.SESlopeAbnormal);
        const double r = c::number(results.CorrInterceptSlopeAbnormal);
        const double mA = sums.meanX;
        // V2: variance of the normals' mean point about a line of slope b; V1: variance of the
        // abnormal-only line's height at mA.
        const double v2 = c::div(vC - 2.0 * b * cAC + b * b * vA, n);
        const double v1 = c::finite(seA * seA + (seB * mA) * (seB * mA) + 2.0 * mA * r * seA * seB);
        const double d = c::finite((a + b * mA) - sums.meanY);
        results.Displacement = Value(d);
        const double seD = c::sqrt(v1 + v2);
        const double tStatistic = c::div(d, seD);
        results.DisplacementT = Value(tStatistic);
        const double f = displacementDegreesOfFreedom(v1, v2, results.AbnormalsUsed, n);
        results.DisplacementDF = Value(f);
        const int row = f < CriticalTTable::kRows ? static_cast<int>(f) : CriticalTTable::kRows;
        const double t = table.value(row, ConfidenceLevelColumn(settings.ConfidenceLevel));
        results.DisplacementCILow = Value(c::finite(d - t * seD));
        results.DisplacementCIHigh = Value(c::finite(d + t * seD));
        double lower = 0.0, upper = 0.0;
        FindPValueBracket(table, row, std::fabs(tStatistic), lower, upper);
        results.DisplacementPLow = Value(lower);
        results.DisplacementPHigh = Value(upper);
    };
    c::runStep({&results.Displacement, &results.DisplacementT, &results.DisplacementDF,
                &results.DisplacementPLow, &results.DisplacementPHigh, &results.DisplacementCILow,
                &results.DisplacementCIHigh, &results.MNPTWorkingUsed, &results.MNPTReferenceUsed},
               correct);
}

void ComputeISI(const CalibrationDataSet& data, CalibrationResults& results) {
    // The CV of the working ISI belongs to the ISI computed here; the report forms it anew.
    results.CVISIWorking = Value();
    c::runStep({&results.ISIWorking, &results.SEISIWorking}, [&] {
        const double isi = c::number(data.ISIReference);
        const double se = c::number(data.SEISIReference);
        const double slope = c::number(results.SlopeAll);
        const double seSlope = c::number(results.SESlopeAll);
        results.ISIWorking = Value(c::finite(isi * slope));
        results.SEISIWorking = Value(
            c::sqrt(c::finite((se * slope) * (se * slope) + (isi * seSlope) * (isi * seSlope))));
    });
}

} // namespace morvane
