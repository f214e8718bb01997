#include "models/electromagnetism/glscrews.h"

#include "common/rounding.h"
#include "models/electromagnetism/emgeometry.h"

#include <algorithm>
#include <cmath>

namespace quarvel {

using namespace emgeom;

float ScrewCrestRadius(float r, float t, int n, int m, int options, int i) {
    const int half = std::max(1, n / 2);
    float R = r + t;
    if ((options & 4) && i < half)
        R = r + t * float(i) / float(half);
    const int last = n * m;
    if ((options & 8) && i > last - half)
        R = r + t - t / float(half) * float(i - (last - half));
    return std::max(r, R);
}

TScrew::TScrew(float coreRadius, float threadDepth, float pitch, float rootWidth, int segmentsPerTurn, int turns)
    : m_r(coreRadius), m_t(threadDepth), m_p(pitch), m_w(rootWidth), m_n(std::max(1, segmentsPerTurn)),
      m_m(std::max(1, turns)) {}

void TScrew::SetOptions(int flags) {
    if (flags == m_options)
        return;
    m_options = flags;
    GeometryChanged();
}

void TScrew::BuildGeometry(TMesh& mesh) {
    float b1 = m_w / 2, b2 = m_w / 2, d = m_w;
    const float tan15 = std::tan(Rad(15));
    switch (m_form) {
    case 0: break;
    case 1: b1 = 0, d = m_w / 2; break;
    case 2: d = m_w / 2; break;
    default: b1 = m_t * tan15, d = m_w / 2 + m_t * tan15; break;
    }
    const bool crest = m_form == 1 || m_form >= 3;
    const int stations = m_n * m_m;
    auto at = [](float x, float rho, float th) { return QVector3D(x, rho * std::sin(th), rho * std::cos(th)); };
    struct TProfile { QVector3D A, B, C, D; float th; };
    std::vector<TProfile> s;
    s.reserve(std::size_t(stations) + 1);
    for (int i = 0; i <= stations; ++i) {
        const float th = Rad((m_leftHand ? 1.f : -1.f) * float(i) * 360.f / float(m_n));
        const float x = float(i) * m_p / float(m_n);
        const float R = ScrewCrestRadius(m_r, m_t, m_n, m_m, m_options, i);
        s.push_back({at(x, m_r, th), at(x + b1, R, th), at(x + b2, R, th), at(x + d, m_r, th), th});
    }
    for (int i = 0; i < stations; ++i) {
        const TProfile &a = s[std::size_t(i)], &b = s[std::size_t(i) + 1];
        FlatQuad(mesh, a.A, b.A, b.B, a.B);
        FlatQuad(mesh, a.D, a.C, b.C, b.D);
        if (crest) {
            const QVector3D na(0, std::sin(a.th), std::cos(a.th)), nb(0, std::sin(b.th), std::cos(b.th));
            const auto i0 = mesh.Add(a.B, na), i1 = mesh.Add(a.C, na), i2 = mesh.Add(b.C, nb), i3 = mesh.Add(b.B, nb);
            mesh.Triangle(i0, i1, i2);
            mesh.Triangle(i0, i2, i3);
        }
    }
    if (m_options & 1)
        FlatQuad(mesh, s.front().A, s.front().B, s.front().C, s.front().D);
    if (m_options & 2)
        FlatQuad(mesh, s.back().D, s.back().C, s.back().B, s.back().A);
    if (m_options & 16) {
        const int n = std::max(3, m_n);
        for (int i = 0; i < n; ++i) {
            const float a0 = 2 * Pi * float(i) / float(n), a1 = 2 * Pi * float(i + 1) / float(n);
            FlatTriangle(mesh, {-m_r, 0, 0}, at(0, m_r, a1), at(0, m_r, a0));
        }
    }
}

TSlotArcs SlotCylinderArcs(float radius, float slotWidth, int slices) {
    TSlotArcs arcs;
    // A slot wider than the head (or a head of no size) takes the whole top.
    const float ratio = radius > 0 ? std::clamp(slotWidth / (2 * radius), 0.f, 1.f) : 1.f;
    const float a = std::asin(ratio) * 180.f / Pi;
    arcs.HalfAngle = a;
    arcs.EndSegments = std::max<int>(1, int(RoundHalfEven(a * float(slices) / 180.f)));
    arcs.SideSegments = std::max<int>(1, int(RoundHalfEven(float(slices) * (180.f - 2 * a) / 180.f)));
    arcs.AcrossSegments = 2 * arcs.EndSegments;
    return arcs;
}

void TSlotCylinder::SetRadius(float r) {
    if (!(r > 0) || r == m_radius)
        return;
    m_radius = r;
    GeometryChanged();
}

void TSlotCylinder::BuildGeometry(TMesh& mesh) {
    const TSlotArcs arcs = SlotCylinderArcs(m_radius, m_slotWidth, m_slices);
    const float a = arcs.HalfAngle, k = m_radius;
    const float zt = m_height / 2, zb = -m_height / 2, zf = zt - m_slotDepth;
    const float sa = std::sin(Rad(a));
    // The arcs: [from, to, segments, full height].
    struct TArc { float from, to; int n; bool full; };
    const TArc list[] = {{0, a, arcs.EndSegments, false},
                         {a, 180 - a, arcs.SideSegments, true},
                         {180 - a, 180 + a, arcs.AcrossSegments, false},
                         {180 + a, 360 - a, arcs.SideSegments, true},
                         {360 - a, 360, arcs.EndSegments, false}};
    auto P = [k](float deg, float z) { return QVector3D(std::cos(Rad(deg)), std::sin(Rad(deg)), z) * k; };
    for (const TArc& arc : list) {
        const float top = arc.full ? zt : zf;
        for (int i = 0; i < arc.n; ++i) {
            const float d0 = arc.from + (arc.to - arc.from) * float(i) / float(arc.n);
            const float d1 = arc.from + (arc.to - arc.from) * float(i + 1) / float(arc.n);
            const QVector3D n0(std::cos(Rad(d0)), std::sin(Rad(d0)), 0), n1(std::cos(Rad(d1)), std::sin(Rad(d1)), 0);
            const auto i0 = mesh.Add(P(d0, zb), n0), i1 = mesh.Add(P(d1, zb), n1), i2 = mesh.Add(P(d1, top), n1),
                       i3 = mesh.Add(P(d0, top), n0);
            mesh.Triangle(i0, i1, i2);
            mesh.Triangle(i0, i2, i3);
            // Bottom disc.
            mesh.Triangle(mesh.Add(QVector3D(0, 0, zb * k), {0, 0, -1}), mesh.Add(P(d1, zb), {0, 0, -1}),
                          mesh.Add(P(d0, zb), {0, 0, -1}));
            // The raised tops beyond the chords (fan from the chord's middle).
            if (arc.full) {
                const QVector3D c(0, (d0 < 180 ? sa : -sa) * k, zt * k);
                mesh.Triangle(mesh.Add(c, {0, 0, 1}), mesh.Add(P(d0, zt), {0, 0, 1}), mesh.Add(P(d1, zt), {0, 0, 1}));
            }
        }
    }
    const float ca = std::cos(Rad(a));
    // The slot floor between the chords, and its two walls.
    Quad(mesh, QVector3D(-ca, -sa, zf) * k, QVector3D(ca, -sa, zf) * k, QVector3D(ca, sa, zf) * k,
         QVector3D(-ca, sa, zf) * k, {0, 0, 1});
    Quad(mesh, QVector3D(-ca, sa, zf) * k, QVector3D(ca, sa, zf) * k, QVector3D(ca, sa, zt) * k,
         QVector3D(-ca, sa, zt) * k, {0, -1, 0});
    Quad(mesh, QVector3D(ca, -sa, zf) * k, QVector3D(-ca, -sa, zf) * k, QVector3D(-ca, -sa, zt) * k,
         QVector3D(ca, -sa, zt) * k, {0, 1, 0});
}

} // namespace quarvel
