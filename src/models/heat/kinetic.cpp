#include "models/heat/kinetic.h"

#include "common/random.h"
#include "common/rounding.h"

#include <QFont>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace quarvel {

namespace {
const QColor kLightBlue(192, 225, 255);
const QColor kDarkGrey(63, 63, 63);
const QColor kOrange(255, 128, 0);

void ShuffleVelocities(std::vector<TParticle>& ps, int from, int to) {
    for (int i = from; i < to; ++i) {
        const int j = from + SharedRandom().RandomInt(to - from);
        std::swap(ps[i].VX, ps[j].VX);
        std::swap(ps[i].VY, ps[j].VY);
    }
}

QRect ToQRect(const TEdgeRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }
} // namespace

TKineticModel::TKineticModel(int radius) : Radius(radius), Particles(100) {
    for (int k = 0; k < 12; ++k) {
        const double a = k * 2 * std::numbers::pi / 12;
        SinTable[k] = float(std::sin(a));
        CosTable[k] = float(std::cos(a));
    }
    SetDrawingSize(m_size);
}

void TKineticModel::SetDrawingSize(QSize size) {
    m_size = size;
    const int w = size.width(), h = size.height();
    UpperHalf = {0, 0, w, h / 2};
    LowerHalf = {0, h / 2, w, h};
}

int TKineticModel::LiquidColumns() const { return std::max(1, m_size.width() / Pitch()); }

TEdgeRect TKineticModel::ContainerRect(int mode) const {
    const int w = m_size.width(), h = m_size.height(), p = Pitch();
    switch (mode) {
    case kSolid: {
        const int side = 10 * p;
        const int left = int(Div(w - side, 2));
        return {left, h - side - 3, left + side, h - 3};
    }
    case kLiquid: {
        const int height = p * (ParticleCount / LiquidColumns() + 1);
        return {0, h - 3 - height, w, h - 3};
    }
    case kLargeVolume:
        return {20 + 15, 10, w - 20 + 15, h - 10};
    case kSmallVolume: {
        const int side = 10 * (2 * Radius + 10);
        const int left = int(Div(w - side, 2)), top = int(Div(h - side, 2));
        return {left, top, left + side, top + side};
    }
    default: // gas, diffusion
        return {0, 0, w, h};
    }
}

void TKineticModel::LatticePlace(int i, float& x, float& y) const {
    const int p = Pitch();
    x = float(p * (i % 10) + Box.Left + Radius);
    y = float(p * (i / 10) + Box.Top + Radius);
}

void TKineticModel::Direction(int k, TParticle& p) const {
    p.VX = Speed * CosTable[k];
    p.VY = -Speed * SinTable[k];
}

void TKineticModel::PlaceParticles() {
    if (Mode == kDiffusion) {
        PlaceDiffusion();
        return;
    }
    const int n = ParticleCount;
    for (int i = 0; i < n; ++i) {
        TParticle& q = Particles[i];
        q.Kind = 0;
        if (Mode == kSolid) {
            LatticePlace(i, q.X, q.Y);
            continue;
        }
        if (Mode == kLiquid) {
            const int c = LiquidColumns(), p = Pitch();
            q.X = float(p * (i % c) + Box.Left + Radius);
            q.Y = float(p * (i / c) + Box.Top + Radius);
        } else {
            const float fx = Box.Width() / 11.0f, fy = Box.Height() / 11.0f;
            q.X = fx + Box.Left + fx * (i % 10);
            q.Y = fy + Box.Top + fy * (i / 10);
        }
        Direction(i % 12, q);
    }
    if (Mode != kSolid)
        ShuffleVelocities(Particles, 0, n);
}

void TKineticModel::PlaceDiffusion() {
    const int half = ParticleCount / 2;
    const float fx = Box.Width() / 11.0f, fy = Box.Height() / 11.0f;
    for (int i = 0; i < ParticleCount; ++i) {
        TParticle& q = Particles[i];
        const bool second = i >= half;
        const int m = second ? i - half : i;
        q.Kind = second ? 1 : 0;
        q.X = fx + Box.Left + fx * (m % 10);
        q.Y = fy + (second ? LowerHalf.Top : Box.Top) + fy * (m / 10);
        Direction(m % 12, q);
    }
    ShuffleVelocities(Particles, 0, half);
    ShuffleVelocities(Particles, half, ParticleCount);
}

void TKineticModel::MoveRange(int from, int to, const TEdgeRect& walls, float d) {
    const float r = float(Radius), contact = 2.0f * r;
    for (int i = from; i < to; ++i) {
        TParticle& q = Particles[i];
        float x = q.X + q.VX * d, y = q.Y + q.VY * d;
        float vx = q.VX, vy = q.VY;
        if (x < walls.Left + r) {
            vx = -vx;
            x = walls.Left + r;
        }
        if (x > walls.Right - r) {
            vx = -vx;
            x = walls.Right - r;
        }
        if (y < walls.Top + r) {
            vy = -vy;
            y = walls.Top + r;
        }
        if (y > walls.Bottom - r) {
            vy = -vy;
            y = walls.Bottom - r;
        }
        for (int j = from; j < to; ++j) {
            if (j == i)
                continue;
            TParticle& o = Particles[j];
            const float dx = x - o.X, dy = y - o.Y;
            float dist = std::sqrt(dx * dx + dy * dy);
            if (dist < contact) {
                std::swap(vx, o.VX);
                std::swap(vy, o.VY);
                // Two balls on one point have no direction between them.
                if (dist < 0.0001f)
                    dist = 0.0001f;
                x = o.X + contact * dx / dist;
                y = o.Y + contact * dy / dist;
                break;
            }
        }
        q.X = x;
        q.Y = y;
        q.VX = vx;
        q.VY = vy;
    }
}

