#include "models/forces/moments.h"

#include "common/rounding.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <algorithm>
#include <cmath>

namespace quarvel {

namespace {
constexpr double kHalfBeam = 10.0;   // beam length 20
constexpr double kBeamAbove = 0.25;  // the beam's top above the pivot
constexpr double kBeamThickness = 1.0;
constexpr double kWeightWidth = 2.0;
constexpr double kWeightHeight = 0.25;
constexpr double kStringLength = 1.625;
constexpr double kStackBottom = 5.5; // below the hanging point
constexpr double kHitTop = 7.75, kHitBottom = 10.25;

const QColor kBeamYellow(255, 255, 128);
const QColor kGrey(191, 191, 191);
const QColor kHookGrey(240, 240, 240);

QFont BoldArial(double pixels) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(std::max(1, int(RoundHalfEven(pixels))));
    f.setBold(true);
    return f;
}

// A hook hanging from (x, top): an arch of two arcs (16 points each over a
// half turn) whose right leg runs on down to `bottom`, where the weights hang.
QPolygonF Hook(double x, double top, double bottom, double u) {
    const double outer = 2 * kWeightHeight * u, inner = 1.5 * kWeightHeight * u;
    const QPointF c(x, top + outer);
    QPolygonF poly;
    // Outer arc from the left leg over the top to the right leg.
    for (int k = 0; k <= 15; ++k) {
        const double a = M_PI + M_PI * k / 15.0;
        poly << c + QPointF(outer * std::cos(a), outer * std::sin(a));
    }
    poly << QPointF(c.x() + outer, bottom) << QPointF(c.x() + inner, bottom);
    for (int k = 15; k >= 0; --k) {
        const double a = M_PI + M_PI * k / 15.0;
        poly << c + QPointF(inner * std::cos(a), inner * std::sin(a));
    }
    // The hook's tip, a short straight piece down the left leg.
    poly << QPointF(c.x() - inner, c.y() + 0.4 * outer) << QPointF(c.x() - outer, c.y() + 0.4 * outer);
    return poly;
}
} // namespace

TMomentsModel::TMomentsModel() {
    Holders[0] = {-5.0f, 5, true};
    Holders[1] = {5.0f, 5, true};
    Holders[2] = {8.0f, 5, false};
}

int TMomentsModel::NetMoment() const {
    int m = 0;
    for (const THolder& h : Holders)
        if (h.Shown)
            m += int(RoundHalfEven(double(h.Count) * double(h.Position)));
    return m;
}

double TMomentsModel::TiltDegrees(int moment) { return std::clamp(moment, -60, 60) / 2.0; }

bool TMomentsModel::PlaceFree(int index, double x) const {
    if (x < -kHalfBeam || x > kHalfBeam)
        return false;
    for (int j = 0; j < int(Holders.size()); ++j)
        if (j != index && Holders[j].Shown && std::abs(double(Holders[j].Position) - x) < 1.0)
            return false;
    return true;
}

void TMomentsModel::SetThreeHolders(bool three) {
    THolder& c = Holders[2];
    if (!three) {
        c.Shown = false;
        return;
    }
    if (c.Shown)
        return;
    c.Shown = true;
    if (PlaceFree(2, c.Position))
        return;
    // Another holder was dragged onto C's place while it was hidden.
    const int from = int(RoundHalfEven(c.Position));
    for (int d = 0; d <= 20; ++d)
        for (int place : {from + d, from - d})
            if (PlaceFree(2, place)) {
                c.Position = float(place);
                return;
            }
}

int TMomentsModel::HitTest(double x, double y, double unit) const {
    if (y < kHitTop * unit || y > kHitBottom * unit)
        return kNone;
    for (int i = 0; i < int(Holders.size()); ++i) {
        const THolder& h = Holders[i];
        if (!h.Shown)
            continue;
        const double hx = (kPivotX + h.Position) * unit;
        if (std::abs(x - hx) <= kWeightWidth / 2 * unit)
            return i;
    }
    return kNone;
}

bool TMomentsModel::BeginDrag(int x, int y, double unit) {
    const int i = HitTest(x, y, unit);
    if (i == kNone)
        return false;
    DragIndex = i;
    DragOffset = int(RoundHalfEven((kPivotX + Holders[i].Position) * unit)) - x;
    return true;
}

bool TMomentsModel::DragTo(int x, int pictureWidth, double unit) {
    if (DragIndex == kNone || unit <= 0)
        return false;
    const double bx = (x + DragOffset - pictureWidth / 2) / unit;
    if (!PlaceFree(DragIndex, bx))
        return false;
    Holders[DragIndex].Position = float(bx);
    return true;
}

void TMomentsModel::EndDrag() {
    if (DragIndex != kNone)
        Holders[DragIndex].Position = float(RoundHalfEven(Holders[DragIndex].Position));
    DragIndex = kNone;
}

