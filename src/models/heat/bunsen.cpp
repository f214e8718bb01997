#include "models/heat/bunsen.h"

#include "common/random.h"
#include "common/rounding.h"
#include "models/heat/heatinstruments.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace quarvel {

namespace {
constexpr double kPi = 3.14159265358979323846;

QPolygonF Units(std::initializer_list<QPointF> points, double s) {
    QPolygonF poly;
    for (const QPointF& pt : points)
        poly << pt * s;
    return poly;
}

void Shape(QPainter& p, const QPolygonF& poly, const QColor& fill, bool outline) {
    p.setBrush(fill);
    p.setPen(outline ? QPen(Qt::black) : QPen(Qt::NoPen));
    p.drawPolygon(poly);
}

void Frame(QPainter& p, QSize size) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QColor(63, 63, 63));
    p.drawRect(0, 0, size.width() - 1, size.height() - 1);
}

void PrepareTarget(QImage& target, QSize size) {
    if (target.size() != size || target.format() != QImage::Format_ARGB32_Premultiplied)
        target = QImage(size, QImage::Format_ARGB32_Premultiplied);
    target.fill(Qt::white);
}
} // namespace

// ---------------------------------------------------------------- Bunsen

double TBunsenModel::Temperature() const {
    if (!Lit)
        return kStartTemperature;
    return std::min(100.0, kStartTemperature + HeatingTime * Rate() / Volume);
}

void TBunsenModel::SetLit(bool lit) {
    if (Lit && !lit)
        HeatingTime = 0;
    Lit = lit;
}

bool TBunsenModel::SetTime(int seconds) {
    if (!Lit)
        return false;
    HeatingTime = std::clamp(seconds, 0, kMaxTime);
    return true;
}

QPolygonF TBunsenModel::BeakerOutline(double s) {
    QPolygonF poly;
    poly << QPointF(9.4, 32.4) << QPointF(10, 33);
    for (int i = 0; i <= 4; ++i) {
        const double a = (180 + 22.5 * i) * kPi / 180;
        poly << QPointF(13 + 3 * std::cos(a), 50 - 3 * std::sin(a));
    }
    for (int i = 0; i <= 4; ++i) {
        const double a = (270 + 22.5 * i) * kPi / 180;
        poly << QPointF(22 + 3 * std::cos(a), 50 - 3 * std::sin(a));
    }
    poly << QPointF(25, 33) << QPointF(25.6, 32.4);
    for (QPointF& pt : poly)
        pt *= s;
    return poly;
}

