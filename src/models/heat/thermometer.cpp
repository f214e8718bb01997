#include "models/heat/thermometer.h"

#include "common/random.h"
#include "common/rounding.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace quarvel {

namespace {
const QColor kLightBlue(192, 225, 255);
const QColor kLightGreen(192, 255, 192);
const QColor kGrey(191, 191, 191);
const QColor kDarkGrey(63, 63, 63);
const QColor kOrange(255, 128, 0);
const QColor kSilver(192, 192, 192);
const QColor kLightYellow(255, 255, 128);

int R(double x) { return int(RoundHalfEven(x)); }

// A rectangle by its corners, the right and bottom ones exclusive.
QRect Corners(int l, int t, int r, int b) { return QRect(l, t, r - l, b - t); }
} // namespace

// ---------------------------------------------------------------- liquid thermometer

std::vector<TFlask> TThermometerModel::Flasks() const {
    if (CompareMode)
        return {{QStringLiteral("A"), 2, 200, 15},
                {QStringLiteral("B"), 2, 500, 25},
                {QStringLiteral("C"), 4, 500, 37.5},
                {QStringLiteral("D"), 2, 1000, 50}};
    return {{QString(), TubeRadius, FlaskSize * 20.0, 20}};
}

double TThermometerModel::ExpansionVolume(const TFlask& f, int temperature) {
    return f.Volume * 0.00021 * (temperature - 20);
}

double TThermometerModel::RiseUnits(const TFlask& f, int temperature) {
    return ExpansionVolume(f, temperature) / (f.TubeRadius * f.TubeRadius * 0.0314159265);
}

int TThermometerModel::SurfaceY(double s) { return R(kSurface * s); }
int TThermometerModel::TubeTopY(double s) { return R(s); }

bool TThermometerModel::Overflows(const TFlask& f, int temperature, double s) {
    return R(s * RiseUnits(f, temperature)) > SurfaceY(s) - TubeTopY(s);
}

int TThermometerModel::ColumnPixels(const TFlask& f, int temperature, double s) {
    // A thin tube on a big flask would carry the liquid out of the drawing;
    // it stops at the open top and the rest spills over.
    return std::min(R(s * RiseUnits(f, temperature)), SurfaceY(s) - TubeTopY(s));
}

void TThermometerModel::DrawFlask(QPainter& p, const TFlask& f, double s) const {
    const double rad = std::cbrt(0.75 * f.Volume / std::numbers::pi) * s;
    const double n = 0.4 * rad;
    const double xc = f.CentreX * s, yc = kSurface * s + 2.5 * rad;
    const double h = std::asin(0.4);
    QPolygonF outline;
    outline << QPointF(xc - n, yc - 2 * rad) << QPointF(xc - n, yc - rad * std::cos(h));
    for (int k = 1; k <= 20; ++k) {
        const double a = std::numbers::pi / 2 + h + k * (2 * std::numbers::pi - 2 * h) / 20;
        outline << QPointF(xc + rad * std::cos(a), yc - rad * std::sin(a));
    }
    outline << QPointF(xc + n, yc - 2 * rad);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(kLightGreen);
    p.drawPolygon(outline);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRectF(QPointF(xc - n, yc - 2.25 * rad), QPointF(xc + n, yc - 1.75 * rad)), kOrange);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(outline);
    p.drawLine(QPointF(xc - n, yc - 2 * rad), QPointF(xc - (n + 0.1 * rad), yc - 2.1 * rad));
    p.drawLine(QPointF(xc + n, yc - 2 * rad), QPointF(xc + (n + 0.1 * rad), yc - 2.1 * rad));
    p.setRenderHint(QPainter::Antialiasing, false);

    // The tube and its column.
    const int c = ColumnPixels(f, Temperature, s);
    const int w = R(f.TubeRadius * s * 0.1) + 1;
    const int left = R(xc) - w, right = R(xc + w);
    const int top = SurfaceY(s) - c, bottom = SurfaceY(s) + R(rad);
    const int tubeTop = TubeTopY(s);
    p.fillRect(Corners(left, top, right, bottom), kLightGreen);
    p.setPen(Qt::black);
    p.drawLine(left, bottom, left, tubeTop);
    p.drawLine(right, bottom, right, tubeTop);
    p.drawLine(left, top, right, top);
    if (Overflows(f, Temperature, s)) { // the liquid wells out and runs down the tube
        const int drip = R(4 * s);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setBrush(kLightGreen);
        p.setPen(QPen(QColor(0, 128, 0), 1));
        p.drawEllipse(QPointF((left + right) / 2.0, tubeTop), w + 3, 3);
        p.drawRoundedRect(QRectF(left - 4, tubeTop, 3, drip), 1.5, 1.5);
        p.drawRoundedRect(QRectF(right + 1, tubeTop + 2, 3, drip * 0.7), 1.5, 1.5);
        p.setRenderHint(QPainter::Antialiasing, false);
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(std::max(9, R(2.2 * s)));
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(200, 0, 0));
        p.drawText(QPointF(right + 7, tubeTop + font.pixelSize()), QStringLiteral("overflow"));
    }
    if (!f.Label.isEmpty()) {
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(std::max(10, R(3 * s)));
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QRectF(xc - rad, yc - rad, 2 * rad, 2 * rad), Qt::AlignCenter, f.Label);
    }
}

