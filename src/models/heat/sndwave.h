#pragma once
// The sound-wave panel's science apart from pixels: the phase of a
// longitudinal wave and where its 46 air layers stand.

#include <QVector>

namespace quarvel {

constexpr int kWaveLineCount = 45; // lines 0 ... 45
constexpr int kMaxPhase = 360;     // the phase bar's maximum
constexpr int kPhaseStep = 5;      // degrees per timer tick

class TSoundWave {
public:
    int Phase = 0; // degrees

    // One timer tick: 0, 5, ... 360, then 0 again.
    void Step();

    // x of each of the 46 lines on a picture `width` wide, for the
    // amplitude spin's value `amplitude` (0 ... 10).
    QVector<int> LinePositions(int width, int amplitude) const;
    // Line spacing on a picture `width` wide (at least 6 pixels).
    static double Spacing(int width);
};

} // namespace quarvel