void TBunsenModel::Draw(QImage& target) const {
    const QSize size = target.size().expandedTo(QSize(10, 10));
    PrepareTarget(target, size);
    const double s = size.height() * 0.0125;
    QPainter p(&target);
    const double b = 17.5, c = 60;

    // Flame
    if (Lit) {
        if (AirHoleOpen) {
            Shape(p, Units({{b - 1, c}, {b + 1, c}, {b + 1.5, 53}, {b - 1.5, 53}}, s), QColor(255, 0, 255, 32), false);
            Shape(p, Units({{b - 1, c}, {b + 1, c}, {b, 53}}, s), QColor(0, 0, 255, 32), false);
        } else {
            const double w = (5 - SharedRandom().RandomInt(10)) * 0.1;
            const QPolygonF outer = Units({{b + 1, c}, {b + 1.2, c - 1}, {b + 1.7 + w, c - 2 + w},
                                           {b + 1.4 + w, c - 3 + w}, {b + 1.5 + w, c - 4 + w},
                                           {b + 1.2 + w, c - 5 + w}, {b + 2 + w, c - 6 + w},
                                           {b + 3 + w, c - 6.2 + w}, {b + 5 + w, c - 7}, {b - 5 + w, c - 7},
                                           {b - 3 + w, c - 6.1 + w}, {b - 2.1 + w, c - 6 + w},
                                           {b - 1.5 + w, c - 5 + w}, {b - 1.3 + w, c - 4 + w},
                                           {b - 1 + w, c - 3 + w}, {b - 1.5 + w, c - 2 + w}, {b - 1.2, c - 1},
                                           {b - 1, c}},
                                          s);
            const QPolygonF inner = Units({{b + 1, c}, {b + 0.8, c - 1 + w}, {b + 0.3 + w, c - 2 + w},
                                           {b + 0.5 + w, c - 3 + w}, {b + 0.1 + w, c - 4 + w}, {b + w, c - 5 + w},
                                           {b - 0.1 + w, c - 4 + w}, {b - 0.4 + w, c - 3 + w},
                                           {b - 0.7 + w, c - 2 + w}, {b - 0.8, c - 1 + w}, {b - 1, c}},
                                          s);
            Shape(p, outer, QColor(255, 255, 0), false);
            Shape(p, inner, QColor(222, 201, 252), false);
            // The same cone one pixel smaller, tinted red.
            const QPointF centre = inner.boundingRect().center();
            QPolygonF shrunk;
            for (const QPointF& pt : inner) {
                const QPointF d = centre - pt;
                const double len = std::hypot(d.x(), d.y());
                shrunk << (len > 1 ? pt + d / len : pt);
            }
            Shape(p, shrunk, QColor(255, 0, 0, 32), false);
        }
    }

    // Burner
    {
        QPainterPath tube;
        tube.setFillRule(Qt::OddEvenFill);
        tube.addRect(QRectF(QPointF((b - 1) * s, 60 * s), QPointF((b + 1) * s, 75 * s)));
        if (AirHoleOpen) {
            QPolygonF hole;
            for (int i = 0; i < 10; ++i) {
                const double a = 2 * kPi * i / 10;
                hole << QPointF((b + 0.8 * std::cos(a)) * s, (73.5 + 0.8 * std::sin(a)) * s);
            }
            hole << hole.first();
            tube.addPolygon(hole);
        }
        p.setPen(Qt::black);
        p.setBrush(QColor(225, 225, 225));
        p.drawPath(tube);
        p.drawLine(QPointF((b - 1) * s, 71.5 * s), QPointF((b + 1) * s, 71.5 * s));
        Shape(p, Units({{b - 7, 75.3}, {b - 6.7, 75}, {b + 6.7, 75}, {b + 7, 75.3}, {b + 7, 77}, {b - 7, 77}}, s),
              QColor(127, 127, 127), true);
    }

    // Water, and bubbles when it boils
    const QPolygonF outline = BeakerOutline(s);
    {
        p.save();
        QPainterPath clip;
        clip.addPolygon(outline);
        clip.closeSubpath();
        p.setClipPath(clip);
        const QRectF water(QPointF(10 * s, (53 - WaterHeight()) * s), QPointF(25 * s, 53 * s));
        p.fillRect(water, QColor(192, 225, 255));
        if (Boiling()) {
            p.setPen(Qt::white);
            p.setBrush(Qt::white);
            for (int i = 0; i <= 50; ++i) {
                const double x = water.left() + SharedRandom().RandomReal() * water.width();
                const double y = water.top() + SharedRandom().RandomReal() * water.height();
                const double r = i % 4 + 1;
                p.drawEllipse(QPointF(x, y), r, r);
            }
        }
        p.restore();
    }

    // Beaker
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(outline);
    p.setRenderHint(QPainter::Antialiasing, false);

    // Volume marks
    {
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(std::max<int>(12, int(2 * Trunc(s))));
        p.setFont(f);
        const QFontMetrics fm(f);
        for (int i = 1; i <= 5; ++i) {
            const double y = (53 - 3 * i) * s;
            p.setPen(QColor(127, 127, 127));
            p.drawLine(QPointF(23 * s, y), QPointF(25 * s, y));
            p.setPen(Qt::black);
            p.drawText(QPointF(25.8 * s, y + (fm.ascent() - fm.descent()) / 2.0), QString::number(i * 50));
        }
    }

    // Instruments
    const double t = Temperature();
    const TThermometerScale scale{40, 50, 0.8 * s, 5, 100, 2};
    DrawVerticalThermometer(p, s, int(RoundHalfEven(17 * s)), int(RoundHalfEven(2.8 * s)), scale, t);
    DrawMagnifier(p, int(RoundHalfEven(30 * s)), int(RoundHalfEven(10 * s)), int(RoundHalfEven(20 * s)), t, 1, true);
    DrawTimerCase(p, s, 45, 70, HeatingTime, QStringLiteral("(min :sec)"));

    // Tripod and gauze
    Shape(p, Units({{30, 77}, {25, 55}, {26, 55}, {26, 54}, {8, 54}, {8, 55}, {9, 55}, {4, 77}, {5, 77}, {10, 55},
                    {24, 55}, {29, 77}},
                   s),
          QColor(127, 127, 127), true);
    for (int x = 7; x <= 27; x += 2)
        p.fillRect(QRectF(QPointF(x * s, 53.25 * s), QPointF((x + 1) * s, 53.75 * s)), QColor(63, 63, 63));

    Frame(p, size);
}