QImage TThermometerModel::Draw(QSize size) const {
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    if (size.isEmpty())
        return img;
    const double s = Scale(size.height());
    QPainter p(&img);
    if (Grid) {
        const int a = SurfaceY(s), g = a / 10;
        p.setPen(kGrey);
        for (int k = 0; k <= 10; ++k)
            p.drawLine(0, a - k * g, size.width() - 1, a - k * g);
    }
    p.fillRect(QRectF(QPointF(2 * s, 55 * s), QPointF(59 * s, 78 * s)), kLightBlue);
    QPolygonF tank;
    for (auto [x, y] : {std::pair{1, 52}, {1, 79}, {60, 79}, {60, 52}, {59, 52}, {59, 78}, {2, 78}, {2, 52}})
        tank << QPointF(x * s, y * s);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(kGrey);
    p.drawPolygon(tank);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (const TFlask& f : Flasks())
        DrawFlask(p, f, s);
    p.setPen(kDarkGrey);
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, size.width() - 1, size.height() - 1);
    return img;
}

// ---------------------------------------------------------------- temperature scale

TTempScaleModel::TTempScaleModel() : UnknownTemperature(ChooseUnknown()) {}

double TTempScaleModel::ChooseUnknown() { return 43.7 + 0.1 * (50 - SharedRandom().RandomInt(100)); }

double TTempScaleModel::LiquidTemperature(int liquid) const {
    switch (liquid) {
    case kIce: return 0;
    case kSteam: return 100;
    default: return UnknownTemperature;
    }
}

int TTempScaleModel::LayoutHeight(int formHeight) { return std::max(formHeight - 2, 420); }

void TTempScaleModel::Resize(int formHeight) {
    ScaleUnit = int(Trunc((LayoutHeight(formHeight) - 20) * 0.025));
    RulerRect = {30, 10, 51, 10 + 30 * ScaleUnit + 1};
}

bool TTempScaleModel::ChooseLiquid(int liquid) {
    if (Liquid == liquid)
        return false;
    Liquid = liquid;
    if (!Measuring)
        ShownTemperature = LiquidTemperature(liquid);
    return true;
}

bool TTempScaleModel::SetMeasuring(bool beside) {
    if (Measuring == beside)
        return false;
    Measuring = beside;
    Dragging = false;
    if (beside) {
        ThermoX = 0.5;
        ThermoY = 30;
        ShownTemperature = 20;
    } else {
        ThermoX = 9.67;
        ThermoY = 25;
        ShownTemperature = LiquidTemperature(Liquid);
    }
    return true;
}

void TTempScaleModel::Mark() { Marks |= 1u << Liquid; }

bool TTempScaleModel::OverRuler(QPoint pos) const {
    return pos.x() >= RulerRect.Left && pos.x() < RulerRect.Right && pos.y() >= RulerRect.Top &&
           pos.y() < RulerRect.Bottom;
}

bool TTempScaleModel::MouseDown(QPoint pos) {
    if (!Measuring || !OverRuler(pos))
        return false;
    Dragging = true;
    MouseY = pos.y();
    return true;
}

