#pragma once
// The solenoid's science and picture (SOLENOID page): the field of a coil of
// circular turns round a horizontal axis, summed over straight current
// elements (Biot-Savart), its field lines traced in one quadrant and drawn
// four times by symmetry, and the compass and readout under the pointer.
//
// Units: a along the axis (to the right), r across it (downwards on the
// screen), v out of the drawing; a point (a, r) is drawn at pixel
// (a * scale, r * scale) from the centre of the picture.

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <array>
#include <vector>

class QPainter;

namespace quarvel {

struct TCoilInfo {
    float X = 0, Y = 0;                 // the element's place in the plane of its turn
    float WeightSin = 0, WeightCos = 0; // the current element, scaled
};

struct TCoilFieldValue {
    double Ba = 0, Br = 0, Magnitude = 0;
};

// What the readout and compass show for a pointer position.
struct TProbeValue {
    double Strength = 0; // 10 |B|
    double X = 0, Y = 0; // position in units of 2.5 (x positive to the left, y below)
    double Angle = 0;    // needle angle in radians, screen +x towards +y
};

class TSolenoid {
public:
    TSolenoid() { BuildCoil(); }

    float Radius = 20;
    int Turns = 5;
    float Spacing = 10;
    float TraceStep = 1;
    int Segments = 16;
    int CurrentDir = 1;
    bool ShowGrid = true;
    std::vector<TCoilInfo> Coil;
    // A traced line ends after this many steps at the latest (a line that
    // circles a wire would otherwise never reach an edge).
    int MaxTraceSteps = 20000;

    static constexpr double kNoFloor = 0;

    void BuildCoil();
    // Position of turn k along the axis; the turns are centred on the middle plane.
    double TurnPosition(int k) const { return Spacing * (k - (Turns - 1) / 2.0); }
    // Field at (a, r) in the plane of the drawing; the distance cubed is
    // raised to `floor` when smaller (kNoFloor: never).
    TCoilFieldValue CoilField(double a, double r, double floor) const;
    double LineGap(double u) const;
    // The readout's values and the needle for the pointer at pixel (x, y) of a picture of `size`.
    TProbeValue ProbeField(double x, double y, QSize size, double scale) const;
    // The needle angle for the field's screen components (right, down).
    static double NeedleAngle(double right, double down, int currentDir);

    // One field line in the quadrant a >= 0, r >= 0 starting at (0, u), in
    // pixels from the centre; m and n are the quadrant's size in units.
    std::vector<QPointF> TraceLine(double u, double m, double n, double scale) const;
    // The start distances of the lines: LineGap(0), then on while within the coil.
    std::vector<double> LineStarts() const;

    // Every drawn line (each traced one four times, mirrored) and every
    // arrowhead, the axis's two included, in pixels from the centre.
    struct TFieldLines {
        std::vector<std::vector<QPointF>> Lines;
        std::vector<std::array<QPointF, 3>> Heads;
    };
    TFieldLines FieldLines(QSize size, double scale) const;

    // Arrowhead corners (tip first) at `anchor` turned by `beta`; f along, g across.
    static std::array<QPointF, 3> ArrowHead(QPointF anchor, double beta, double f, double g);
    // The turn of an arrowhead pointing from p to q.
    static double LineArrowAngle(QPointF p, QPointF q);

    // The whole picture of `size` pixels with pixels per unit `scale`.
    QImage Draw(QSize size, double scale) const;
    // The two layers over the picture.
    static void PaintReadout(QPainter& p, const QRectF& box, const TProbeValue& v, double scale);
    static void PaintCompass(QPainter& p, const QRectF& box, double angle);

private:
    // Elements i and Segments - i of a turn lie mirror-wise across the plane
    // of the drawing and add the same field there: each pair is summed once.
    struct TElementPair {
        double X, Y2, YWeightSin, WeightCos, Count;
    };
    std::vector<TElementPair> m_pairs;
    void DrawFieldLines(QPainter& p, QSize size, double scale) const;
    void DrawTurns(QPainter& p, double scale) const;
    static void DrawGrid(QPainter& p, QSize size, double scale);
};

} // namespace quarvel
