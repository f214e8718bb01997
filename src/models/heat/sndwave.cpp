#include "models/heat/sndwave.h"

#include "common/rounding.h"

#include <algorithm>
#include <cmath>

namespace quarvel {

void TSoundWave::Step() {
    Phase += kPhaseStep;
    if (Phase > kMaxPhase)
        Phase = 0;
}

double TSoundWave::Spacing(int width) { return std::max(double(width) / kWaveLineCount, 6.0); }

QVector<int> TSoundWave::LinePositions(int width, int amplitude) const {
    const double A = amplitude * 1.6;
    const double g = Spacing(width);
    const int o = int(RoundHalfEven(A + 7));
    QVector<int> x;
    x.reserve(kWaveLineCount + 1);
    for (int i = 0; i <= kWaveLineCount; ++i) {
        // 24 degrees a line: three wavelengths over the 45 gaps.
        const double rad = (24 * i - Phase) * M_PI / 180.0;
        x.append(int(RoundHalfEven(std::sin(rad) * A + i * g)) + o);
    }
    return x;
}

} // namespace quarvel
