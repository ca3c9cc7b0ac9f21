#pragma once

#include "value.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// Formats a number with a display pattern such as "##0.0000", "#0.00" or "#0": at least one
// digit before the decimal point, as many decimals as the pattern has digit places after its
// point, halves rounded away from zero, a leading "-" for a negative value (also when it rounds
// to zero: -0.00001 under "##0.0000" is "-0.0000"). The rounding works on the value's decimal
// form to 15 significant digits (as printf writes it), so 2.675, stored in binary just below the
// half, still gives "2.68" under "##0.00". Nothing for an infinite or undefined value.
std::optional<std::string> FormatPattern(double value, std::string_view pattern);

// The same for a value: a number, or a text that reads as a number, is formatted as that number;
// an empty value or a text that is not a number gives nothing.
std::optional<std::string> FormatPattern(const Value& value, std::string_view pattern);

// The number of digit places after the point of a display pattern: "##0.0000" has 4, "#0" 0.
int PatternDecimals(std::string_view pattern);

// Appends the value as FormatPattern writes it under a pattern with `decimals` places after its
// point; false, and nothing appended, for an infinite or undefined value.
bool AppendPattern(std::string& text, double value, int decimals);

// A number as a print list writes it: a space for zero or a positive value, else "-"; the
// magnitude in general form without the "0" before the point of a magnitude below 1; then a
// space. 25 gives " 25 ", -0.5 gives "-.5 ", 0.046 gives " .046 ".
std::string FormatPlainNumber(double value);

} // namespace morvane
