#include "host/protractor.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace quarvel {

namespace {
QPointF Polar(QPointF c, double radius, double degrees) {
    // Angles from the top edge, y growing downwards.
    const double a = degrees * 3.14159265358979 / 180;
    return c + QPointF(radius * std::cos(a), radius * std::sin(a));
}
} // namespace

QLineF ProtractorTick(QPointF c, int i) {
    const double inner = i % 10 == 0 ? 230 : i % 5 == 0 ? 240 : 245;
    return QLineF(Polar(c, 250, i), Polar(c, inner, i));
}

QPointF ProtractorLabelCentre(QPointF c, int i) { return Polar(c, 220, i); }
QString ProtractorLabel(int i) { return QString::number(std::abs(90 - i)); }

std::pair<QLineF, QLineF> ProtractorAngleLines(QPointF c, float a) {
    const double r = double(a) * 3.14159265358979 / 180;
    return {QLineF(c, c + QPointF(370 * std::cos(r), 370 * std::sin(r))),
            QLineF(c, c + QPointF(-370 * std::cos(r), 370 * std::sin(r)))};
}

TProtractor::TProtractor(QWidget* owner) : QWidget(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("ProtractorDP"));
    setWindowTitle(QStringLiteral("Measure angles"));
    setFixedSize(510, 280);
}

void TProtractor::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(140, 143, 230));
    const QPointF c = Centre();
    p.setPen(QPen(Qt::black, 1.2));
    QPainterPath half;
    half.moveTo(c + QPointF(250, 0));
    half.arcTo(QRectF(c - QPointF(250, 250), QSizeF(500, 500)), 0, -180);
    half.closeSubpath();
    p.drawPath(half);
    p.drawLine(c, QPointF(c.x(), 210));
    for (int i = 1; i < 180; ++i)
        p.drawLine(ProtractorTick(c, i));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(11);
    p.setFont(f);
    for (int i = 10; i < 180; i += 10) {
        const QPointF at = ProtractorLabelCentre(c, i);
        p.drawText(QRectF(at - QPointF(15, 8), QSizeF(30, 16)), Qt::AlignCenter, ProtractorLabel(i));
    }
    if (ReflectionAngle) {
        const float a = ReflectionAngle();
        if (a >= 0) {
            p.setPen(QPen(Qt::white, 2));
            const auto [l1, l2] = ProtractorAngleLines(c, a);
            p.drawLine(l1);
            p.drawLine(l2);
        }
    }
}

} // namespace quarvel
