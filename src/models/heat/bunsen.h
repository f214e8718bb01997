#pragma once
// The Bunsen burner and cooling curve panels' science and drawings, apart
// from the widgets. Drawings are measured in units of s = drawing height x
// 0.0125 pixels (80 units tall).
//
// Bunsen: a beaker of water on a tripod over a burner; after t seconds of
// heating the water is at 20 + t x rate / volume degrees (rate 30 with the
// air hole open, 14 closed), never above 100.
//
// Cooling: a test tube of water in ice and salt cools from 20 degrees as
// 30 e^(kt) - 10, stays at 0 while it freezes (200 s to 400 s), then cools
// on the same curve towards -10.

#include <QImage>
#include <QPolygonF>
#include <QSize>

namespace quarvel {

class TBunsenModel {
public:
    static constexpr double kStartTemperature = 20;
    static constexpr double kOpenRate = 30, kClosedRate = 14;
    static constexpr int kMaxTime = 600;

    bool Lit = false;
    bool AirHoleOpen = true;
    int HeatingTime = 0; // seconds
    int Volume = 150;    // ml, 50..300

    double WaterHeight() const { return Volume * 0.06; }
    double Rate() const { return AirHoleOpen ? kOpenRate : kClosedRate; }
    double Temperature() const;
    bool Boiling() const { return Temperature() >= 100; }
    // Seconds of heating to reach 100 degrees.
    double BoilingTime() const { return (100 - kStartTemperature) * Volume / Rate(); }
    // The flicker of a yellow flame and the bubbles of boiling water move
    // only while the frame timer runs.
    bool TimerRuns() const { return Lit && (!AirHoleOpen || Boiling()); }

    // Putting the burner out starts the heating again from nothing.
    void SetLit(bool lit);
    // The time can only be set while the burner burns; false when refused.
    bool SetTime(int seconds);

    // The beaker's outline, in pixels for scale s.
    static QPolygonF BeakerOutline(double s);
    // A drawing of `size`; the flame's sway and the bubbles come from the
    // shared random generator.
    void Draw(QImage& target) const;
};

class TCoolModel {
public:
    static constexpr double kK = -0.005493062; // e^(200k) = 1/3
    static constexpr int kMaxTime = 900;

    static double Temperature(int t);
    // Opacity of the water over the ice: the water turns to ice from 146 s.
    static int WaterAlpha(int t);

    int Time = 0;
    // Draws with `ice` (the tube's contents once frozen) and `iceSalt`
    // (the beaker's mixture; nothing when null).
    void Draw(QImage& target, const QImage& ice, const QImage& iceSalt) const;
};

// The course's 64 x 64 ice picture, drawn in code.
QImage IcePicture();

} // namespace quarvel
