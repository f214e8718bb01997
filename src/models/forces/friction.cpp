#include "models/forces/friction.h"

#include "common/random.h"
#include "common/rounding.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace quarvel {

TFrictionModel::TFrictionModel() { NewNoise(); }

void TFrictionModel::NewNoise() { Noise = float(SharedRandom().RandomNormal(0.0, 0.2)); }

float TFrictionModel::MuOf(int surface) {
    switch (surface) {
    case kSmooth: return 0.25f;
    case kRough: return 0.81f;
    default: return 0.52f;
    }
}

int TFrictionModel::Surface() const {
    if (Mu == MuOf(kSmooth))
        return kSmooth;
    if (Mu == MuOf(kRough))
        return kRough;
    return kMedium;
}

void TFrictionModel::SetAddedWeight(double value) {
    AddedWeight = int(std::clamp<std::int64_t>(RoundHalfEven(value), 0, 10));
}

void TFrictionModel::SetArea(int area) { BlockLength = float(area - 50) * 0.05f + 5.0f; }

float TFrictionModel::LimitingFriction() const {
    return std::max(float(AddedWeight) * Mu + 0.5f + Noise, 0.2f);
}

int TFrictionModel::CurrentPull() const { return int(RoundHalfEven((Reading + Slip) * 10.0f)); }

int TFrictionModel::Pull(int position) {
    position = std::clamp(position, 0, kMaxPull);
    const int current = CurrentPull();
    if (position < current)
        return current;
    const float pull = float(position) * 0.1f;
    const float r = pull - Slip;
    if (r == Reading)
        return position;
    const float limit = LimitingFriction();
    if (r > limit) {
        // A big step of the pull (a page step, a fast drag) must not leave the
        // balance reading more than the surfaces can hold: the block keeps
        // jerking forward until the reading is back within the limit.
        const float d = 0.2f * limit;
        do {
            Displacement += d;
            Slip += d;
            Reading = pull - Slip;
        } while (Reading > limit);
    } else {
        Reading = r;
    }
    return position;
}

void TFrictionModel::Reset() {
    Displacement = 0;
    Reading = 0;
    Slip = 0;
    NewNoise();
}

namespace {
void RingHook(QPainter& p, QPointF centre, double radius, double u) {
    p.setPen(QPen(Qt::black, std::max(1.0, 0.1 * u)));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius, radius);
}

QFont Arial(double pixels, bool bold) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(std::max(1, int(RoundHalfEven(pixels))));
    f.setBold(bold);
    return f;
}
} // namespace