// ---------------------------------------------------------------- Cooling

double TCoolModel::Temperature(int t) {
    if (t <= 200)
        return 30 * std::exp(kK * t) - 10;
    if (t <= 400)
        return 0;
    return 30 * std::exp(kK * (t - 200)) - 10;
}

int TCoolModel::WaterAlpha(int t) {
    if (t < 146)
        return 255;
    if (t <= 400)
        return 400 - t;
    return 0;
}

void TCoolModel::Draw(QImage& target, const QImage& ice, const QImage& iceSalt) const {
    const QSize size = target.size().expandedTo(QSize(10, 10));
    PrepareTarget(target, size);
    const double s = size.height() * 0.0125;
    QPainter p(&target);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);

    if (!iceSalt.isNull())
        p.drawImage(QRectF(QPointF(2 * s, 58 * s), QPointF(38 * s, 78 * s)), iceSalt);
    Shape(p, Units({{1, 52}, {1, 79}, {39, 79}, {39, 52}, {38, 52}, {38, 78}, {2, 78}, {2, 52}}, s),
          QColor(191, 191, 191), true);

    // Test tube
    p.fillRect(QRectF(QPointF(16 * s, 55 * s), QPointF(24 * s, 70 * s)), Qt::white);
    QPolygonF contents;
    contents << QPointF(24, 62) << QPointF(24, 70);
    for (int i = 0; i <= 10; ++i) {
        const double a = -18.0 * i * kPi / 180;
        contents << QPointF(20 + 4 * std::cos(a), 70 - 4 * std::sin(a));
    }
    contents << QPointF(16, 62);
    for (QPointF& pt : contents)
        pt *= s;
    {
        p.save();
        QPainterPath clip;
        clip.addPolygon(contents);
        clip.closeSubpath();
        p.setClipPath(clip);
        p.drawImage(QRectF(QPointF(16 * s, 62 * s), QPointF(24 * s, 74 * s)), ice);
        const int alpha = WaterAlpha(Time);
        if (alpha > 0)
            p.fillPath(clip, QColor(192, 225, 255, alpha));
        p.restore();
    }
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(contents);
    p.drawLine(QPointF(16 * s, 62 * s), QPointF(16 * s, 42 * s));
    p.drawLine(QPointF(16 * s, 42 * s), QPointF(15.6 * s, 41.6 * s));
    p.drawLine(QPointF(24 * s, 62 * s), QPointF(24 * s, 42 * s));
    p.drawLine(QPointF(24 * s, 42 * s), QPointF(24.4 * s, 41.6 * s));

    DrawTimerCase(p, s, 50, 72, Time, QStringLiteral("(min : sec)"));
    const double t = Temperature(Time);
    const TThermometerScale scale{50, 60, 50 * s / 60, 10, 50, 1};
    DrawVerticalThermometer(p, s, int(RoundHalfEven(20 * s)), int(RoundHalfEven(10 * s)), scale, t);
    DrawMagnifier(p, int(RoundHalfEven(30 * s)), int(RoundHalfEven(10 * s)), int(RoundHalfEven(20 * s)), t, 0.1,
                  false);
    Frame(p, size);
}

QImage IcePicture() {
    // Pale blue-white crystals: a soft gradient crossed by fine cracks.
    QImage ice(64, 64, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const int shade = 215 + int(20 * std::sin((x + 2 * y) * 0.21) * std::cos((2 * x - y) * 0.13));
            ice.setPixelColor(x, y, QColor(std::clamp(shade, 0, 255), std::clamp(shade + 15, 0, 255), 255));
        }
    QPainter p(&ice);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(255, 255, 255, 200), 1));
    const QLineF cracks[] = {{3, 10, 30, 22},  {30, 22, 58, 8},  {30, 22, 36, 50}, {36, 50, 12, 60},
                             {36, 50, 62, 44}, {8, 34, 30, 22},  {50, 28, 62, 44}, {20, 2, 24, 14}};
    for (const QLineF& l : cracks)
        p.drawLine(l);
    p.setPen(QPen(QColor(150, 185, 225, 160), 1));
    const QLineF shadows[] = {{4, 11, 31, 23}, {37, 51, 13, 61}, {9, 35, 31, 23}};
    for (const QLineF& l : shadows)
        p.drawLine(l);
    return ice;
}

} // namespace quarvel
