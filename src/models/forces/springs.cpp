#include "models/forces/springs.h"

#include "common/random.h"
#include "common/rounding.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

namespace quarvel {

namespace {
// Material constants of the three kinds.
constexpr float kStiffnessDivisor = 30.0f;
constexpr float kBandK1 = 6.0e-6f;
constexpr float kBandMax = 0.3f;
constexpr float kBandLength = 0.05f;

// Parallel springs: the bars joining them and the line hanging from the lower one.
constexpr int kWholeBar = 3, kWholeLine = 5;
constexpr int kZoomedBar = 6, kZoomedLine = 12;

const QColor kRulerYellow(255, 255, 128);
const QColor kFloorGrey(226, 226, 226);
const QColor kHangerGrey(192, 192, 192);
const QColor kBandOrange(255, 128, 0);

int R(double v) { return int(RoundHalfEven(v)); }

// The ruler's font: Arial 8 point on a 96 dpi screen.
QFont RulerFont() {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(11);
    return f;
}

// A zig-zag spring inside the box (x, top, w, h): from the top centre to the
// left edge, then from edge to edge `halfCoils` times, ending at the bottom
// centre.
void DrawCoils(QPainter& p, int x, int top, int w, int h, int halfCoils, double pitch) {
    QPolygonF line;
    line << QPointF(x + w / 2.0, top);
    for (int k = 0; k < halfCoils; ++k) {
        const double y = top + pitch * (k + 0.5);
        if (y > top + h)
            break;
        line << QPointF(k % 2 == 0 ? x : x + w - 1, y);
    }
    line << QPointF(x + w / 2.0, top + h);
    p.setPen(QPen(Qt::black, 1));
    p.drawPolyline(line);
}

void DrawRing(QPainter& p, double cx, double cy, double across) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(cx, cy), across / 2.0, across / 2.0);
    p.restore();
}

// One spring box with its rings.
void DrawSpringBox(QPainter& p, int x, int top, int w, int h, int halfCoils, double pitch, int ring) {
    DrawCoils(p, x, top, w, h, halfCoils, pitch);
    DrawRing(p, x + w / 2.0, top, ring);
    DrawRing(p, x + w / 2.0, top + h, ring);
}

void DrawSunkenEdge(QPainter& p, int w, int h) {
    p.setPen(QColor(128, 128, 128));
    p.drawLine(0, 0, w - 1, 0);
    p.drawLine(0, 0, 0, h - 1);
    p.setPen(QColor(64, 64, 64));
    p.drawLine(1, 1, w - 2, 1);
    p.drawLine(1, 1, 1, h - 2);
    p.setPen(Qt::white);
    p.drawLine(0, h - 1, w - 1, h - 1);
    p.drawLine(w - 1, 0, w - 1, h - 1);
    p.setPen(QColor(212, 208, 200));
    p.drawLine(1, h - 2, w - 2, h - 2);
    p.drawLine(w - 2, 1, w - 2, h - 2);
}
} // namespace

TSpring::TSpring(int height, int width)
    : Width(std::max(width, kMinWidth)), Height(std::max(height, kMinHeight)) {
    Recompute();
}

float TSpring::ExtensionFor(int kind, float load) {
    switch (kind) {
    case kParallel: return load * 0.005f / kStiffnessDivisor;
    case kElastic: return kBandMax * (1.0f - std::exp(-kBandK1 * load * load));
    default: return load * 0.01f / kStiffnessDivisor;
    }
}

void TSpring::Recompute() { Extension = ExtensionFor(Kind, TotalLoad()); }

bool TSpring::AddWeight(int mass) {
    if (TotalMass() > kMaxTotalMass - 1)
        return false;
    TSpringWeight w;
    w.Mass = mass;
    w.Load = float(SharedRandom().RandomNormal(mass, 0.01 * mass));
    Weights.push_back(w);
    Recompute();
    return TotalMass() < kMaxTotalMass;
}

bool TSpring::RemoveWeight() {
    if (!Weights.empty())
        Weights.pop_back();
    Recompute();
    return !Weights.empty();
}

void TSpring::Reset() {
    Weights.clear();
    ScrollOffset = 0;
    Extension = 0;
    Draw();
}

int TSpring::TotalMass() const {
    int total = 0;
    for (const TSpringWeight& w : Weights)
        total += w.Mass;
    return total;
}

