#pragma once
// The two thermometer panels' science and drawings, apart from the widgets.
//
// Liquid thermometer: a flask of liquid closed by a stopper with a tube
// stands in a water bath. Measured in units of s = drawing height x 0.0125
// pixels (80 units tall). At 20 degrees the liquid stands at the bath's
// surface (55 units down); warming by dT expands V by V x 0.00021 x dT,
// which rises dV / (pi (t/10)^2) units up a tube of radius t.
//
// Temperature scale: an unmarked thermometer in a beaker of melting ice,
// boiling water or water at an unknown temperature, its liquid 0.223 cm up
// per degree; marks made at each, then read beside a centimetre ruler
// through a magnifier.

#include "models/heat/kinetic.h"

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <vector>

namespace quarvel {

struct TFlask {
    QString Label;
    int TubeRadius = 2;  // tenths of a unit
    double Volume = 500;
    double CentreX = 20; // units
};

class TThermometerModel {
public:
    static constexpr double kSurface = 55; // units down to the bath's surface

    int Temperature = 20; // 20..80
    int TubeRadius = 3;   // 2..5
    int FlaskSize = 25;   // 10..50, volume x 20
    bool CompareMode = false;
    bool Grid = true;

    std::vector<TFlask> Flasks() const;
    static double ExpansionVolume(const TFlask& f, int temperature);
    // Rise of the liquid above the surface in units, as far as it would go.
    static double RiseUnits(const TFlask& f, int temperature);

    // Pixel geometry for a drawing `height` tall.
    static double Scale(int height) { return height * 0.0125; }
    static int SurfaceY(double s);
    // The tube's open top: one unit below the top of the drawing.
    static int TubeTopY(double s);
    // The column above the surface in pixels, kept within the tube.
    static int ColumnPixels(const TFlask& f, int temperature, double s);
    // Whether the liquid would rise past the top of the tube.
    static bool Overflows(const TFlask& f, int temperature, double s);

    QImage Draw(QSize size) const;

private:
    void DrawFlask(class QPainter& p, const TFlask& f, double s) const;
};

class TTempScaleModel {
public:
    enum TLiquid { kIce = 0, kSteam = 1, kUnknown = 2 };
    static constexpr double kCmPerDegree = 0.223;

    // Chooses the unknown temperature from the shared generator.
    TTempScaleModel();

    int ScaleUnit = 4; // pixels per centimetre of the ruler
    double ThermoX = 9.67, ThermoY = 25;
    double BeakerX = 5.67, BeakerY = 23;
    double ShownTemperature = 0;
    int Liquid = kIce;
    unsigned Marks = 0; // bit per liquid
    bool Measuring = false;
    TEdgeRect RulerRect;
    bool Dragging = false;
    double UnknownTemperature = 43.7;
    int MouseY = 0;

    // 43.7 + 0.1 x (50 - r), r uniform in 0..99: 38.8 to 48.7.
    static double ChooseUnknown();
    double LiquidTemperature(int liquid) const;
    bool HasMark(int liquid) const { return (Marks >> liquid) & 1u; }

    // The paint box's height for a form `formHeight` tall (at least 420).
    static int LayoutHeight(int formHeight);
    void Resize(int formHeight);

    // Each returns false when it changes nothing.
    bool ChooseLiquid(int liquid);
    bool SetMeasuring(bool beside);
    // Marks the level of the liquid the thermometer stands in (the Mark
    // button is enabled only in the beaker).
    void Mark();
    void ClearMarks() { Marks = 0; }
    bool MarkEnabled() const { return !Measuring; }

    // Pointer on the drawing: a press on the ruler while measuring starts
    // the magnifier; while dragging the reading stays on the ruler.
    bool MouseDown(QPoint pos);
    void MouseMove(QPoint pos);
    bool MouseUp();
    bool OverRuler(QPoint pos) const;

    // Zero level of the thermometer's liquid, and the mark of a liquid, in pixels.
    int ZeroY() const;
    int MarkY(int liquid) const;
    // The ruler's 0 cm line.
    int RulerZeroY() const { return 10 + 30 * ScaleUnit; }
    // How far up the ruler a mark stands, in cm (beside the ruler).
    double MarkReadingCm(int liquid) const;
    // The magnifier's reading at the pointer.
    double MagnifierReading() const;

    void Draw(QImage& target, const QImage& ice) const;

private:
    void DrawMagnifier(class QPainter& p, int x0, int y0, double r) const;
};

} // namespace quarvel
