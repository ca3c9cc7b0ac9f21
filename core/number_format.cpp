#include "number_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

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

// The decimal form of a finite non-negative magnitude to 15 significant digits. The shortest
// round-trip digits are that form whenever they number 15 or fewer: a double is closer to them
// than half a unit of the fifteenth digit.
DecimalForm decimalForm(double magnitude) {
    DecimalForm form;
    std::array<char, 40> buffer;
    auto shortest = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                  std::chars_format::scientific);
    readScientific(buffer.data(), shortest.ptr, form);
    if (form.count <= kSignificantDigits)
        return form;
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
    if (kept == 0)
        return form.digits[0] >= '5' ? "1" : "0";
    std::string units(form.digits.data(), std::min(kept, form.count));
    if (kept > form.count)
        units.append(kept - form.count, '0');
    else if (kept < form.count && form.digits[kept] >= '5')
        incrementDigits(units);
    return units;
}

constexpr double kLog10Of2 = 0.30102999566398120;

// Powers of ten up to 10^22, all exact in a double.
constexpr std::array<double, 23> kExactPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

constexpr std::array<std::uint64_t, 16> kIntegerPowersOfTen = [] {
    std::array<std::uint64_t, 16> powers{};
    std::uint64_t power = 1;
    for (std::uint64_t& entry : powers) {
        entry = power;
        power *= 10;
    }
    return powers;
}();

// The quick way to the rounded units, for magnitudes from 1e-8 to below 1e14: the 15 significant
// digits are the magnitude times an exact power of ten, rounded to an integer. The product's own
// rounding error is recovered exactly with a fused multiply-add, so a fraction at or near one
// half is decided on the exact product, as the decimal text would decide it.
std::optional<std::uint64_t> quickRoundedUnits(double magnitude, int decimals) {
    if (magnitude == 0.0)
        return 0;
    if (!(magnitude >= 1e-8 && magnitude < 1e14))
        return std::nullopt;
    // The decimal exponent from the binary one is exact or one too small.
    int binaryExponent = 0;
    std::frexp(magnitude, &binaryExponent);
    int exponent = static_cast<int>(std::floor((binaryExponent - 1) * kLog10Of2));
    int scale = 0;
    double scaled = 0.0;
    do {
        scale = kSignificantDigits - 1 - exponent++;
        if (scale < 1 || scale > 22)
            return std::nullopt;
        scaled = magnitude * kExactPowersOfTen[scale];
    } while (scaled >= 999999999999999.5);
    // scaled lies in [1e14, 1e15): its fraction and that fraction less one half are exact, and
    // any non-zero difference from one half is larger than the product's error.
    const double error = std::fma(magnitude, kExactPowersOfTen[scale], -scaled);
    const double whole = std::floor(scaled);
    const double aboveHalf = (scaled - whole - 0.5) + error;
    const auto truncated = static_cast<std::uint64_t>(whole);
    // A product exactly halfway goes to the even neighbour, as printf writes the digits.
    const bool up = aboveHalf > 0.0 || (aboveHalf == 0.0 && truncated % 2 == 1);
    const std::uint64_t digits = truncated + (up ? 1 : 0);
    if (digits < kIntegerPowersOfTen[14] || digits > kIntegerPowersOfTen[15])
        return std::nullopt; // the decimal exponent was misjudged at a power of ten
    const int dropped = scale - decimals;
    if (dropped <= 0)
        return -dropped <= 3 ? std::optional(digits * kIntegerPowersOfTen[-dropped]) : std::nullopt;
    if (dropped > 15)
        return 0;
    const std::uint64_t unit = kIntegerPowersOfTen[dropped];
    return digits / unit + (digits % unit >= unit / 2 ? 1 : 0);
}

// Lays out a rounded magnitude given in units of the last decimal place: at least one digit
// before the point, exactly `decimals` after it.
std::string layOutUnits(std::string_view units, int decimals, bool negative) {
    const std::size_t fraction = static_cast<std::size_t>(decimals);
    const std::size_t digits = std::max(units.size(), fraction + 1);
    const std::size_t padding = digits - units.size();
    std::string text(digits + (negative ? 1 : 0) + (fraction > 0 ? 1 : 0), '0');
    if (negative)
        text[0] = '-';
    char* out = text.data() + (negative ? 1 : 0);
    std::copy(units.begin(), units.end(), out + padding);
    if (fraction > 0) {
        const std::size_t integer = digits - fraction;
        std::copy_backward(out + integer, out + digits, out + digits + 1);
        out[integer] = '.';
    }
    return text;
}

// The general form of a magnitude from 0.00001 to below 10^14, laid out from its decimal form
// without the "0" before the point: 12.5 gives "12.5", 0.046 gives ".046".
void appendFixedWithoutLeadingZero(std::string& text, const DecimalForm& form) {
    int count = form.count;
    while (count > 1 && form.digits[count - 1] == '0')
        --count;
    const char* digits = form.digits.data();
    if (form.exponent < 0) {
        text += '.';
        text.append(static_cast<std::size_t>(-form.exponent - 1), '0');
        text.append(digits, count);
        return;
    }
    const int integerDigits = form.exponent + 1;
    text.append(digits, std::min(count, integerDigits));
    if (count < integerDigits) {
        text.append(static_cast<std::size_t>(integerDigits - count), '0');
    } else if (count > integerDigits) {
        text += '.';
        text.append(digits + integerDigits, count - integerDigits);
    }
}

int patternDecimals(std::string_view pattern) {
    const auto point = pattern.find('.');
    if (point == std::string_view::npos)
        return 0;
    return static_cast<int>(std::count_if(pattern.begin() + point + 1, pattern.end(),
                                          [](char c) { return c == '0' || c == '#'; }));
}

} // namespace

std::optional<std::string> FormatPattern(double value, std::string_view pattern) {
    if (!std::isfinite(value))
        return std::nullopt;
    const int decimals = patternDecimals(pattern);
    const double magnitude = std::fabs(value);
    if (const auto quick = quickRoundedUnits(magnitude, decimals)) {
        std::array<char, 24> units;
        const auto end = std::to_chars(units.data(), units.data() + units.size(), *quick).ptr;
        return layOutUnits({units.data(), static_cast<std::size_t>(end - units.data())}, decimals,
                           value < 0);
    }
    return layOutUnits(roundedUnits(decimalForm(magnitude), decimals), decimals, value < 0);
}

std::optional<std::string> FormatPattern(const Value& value, std::string_view pattern) {
    const auto number = value.number();
    if (!number)
        return std::nullopt;
    return FormatPattern(*number, pattern);
}

void AppendPlainNumber(std::string& text, double value) {
    text += value < 0 ? '-' : ' ';
    const double magnitude = std::fabs(value);
    if (magnitude == std::floor(magnitude) && magnitude < 1e15) {
        std::array<char, 24> buffer;
        auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                 static_cast<long long>(magnitude));
        text.append(buffer.data(), end.ptr);
    } else if (magnitude >= 1e-5 && magnitude < 1e14) {
        appendFixedWithoutLeadingZero(text, decimalForm(magnitude));
    } else {
        const std::string general = FormatGeneral(magnitude);
        const bool leadingZero = general.size() > 1 && general[0] == '0' && general[1] == '.';
        text.append(general, leadingZero ? 1 : 0, std::string::npos);
    }
    text += ' ';
}

std::string FormatPlainNumber(double value) {
    std::string text;
    AppendPlainNumber(text, value);
    return text;
}

} // namespace morvane
