#include "common/random.h"

#include <QTime>
#include <cmath>

namespace quarvel {

void TRandom::Randomize() {
    m_seed = static_cast<std::uint32_t>(QTime::currentTime().msecsSinceStartOfDay());
}

std::int32_t TRandom::RandomInt(std::int32_t n) {
    Advance();
    const std::int64_t product = static_cast<std::int64_t>(m_seed) * n;
    // div toward zero by 2^32
    const std::int64_t q = product / (std::int64_t(1) << 32);
    return static_cast<std::int32_t>(q);
}

double TRandom::RandomReal() {
    Advance();
    return static_cast<double>(m_seed) / 4294967296.0;
}

double TRandom::RandomNormal(double mean, double deviation) {
    double x, y, s;
    do {
        x = 2.0 * RandomReal() - 1.0;
        y = 2.0 * RandomReal() - 1.0;
        s = x * x + y * y;
    } while (s >= 1.0 || s == 0.0);
    return x * std::sqrt(-2.0 * std::log(s) / s) * deviation + mean;
}

TRandom& SharedRandom() {
    static TRandom generator;
    return generator;
}

} // namespace quarvel