QImage TFrictionModel::Draw(QSize size) const {
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const double usable = std::min<double>(size.width(), 1.4 * size.height());
    const double u = 0.04 * usable;
    auto P = [u](double x, double y) { return QPointF(x * u, y * u); };
    const double s = Displacement;
    const double c = 10 + s;

    // Surface.
    const double blockTop = 15.3, blockBottom = 16.3;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(243, 216, 157));
    p.drawRect(QRectF(P(0, blockBottom), QSizeF(size.width(), 2 * u)));
    p.setPen(QPen(Qt::black, std::max(1.0, 0.06 * u)));
    p.drawLine(QPointF(0, blockBottom * u), QPointF(size.width(), blockBottom * u));
    static const char* names[] = {"smooth", "medium", "rough"};
    p.setFont(Arial(u, true));
    p.setPen(Qt::black);
    p.drawText(QRectF(P(0.3, blockBottom + 0.2), QSizeF(20 * u, 1.5 * u)), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("surface type: %1").arg(QLatin1String(names[Surface()])));

    // Block with its weights.
    const double bx = 4 + s - BlockLength / 2.0;
    const double blockRight = bx + BlockLength;
    const QPen outline(Qt::black, std::max(1.0, 0.05 * u));
    const QPointF blockHook = P(blockRight + 0.3, (blockTop + blockBottom) / 2);
    const QPointF balanceHook = P(c - 0.3, 15.0);
    // The string first, so the hooks sit over its ends.
    p.setPen(QPen(QColor(0, 0, 255), 3));
    p.drawLine(blockHook + QPointF(0.3 * u, 0), balanceHook - QPointF(0.3 * u, 0));
    p.setPen(outline);
    p.setBrush(QColor(110, 71, 30));
    p.drawRect(QRectF(P(bx, blockTop), QSizeF(BlockLength * u, u)));
    RingHook(p, blockHook, 0.3 * u, u);
    if (AddedWeight > 0) {
        const double wx = 4 + s - 2;
        const double h = 0.6 * AddedWeight;
        p.setPen(outline);
        p.setBrush(QColor(191, 191, 191));
        p.drawRect(QRectF(P(wx, blockTop - h), QSizeF(4 * u, h * u)));
        for (int k = 1; k < AddedWeight; ++k)
            p.drawLine(P(wx, blockTop - 0.6 * k), P(wx + 4, blockTop - 0.6 * k));
    }

    // Spring balance: body, scale, slider and the ring hook at its left end.
    QPolygonF body;
    body << P(c, 14.5) << P(c + 0.5, 14) << P(c + 11, 14) << P(c + 11, 16) << P(c + 0.5, 16) << P(c, 15.5);
    p.setPen(outline);
    p.setBrush(QColor(200, 200, 210));
    p.drawPolygon(body);
    RingHook(p, balanceHook, 0.3 * u, u);
    const double x0 = c + 0.7;
    p.setBrush(Qt::white);
    p.drawRect(QRectF(P(x0 - 0.2, 14.2), QSizeF(10.4 * u, 1.6 * u)));
    p.setFont(Arial(0.55 * u, true));
    for (int k = 0; k <= 10; ++k) {
        const bool labelled = k % 5 == 0;
        p.setPen(outline);
        p.drawLine(P(x0 + k, 14.2), P(x0 + k, labelled ? 14.75 : 14.5));
        if (labelled)
            p.drawText(QRectF(P(x0 + k - 0.6, 14.75), QSizeF(1.2 * u, 0.6 * u)), Qt::AlignCenter,
                       QString::number(k));
    }
    const double edge = x0 + Reading;
    p.setPen(outline);
    p.setBrush(QColor(255, 255, 128, 127));
    p.drawRect(QRectF(P(edge, 15.35), QSizeF((c + 11.6 - edge) * u, 0.35 * u)));
    RingHook(p, P(c + 11.9, 15.5), 0.3 * u, u);

    // Magnifier over the scale around the reading: 4 units per newton.
    const QPointF centre = P(17, 5.5);
    const double radius = 5 * u;
    const double zoom = 4 * u; // pixels per newton in the lens
    QPainterPath lens;
    lens.addEllipse(centre, radius, radius);
    p.save();
    p.setClipPath(lens);
    p.fillPath(lens, QColor(250, 250, 245));
    const double scaleTop = 3.0 * u;
    const double scaleBottom = 7.6 * u;
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(QPointF(centre.x() - (Reading + 0.2) * zoom, scaleTop),
                      QPointF(centre.x() + (10.2 - Reading) * zoom, scaleBottom)));
    p.setFont(Arial(1.1 * u, true));
    const int first = std::max(0, int(std::floor((Reading - 1.4) * 10)));
    const int last = std::min(100, int(std::ceil((Reading + 1.4) * 10)));
    for (int t = first; t <= last; ++t) {
        const double x = centre.x() + (t * 0.1 - Reading) * zoom;
        const double len = t % 10 == 0 ? 1.6 : t % 5 == 0 ? 1.1 : 0.6;
        p.setPen(QPen(Qt::black, std::max(1.0, 0.08 * u)));
        p.drawLine(QPointF(x, scaleTop), QPointF(x, scaleTop + len * u));
        if (t % 10 == 0)
            p.drawText(QRectF(x - 1.5 * u, scaleTop + 1.7 * u, 3 * u, 1.4 * u), Qt::AlignCenter,
                       QString::number(t / 10));
    }
    p.setPen(QPen(Qt::black, std::max(1.0, 0.1 * u)));
    p.setBrush(QColor(255, 255, 128, 127));
    p.drawRect(QRectF(QPointF(centre.x(), 6.0 * u), QPointF(centre.x() + 6 * u, 7.2 * u)));
    p.restore();
    // The lens frame and handle.
    p.setPen(QPen(QColor(60, 60, 60), std::max(2.0, 0.35 * u)));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(QColor(90, 60, 30), std::max(3.0, 0.7 * u), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(radius * 0.72, radius * 0.72), centre + QPointF(radius * 1.05, radius * 1.05));
    return image;
}

} // namespace quarvel
