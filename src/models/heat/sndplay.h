#pragma once
// The sound-play panel's science apart from pixels: the 27 keys of two
// octaves and two semitones from C, their pitches and sensitive rectangles,
// and the points of the waveform picture.

#include "models/heat/sound.h"

#include <QPointF>
#include <QRect>
#include <QVector>
#include <array>

namespace quarvel {

constexpr float kBaseFrequency = 262.0f;   // key 0, C
constexpr float kSemitoneRatio = 1.0594631f; // twelfth root of 2
constexpr float kAmplitudeScale = 0.03125f;  // spin units to a fraction of the half-height
constexpr int kKeyCount = 27;
constexpr int kWhiteKeyCount = 16;

// Key i's pitch in Hz: 262 x 1.0594631^i.
float KeyFrequency(int key);
bool IsBlackKey(int key);

struct TKeyHit {
    int Key = -1;            // -1: no key
    float Frequency = 0.0f;  // 0 when there is no key
};

class TKeyboard {
public:
    // Lays the keys out on a picture of `width` x `height` pixels.
    void Layout(int width, int height);
    // The first key whose rectangle holds `p` (left and top edges inside,
    // right and bottom outside).
    TKeyHit KeyAt(QPoint p) const;

    std::array<QRect, kKeyCount> KeyRects{}; // as QRect(left, top, width, height)
    int WhiteWidth = 0;  // a
    int HalfBlack = 0;   // b
    int KeyTop = 0;      // h: the white keys' sensitive lower halves start here
    // The black key drawn after the last white key; it senses nothing.
    QRect ExtraBlack;
};

// The 361 points of the waveform for frequency `f` on a picture of
// width x height pixels, y limited to 5 ... height - 5.
QVector<QPointF> WavePoints(int width, int height, float f, const TToneAmplitudes& amplitudes);
// x of the waveform's step i (0 ... 360).
int WaveStepX(int width, int i);

} // namespace quarvel