void TTempScaleModel::MouseMove(QPoint pos) {
    MouseY = pos.y();
    // Keep the reading on the ruler while the button is held.
    if (Dragging)
        MouseY = std::clamp(MouseY, RulerRect.Top, RulerRect.Bottom - 1);
}

bool TTempScaleModel::MouseUp() {
    const bool was = Dragging;
    Dragging = false;
    return was;
}

int TTempScaleModel::ZeroY() const { return R(ScaleUnit * ThermoY) + 10; }

int TTempScaleModel::MarkY(int liquid) const {
    return ZeroY() - R(kCmPerDegree * LiquidTemperature(liquid) * ScaleUnit);
}

double TTempScaleModel::MarkReadingCm(int liquid) const {
    return double(RulerZeroY() - MarkY(liquid)) / ScaleUnit;
}

double TTempScaleModel::MagnifierReading() const { return double(RulerRect.Bottom - MouseY) / ScaleUnit; }

void TTempScaleModel::Draw(QImage& target, const QImage& ice) const {
    target.fill(Qt::white);
    QPainter p(&target);
    const int u = ScaleUnit;
    // Ruler.
    QFont small(QStringLiteral("Arial"), 8);
    p.setFont(small);
    const QRect ruler = Corners(RulerRect.Left, RulerRect.Top, RulerRect.Right, RulerRect.Bottom);
    p.fillRect(ruler, kLightYellow);
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(ruler.adjusted(0, 0, -1, -1));
    for (int i = 0; i <= 30; ++i) {
        const int y = 10 + u * i;
        const int end = i % 10 == 0 ? 30 : i % 5 == 0 ? 37 : 44;
        p.drawLine(50, y, end, y);
        if (i % 10 == 0)
            p.drawText(QRect(0, y - 10, 28, 20), Qt::AlignRight | Qt::AlignVCenter, QString::number(30 - i));
    }
    // Beaker.
    const int X = R(u * BeakerX) + 50, Y = R(u * BeakerY) + 10, W = 8 * u, H = 10 * u;
    const int e = R(0.1 * W);
    QPolygon outline;
    outline << QPoint(X, Y) << QPoint(X, Y + H / 5);
    QPolygon corner;
    for (int k = 0; k <= 5; ++k) {
        const double a = k * 18 * std::numbers::pi / 180;
        corner << QPoint(X + e - R(e * std::cos(a)), Y + H + R(e * std::sin(a)) - e);
    }
    outline << corner;
    for (int k = 5; k >= 0; --k)
        outline << QPoint(2 * (X + W / 2) - corner[k].x(), corner[k].y());
    outline << QPoint(X + W, Y + H / 5) << QPoint(X + W, Y);
    QString caption;
    p.save();
    QPainterPath clip;
    clip.addPolygon(QPolygonF(outline));
    clip.closeSubpath();
    p.setClipPath(clip);
    auto water = [&] {
        p.setPen(kSilver);
        p.setBrush(kLightBlue);
        p.drawRect(Corners(X - 1, Y + H / 5, X + W + 1, Y + H).adjusted(0, 0, -1, -1));
    };
    {
        switch (Liquid) {
        case kIce:
            if (!ice.isNull())
                p.drawImage(Corners(X, Y + H / 5, X + W, Y + H), ice);
            caption = QStringLiteral("Melting Ice = 0\u00BAC");
            break;
        case kSteam:
            water();
            p.setPen(Qt::white);
            p.setBrush(Qt::white);
            for (int i = 0; i <= 50; ++i) {
                const int r = i % 5 + 2;
                const int cx = X + SharedRandom().RandomInt(W), cy = Y + H / 5 + SharedRandom().RandomInt(H);
                p.drawEllipse(QPoint(cx, cy), r, r);
            }
            caption = QStringLiteral("Boiling water (steam) = 100\u00BAC");
            break;
        default:
            water();
            caption = QStringLiteral("Water at an unknown temperature");
        }
    }
    p.restore();
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(outline);
    const int lip = R(0.05 * W);
    p.drawLine(X, Y, X - lip, Y - lip);
    p.drawLine(X + W, Y, X + W + lip, Y - lip);
    p.setFont(QFont(QStringLiteral("Comic Sans MS"), 12));
    p.drawText(QRect(X + W / 2 - 200, Y + H + 20, 400, 40), Qt::AlignHCenter | Qt::AlignTop, caption);
    // Thermometer.
    const int w = R(u * 0.5), xc = R(u * ThermoX) + 50, q = ZeroY();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRoundedRect(Corners(xc - w, q - 25 * u, xc + w, q + u + 10), 5, 5);
    p.setBrush(Qt::red);
    p.drawRoundedRect(Corners(xc - w - 1, q + u, xc + w + 1, q + 5 * u), 5, 5);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(Corners(xc - 2, q - R(kCmPerDegree * ShownTemperature * u), xc + 2, q + u + 1), Qt::red);
    p.setPen(kSilver);
    p.drawLine(xc - 2, q + u, xc - 2, q - R(24.5 * u));
    p.drawLine(xc + 2, q + u, xc + 2, q - R(24.5 * u));
    for (int liquid = kIce; liquid <= kUnknown; ++liquid) {
        if (!HasMark(liquid))
            continue;
        const int m = MarkY(liquid);
        p.setPen(Qt::black);
        p.setBrush(kOrange);
        p.drawRect(Corners(xc - w - 1, m - 2, xc + w + 1, m + 2).adjusted(0, 0, -1, -1));
    }
    if (Dragging)
        DrawMagnifier(p, 68, MouseY - 60, MagnifierReading());
    p.setPen(QColor(128, 128, 128));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, target.width() - 1, target.height() - 1);
}

