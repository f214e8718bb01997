#include "models/electromagnetism/emagnet.h"

#include "common/random.h"
#include "common/rounding.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <tuple>

namespace quarvel {

namespace {
constexpr double kPi = 3.14159265358979323846;
const QColor kGrey(127, 127, 127), kDarkGrey(63, 63, 63), kLightBlue(192, 225, 255), kNailGrey(240, 240, 240),
    kPaleYellow(255, 255, 128);

// The dial's 26 directions, i x 2 pi / 26 (0 at the right, anticlockwise).
std::array<QPointF, 27> DialTable() {
    std::array<QPointF, 27> t;
    for (int i = 0; i <= 26; ++i)
        t[std::size_t(i)] = {std::cos(i * 2 * kPi / 26), std::sin(i * 2 * kPi / 26)};
    return t;
}
} // namespace

TEMagnet::TEMagnet() {
    NailShape = {QPointF(-1.2, 0), QPointF(-0.4, 0.4), QPointF(0, 4), QPointF(0.4, 0.4), QPointF(1.2, 0)};
    PickNailCount();
    ScatterNails();
}

QString TEMagnet::AmmeterText(int voltage) { return QStringLiteral("%1 A").arg(voltage / 2.4, 0, 'f', 1); }
QString TEMagnet::AmmeterText() const { return AmmeterText(Voltage); }

void TEMagnet::PickNailCount() {
    if (Voltage < 0.1) {
        NailCount = 0;
        return;
    }
    const float mean = float(Turns * 0.083333 * Voltage);
    const float g = float(SharedRandom().RandomNormal(mean, 5));
    NailCount = std::max(0, int(RoundHalfEven(g)));
}

void TEMagnet::ScatterNails() {
    Nails.assign(std::size_t(NailCount), {});
    TRandom& rnd = SharedRandom();
    for (TNail& nail : Nails) {
        const double r = rnd.RandomReal();
        const int c = rnd.RandomInt(180);
        const double phi = (90 - c) * kPi / 180, cs = std::cos(phi), sn = std::sin(phi);
        const double d = 8 * r;
        for (std::size_t i = 0; i < nail.size(); ++i) {
            const QPointF q = NailShape[i];
            nail[i] = QPointF(q.x() * cs + q.y() * sn + d, q.y() * cs - q.x() * sn);
        }
    }
}

void TEMagnet::SetTurns(int turns) {
    Turns = turns;
    PickNailCount();
    ScatterNails();
}

void TEMagnet::SetVoltage(int voltage) {
    Voltage = voltage;
    PickNailCount();
    ScatterNails();
}

void TEMagnet::Add() {
    if (Stage != 0)
        return;
    for (int d = 69; d >= 54; --d) {
        DishTop = d;
        if (Frame)
            Frame();
    }
    Stage = 1;
    for (int d = 54; d <= 69; ++d) {
        DishTop = d;
        if (Frame)
            Frame();
    }
    Controls = {false, true, true, false, false};
}

void TEMagnet::Count() {
    if (Stage != 1)
        return;
    Stage = 2;
    Controls.Count = false;
    Controls.Reset = true;
}

void TEMagnet::Reset() {
    if (Stage == 0)
        return;
    Controls = {true, false, false, true, true};
    PickNailCount();
    ScatterNails();
    Stage = 0;
}

QPointF TEMagnet::CountedNailPosition(int k) {
    const int block = k / 100, row = (k % 100) / 10, col = k % 10;
    return {25 + 3.0 * col + 32.0 * block, 30 + 5.0 * row};
}

const QImage& TEMagnet::CoreTexture() {
    static const QImage texture = [] {
        QImage img(32, 64, QImage::Format_RGB32);
        QPainter p(&img);
        QLinearGradient g(0, 0, 32, 0);
        g.setColorAt(0, QColor(70, 70, 74));
        g.setColorAt(0.66, QColor(255, 255, 255));
        g.setColorAt(1, QColor(140, 140, 145));
        p.fillRect(img.rect(), g);
        return img;
    }();
    return texture;
}

const QImage& TEMagnet::NailHeap() {
    static const QImage heap = [] {
        QImage img(130, 50, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(kGrey, 1));
        p.setBrush(QColor(215, 215, 215));
        // A heap: nails lying every way, more of them towards the middle.
        TRandom rnd; // a fixed heap, not drawn from the shared generator
        rnd.SetSeed(7);
        for (int i = 0; i < 90; ++i) {
            const double x = 8 + 114 * rnd.RandomReal();
            const double top = 44 - 36 * std::sin(kPi * (x - 8) / 114);
            const double y = top + (48 - top) * rnd.RandomReal();
            const double phi = 2 * kPi * rnd.RandomReal();
            const double cs = std::cos(phi), sn = std::sin(phi);
            const QPointF shape[5] = {{-3.6, 0}, {-1.2, 1.2}, {0, 14}, {1.2, 1.2}, {3.6, 0}};
            QPolygonF poly;
            for (const QPointF& q : shape)
                poly << QPointF(x + q.x() * cs - (q.y() - 7) * sn, y + q.x() * sn + (q.y() - 7) * cs);
            p.drawPolygon(poly);
        }
        return img;
    }();
    return heap;
}

double TEMagnet::ScaleFor(int width, int height) const {
    const double need = Stage == 2 && NailCount > 100 ? 87 : 57;
    return std::min(height * 0.0125, width / need);
}

QImage TEMagnet::Draw(int width, int height) const {
    // An empty picture (before the panel is laid out) has nothing to draw on,
    // and a zero scale would ask for zero-sized fonts.
    const double s = ScaleFor(width, height);
    if (width <= 0 || height <= 0 || s <= 0)
        return {};
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    auto pt = [s](double x, double y) { return QPointF(x * s, y * s); };
    auto rect = [&](double l, double t, double r, double b) { return QRectF(pt(l, t), pt(r, b)); };

    // Ammeter: a grey case with a white window and the reading.
    {
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        path.addRoundedRect(rect(19, 2, 34, 22), 1.5 * s, 1.5 * s);
        const QRectF window(pt(20.5, 3.5), QPointF(32.5 * s, 3.5 * s + double(RoundHalfEven(5 * s))));
        path.addRect(window);
        p.setPen(QPen(kDarkGrey, 1));
        p.setBrush(kGrey);
        p.drawPath(path);
        QFont font(QStringLiteral("arial"));
        font.setBold(true);
        font.setPixelSize(std::max(1, int(RoundHalfEven(4 * s))));
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(window, Qt::AlignCenter, AmmeterText());
    }
    // Supply: a light blue case with the knob in a round hole, the scale 0..12 V.
    {
        static const std::array<QPointF, 27> dial = DialTable();
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        path.addRoundedRect(rect(36, 2, 56, 24), 2 * s, 2 * s);
        QPolygonF hole;
        for (int i = 0; i < 26; ++i)
            hole << pt(46 + 5 * dial[std::size_t(i)].x(), 11 - 5 * dial[std::size_t(i)].y());
        path.addPolygon(hole);
        path.closeSubpath();
        p.setPen(QPen(kGrey, 1));
        p.setBrush(kLightBlue);
        p.drawPath(path);
        QPolygonF knob;
        for (int i = 0; i < 26; ++i) {
            const double r = i == 2 * Voltage ? 5.8 : 4;
            knob << pt(46 + r * dial[std::size_t(i)].x(), 11 - r * dial[std::size_t(i)].y());
        }
        p.setBrush(kNailGrey);
        p.drawPolygon(knob);
        QFont font(QStringLiteral("arial"));
        font.setPointSize(std::max(1, int(RoundHalfEven(1.9 * s))));
        p.setFont(font);
        p.setPen(Qt::black);
        const double box = 4 * s;
        for (int j = 0; j <= 12; ++j) {
            const double t = 2 * j * 2 * kPi / 26;
            const QPointF c = pt(46 + 7 * std::cos(t), 11 - 7 * std::sin(t));
            p.drawText(QRectF(c.x() - box, c.y() - box, 2 * box, 2 * box), Qt::AlignCenter, QString::number(j));
        }
        const QPointF v = pt(46, 22);
        p.drawText(QRectF(v.x() - box, v.y() - box, 2 * box, 2 * box), Qt::AlignCenter, QStringLiteral("V"));
    }
    // Core.
    {
        p.setRenderHint(QPainter::Antialiasing, false);
        const QRect core(QPoint(int(RoundHalfEven(6.5 * s)), int(RoundHalfEven(1 * s))),
                         QPoint(int(RoundHalfEven(14.5 * s)) - 1, int(RoundHalfEven(56 * s)) - 1));
        p.drawImage(core, CoreTexture());
        p.setPen(kGrey);
        p.setBrush(Qt::NoBrush);
        p.drawRect(core);
        p.setRenderHint(QPainter::Antialiasing, true);
    }
    // Coil: Turns + 1 red bars, each half a unit above the one before.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 0, 0));
    for (int i = 0; i <= Turns; ++i)
        p.drawRect(rect(CoreLeft - 0.6, 52 - 0.5 * i, CoreLeft + 8.6, 52.3 - 0.5 * i));
    // Dish.
    {
        const QRect heap(QPoint(int(Trunc(2 * s)), int(Trunc((DishTop + 2.46) * s))),
                         QPoint(int(Trunc(19 * s)) - 1, int(Trunc((DishTop + 9) * s)) - 1));
        p.drawImage(heap, NailHeap());
        const double d = DishTop;
        QPolygonF wall;
        for (auto [x, y] : std::initializer_list<std::pair<double, double>>{
                 {1, d}, {1, d + 10}, {20, d + 10}, {20, d}, {19, d}, {19, d + 9}, {2, d + 9}, {2, d}})
            wall << pt(x, y);
        p.setPen(Qt::NoPen);
        p.setBrush(kLightBlue);
        p.drawPolygon(wall);
        p.setPen(QPen(kGrey, 1));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(wall);
    }
    // Terminals.
    p.setBrush(kPaleYellow);
    for (auto [x, y, outline] : std::initializer_list<std::tuple<double, double, QColor>>{
             {50, 22, kGrey}, {42, 22, kGrey}, {30, 20, QColor(Qt::black)}, {23, 20, QColor(Qt::black)}}) {
        p.setPen(QPen(outline, 1));
        p.drawEllipse(pt(x, y), 0.75 * s, 0.75 * s);
    }
    // Nails.
    p.setPen(QPen(kGrey, 1));
    p.setBrush(kNailGrey);
    auto drawNail = [&](const TNail& nail, QPointF at) {
        QPolygonF poly;
        for (const QPointF& q : nail)
            poly << pt(at.x() + q.x(), at.y() + q.y());
        p.drawPolygon(poly);
    };
    if (Stage == 1)
        for (const TNail& nail : Nails)
            drawNail(nail, {CoreLeft, 56});
    else if (Stage == 2)
        for (int k = 0; k < NailCount; ++k)
            drawNail(NailShape, CountedNailPosition(k));
    // Wires: supply, coil and ammeter in series.
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    const double top = 52 - Turns / 2.0;
    auto wire = [&](std::initializer_list<QPointF> pts) {
        QPolygonF poly;
        for (const QPointF& q : pts)
            poly << pt(q.x(), q.y());
        p.drawPolyline(poly);
    };
    wire({{14.5, 52}, {20, 52}, {20, 28}, {50, 28}, {50, 22}});
    wire({{23, 20}, {23, 25}, {17, 25}, {17, top}, {14.5, top}});
    wire({{30, 20}, {30, 25}, {42, 25}, {42, 22}});
    // Frame.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(kDarkGrey);
    p.drawRect(0, 0, width - 1, height - 1);
    return img;
}

} // namespace quarvel
