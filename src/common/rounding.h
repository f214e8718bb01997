#pragma once
// Rounding helpers shared by every model. The course's numbers were worked out
// with banker's rounding, truncating division and a sign-keeping fraction, so
// these are the only ones used anywhere: never std::round or floor by hand.

#include <cstdint>

namespace quarvel {

// Nearest integer; exact halves go to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
std::int64_t RoundHalfEven(double x);

// Integer part, toward zero (-2.7 -> -2).
std::int64_t Trunc(double x);

// Integer division toward zero (-7 div 2 = -3). b must not be 0.
std::int64_t Div(std::int64_t a, std::int64_t b);

// Remainder matching Div: a = Div(a, b) * b + Mod(a, b); keeps the sign of a.
std::int64_t Mod(std::int64_t a, std::int64_t b);

// Fractional part keeping the sign (-2.75 -> -0.75).
double Frac(double x);

} // namespace quarvel