void TTempScaleModel::DrawMagnifier(QPainter& p, int x0, int y0, double r) const {
    const int d = y0 + 60;
    const int k = int(Trunc(r)), f = R(Frac(r) * 50);
    const int z = d + 50 * k + f;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::black);
    p.setBrush(QColor(240, 240, 240));
    p.drawEllipse(QRect(x0, y0, 120, 120));
    QPainterPath lens;
    lens.addEllipse(QRectF(x0, y0, 120, 120));
    p.setClipPath(lens);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(x0, y0, 120, 120), Qt::white);
    p.fillRect(Corners(x0, y0, x0 + 50, z + 1), kLightYellow);
    QFont big(QStringLiteral("Arial"));
    big.setPixelSize(14);
    p.setFont(big);
    p.setPen(Qt::black);
    for (int i = -20; i <= 20; ++i) {
        const int y = d + f - 5 * i;
        if (y > z)
            continue;
        const int end = i % 10 == 0 ? x0 + 20 : i % 5 == 0 ? x0 + 30 : x0 + 40;
        p.drawLine(x0 + 49, y, end, y);
        if (i % 10 == 0) {
            const int label = k + i / 10;
            if (label > 0)
                p.drawText(QRect(x0 - 20, y - 9, 38, 18), Qt::AlignRight | Qt::AlignVCenter, QString::number(label));
        }
    }
    auto level = [&](double t) { return d - R((kCmPerDegree * t - r) * 50); };
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QColor(160, 160, 140));
    p.setBrush(QColor(255, 255, 224));
    const int glassTop = d - R((25 - r) * 50);
    p.drawRoundedRect(Corners(x0 + 52, glassTop, x0 + 101, y0 + 150), 20, 20);
    p.setBrush(Qt::white);
    p.drawRoundedRect(Corners(x0 + 67, glassTop + 10, x0 + 84, y0 + 150), 10, 10);
    p.setRenderHint(QPainter::Antialiasing, false);
    const int liquidTop = level(ShownTemperature);
    if (liquidTop < y0 + 120)
        p.fillRect(Corners(x0 + 68, liquidTop, x0 + 83, y0 + 120), Qt::red);
    for (int liquid = kIce; liquid <= kUnknown; ++liquid) {
        if (!HasMark(liquid))
            continue;
        const int m = level(LiquidTemperature(liquid));
        p.setPen(Qt::black);
        p.setBrush(kOrange);
        p.drawRect(Corners(x0 + 50, m - 2, x0 + 103, m + 2).adjusted(0, 0, -1, -1));
    }
    p.restore();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QColor(128, 128, 128));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRect(x0, y0, 120, 120));
    p.setRenderHint(QPainter::Antialiasing, false);
}

} // namespace quarvel
