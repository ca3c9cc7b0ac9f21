#pragma once

namespace morvane {

// The About box's version line, which the report header also prints.
inline constexpr const char* kVersionCaption = "Version 3.1 (Morvane 1.0)";
inline constexpr const char* kProgramVersion = "1.0.0";

} // namespace morvane
