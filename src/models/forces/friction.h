#pragma once
// A block carrying added weights on a smooth, medium or rough surface,
// pulled by a spring balance. The pull can only grow; once the balance
// reading passes the limiting friction the block jerks forward and the
// reading falls back (stick and slip).

#include <QImage>

namespace quarvel {

class TFrictionModel {
public:
    enum TSurface { kSmooth = 0, kMedium = 1, kRough = 2 };
    static constexpr int kMaxPull = 100; // scroll units of 0.1 N

    // Draws a new random offset of the limiting friction.
    TFrictionModel();

    float Displacement = 0; // drawing units the block has moved
    int AddedWeight = 3;    // newtons, 0..10
    float Noise = 0;        // random offset of the limiting friction, newtons
    float Mu = 0.52f;
    float Reading = 0;      // the balance reading, newtons
    float Slip = 0;         // total slip, taken off the pull to give the reading
    float BlockLength = 5.0f;

    static float MuOf(int surface);
    int Surface() const;
    void SetSurface(int surface) { Mu = MuOf(surface); }
    void SetAddedWeight(double value);
    // Surface area 50..100 sets the block's length (5.0..7.5 units); friction does not change.
    void SetArea(int area);

    // The limiting friction in newtons, never below 0.2 N.
    float LimitingFriction() const;
    // The pull so far in scroll units.
    int CurrentPull() const;
    // The pull moved to `position` scroll units (0.1 N each). Returns the
    // position the bar must show: the current pull when asked to go back.
    int Pull(int position);
    // Everything back to the start, with a new random offset.
    void Reset();

    // The picture at `size`.
    QImage Draw(QSize size) const;

private:
    void NewNoise();
};

} // namespace quarvel
