#include "number_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace morvane {

namespace {

constexpr int kSignificantDigits = 15;

// A magnitude written as d.ddd × 10^exponent with at most 15 significant digits.
struct DecimalForm {
    std::array<char, 24> digits{};
    int count = 0;
    int exponent = 0;
};

// Splits the scientific text "d.ddde±xx" of to_chars into digits and exponent.
void readScientific(const char* first, const char* last, DecimalForm& form) {
    form.count = 0;
    const char* p = first;
    for (; p != last && *p != 'e'; ++p)
        if (*p != '.')
            form.digits[form.count++] = *p;
    int exponent = 0;
    if (p != last)
        std::from_chars(p + (p[1] == '+' ? 2 : 1), last, exponent);
    form.exponent = exponent;
}

// The decimal form of a finite non-negative magnitude to 15 significant digits, as printf writes
// it with "%.14e".
DecimalForm decimalForm(double magnitude) {
    DecimalForm form;
    std::array<char, 40> buffer;
    auto rounded = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                 std::chars_format::scientific, kSignificantDigits - 1);
    readScientific(buffer.data(), rounded.ptr, form);
    return form;
}

// Adds one unit to the last digit of a digit string, carrying to the left ("0999" -> "1000").
void incrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// The magnitude in units of 10^-decimals, rounded half away from zero, as a digit string.
std::string roundedUnits(const DecimalForm& form, int decimals) {
    const int kept = form.exponent + decimals + 1; // digits at or above the last decimal place
    if (kept < 0)
        return "0";
    std::string units(form.digits.data(), std::min(kept, form.count));
    if (kept > form.count)
        units.append(kept - form.count, '0');
    else if (kept < form.count && form.digits[kept] >= '5')
        incrementDigits(units);
    return units;
}

// Appends a rounded magnitude given as the digit string of its units of the last decimal place:
// at least one digit before the point, exactly `decimals` after it.
void appendUnitDigits(std::string& text, std::string_view units, int decimals, bool negative) {
    const auto fraction = static_cast<std::size_t>(std::max(decimals, 0));
    if (negative)
        text += '-';
    std::string digits(units.size() <= fraction ? fraction + 1 - units.size() : 0, '0');
    digits.append(units);
    const std::size_t whole = digits.size() - fraction;
    text.append(digits, 0, whole);
    if (fraction > 0)
        text.append(".").append(digits, whole, fraction);
}

} // namespace

int PatternDecimals(std::string_view pattern) {
    const auto point = pattern.find('.');
    if (point == std::string_view::npos)
        return 0;
    return static_cast<int>(std::count_if(pattern.begin() + point + 1, pattern.end(),
                                          [](char c) { return c == '0' || c == '#'; }));
}

bool AppendPattern(std::string& text, double value, int decimals) {
    if (!std::isfinite(value))
        return false;
    appendUnitDigits(text, roundedUnits(decimalForm(std::fabs(value)), decimals), decimals,
                     value < 0);
    return true;
}

std::optional<std::string> FormatPattern(double value, std::string_view pattern) {
    std::string text;
    if (!AppendPattern(text, value, PatternDecimals(pattern)))
        return std::nullopt;
    return text;
}

std::optional<std::string> FormatPattern(const Value& value, std::string_view pattern) {
    const auto number = value.number();
    if (!number)
        return std::nullopt;
    return FormatPattern(*number, pattern);
}

std::string FormatPlainNumber(double value) {
    const std::string general = FormatGeneral(std::fabs(value));
    const bool leadingZero = general.size() > 1 && general[0] == '0' && general[1] == '.';
    return (value < 0 ? "-" : " ") + general.substr(leadingZero ? 1 : 0) + " ";
}

} // namespace morvane
