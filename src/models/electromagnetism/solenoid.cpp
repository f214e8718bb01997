#include "models/electromagnetism/solenoid.h"

#include "common/rounding.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

namespace quarvel {

namespace {
const QColor kArrowGreen(0, 255, 0);
const QColor kFrame(63, 63, 63);
constexpr double kPi = 3.14159265358979323846;
} // namespace

void TSolenoid::BuildCoil() {
    Coil.assign(std::size_t(Segments), {});
    const double step = 2 * kPi / Segments;
    const double w = step * Radius * kPi;
    for (int i = 0; i < Segments; ++i) {
        const double t = i * step;
        Coil[std::size_t(i)] = {float(Radius * std::cos(t)), float(Radius * std::sin(t)), float(w * std::sin(t)),
                                float(w * std::cos(t))};
    }
    m_pairs.clear();
    for (int i = 0; i < Segments; ++i) {
        const int mirror = (Segments - i) % Segments;
        if (mirror < i)
            continue; // counted with its pair
        const TCoilInfo& c = Coil[std::size_t(i)];
        m_pairs.push_back({c.X, double(c.Y) * c.Y, double(c.Y) * c.WeightSin, c.WeightCos, mirror == i ? 1.0 : 2.0});
    }
}

TCoilFieldValue TSolenoid::CoilField(double a, double r, double floor) const {
    TCoilFieldValue b;
    for (int k = 0; k < Turns; ++k) {
        const double da = a - TurnPosition(k);
        for (const TElementPair& c : m_pairs) {
            // Element (X, Y): dv = -Y, so -dv * WeightSin = Y * WeightSin.
            const double dr = r - c.X;
            const double d = std::sqrt(da * da + dr * dr + c.Y2);
            double q = d * d * d;
            if (floor > 0 && q < floor)
                q = floor;
            q /= c.Count;
            b.Ba += (c.YWeightSin - dr * c.WeightCos) / q;
            b.Br += da * c.WeightCos / q;
        }
    }
    b.Magnitude = std::sqrt(b.Ba * b.Ba + b.Br * b.Br);
    return b;
}

double TSolenoid::LineGap(double u) const { return std::max(2.0, 9.5 - CoilField(0, u, 2.5).Magnitude); }

double TSolenoid::NeedleAngle(double right, double down, int currentDir) {
    // Tiny components are taken as none, so a field along a screen axis
    // gives a needle exactly along it (and +0, never -0, for atan2).
    if (std::abs(right) < 1e-8)
        right = 0;
    if (std::abs(down) < 1e-8)
        down = 0;
    double angle = std::atan2(down, right);
    if (currentDir < 0)
        angle += kPi;
    return angle;
}

TProbeValue TSolenoid::ProbeField(double x, double y, QSize size, double scale) const {
    // The pointer mirrored in the middle plane, where the strength is the same.
    const double a = (size.width() / 2.0 - x) / scale;
    const double r = (y - size.height() / 2.0) / scale;
    const TCoilFieldValue b = CoilField(a, r, 1e-6);
    TProbeValue v;
    v.Strength = 10 * b.Magnitude;
    v.X = a / 2.5;
    v.Y = r / 2.5;
    v.Angle = NeedleAngle(b.Ba, -b.Br, CurrentDir);
    return v;
}

std::vector<QPointF> TSolenoid::TraceLine(double u, double m, double n, double scale) const {
    std::vector<QPointF> points;
    points.reserve(1024);
    double a = 0, r = u;
    points.emplace_back(0, u * scale);
    for (int step = 0; step < MaxTraceSteps; ++step) {
        const TCoilFieldValue b = CoilField(a, r, kNoFloor);
        const double na = a + TraceStep * b.Ba / b.Magnitude;
        const double nr = r + TraceStep * b.Br / b.Magnitude;
        // On a wire the field has no direction: the line ends where it is.
        if (!std::isfinite(na) || !std::isfinite(nr))
            break;
        a = std::clamp(na, 0.0, m);
        r = std::clamp(nr, 0.0, n);
        if (points.size() == points.capacity())
            points.reserve(points.size() + 1024);
        points.emplace_back(a * scale, r * scale);
        if (a != na || r != nr)
            break;
    }
    return points;
}

std::vector<double> TSolenoid::LineStarts() const {
    std::vector<double> starts;
    double u = LineGap(0);
    do {
        starts.push_back(u);
        u += LineGap(u);
    } while (u <= Radius - 2.5);
    return starts;
}

std::array<QPointF, 3> TSolenoid::ArrowHead(QPointF anchor, double beta, double f, double g) {
    const double c = std::cos(beta), s = std::sin(beta);
    auto at = [&](double x, double y) { return QPointF(anchor.x() + x * c - y * s, anchor.y() + x * s + y * c); };
    return {at(f, 0), at(-f, -g), at(-f, g)};
}

double TSolenoid::LineArrowAngle(QPointF p, QPointF q) {
    if (std::abs(p.y() - q.y()) < 0.01)
        return p.x() < q.x() ? 0 : kPi;
    if (std::abs(p.x() - q.x()) < 0.01)
        return p.y() < q.y() ? kPi / 2 : -kPi / 2;
    double beta = std::atan((q.y() - p.y()) / (q.x() - p.x()));
    if (q.x() < p.x())
        beta += kPi;
    return beta;
}

void TSolenoid::DrawGrid(QPainter& p, QSize size, double scale) {
    p.setPen(QPen(QColor(211, 211, 211), 1));
    const double step = 25 * scale;
    const double w2 = size.width() / 2.0, h2 = size.height() / 2.0;
    const int c = int(RoundHalfEven(w2 / step)), e = int(RoundHalfEven(h2 / step));
    for (int j = -c; j <= c; ++j)
        p.drawLine(QLineF(j * step, -h2, j * step, h2));
    for (int j = -e; j <= e; ++j)
        p.drawLine(QLineF(-w2, j * step, w2, j * step));
}

TSolenoid::TFieldLines TSolenoid::FieldLines(QSize size, double scale) const {
    TFieldLines out;
    const double m = size.width() / 2.0 / scale, n = size.height() / 2.0 / scale;
    const double f = CurrentDir * 2.5 * scale, g = 2 * scale;
    out.Heads.push_back(ArrowHead({0.75 * m, 0}, 0, f, g));
    out.Heads.push_back(ArrowHead({-0.75 * m, 0}, 0, f, g));
    auto arrowFor = [&](const std::vector<QPointF>& line, double sign) {
        if (line.back().x() != 0 && line.size() >= 2) {
            const std::size_t h = std::min(line.size() / 2, line.size() - 2);
            return ArrowHead(line[h + 1], LineArrowAngle(line[h], line[h + 1]), sign * f, g);
        }
        return ArrowHead({0, 0}, 0, f, g); // back on the middle plane: at the centre, along the axis
    };
    auto mirrored = [](std::vector<QPointF> line, bool inAxis) {
        for (QPointF& q : line)
            q = inAxis ? QPointF(q.x(), -q.y()) : QPointF(-q.x(), q.y());
        return line;
    };
    auto mirroredHead = [](std::array<QPointF, 3> head) {
        for (QPointF& q : head)
            q.setY(-q.y());
        return head;
    };
    for (double u : LineStarts()) {
        std::vector<QPointF> line = TraceLine(u, m, n, scale);
        // Drawn mirrored in the axis and in the middle plane; there the
        // tracing runs against the field, so the arrowhead turns round.
        const auto head = arrowFor(line, 1);
        std::vector<QPointF> back = mirrored(line, false);
        const auto backHead = arrowFor(back, -1);
        out.Lines.push_back(mirrored(line, true));
        out.Lines.push_back(mirrored(back, true));
        out.Lines.push_back(std::move(line));
        out.Lines.push_back(std::move(back));
        out.Heads.insert(out.Heads.end(), {head, mirroredHead(head), backHead, mirroredHead(backHead)});
    }
    return out;
}

void TSolenoid::DrawFieldLines(QPainter& p, QSize size, double scale) const {
    const double m = size.width() / 2.0 / scale;
    const TFieldLines lines = FieldLines(size, scale);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(QLineF(-m * scale, 0, m * scale, 0));
    p.setBrush(Qt::NoBrush);
    for (const auto& line : lines.Lines)
        p.drawPolyline(line.data(), int(line.size()));
    p.setBrush(kArrowGreen);
    for (const auto& head : lines.Heads)
        p.drawPolygon(head.data(), 3);
}

void TSolenoid::DrawTurns(QPainter& p, double scale) const {
    p.setPen(QPen(Qt::black, 1));
    const QColor red(255, 0, 0), blue(0, 0, 255);
    const double d = 5 * scale;
    for (int k = 0; k < Turns; ++k) {
        const double x = TurnPosition(k) * scale;
        p.setBrush(CurrentDir > 0 ? red : blue);
        p.drawEllipse(QPointF(x, -Radius * scale), d / 2, d / 2);
        p.setBrush(CurrentDir > 0 ? blue : red);
        p.drawEllipse(QPointF(x, Radius * scale), d / 2, d / 2);
    }
}

QImage TSolenoid::Draw(QSize size, double scale) const {
    if (size.isEmpty() || scale <= 0)
        return {};
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.translate(size.width() / 2.0, size.height() / 2.0);
    if (ShowGrid)
        DrawGrid(p, size, scale);
    p.setRenderHint(QPainter::Antialiasing, true);
    DrawFieldLines(p, size, scale);
    DrawTurns(p, scale);
    p.resetTransform();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(kFrame);
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, size.width() - 1, size.height() - 1);
    return img;
}

