#include "number_format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
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

constexpr std::array<std::uint64_t, 20> kIntegerPowersOfTen = [] {
    std::array<std::uint64_t, 20> powers{};
    std::uint64_t power = 1;
    for (std::uint64_t& entry : powers) {
        entry = power;
        power *= 10;
    }
    return powers;
}();

// The direct way for the report's values. With the magnitude scaled to units of the last decimal
// place below 10^13, the fifteenth significant digit lies below that place: rounding to 15 digits
// moves the scaled value by at most half a unit of that digit, less than 0.5e-14 of the value,
// and the product's own rounding adds at most 1.2e-16 of it. A fraction farther than 1e-14 of
// the value (under 0.1) from one half is therefore on the same side of one half in the 15-digit
// form, and a move across a whole number rounds to that whole number either way. Only fractions
// that close to one half are left to the decimal form.
std::optional<std::uint64_t> directRoundedUnits(double magnitude, int decimals) {
    if (decimals > 22)
        return std::nullopt;
    const double scaled = magnitude * kExactPowersOfTen[decimals];
    if (!(scaled < 1e13))
        return std::nullopt;
    const auto whole = static_cast<std::int64_t>(scaled);
    const double fraction = scaled - static_cast<double>(whole);
    const double margin = scaled * 1e-14;
    if (fraction > 0.5 + margin)
        return static_cast<std::uint64_t>(whole) + 1;
    if (fraction < 0.5 - margin)
        return static_cast<std::uint64_t>(whole);
    return std::nullopt;
}

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

// Writes a rounded magnitude given as the digit string of its units of the last decimal place:
// at least one digit before the point, exactly `decimals` after it. Returns the end of the text.
char* writeUnitDigits(char* out, std::string_view units, int decimals, bool negative) {
    const std::size_t fraction = static_cast<std::size_t>(decimals);
    if (negative)
        *out++ = '-';
    const std::size_t padding = units.size() <= fraction ? fraction + 1 - units.size() : 0;
    std::fill_n(out, padding, '0');
    out = std::copy(units.begin(), units.end(), out + padding);
    if (fraction > 0) {
        std::copy_backward(out - fraction, out, out + 1);
        out[-static_cast<std::ptrdiff_t>(fraction)] = '.';
        ++out;
    }
    return out;
}

// "00", "01", ... "99": two digits at a time.
constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int n = 0; n < 100; ++n) {
        pairs[2 * n] = static_cast<char>('0' + n / 10);
        pairs[2 * n + 1] = static_cast<char>('0' + n % 10);
    }
    return pairs;
}();

// The number of decimal digits of a whole number (1 for 0).
int digitCount(std::uint64_t n) {
    // 1233 / 4096 is just above log10(2): the guess is the count or one less.
    const int guess = static_cast<int>((std::bit_width(n | 1) * 1233) >> 12);
    return guess + (n >= kIntegerPowersOfTen[guess] ? 1 : 0);
}

// Writes the two last digits of n at p - 2 and returns p - 2.
char* writeLastTwoDigits(char* p, std::uint64_t n) {
    p -= 2;
    std::copy_n(kDigitPairs.data() + 2 * (n % 100), 2, p);
    return p;
}

// Writes a rounded magnitude given in units of the last decimal place, as writeUnitDigits does:
// from the right, the decimals, the point and the whole part, two digits at a time.
char* writeUnits(char* out, std::uint64_t units, int decimals, bool negative) {
    if (negative)
        *out++ = '-';
    const int digits = std::max(digitCount(units), decimals + 1);
    char* const end = out + digits + (decimals > 0 ? 1 : 0);
    char* p = end;
    int fraction = decimals;
    for (; fraction >= 2; fraction -= 2, units /= 100)
        p = writeLastTwoDigits(p, units);
    if (fraction == 1) {
        *--p = static_cast<char>('0' + units % 10);
        units /= 10;
    }
    if (decimals > 0)
        *--p = '.';
    for (; units >= 100; units /= 100)
        p = writeLastTwoDigits(p, units);
    if (units >= 10)
        writeLastTwoDigits(p, units);
    else
        p[-1] = static_cast<char>('0' + units);
    return end;
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

// The slower ways, for values the direct way leaves undecided or cannot take. Kept out of
// WritePattern so that its direct way stays short.
[[gnu::noinline]] char* writeByDecimalForm(char* out, double magnitude, int decimals,
                                           bool negative) {
    if (const auto quick = quickRoundedUnits(magnitude, decimals))
        return writeUnits(out, *quick, decimals, negative);
    return writeUnitDigits(out, roundedUnits(decimalForm(magnitude), decimals), decimals, negative);
}

} // namespace

int PatternDecimals(std::string_view pattern) {
    const auto point = pattern.find('.');
    if (point == std::string_view::npos)
        return 0;
    return static_cast<int>(std::count_if(pattern.begin() + point + 1, pattern.end(),
                                          [](char c) { return c == '0' || c == '#'; }));
}

char* WritePattern(char* out, double value, int decimals) {
    assert(decimals >= 0);
    if (!std::isfinite(value))
        return nullptr;
    const double magnitude = std::fabs(value);
    if (const auto direct = directRoundedUnits(magnitude, decimals))
        return writeUnits(out, *direct, decimals, value < 0);
    return writeByDecimalForm(out, magnitude, decimals, value < 0);
}

bool AppendPattern(std::string& text, double value, int decimals) {
    std::array<char, MaxPatternLength(8)> buffer;
    if (static_cast<std::size_t>(decimals) <= 8) {
        const char* end = WritePattern(buffer.data(), value, decimals);
        if (end)
            text.append(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
        return end != nullptr;
    }
    const std::size_t size = text.size();
    text.resize(size + MaxPatternLength(decimals));
    const char* end = WritePattern(text.data() + size, value, decimals);
    text.resize(end ? static_cast<std::size_t>(end - text.data()) : size);
    return end != nullptr;
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
