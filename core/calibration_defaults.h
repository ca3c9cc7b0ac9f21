#pragma once

namespace morvane::defaults {

// The values a run falls back on when a parameter field does not hold a valid entry, and the
// texts the data editor is designed with. Every place that needs one of them reads it here.
inline constexpr double kLowerINR = 1.5;
inline constexpr double kUpperINR = 4.5;
inline constexpr double kHighestUpperINR = 99.0;
inline constexpr double kSDLimit = 3.0;
inline constexpr double kReferenceISI = 1.0;
inline constexpr double kReferenceSEISI = 0.0;
inline constexpr const char* kConfidenceLevel = "95%";

// The editor's designed texts.
inline constexpr const char* kIdentifierText = "dataset1.txt";
inline constexpr const char* kReferenceNameText = "RP";
inline constexpr const char* kWorkingNameText = "WP";
inline constexpr const char* kReferenceISIText = "1";
inline constexpr const char* kReferenceSEISIText = "0";
inline constexpr const char* kLowerINRText = "1.5";
inline constexpr const char* kUpperINRText = "4.5";
inline constexpr const char* kSDLimitText = "3.0";

// The names a data file is saved with when the editor's name fields are empty.
inline constexpr const char* kSavedReferenceName = "IRP";
inline constexpr const char* kSavedWorkingName = "WRP";

} // namespace morvane::defaults
