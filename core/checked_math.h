#pragma once

#include "value.h"

#include <cmath>

namespace morvane::checked {

// The arithmetic of the engine steps. Each operation that would leave the real numbers (the
// logarithm of a PT of 0, the square root of a negative variance, a division by zero, an
// overflow) throws ArithmeticFailure, which ends the step that met it. The exception never
// leaves the step functions.
struct ArithmeticFailure {};

inline double finite(double x) {
    if (!std::isfinite(x))
        throw ArithmeticFailure{};
    return x;
}

inline double div(double numerator, double denominator) {
    if (denominator == 0.0)
        throw ArithmeticFailure{};
    return finite(numerator / denominator);
}

inline double log(double x) {
    if (!(x > 0.0))
        throw ArithmeticFailure{};
    return std::log(x);
}

inline double sqrt(double x) {
    if (!(x >= 0.0))
        throw ArithmeticFailure{};
    return std::sqrt(x);
}

inline double exp(double x) {
    return finite(std::exp(x));
}

// base ^ exponent; a negative base with a fractional exponent, or 0 to a negative power, fails.
inline double pow(double base, double exponent) {
    if (base < 0.0 && exponent != std::floor(exponent))
        throw ArithmeticFailure{};
    if (base == 0.0 && exponent < 0.0)
        throw ArithmeticFailure{};
    return finite(std::pow(base, exponent));
}

// A result field read as a number; an empty field or a text that is not a number fails.
inline double number(const Value& value) {
    auto n = value.number();
    if (!n)
        throw ArithmeticFailure{};
    return *n;
}

// Runs one step, ending it quietly at its first arithmetic failure.
template <typename Step> void runStep(Step step) {
    try {
        step();
    } catch (const ArithmeticFailure&) {
    }
}

} // namespace morvane::checked
