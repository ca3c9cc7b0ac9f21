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

// A number as its significant digits and decimal exponent: value = 0.D x 10^(exponent + 1).
struct DecimalDigits {
    bool negative = false;
    std::string digits; // no leading or trailing zeros
    int exponent = 0;   // of the first digit
};

// Splits a printed scientific form ("-1.2345e+01" or "1.2345E+01") into its parts.
DecimalDigits splitScientific(std::string_view text) {
    DecimalDigits decimal;
    decimal.negative = text.front() == '-';
    if (decimal.negative)
        text.remove_prefix(1);
    const auto e = text.find_first_of("eE");
    for (char c : text.substr(0, e))
        if (c != '.')
            decimal.digits += c;
    std::string_view exponent = text.substr(e + 1);
    if (!exponent.empty() && exponent.front() == '+')
        exponent.remove_prefix(1);
    std::from_chars(exponent.data(), exponent.data() + exponent.size(), decimal.exponent);
    decimal.digits.erase(decimal.digits.find_last_not_of('0') + 1);
    return decimal;
}

// The value rounded to fifteen significant digits, trailing zeros dropped; a value whose shortest
// form that reads back has fewer digits gives just those. The few largest doubles round at fifteen
// digits to a decimal beyond the largest double; their digits are cut instead, so that the text
// still reads back.
DecimalDigits generalDigits(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14E", value);
    if (!std::isinf(std::strtod(buffer, nullptr)))
        return splitScientific(buffer);
    const auto shortest =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    DecimalDigits cut = splitScientific(std::string_view(buffer, shortest.ptr - buffer));
    cut.digits.resize(15);
    cut.digits.erase(cut.digits.find_last_not_of('0') + 1);
    return cut;
}

std::string exponentForm(const DecimalDigits& decimal) {
    std::string text = decimal.negative ? "-" : "";
    text += decimal.digits.front();
    if (decimal.digits.size() > 1)
        text += "." + decimal.digits.substr(1);
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "E%c%02d", decimal.exponent < 0 ? '-' : '+',
                  std::abs(decimal.exponent));
    return text + exponent;
}

std::string fixedForm(const DecimalDigits& decimal) {
    std::string text = decimal.negative ? "-" : "";
    const int length = static_cast<int>(decimal.digits.size());
    if (decimal.exponent < 0)
        return text + "0." + std::string(-decimal.exponent - 1, '0') + decimal.digits;
    const int integerDigits = decimal.exponent + 1;
    if (length <= integerDigits)
        return text + decimal.digits + std::string(integerDigits - length, '0');
    return text + decimal.digits.substr(0, integerDigits) + "." +
           decimal.digits.substr(integerDigits);
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
    // A number beyond the doubles ("1e999") is out of range for from_chars, never an infinity.
    double value = 0.0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return negative ? -value : value;
}

std::string FormatGeneral(double value) {
    if (value == 0.0)
        return "0";
    const DecimalDigits decimal = generalDigits(value);
    if (decimal.exponent < -5 || decimal.exponent >= 15)
        return exponentForm(decimal);
    return fixedForm(decimal);
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
