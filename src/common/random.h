#pragma once
// The one pseudo-random generator of the whole program. Every model that needs
// chance draws from SharedRandom(), so that a known seed replays a known run:
//
//   seed <- (seed * 134775813 + 1) mod 2^32
//   RandomInt(n)  = (seed * n) div 2^32     (after advancing)
//   RandomReal()  = seed / 2^32, in [0, 1)   (after advancing)
//
// The seed is 0 when the program starts.

#include <cstdint>

namespace quarvel {

class TRandom {
public:
    std::uint32_t Seed() const { return m_seed; }
    void SetSeed(std::uint32_t seed) { m_seed = seed; }
    // Seeds from the wall clock (milliseconds of the day), as a test shuffle does.
    void Randomize();

    // Integer in [0, n) for n > 0; 0 for n == 0; (n, 0] for negative n.
    std::int32_t RandomInt(std::int32_t n);
    // Real in [0, 1).
    double RandomReal();
    // Normally distributed value by the polar Box-Muller method:
    // x, y uniform in [-1, 1) until 0 < s = x^2 + y^2 < 1; x * sqrt(-2 ln s / s) * sd + mean.
    // s = 0 is rejected too: ln 0 would give an infinite result.
    double RandomNormal(double mean, double deviation);

private:
    void Advance() { m_seed = m_seed * 134775813u + 1u; }
    std::uint32_t m_seed = 0;
};

// The generator every part of Vantrel shares.
TRandom& SharedRandom();

} // namespace quarvel
