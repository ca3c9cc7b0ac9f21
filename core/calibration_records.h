#pragma once

#include "calibration_defaults.h"
#include "value.h"

#include <array>
#include <string>

namespace morvane {

// Up to 130 samples; per-sample tables are indexed by grid row 1 to 130 and entry 0 is unused.
inline constexpr int kMaxSamples = 130;
inline constexpr int kGridRows = kMaxSamples + 1;
inline constexpr int kGridColumns = 4;

using SampleDoubles = std::array<double, kGridRows>;
using SampleFlags = std::array<int, kGridRows>;

// The cell texts of the editor's grid: row 0 is the header row, column 0 the row numbers,
// columns 1, 2 and 3 hold the tag, the reference PT (y) and the working PT (x).
struct GridCells {
    std::array<std::array<std::string, kGridColumns>, kGridRows> cells;

    std::string& at(int row, int column) { return cells[row][column]; }
    const std::string& at(int row, int column) const { return cells[row][column]; }
    friend bool operator==(const GridCells&, const GridCells&) = default;
};

// What a data file holds and the editor shows: the two preparation names, the reference ISI
// with its standard error, and the samples. The two ISI fields are also the calibration
// settings of those names: a run, a file load and a save all write into the same fields.
struct CalibrationDataSet {
    Value ReferencePreparationName{"RP"};
    Value WorkingPreparationName{"WP"};
    Value ISIReference{"ISI"};
    Value SEISIReference{"SEISI"};
    int SampleCount = 0;
    SampleFlags IsNormal{};      // 0 abnormal, anything else normal
    SampleDoubles ReferencePT{}; // y, seconds
    SampleDoubles WorkingPT{};   // x, seconds

    // Empties the data set and gives the header fields their start-up placeholders.
    void resetToPlaceholders();
};

// What the user chose for a run, beyond the two ISI fields of the data set.
struct CalibrationSettings {
    Value LowerINR{defaults::kLowerINR};
    Value UpperINR{defaults::kUpperINR};
    double SDLimit = defaults::kSDLimit;
    std::string ConfidenceLevel = defaults::kConfidenceLevel; // the text of the list
    bool TomensonCorrection = false;
};

// The texts of the data editor's fields: the desktop program fills this from its widgets, the
// command-line calibrator from its options. They start with the editor's designed texts.
struct EditorFields {
    std::string txtid = defaults::kIdentifierText;
    std::string txtIRP = defaults::kReferenceNameText;
    std::string txtWRP = defaults::kWorkingNameText;
    std::string txtISI = defaults::kReferenceISIText;
    std::string txtSEISI = defaults::kReferenceSEISIText;
    std::string txtLowerINR = defaults::kLowerINRText;
    std::string txtUpperINR = defaults::kUpperINRText;
    std::string txtSDReg = defaults::kSDLimitText;
    std::string ComboCI = defaults::kConfidenceLevel;
    bool Chkbox1 = false;
    friend bool operator==(const EditorFields&, const EditorFields&) = default;
};

// Everything a calibration run computed. One record for the program's whole life: each run
// overwrites the fields its steps reach, the rest keep earlier values. Statistics are Values
// because the report replaces them by their rounded display forms; an empty Value was never
// computed. The sample rows themselves are those of the data set.
struct CalibrationResults {
    SampleFlags SampleNo{};
    SampleFlags INRExcluded{};
    SampleFlags SDExcluded{};

    int AbnormalCount = 0;
    int NormalCount = 0;
    SampleDoubles WorkingPTAbnormal{};
    SampleDoubles ReferencePTAbnormal{};
    SampleFlags SampleNoAbnormal{};
    SampleFlags INRExcludedAbnormal{};
    SampleDoubles WorkingPTNormal{};
    SampleDoubles ReferencePTNormal{};
    SampleFlags SampleNoNormal{};

    int INRExcludedCount = 0;
    int SDExcludedCount = 0;
    int AbnormalsUsed = 0;
    int NormalsUsed = 0;
    bool CalibrationFailed = false;

    Value MNPTReference;

    Value InterceptAll, SlopeAll, SEInterceptAll, SESlopeAll, SDAboutLineAll;
    Value SlopeCILowAll, SlopeCIHighAll;

    Value InterceptAbnormal, SlopeAbnormal, SEInterceptAbnormal, SESlopeAbnormal;
    Value SDAboutLineAbnormal, CorrInterceptSlopeAbnormal;
    Value SlopeCILowAbnormal, SlopeCIHighAbnormal;

    Value ISIWorking, SEISIWorking, CVISIWorking;

    Value Displacement, DisplacementT, DisplacementDF;
    Value DisplacementPLow, DisplacementPHigh;
    Value DisplacementCILow, DisplacementCIHigh;
    Value MNPTWorkingUsed, MNPTReferenceUsed;
};

} // namespace morvane