void TSolenoid::PaintReadout(QPainter& p, const QRectF& box, const TProbeValue& v, double scale) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(box, QColor(255, 255, 224));
    p.setRenderHint(QPainter::TextAntialiasing, true);
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(std::max(1, int(RoundHalfEven(10 * scale))));
    p.setFont(font);
    p.setPen(Qt::black);
    const QString text = QStringLiteral("Field strength %1\nx %2: y %3")
                             .arg(v.Strength, 0, 'f', 2)
                             .arg(v.X, 0, 'f', 2)
                             .arg(v.Y, 0, 'f', 2);
    p.drawText(box.adjusted(3, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
    p.setBrush(Qt::NoBrush);
    p.drawRect(box.adjusted(0, 0, -1, -1));
    p.restore();
}

void TSolenoid::PaintCompass(QPainter& p, const QRectF& box, double angle) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF c = box.center();
    const double h = box.width() / 2;
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(192, 225, 255));
    p.drawEllipse(c, h - 0.5, h - 0.5);
    const double cs = std::cos(angle), sn = std::sin(angle);
    auto at = [&](double x, double y) { return QPointF(c.x() + x * cs - y * sn, c.y() + x * sn + y * cs); };
    const QPointF d[4] = {at(h, 0), at(0, -h / 3), at(-h, 0), at(0, h / 3)};
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 0, 0));
    const QPointF north[3] = {d[0], d[1], d[3]};
    p.drawPolygon(north, 3);
    p.setBrush(Qt::white);
    const QPointF south[3] = {d[1], d[2], d[3]};
    p.drawPolygon(south, 3);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(d, 4);
    p.restore();
}

} // namespace quarvel
