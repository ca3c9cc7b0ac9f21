#pragma once

// The arithmetic and display patterns the report (and the guideline checks) use on its values.

#include "value.h"

#include <cmath>
#include <optional>

namespace morvane::report {

// Report arithmetic: a missing operand, a division by zero or a result beyond the real numbers
// gives nothing, and the value is then written as nothing.
using Number = std::optional<double>;

inline Number finiteOrNothing(double x) {
    return std::isfinite(x) ? Number(x) : std::nullopt;
}

inline Number quotient(Number numerator, Number denominator) {
    if (!numerator || !denominator || *denominator == 0.0)
        return std::nullopt;
    return finiteOrNothing(*numerator / *denominator);
}

inline Number product(Number a, Number b) {
    if (!a || !b)
        return std::nullopt;
    return finiteOrNothing(*a * *b);
}

// std::pow gives NaN for a negative base with a fractional exponent and an infinity for zero to a
// negative power: both are written as nothing.
inline Number power(Number base, Number exponent) {
    if (!base || !exponent)
        return std::nullopt;
    return finiteOrNothing(std::pow(*base, *exponent));
}

inline Number exponential(Number x) {
    return x ? finiteOrNothing(std::exp(*x)) : std::nullopt;
}

// 100 × part / whole, multiplied first as a coefficient of variation is usually written.
inline Number percentOf(const Value& part, const Value& whole) {
    return quotient(product(100.0, part.number()), whole.number());
}

// The Tomenson-corrected INR of a plasma whose working PT is workingRatio times the working MNPT:
// ((x / MNPT)^b × exp(d))^ISIref, b the abnormal-only slope and d the displacement.
inline Number tomensonINR(Number workingRatio, Number slopeAbnormal, Number expD,
                          Number isiReference) {
    return power(product(power(workingRatio, slopeAbnormal), expD), isiReference);
}

// A display pattern such as "##0.00", read when the program is compiled: only its number of
// decimals matters.
struct Pattern {
    consteval Pattern(const char* pattern) {
        const char* p = pattern;
        while (*p != '\0' && *p != '.')
            ++p;
        for (; *p != '\0'; ++p)
            if (*p == '0' || *p == '#')
                ++decimals;
    }
    int decimals = 0;
};

} // namespace morvane::report
