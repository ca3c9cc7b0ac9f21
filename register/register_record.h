#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace morvane {

// One calibration as the lot register keeps it: who ran it, where and when, what was measured
// (the whole data set as data-file text with its SHA-256), every setting, the unrounded results
// and the guideline checks (as the calibration's JSON document), and the report exactly as it
// was shown. A record is never changed once recorded; a correction is a new record that names
// the one it supersedes and says why.
struct RegisterRecord {
    std::int64_t id = 0;       // given by the register when the record is made
    std::string recordedAtUtc; // "2026-12-07T10:57:04Z"
    std::string loginName;
    std::string hostName;
    std::string programVersion; // kProgramVersion
    std::string identifier;     // the calibration identifier (txtid)
    std::string fileName;       // the data file the set came from; empty when typed in
    std::string referencePreparation;
    std::string workingPreparation;
    std::string referenceISI; // the texts of the two ISI fields as the run used them
    std::string referenceSEISI;
    std::string dataSetText;   // the data file text of the data set, CR LF line ends
    std::string dataSetSha256; // 64 lower-case hex digits of dataSetText
    std::string runJson;       // settings, unrounded results, messages and checks (JSON)
    std::string reportText;    // the report exactly as shown or printed by calibrate
    // The values a listing and the trend plot show, unrounded; empty when never computed.
    std::optional<double> isiWorking;
    std::optional<double> seIsiWorking;
    std::optional<double> cvIsiWorking;
    std::optional<double> mnptWorking;
    std::optional<double> mnptReference;
    std::string verdict; // kVerdictMeets, kVerdictDoesNotMeet or kVerdictNotJudged
    std::optional<std::int64_t> supersedes; // the record this one corrects
    std::string supersedesReason;

    friend bool operator==(const RegisterRecord&, const RegisterRecord&) = default;
};

inline constexpr const char* kVerdictMeets = "meets the criteria";
inline constexpr const char* kVerdictDoesNotMeet = "does not meet the criteria";
inline constexpr const char* kVerdictNotJudged = "not judged";

} // namespace morvane