QImage TMomentsModel::Draw(QSize size, int tilt) const {
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    QPainter p(&image);
    const double u = size.width() / 23.0;
    const QPointF pivot(kPivotX * u, kPivotY * u);
    const double angle = TiltDegrees(tilt);
    QTransform turn;
    turn.translate(pivot.x(), pivot.y());
    turn.rotate(angle); // positive turns clockwise on the screen
    turn.translate(-pivot.x(), -pivot.y());
    const double beamTop = (kPivotY - kBeamAbove) * u;
    const QPen outline(Qt::black, 1);
    p.setFont(BoldArial(std::max(10.0, double(RoundHalfEven(u / 2)))));
    const double textH = std::max(10.0, double(RoundHalfEven(u / 2))) * 1.3;
    auto number = [&](QPointF at, int n) {
        p.setPen(Qt::black);
        p.drawText(QRectF(at.x() - u, at.y() - textH - 0.1 * u, 2 * u, textH), Qt::AlignHCenter | Qt::AlignBottom,
                   QString::number(n));
    };

    if (tilt == 0) {
        p.setPen(outline);
        p.setBrush(kBeamYellow);
        p.drawRect(QRectF(QPointF((kPivotX - kHalfBeam) * u, beamTop),
                          QPointF((kPivotX + kHalfBeam) * u + 1, beamTop + kBeamThickness * u)));
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setBrush(kGrey);
        p.drawEllipse(pivot, 0.1 * u, 0.1 * u);
        p.setRenderHint(QPainter::Antialiasing, false);
        for (int i = 0; i <= 20; ++i) {
            const double x = (kPivotX - kHalfBeam + i) * u;
            if (i != 0 && i != 10 && i != 20) {
                p.setPen(outline);
                p.drawLine(QPointF(x, beamTop), QPointF(x, beamTop + 0.5 * u));
            }
            number(QPointF(x, beamTop), std::abs(10 - i));
        }
    } else {
        p.setRenderHint(QPainter::Antialiasing, true);
        QPolygonF beam(QRectF(QPointF((kPivotX - kHalfBeam) * u, beamTop),
                              QPointF((kPivotX + kHalfBeam) * u + 1, beamTop + kBeamThickness * u)));
        p.setPen(outline);
        p.setBrush(kBeamYellow);
        p.drawPolygon(turn.map(beam));
        p.setBrush(kGrey);
        p.drawEllipse(pivot, 0.1 * u, 0.1 * u);
        for (int i = -10; i <= 10; ++i) {
            const double x = (kPivotX + i) * u;
            if (i != 0) {
                p.setPen(outline);
                p.drawLine(turn.map(QLineF(x, beamTop, x, beamTop + 0.65 * u)));
            }
            number(turn.map(QPointF(x, beamTop)), std::abs(i));
        }
    }

    // Holders hang straight down from their points on the beam.
    p.setRenderHint(QPainter::Antialiasing, true);
    static const char* letters[] = {"A", "B", "C"};
    for (int i = 0; i < int(Holders.size()); ++i) {
        const THolder& h = Holders[i];
        if (!h.Shown || h.Count <= 0)
            continue;
        const QPointF hang = turn.map(QPointF((kPivotX + h.Position) * u, beamTop));
        const double stringEnd = hang.y() + kStringLength * u;
        const double bottom = hang.y() + kStackBottom * u;
        const double top = bottom - h.Count * kWeightHeight * u;
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(hang, QPointF(hang.x(), stringEnd));
        p.setBrush(kHookGrey);
        p.drawPolygon(Hook(hang.x(), stringEnd, top, u));
        p.setBrush(kGrey);
        const QRectF stack(hang.x() - kWeightWidth / 2 * u, top, kWeightWidth * u, bottom - top);
        p.drawRect(stack);
        for (int k = 1; k < h.Count; ++k) {
            const double y = bottom - k * kWeightHeight * u;
            p.drawLine(QPointF(stack.left(), y), QPointF(stack.right(), y));
        }
        p.setFont(BoldArial(u));
        p.drawText(QRectF(hang.x() - u, bottom, 2 * u, 1.4 * u), Qt::AlignHCenter | Qt::AlignTop,
                   QLatin1String(letters[i]));
    }
    p.setRenderHint(QPainter::Antialiasing, false);

    if (tilt == 0 && Checking) {
        const QFont big = BoldArial(double(RoundHalfEven(2 * u)));
        p.setFont(big);
        p.setPen(QColor(0, 0, 255));
        p.drawText(QRectF(0, 20, size.width(), 3 * u), Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("balanced"));
    }

    p.setPen(QColor(127, 127, 127));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, size.width() - 1, size.height() - 1);
    return image;
}

} // namespace quarvel
