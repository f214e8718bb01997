#include "models/heat/sndplay.h"

#include "common/rounding.h"

#include <algorithm>
#include <cmath>

namespace quarvel {

float KeyFrequency(int key) {
    float p = 1.0f;
    for (int i = 0; i < key; ++i)
        p *= kSemitoneRatio;
    return kBaseFrequency * p;
}

bool IsBlackKey(int key) {
    switch (key % 12) {
    case 1: case 3: case 6: case 8: case 10:
        return true;
    default:
        return false;
    }
}

void TKeyboard::Layout(int width, int height) {
    WhiteWidth = int(RoundHalfEven(width / 16.0));
    HalfBlack = int(RoundHalfEven(WhiteWidth / 3.0));
    KeyTop = height / 2 - 5;
    const int a = WhiteWidth, b = HalfBlack, h = KeyTop;
    int j = 0; // white keys so far
    for (int k = 0; k < kKeyCount; ++k) {
        if (IsBlackKey(k)) {
            // Between white keys j - 1 and j.
            KeyRects[k] = QRect(QPoint(j * a - b, 0), QPoint(j * a + b - 1, h - 1));
        } else {
            KeyRects[k] = QRect(QPoint(j * a, h), QPoint((j + 1) * a - 1, 2 * h - 1));
            ++j;
        }
    }
    ExtraBlack = QRect(QPoint(16 * a - b, 0), QPoint(16 * a + b - 1, h - 1));
}

TKeyHit TKeyboard::KeyAt(QPoint p) const {
    for (int k = 0; k < kKeyCount; ++k)
        if (KeyRects[k].contains(p))
            return {k, KeyFrequency(k)};
    return {};
}

int WaveStepX(int width, int i) {
    const double s = (width - 10) / 360.0;
    return int(RoundHalfEven(i * s)) + 5;
}

QVector<QPointF> WavePoints(int width, int height, float f, const TToneAmplitudes& amplitudes) {
    const int d = height / 2;
    const double c = 2.0 * double(f) / double(kBaseFrequency);
    double A[5];
    for (int k = 0; k < 5; ++k)
        A[k] = (d - 5) * double(amplitudes[k]) * double(kAmplitudeScale);
    const float degToRad = float(M_PI) / 180.0f;
    QVector<QPointF> points;
    points.reserve(361);
    for (int i = 0; i <= 360; ++i) {
        const float theta = float(i * c) * degToRad;
        double y = d;
        for (int k = 0; k < 5; ++k)
            y -= A[k] * std::sin((k + 1) * double(theta));
        y = std::clamp(y, 5.0, double(height - 5));
        // 16.16 fixed point, as the polyline is drawn.
        const double fy = double(std::int64_t(y * 65536.0)) / 65536.0;
        points.append(QPointF(WaveStepX(width, i), fy));
    }
    return points;
}

} // namespace quarvel
