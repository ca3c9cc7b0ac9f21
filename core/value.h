#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace morvane {

// Reads a decimal number written with a period ("12.5", ".05", "-3", "1E+20"), allowing blanks
// around it. Anything else, including an empty text, is not a number.
std::optional<double> ParseNumber(std::string_view text);

// The general text form of a number: the shortest decimal text of at most 15 significant digits
// that reads back as the same double (or the 15-digit rounding when none does; for the few
// largest doubles, whose rounding lies beyond the largest double, the 15 digits are cut instead);
// integral values have no decimal point, a period is the decimal separator, exponents appear
// only for very large or very small magnitudes ("1E+20", "1E-07").
std::string FormatGeneral(double value);

// A value that holds a text, a number, or nothing at all. Header fields of the data set, the
// user's entries kept as typed, and result fields that the report replaces by their rounded
// display texts are of this kind. "Nothing" marks a result that was never computed.
class Value {
public:
    Value() = default;
    Value(double number) : mHeld(number) {}
    Value(std::string text) : mHeld(std::move(text)) {}
    Value(const char* text) : mHeld(std::string(text)) {}

    bool isEmpty() const { return std::holds_alternative<std::monostate>(mHeld); }
    bool isText() const { return std::holds_alternative<std::string>(mHeld); }
    bool isNumber() const { return std::holds_alternative<double>(mHeld); }

    // The text shown in a text field: the text itself, a number in its general form, or "".
    std::string text() const;
    // The value as a number: the number itself, or a text that reads as a number.
    std::optional<double> number() const;

    friend bool operator==(const Value&, const Value&) = default;

private:
    std::variant<std::monostate, std::string, double> mHeld;
};

} // namespace morvane
