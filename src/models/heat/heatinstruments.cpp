#include "models/heat/heatinstruments.h"

#include "common/rounding.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace quarvel {

namespace {
int R(double x) { return int(RoundHalfEven(x)); }

QFont ArialPixels(int px, bool bold = false) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(std::max(1, px));
    f.setBold(bold);
    return f;
}
} // namespace

void DrawTimerCase(QPainter& p, double s, double x0, double y0, int seconds, const QString& caption) {
    p.save();
    QPainterPath frame;
    frame.setFillRule(Qt::OddEvenFill);
    frame.addRect(QRectF(QPointF((x0 - 9) * s, (y0 - 3) * s), QPointF((x0 + 9) * s, (y0 + 7) * s)));
    frame.addRect(QRectF(QPointF((x0 - 8) * s, (y0 - 2) * s), QPointF((x0 + 8) * s, (y0 + 2) * s)));
    p.setPen(Qt::black);
    p.setBrush(QColor(255, 128, 0));
    p.drawPath(frame);
    p.setFont(ArialPixels(R(4 * s), true));
    const QString time = QString::asprintf("%2.2d : %2.2d", seconds / 60, seconds % 60);
    const QRectF window(QPointF((x0 - 8) * s, (y0 - 2) * s), QPointF((x0 + 8) * s, (y0 + 2) * s));
    p.drawText(window, Qt::AlignCenter, time);
    QFont cf(QStringLiteral("Arial"));
    cf.setPointSize(10);
    p.setFont(cf);
    const QFontMetrics fm(cf);
    const int w = fm.horizontalAdvance(caption);
    p.drawText(R(x0 * s - w / 2.0), R((y0 + 2) * s) + fm.ascent(), caption);
    p.restore();
}

void DrawVerticalThermometer(QPainter& p, double s, int x0, int y0, const TThermometerScale& sc, double t) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const double tp = sc.TickPixels;
    const int b = y0 + R((sc.LengthUnits + 5) * s) + 1;
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(QRect(QPoint(x0, y0 + 5), QPoint(x0 + 8, b)));
    p.setBrush(Qt::red);
    p.drawRoundedRect(QRect(QPoint(x0 - 1, b - 10), QPoint(x0 + 9, b + R(5 * tp))), 10, 10, Qt::AbsoluteSize);
    p.setFont(ArialPixels(12));
    for (int k = 0; k <= sc.Ticks; ++k) {
        const int y = y0 + 10 + R(k * tp);
        if (k % sc.LabelStep == 0) {
            p.drawLine(x0, y, x0 + 8, y);
            const double v = sc.TopValue - k * sc.DegreesPerTick;
            p.drawText(QRect(x0 - 102, y - 8, 100, 16), Qt::AlignRight | Qt::AlignVCenter, QString::number(R(v)));
        } else {
            p.drawLine(x0, y, x0 + 5, y);
        }
    }
    p.fillRect(QRect(QPoint(x0 + 3, y0 + 10 + R(sc.Level(t) * tp)), QPoint(x0 + 5, b)), Qt::red);
    p.restore();
}

long long MagnifierBaseStep(double t, double step) { return (long long)std::floor(t / step + 1e-9); }

void DrawMagnifier(QPainter& p, int x, int y, int d, double t, double step, bool noneBelowZero) {
    p.save();
    const double q = d / 30.0;
    const int yc = y + R(d / 2.0);
    QPainterPath disc;
    disc.addEllipse(QRectF(x, y, d, d));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillPath(disc, Qt::white);
    p.setClipPath(disc);
    const double g0 = x + 0.2 * d, g1 = x + 0.8 * d, b0 = x + 0.4 * d, b1 = x + 0.6 * d;
    p.fillRect(QRectF(QPointF(g0, y), QPointF(g1, y + d)), QColor(255, 255, 224));
    p.fillRect(QRectF(QPointF(b0, y), QPointF(b1, yc)), Qt::white);
    p.fillRect(QRectF(QPointF(b0, yc), QPointF(b1, y + d)), Qt::red);
    p.setPen(Qt::black);
    for (double ex : {g0, g1, b0, b1})
        p.drawLine(QPointF(ex, y), QPointF(ex, y + d));
    p.setFont(ArialPixels(R(0.1 * d), true));
    const long long base = MagnifierBaseStep(t, step);
    for (long long n = base - 25; n <= base + 25; ++n) {
        const double v = n * step;
        const double ym = yc - (v - t) / step * q;
        if (ym < y || ym > y + d)
            continue;
        if (t > 85 && v > 100 + 1e-9)
            continue;
        if (noneBelowZero && t < 15 && v < -1e-9)
            continue;
        const bool fifth = n % 5 == 0, tenth = n % 10 == 0;
        p.drawLine(QPointF(b0, ym), QPointF(b0 + (fifth ? 0.1 : 0.05) * d, ym));
        if (tenth)
            p.drawText(QRectF(QPointF(x, ym - 0.1 * d), QPointF(b0 - 2, ym + 0.1 * d)),
                       Qt::AlignRight | Qt::AlignVCenter, QString::number(R(v)));
    }
    p.setFont(ArialPixels(R(0.1 * d), true));
    p.drawText(QRectF(QPointF(x + 0.7 * d, yc - 0.1 * d), QPointF(x + d, yc + 0.1 * d)),
               Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("\u00baC"));
    p.setClipping(false);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(63, 63, 63), 2));
    p.drawEllipse(QRectF(x, y, d, d));
    p.restore();
}

} // namespace quarvel