float TSpring::TotalLoad() const {
    float total = 0;
    for (const TSpringWeight& w : Weights)
        total += w.Load;
    return total;
}

void TSpring::SetKind(int kind) {
    if (kind == Kind || kind < kSpring || kind > kElastic)
        return;
    Kind = std::uint8_t(kind);
    Recompute();
}

void TSpring::SetSize(int w, int h) {
    w = std::max(w, kMinWidth);
    h = std::max(h, kMinHeight);
    if (w == Width && h == Height)
        return;
    Width = w;
    Height = h;
    Draw();
}

int TSpring::FootY() const {
    if (Zoomed) {
        const int top = 20 - ScrollOffset;
        if (Kind == kElastic)
            return top + R((Extension + kBandLength) * 4000);
        const int length = std::min(R(4000.0 * Extension + 60), 3800);
        return top + length + (Kind == kParallel ? kZoomedBar + kZoomedLine : 0);
    }
    const int ppc = int(Trunc((Height - 20) * 0.01));
    if (Kind == kElastic)
        return 20 + int(R((Extension + kBandLength) * 100)) * ppc;
    const int bottom = std::min(20 + R(1.5 * ppc) + R(100.0 * Extension) * ppc, 20 + 100 * ppc - 20);
    return bottom + (Kind == kParallel ? kWholeBar + kWholeLine : 0);
}

void TSpring::Draw() {
    QImage image(Width, Height, QImage::Format_RGB32);
    if (image.isNull())
        return;
    image.fill(Qt::white);
    if (Zoomed)
        DrawZoomed(image);
    else
        DrawWhole(image);
    QPainter p(&image);
    DrawSunkenEdge(p, Width, Height);
    m_picture = image;
}

