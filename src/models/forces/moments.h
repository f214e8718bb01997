#pragma once
// A beam on a central pivot, scaled 10 through 0 to 10, with two or three
// holders (A, B, C) of equal weights. The net moment decides how far the
// beam tips while the pupil checks the balance. Positions are in beam
// units: -10 at the left end, 10 at the right.

#include <QImage>
#include <array>

namespace quarvel {

struct THolder {
    float Position = 0;
    int Count = 5;
    bool Shown = true;
};

class TMomentsModel {
public:
    static constexpr int kNone = -1;
    static constexpr double kPivotX = 11.5, kPivotY = 5.0;

    TMomentsModel();

    std::array<THolder, 3> Holders;
    bool Checking = false; // "Check balance" is held down
    int DragIndex = kNone;
    int DragOffset = 0;    // holder x minus pointer x when the drag began

    // Sum over shown holders of round(weights x position).
    int NetMoment() const;
    // The beam's tilt in degrees for a net moment, clockwise on the screen
    // positive; at most 30 either way.
    static double TiltDegrees(int moment);

    // Whether `x` (beam units) is on the beam and at least a unit from every
    // other shown holder.
    bool PlaceFree(int index, double x) const;
    // Shows or hides holder C. Shown again, it moves to the nearest whole
    // place that is a unit clear of the others.
    void SetThreeHolders(bool three);
    bool ThreeHolders() const { return Holders[2].Shown; }

    // Pointer handling, in pixels with `unit` pixels per beam unit.
    // The holder under (x, y), or kNone.
    int HitTest(double x, double y, double unit) const;
    // Starts a drag when (x, y) is over a holder; whether one started.
    bool BeginDrag(int x, int y, double unit);
    // Moves the dragged holder to follow the pointer; whether it moved.
    bool DragTo(int x, int pictureWidth, double unit);
    // Ends a drag, leaving the holder on a whole unit.
    void EndDrag();

    // The picture at `size`, level when `tilt` is 0, else tipped by tilt / 2 degrees.
    QImage Draw(QSize size, int tilt) const;
    // What the panel shows now: tipped by the net moment while checking, else level.
    QImage Draw(QSize size) const { return Draw(size, Checking ? NetMoment() : 0); }
};

} // namespace quarvel
