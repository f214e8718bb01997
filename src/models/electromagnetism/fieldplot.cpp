#include "models/electromagnetism/fieldplot.h"

#include "common/rounding.h"

#include <QPainter>
#include <QPolygon>
#include <cmath>

namespace quarvel {

namespace {
constexpr double kPi = 3.14159265358979323846;
int R(float v) { return int(RoundHalfEven(double(v))); }
} // namespace

TFieldPlot::TFieldPlot(int spacing)
    : Width(62 * spacing + 1), Height(38 * spacing + 1), Spacing(spacing), StepLength(spacing / 4) {}

void TFieldPlot::Clear() {
    Lines.clear();
    Charges.clear();
    LineSigns.clear();
}

int TFieldPlot::SnapToGrid(int v, bool isX) const {
    const int s = Spacing;
    const int base = (v / s) * s;
    v = std::abs(v - base) > s / 2 ? base + s : base;
    if (v == 0)
        v = s;
    if (v >= (isX ? Width : Height))
        v -= s;
    return v;
}

void TFieldPlot::AddCharge(int& x, int& y, int strength) {
    for (TCharge& c : Charges)
        c.Arrived.fill(false);
    x = SnapToGrid(x, true);
    y = SnapToGrid(y, false);
    const int h = Spacing / 2;
    TCharge c;
    c.Strength = strength;
    c.X = x;
    c.Y = y;
    c.Bounds = QRect(QPoint(x - h, y - h), QPoint(x + h, y + h));
    Charges.push_back(c);
}

TFieldPlot::TField TFieldPlot::FieldAt(float x, float y, int s, float floor) const {
    float ex = 0, ey = 0;
    for (const TCharge& c : Charges) {
        const float dx = x - float(c.X), dy = y - float(c.Y);
        const float r = std::sqrt(dx * dx + dy * dy);
        const float r3 = r * r * r;
        ex += float(c.Strength) * (dx / r3) * float(s);
        ey += float(c.Strength) * (dy / r3) * float(s);
    }
    float m = std::sqrt(ex * ex + ey * ey);
    if (m < floor)
        m = floor;
    return {ex, ey, m};
}

int TFieldPlot::FindSinkCharge(int start, int s, float x, float y) const {
    for (int j = 0; j < int(Charges.size()); ++j) {
        const TCharge& c = Charges[std::size_t(j)];
        if (c.Strength * s >= 0 || j == start)
            continue;
        const float dx = x - float(c.X), dy = y - float(c.Y);
        if (std::sqrt(dx * dx + dy * dy) <= float(Spacing / 2))
            return j;
    }
    return -1;
}

int TFieldPlot::ArrivalSector(float dx, float dy) {
    const int b = dx == 0 ? 90 : int(RoundHalfEven(std::abs(std::atan(std::abs(dy / dx))) * 180 / kPi));
    int theta;
    if (dx == 0 && dy < 0)
        theta = 270;
    else if (dx < 0 && dy < 0)
        theta = 180 + b;
    else if (dx < 0 && dy == 0)
        theta = 180;
    else if (dx < 0 && dy > 0)
        theta = 180 - b;
    else if (dx > 0 && dy < 0)
        theta = 360 - b;
    else
        theta = b;
    int sector = theta / 30 + (theta % 30 > 15 ? 1 : 0);
    return sector == 12 ? 0 : sector;
}

int TFieldPlot::MarkArrival(int j, float x, float y) {
    TCharge& c = Charges[std::size_t(j)];
    const int sector = ArrivalSector(x - float(c.X), y - float(c.Y));
    c.Arrived[std::size_t(sector)] = true;
    return sector;
}

// Traces one line from (x, y); false when it failed (turned back on itself,
// ran past the step cap or lost its way in non-finite numbers).
bool TFieldPlot::TraceLine(float x, float y, int s, float floor, int startCharge, bool markArrivals,
                           std::vector<QPoint>& points) {
    points.clear();
    points.reserve(200);
    points.emplace_back(R(x), R(y));
    QPoint history[3] = {{0, 0}, {0, 0}, {0, 0}};
    auto inside = [this](QPoint p) { return p.x() >= 0 && p.x() < Width && p.y() >= 0 && p.y() < Height; };
    int steps = 0;
    while (inside(QPoint(R(x), R(y)))) {
        if (++steps > MaxSteps)
            return false;
        const TField f = FieldAt(x, y, s, floor);
        x += float(StepLength) * f.Ex / f.Magnitude;
        y += float(StepLength) * f.Ey / f.Magnitude;
        if (!std::isfinite(x) || !std::isfinite(y))
            return false;
        const QPoint p(R(x), R(y));
        points.push_back(p);
        const int sink = FindSinkCharge(startCharge, s, x, y);
        if (sink >= 0) {
            if (markArrivals)
                MarkArrival(sink, x, y);
            return true;
        }
        history[0] = history[1];
        history[1] = history[2];
        history[2] = p;
        if (p == history[0])
            return false; // back where it was two steps ago
    }
    return true;
}

void TFieldPlot::Plot() {
    Lines.clear();
    LineSigns.clear();
    std::vector<QPoint> points;
    for (int i = 0; i < int(Charges.size()); ++i) {
        const TCharge& c = Charges[std::size_t(i)];
        if (c.Strength * TraceSign <= 0)
            continue;
        for (int k = 0; k < 12; ++k) {
            const float x = float(c.X) + float(Spacing) / 2 * float(std::cos(k * kPi / 6));
            const float y = float(c.Y) + float(Spacing) / 2 * float(std::sin(k * kPi / 6));
            if (TraceLine(x, y, TraceSign, 1e-8f, i, true, points)) {
                Lines.push_back(points);
                LineSigns.push_back(TraceSign);
            }
        }
    }
    TraceReturnLines(TraceSign);
}

void TFieldPlot::TraceReturnLines(int s) {
    std::vector<QPoint> points;
    for (int i = 0; i < int(Charges.size()); ++i) {
        const TCharge c = Charges[std::size_t(i)];
        if (c.Strength * s >= 0)
            continue;
        for (int k = 0; k < 12; ++k) {
            if (c.Arrived[std::size_t(k)])
                continue;
            const float x = float(c.X) + float(Spacing) / 2 * float(std::cos(k * kPi / 6));
            const float y = float(c.Y) + float(Spacing) / 2 * float(std::sin(k * kPi / 6));
            if (TraceLine(x, y, -s, 1e-6f, i, false, points)) {
                Lines.push_back(points);
                LineSigns.push_back(-s);
            }
        }
    }
}

bool TFieldPlot::ClearOfCharges(QPoint p) const {
    for (const TCharge& c : Charges) {
        const QRect r = c.Bounds.adjusted(-Spacing, -Spacing, Spacing, Spacing);
        if (p.x() >= r.left() && p.x() < r.right() + 1 && p.y() >= r.top() && p.y() < r.bottom() + 1)
            return false;
    }
    return true;
}

std::vector<int> TFieldPlot::ArrowPoints(const std::vector<QPoint>& line) const {
    std::vector<int> at;
    const int h = int(line.size()) - 1;
    if (h <= 20)
        return at;
    for (int m = 1; m <= h / 20; ++m) {
        const int tip = 20 * m;
        if (m == h / 20 && !ClearOfCharges(line[std::size_t(tip)]))
            continue;
        at.push_back(tip);
    }
    return at;
}

std::array<QPoint, 3> TFieldPlot::ArrowHead(QPoint p1, QPoint p2, int sign) const {
    const int b = (sign * Spacing) / 4; // toward zero
    if (p1.y() == p2.y()) {
        if (p2.x() > p1.x())
            return {p2, QPoint(p2.x() - b, p2.y() - b), QPoint(p2.x() - b, p2.y() + b)};
        return {p2, QPoint(p2.x() + b, p2.y() - b), QPoint(p2.x() + b, p2.y() + b)};
    }
    if (p1.x() == p2.x()) {
        if (p2.y() > p1.y())
            return {p2, QPoint(p2.x() - b, p2.y() - b), QPoint(p2.x() + b, p2.y() - b)};
        return {p2, QPoint(p2.x() - b, p2.y() + b), QPoint(p2.x() + b, p2.y() + b)};
    }
    double t = -std::atan(double(p2.y() - p1.y()) / double(p2.x() - p1.x()));
    if (p2.x() < p1.x())
        t += kPi;
    if (!std::isfinite(t))
        return {p2, p2, p2};
    const double c = std::cos(t), s = std::sin(t);
    auto r = [](double v) { return int(RoundHalfEven(v)); };
    return {p2, QPoint(r(p2.x() - b * c - b * s), r(p2.y() + b * s - b * c)),
            QPoint(r(p2.x() - b * c + b * s), r(p2.y() + b * s + b * c))};
}

QPointF TFieldPlot::FieldVectorAt(int x, int y) const {
    double bx = 0, by = 0;
    for (const TCharge& c : Charges) {
        const double dx = x - c.X, dy = y - c.Y;
        const double r = std::sqrt(dx * dx + dy * dy);
        if (r < 1)
            continue; // a pole under the compass is left out
        bx += c.Strength * dx / (r * r * r);
        by += c.Strength * dy / (r * r * r);
    }
    return {bx, by};
}

double TFieldPlot::NeedleAngle(QPointF b) {
    const double bx = b.x(), by = b.y();
    if (std::abs(by) < 1e-8)
        return bx < 0 ? kPi : 0;
    if (std::abs(bx) <= 1e-8)
        return by < 0 ? kPi / 2 : 3 * kPi / 2;
    double a = std::atan2(-by, bx);
    if (a < 0)
        a += 2 * kPi;
    return a;
}

void TFieldPlot::DrawMagnet(QPainter& p, int i) const {
    const TCharge& a = Charges[std::size_t(i)];
    const TCharge& b = Charges[std::size_t(i + 1)];
    const QRect body(QPoint(a.X - Spacing, a.Y - Spacing / 2), QPoint(b.X + Spacing - 1, b.Y + Spacing / 2 - 1));
    p.setPen(Qt::black);
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(body.adjusted(0, 0, -1, -1));
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(10);
    f.setBold(true);
    p.setFont(f);
    const QFontMetrics fm(f);
    for (const TCharge* c : {&a, &b}) {
        const QString letter = c->Strength >= 1 ? QStringLiteral("N") : QStringLiteral("S");
        const int w = fm.horizontalAdvance(letter), h = fm.height();
        p.drawText(QRect(c->X - w / 2, c->Y - h / 2, w, h), Qt::AlignCenter, letter);
    }
}

void TFieldPlot::PaintPicture(QPainter& p) const {
    p.fillRect(QRect(0, 0, Width, Height), Qt::white);
    if (ShowGrid) {
        p.setPen(QColor(192, 192, 192));
        for (int i = 0; i <= 62; ++i)
            p.drawLine(i * Spacing, 0, i * Spacing, Height - 1);
        for (int i = 0; i <= 38; ++i)
            p.drawLine(0, i * Spacing, Width - 1, i * Spacing);
    }
    p.setPen(Qt::black);
    for (std::size_t l = 0; l < Lines.size(); ++l) {
        const std::vector<QPoint>& line = Lines[l];
        p.drawPolyline(line.data(), int(line.size()));
        if (!ShowArrows)
            continue;
        p.setBrush(QColor(0, 255, 0));
        for (int tip : ArrowPoints(line)) {
            const auto head = ArrowHead(line[std::size_t(tip - 1)], line[std::size_t(tip)], LineSigns[l]);
            p.drawPolygon(head.data(), 3);
        }
    }
    for (int i = 0; i + 1 < int(Charges.size()); i += 2)
        DrawMagnet(p, i);
}

QImage TFieldPlot::Draw() const {
    QImage img(Width, Height, QImage::Format_RGB32);
    QPainter p(&img);
    PaintPicture(p);
    return img;
}

QImage TFieldPlot::DrawProbe(int x, int y) const {
    QImage img(Width, Height, QImage::Format_RGB32);
    QPainter p(&img);
    PaintPicture(p);
    const double alpha = NeedleAngle(FieldVectorAt(x, y));
    p.setPen(Qt::black);
    p.setBrush(QColor(192, 225, 255));
    p.drawEllipse(QRect(QPoint(x - 16, y - 16), QPoint(x + 15, y + 15)));
    const double phi = -alpha;
    auto turn = [&](int u, int v) {
        return QPoint(int(RoundHalfEven(x + (u - x) * std::cos(phi) - (v - y) * std::sin(phi))),
                      int(RoundHalfEven(y + (u - x) * std::sin(phi) + (v - y) * std::cos(phi))));
    };
    const QPoint a = turn(x, y - 5), b = turn(x + 16, y), c = turn(x, y + 5);
    const QPoint red[3] = {a, b, c};
    const QPoint white[3] = {QPoint(2 * x - a.x(), 2 * y - a.y()), QPoint(2 * x - b.x(), 2 * y - b.y()),
                             QPoint(2 * x - c.x(), 2 * y - c.y())};
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 0, 0));
    p.drawPolygon(red, 3);
    p.setBrush(Qt::white);
    p.drawPolygon(white, 3);
    return img;
}

} // namespace quarvel
