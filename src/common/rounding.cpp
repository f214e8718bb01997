#include "common/rounding.h"

#include <cmath>
#include <stdexcept>

namespace quarvel {

std::int64_t RoundHalfEven(double x) {
    const double lower = std::floor(x);
    const double diff = x - lower;
    double r;
    if (diff > 0.5)
        r = lower + 1.0;
    else if (diff < 0.5)
        r = lower;
    else
        r = std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
    return static_cast<std::int64_t>(r);
}

std::int64_t Trunc(double x) { return static_cast<std::int64_t>(std::trunc(x)); }

std::int64_t Div(std::int64_t a, std::int64_t b) {
    if (b == 0)
        throw std::domain_error("Division by zero");
    return a / b; // C++ integer division already goes toward zero
}

std::int64_t Mod(std::int64_t a, std::int64_t b) {
    if (b == 0)
        throw std::domain_error("Division by zero");
    return a % b;
}

double Frac(double x) { return x - std::trunc(x); }

} // namespace quarvel
