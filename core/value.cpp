#include "value.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace morvane {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Only digits, one period and an optional exponent may follow the sign; this keeps out the
// hexadecimal, "inf" and "nan" forms that the library parser would otherwise take.
bool looksDecimal(std::string_view body) {
    std::size_t i = 0;
    std::size_t digits = 0;
    while (i < body.size() && std::isdigit(static_cast<unsigned char>(body[i]))) {
        ++i;
        ++digits;
    }
    if (i < body.size() && body[i] == '.') {
        ++i;
        while (i < body.size() && std::isdigit(static_cast<unsigned char>(body[i]))) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < body.size() && (body[i] == 'e' || body[i] == 'E')) {
        ++i;
        if (i < body.size() && (body[i] == '+' || body[i] == '-'))
            ++i;
        std::size_t expDigits = 0;
        while (i < body.size() && std::isdigit(static_cast<unsigned char>(body[i]))) {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    return i == body.size();
}

// The exponent form of a number with the given significant digits: "1.5E+20".
std::string exponentForm(double value, int digits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*E", digits - 1, value);
    std::string text = buffer;
    if (std::isinf(std::strtod(buffer, nullptr))) {
        // The few largest doubles round to a decimal beyond the largest double; their digits
        // are cut instead of rounded, so that the text still reads back as a number.
        std::snprintf(buffer, sizeof buffer, "%.*E", digits + 4, value);
        text = buffer;
        const auto e = text.find('E');
        text = text.substr(0, digits + (value < 0 ? 2 : 1)) + text.substr(e);
    }
    auto e = text.find('E');
    std::string mantissa = text.substr(0, e);
    if (mantissa.find('.') != std::string::npos) {
        mantissa.erase(mantissa.find_last_not_of('0') + 1);
        if (mantissa.back() == '.')
            mantissa.pop_back();
    }
    return mantissa + text.substr(e);
}

int significantDigitsToRoundTrip(double value) {
    char buffer[64];
    for (int digits = 1; digits <= 15; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*E", digits - 1, value);
        if (std::strtod(buffer, nullptr) == value)
            return digits;
    }
    return 15;
}

} // namespace

std::optional<double> ParseNumber(std::string_view text) {
    text = trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (!looksDecimal(text))
        return std::nullopt;
    double value = 0.0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

std::string FormatGeneral(double value) {
    if (value == 0.0)
        return "0";
    const int digits = significantDigitsToRoundTrip(value);
    // The decimal exponent is taken from the rounded digits, so that a value just below a power
    // of ten that rounds up to it is laid out as that power.
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*E", digits - 1, value);
    const int roundedExponent = std::atoi(std::strchr(buffer, 'E') + 1);
    if (roundedExponent < -5 || roundedExponent >= 15)
        return exponentForm(value, digits);
    const int decimals = std::max(0, digits - 1 - roundedExponent);
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text = buffer;
    // Fifteen digits that do not read back may end in zeros: 20.000000000000007 shows as 20.
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
    }
    return text;
}

std::string Value::text() const {
    if (const auto* text = std::get_if<std::string>(&mHeld))
        return *text;
    if (const auto* number = std::get_if<double>(&mHeld))
        return FormatGeneral(*number);
    return {};
}

std::optional<double> Value::number() const {
    if (const auto* number = std::get_if<double>(&mHeld))
        return *number;
    if (const auto* text = std::get_if<std::string>(&mHeld))
        return ParseNumber(*text);
    return std::nullopt;
}

} // namespace morvane
