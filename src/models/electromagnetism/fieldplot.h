#pragma once
// Field lines of bar magnets in the plane. Each pole is a point source of
// strength +1 (north) or -1 (south) whose field falls off with the square
// of the distance. Lines start on small circles round the poles of one kind
// (12 per pole, every 30 degrees) and are traced step by step along the
// field until they leave the drawing, reach a pole of the other kind, or
// turn back on themselves. The other poles then get lines only where none
// arrived, traced outwards against the field.
//
// Pixels, x to the right and y down; angles from +x towards +y.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <array>
#include <vector>

class QPainter;

namespace quarvel {

struct TCharge {
    int Strength = 1;
    int X = 0, Y = 0;
    QRect Bounds; // X +- h, Y +- h with h = Spacing div 2, as left, top, right, bottom
    std::array<bool, 12> Arrived{};
};

class TFieldPlot {
public:
    explicit TFieldPlot(int spacing);

    int Width, Height;
    int Spacing, StepLength;
    std::vector<TCharge> Charges;
    std::vector<std::vector<QPoint>> Lines;
    std::vector<int> LineSigns;
    bool ShowGrid = false;
    bool ShowArrows = true;
    int TraceSign = 1;
    // A line that neither leaves, arrives nor turns back ends after this many steps.
    int MaxSteps = 20000;

    void Clear();
    // Snaps (x, y) to the grid (written back) and adds the pole there.
    void AddCharge(int& x, int& y, int strength);
    void Plot();
    // The whole picture, and the picture with the compass at (x, y).
    QImage Draw() const;
    QImage DrawProbe(int x, int y) const;
    QRect GetPlotRect() const { return QRect(0, 0, Width + 1, Height + 1); }

    // --- the steps, open for tests ---
    int SnapToGrid(int v, bool isX) const;
    struct TField {
        float Ex, Ey, Magnitude;
    };
    TField FieldAt(float x, float y, int s, float floor = 1e-8f) const;
    int FindSinkCharge(int start, int s, float x, float y) const;
    // The 30-degree sector (0..11) of an arrival at (x, y) round charge j; it is marked.
    int MarkArrival(int j, float x, float y);
    static int ArrivalSector(float dx, float dy);
    // The three corners of an arrowhead with its tip at p2.
    std::array<QPoint, 3> ArrowHead(QPoint p1, QPoint p2, int sign) const;
    bool ClearOfCharges(QPoint p) const;
    // Which points of a line carry arrowheads (their tips).
    std::vector<int> ArrowPoints(const std::vector<QPoint>& line) const;
    QPointF FieldVectorAt(int x, int y) const;
    static double NeedleAngle(QPointF b);

private:
    bool TraceLine(float x, float y, int s, float floor, int startCharge, bool markArrivals,
                   std::vector<QPoint>& points);
    void TraceReturnLines(int s);
    void PaintPicture(QPainter& p) const;
    void DrawMagnet(QPainter& p, int i) const;
};

} // namespace quarvel