void TSpring::DrawWhole(QImage& image) {
    QPainter p(&image);
    PixelsPerCm = int(Trunc((Height - 20) * 0.01));
    const int ppc = PixelsPerCm;
    const int rulerEnd = 20 + 100 * ppc;

    // Ruler.
    p.setFont(RulerFont());
    const QFontMetrics fm(p.font());
    p.setPen(Qt::black);
    p.setBrush(kRulerYellow);
    p.drawRect(30, 20, 51 - 30, rulerEnd + 1 - 20);
    for (int i = 0; i < 100; ++i) {
        const int y = 20 + i * ppc;
        const int left = i % 10 == 0 ? 30 : i % 5 == 0 ? 37 : 44;
        p.drawLine(50, y, left, y);
        if (i % 10 == 0)
            p.drawText(QRect(0, y - fm.height() / 2, 20, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
                       QString::number(i));
    }
    p.drawText(30, 20 - fm.height() + fm.ascent(), QStringLiteral("(cm)"));

    // Spring, springs or band.
    int foot = 0;
    int hangX = 0;
    if (Kind == kElastic) {
        foot = 20 + int(R((Extension + kBandLength) * 100)) * ppc;
        p.setPen(Qt::black);
        p.setBrush(kBandOrange);
        p.drawRect(67, 20, 6, foot - 20);
        DrawRing(p, 70, foot, 8);
        hangX = 70;
    } else {
        const int bottom = std::min(20 + R(1.5 * ppc) + R(100.0 * Extension) * ppc, rulerEnd - 20);
        const int h = bottom - 20;
        const int pitch = std::max(h / Coils, 1);
        DrawSpringBox(p, 60, 20, 20, h, Coils, pitch, 8);
        foot = bottom;
        hangX = 70;
        if (Kind == kParallel) {
            DrawSpringBox(p, 90, 20, 20, h, Coils, pitch, 8);
            p.setPen(Qt::black);
            p.setBrush(Qt::black);
            p.drawRect(60, 20 - kWholeBar, 50, kWholeBar - 1);
            p.drawRect(60, bottom, 50, kWholeBar - 1);
            foot = bottom + kWholeBar + kWholeLine;
            hangX = 85;
            p.drawLine(hangX, bottom + kWholeBar, hangX, foot);
        }
    }

    // Masses.
    if (!Weights.empty()) {
        p.setPen(Qt::NoPen);
        p.setBrush(kHangerGrey);
        p.drawRect(hangX - 1, foot, 3, 15);
        const int n = int(Weights.size());
        const int blockH = n + 2;
        p.setPen(Qt::black);
        p.drawRect(hangX - 10, foot + 21 - blockH, 20, blockH);
    }

    // Floor.
    p.setPen(Qt::black);
    p.setBrush(kFloorGrey);
    p.drawRect(-1, rulerEnd + 1, Width + 1, Height);
}

void TSpring::DrawZoomed(QImage& image) {
    QPainter p(&image);
    const int S = ScrollOffset;
    const int rulerTop = 20 - S;
    const int rulerBottom = rulerTop + 4000;

    // Floor, when the end of the metre is in view.
    if (rulerTop + 4001 < Height) {
        p.setPen(Qt::black);
        p.setBrush(kFloorGrey);
        p.drawRect(-1, rulerTop + 4001, Width + 1, Height);
    }

    // Ruler.
    p.setFont(RulerFont());
    const QFontMetrics fm(p.font());
    const int stripTop = std::max(rulerTop, 0);
    const int stripBottom = std::min(rulerBottom, Height);
    if (stripBottom > stripTop) {
        p.setPen(Qt::black);
        p.setBrush(kRulerYellow);
        p.drawRect(30, stripTop, 41, stripBottom - stripTop);
    }
    p.setPen(Qt::black);
    for (int b = 0; b <= 1000; ++b) {
        const int y = rulerTop + 4 * b;
        if (y < -fm.height() || y >= Height + fm.height())
            continue;
        const int left = b % 10 == 0 ? 50 : b % 5 == 0 ? 60 : 65;
        p.drawLine(70, y, left, y);
        if (b % 10 == 0 && b < 1000)
            p.drawText(QRect(0, y - fm.height() / 2, 25, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
                       QString::number(b / 10));
    }
    p.drawText(30, rulerTop - fm.height() + fm.ascent(), QStringLiteral("(cm)"));

    // Spring, springs or band.
    const int foot = FootY();
    int hangX = 152;
    if (Kind == kElastic) {
        p.setPen(Qt::black);
        p.setBrush(kBandOrange);
        p.drawRect(147, rulerTop, 10, foot - rulerTop);
        DrawRing(p, 152, foot, 10);
    } else {
        const int length = std::min(R(4000.0 * Extension + 60), 3800);
        const double pitch = length / 60.0;
        DrawSpringBox(p, 132, rulerTop, 40, length, 60, pitch, 10);
        if (Kind == kParallel) {
            DrawSpringBox(p, 192, rulerTop, 40, length, 60, pitch, 10);
            p.setPen(Qt::black);
            p.setBrush(Qt::black);
            p.drawRect(132, rulerTop - kZoomedBar, 100, kZoomedBar - 1);
            p.drawRect(132, rulerTop + length, 100, kZoomedBar - 1);
            hangX = 182;
            p.drawLine(hangX, rulerTop + length + kZoomedBar, hangX, foot);
        }
    }
    const bool hooked = Kind == kSpring && !Hook.isNull();

    // Masses: a rod, and slotted masses stacked up from its end.
    if (!Weights.empty()) {
        const int lower = Kind == kSpring ? 7 : 0;
        const int rodTop = foot + 14 + lower;
        const int rodEnd = foot + 150 + lower;
        if (hooked) {
            // The hook at the foot, and the hanger's eye caught in it.
            p.drawImage(hangX - Hook.width() / 2, foot - 2, Hook);
            p.save();
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(QPen(Qt::black, 1.5));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(hangX, rodTop - 2.5), 2.5, 3.5);
            p.restore();
        } else {
            // A short wire from the foot down to the hanger.
            p.setPen(Qt::black);
            p.drawLine(hangX, foot, hangX, rodTop);
        }
        p.setPen(Qt::black);
        p.setBrush(kHangerGrey);
        p.drawRect(hangX - 3, rodTop, 6, rodEnd - rodTop);
        const int n = int(Weights.size());
        for (int k = 0; k < n; ++k) {
            const int bottom = rodEnd - 10 * k;
            const QRect mass(hangX - 60, bottom - 11, 120, 11);
            p.setPen(Qt::black);
            p.setBrush(kHangerGrey);
            p.drawRect(mass);
            // The slot the rod passes through.
            p.setPen(QColor(96, 96, 96));
            p.drawLine(hangX + 4, bottom - 5, hangX + 59, bottom - 5);
        }
        // The rod's foot plate under the stack.
        p.setPen(Qt::black);
        p.setBrush(QColor(160, 160, 160));
        p.drawRect(hangX - 62, rodEnd, 124, 3);
    }
}

} // namespace quarvel