void TKineticModel::StepParticles(float d) {
    switch (Mode) {
    case kSolid:
        for (int i = 0; i < ParticleCount; ++i) {
            TParticle& q = Particles[i];
            LatticePlace(i, q.X, q.Y);
            const int k = SharedRandom().RandomInt(12);
            q.X += d * CosTable[k];
            q.Y += d * SinTable[k];
        }
        break;
    case kDiffusion:
        if (Barrier)
            StepSeparated(d);
        else
            StepMixed(d);
        break;
    default:
        MoveRange(0, ParticleCount, Box, d);
    }
}

void TKineticModel::StepMixed(float d) { MoveRange(0, ParticleCount, Box, d); }

void TKineticModel::StepSeparated(float d) {
    const int half = ParticleCount / 2;
    MoveRange(0, half, UpperHalf, d);
    MoveRange(half, ParticleCount, LowerHalf, d);
}

double TKineticModel::PressureFraction() const {
    return Temperature / (Mode == kSmallVolume ? 250.0 : 450.0);
}

int TKineticModel::PressureTop(int height) const {
    const int a = height - 10;
    return int(RoundHalfEven(a - a * PressureFraction()));
}

void TKineticModel::DrawPressure(QPainter& p) const {
    const int a = m_size.height() - 10;
    p.fillRect(QRect(QPoint(5, 5), QPoint(24, a - 1)), Qt::white);
    const int top = PressureTop(m_size.height());
    if (top < a)
        p.fillRect(QRect(QPoint(5, top), QPoint(24, a - 1)), kOrange);
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(QPoint(5, 5), QPoint(24, a - 1)).adjusted(0, 0, -1, -1));
    QFont f(QStringLiteral("Arial"), 12);
    f.setBold(true);
    p.setFont(f);
    p.save();
    p.translate(3, a / 2);
    p.rotate(-90); // reads upwards
    p.drawText(QRect(0, 0, 1000, 40), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("pressure"));
    p.restore();
}

void TKineticModel::DrawFrame(QPainter& p) const {
    p.setPen(kDarkGrey);
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, m_size.width() - 1, m_size.height() - 1);
}

void TKineticModel::DrawParticlesInto(QImage& target, const QImage& picture) const {
    target.fill(Qt::white);
    QPainter p(&target);
    if (Mode == kLargeVolume || Mode == kSmallVolume) {
        const QRect box = ToQRect(Box);
        p.fillRect(box, kLightBlue);
        p.setPen(Qt::black);
        p.drawRect(box.adjusted(0, 0, -1, -1));
        DrawPressure(p);
    }
    for (int i = 0; i < ParticleCount; ++i) {
        const TParticle& q = Particles[i];
        p.drawImage(int(RoundHalfEven(q.X)) - Radius, int(RoundHalfEven(q.Y)) - Radius, picture);
    }
    DrawFrame(p);
}

void TKineticModel::DrawDiffusionInto(QImage& target, const QImage& first, const QImage& second) const {
    target.fill(Qt::white);
    QPainter p(&target);
    const int w = m_size.width(), h = m_size.height();
    if (Barrier) {
        p.fillRect(QRect(QPoint(0, h / 2 - 2), QPoint(w - 1, h / 2 + 1)), QColor(127, 127, 127));
        QFont f(QStringLiteral("Arial"), 12);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::black);
        p.drawText(QRect(0, h / 2, w, 40), Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("barrier"));
    }
    for (int i = 0; i < ParticleCount; ++i) {
        const TParticle& q = Particles[i];
        p.drawImage(int(RoundHalfEven(q.X)) - Radius, int(RoundHalfEven(q.Y)) - Radius,
                    q.Kind ? second : first);
    }
    DrawFrame(p);
}

QImage TKineticModel::DrawParticles(const QImage& picture) const {
    QImage img(m_size, QImage::Format_ARGB32_Premultiplied);
    DrawParticlesInto(img, picture);
    return img;
}

QImage TKineticModel::DrawDiffusion(const QImage& first, const QImage& second) const {
    QImage img(m_size, QImage::Format_ARGB32_Premultiplied);
    DrawDiffusionInto(img, first, second);
    return img;
}

int KineticRadius(int screenWidth) { return screenWidth > 800 ? 12 : 8; }

QImage ParticlePicture(int diameter, bool blue) {
    QImage img(diameter, diameter, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor base = blue ? QColor(40, 100, 230) : QColor(235, 80, 20);
    QRadialGradient g(QPointF(diameter * 0.5, diameter * 0.5), diameter * 0.5,
                      QPointF(diameter * 0.35, diameter * 0.32));
    g.setColorAt(0.0, QColor(255, 255, 255));
    g.setColorAt(0.25, base.lighter(130));
    g.setColorAt(0.8, base);
    g.setColorAt(1.0, base.darker(170));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(QRectF(0.5, 0.5, diameter - 1.0, diameter - 1.0));
    return img;
}

} // namespace quarvel
