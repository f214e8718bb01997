#pragma once
// The instruments the Bunsen burner and cooling curve panels share: a
// digital timer in an orange case, a vertical liquid thermometer and a round
// magnifier showing the thermometer's scale close up at the reading.

#include <QString>

class QPainter;

namespace quarvel {

// Timer case centred on (x0, y0) units; `seconds` shown as "mm : ss".
void DrawTimerCase(QPainter& p, double s, double x0, double y0, int seconds, const QString& caption);

struct TThermometerScale {
    double LengthUnits;   // Lu
    int Ticks;            // last tick k
    double TickPixels;    // p
    int LabelStep;        // ticks between labels
    double TopValue;      // value of tick 0
    double DegreesPerTick;
    // h for a temperature: ticks down from the top to the liquid's level
    double Level(double t) const { return (TopValue - t) / DegreesPerTick; }
};

// Left x0, top y0 in pixels.
void DrawVerticalThermometer(QPainter& p, double s, int x0, int y0, const TThermometerScale& scale, double t);

// The scale's value at a step of the magnifier; steps of `step` degrees.
// Draws the disc at (x, y) pixels with diameter d; `noneBelowZero` hides the
// marks under 0 degrees near the bottom of the scale.
void DrawMagnifier(QPainter& p, int x, int y, int d, double t, double step, bool noneBelowZero);

// The step the magnifier's 51 marks are counted from: the one just under t.
long long MagnifierBaseStep(double t, double step);

} // namespace quarvel
