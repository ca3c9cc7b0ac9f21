#pragma once

#include "value.h"

#include <cmath>
#include <initializer_list>
#include <utility>
#include <vector>

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

// A division by zero, the logarithm of a number that is not positive, the square root of a
// negative number and a negative base with a fractional exponent all give an infinity or NaN,
// which finite() turns into the failure.
inline double div(double numerator, double denominator) {
    return finite(numerator / denominator);
}

inline double log(double x) {
    return finite(std::log(x));
}

inline double sqrt(double x) {
    return finite(std::sqrt(x));
}

inline double exp(double x) {
    return finite(std::exp(x));
}

inline double pow(double base, double exponent) {
    return finite(std::pow(base, exponent));
}

// A result field read as a number; an empty field or a text that is not a number fails.
inline double number(const Value& value) {
    auto n = value.number();
    if (!n)
        throw ArithmeticFailure{};
    return *n;
}

// Runs one step, ending it quietly at its first arithmetic failure. The step's result fields
// are held empty while it runs, so a step that ends at a failure leaves the fields it did not
// reach empty: no value of an earlier run is shown as this run's. A step that ends on its own
// without writing a field (the all-samples fit stopping for too few samples) gives that field
// back its earlier value.
template <typename Step> void runStep(std::initializer_list<Value*> results, Step step) {
    std::vector<Value> earlier;
    earlier.reserve(results.size());
    for (Value* field : results)
        earlier.push_back(std::exchange(*field, Value()));
    try {
        step();
    } catch (const ArithmeticFailure&) {
        return;
    }
    auto previous = earlier.begin();
    for (Value* field : results) {
        if (field->isEmpty())
            *field = std::move(*previous);
        ++previous;
    }
}

} // namespace morvane::checked
