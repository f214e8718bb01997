#include "scene/primitives.h"

#include <cmath>
#include <numbers>

namespace quarvel {

namespace {
constexpr float kPi = std::numbers::pi_v<float>;
float Rad(float degrees) { return degrees * kPi / 180.0f; }

// Adds a grid of (cols+1) x (rows+1) vertices from `at(u, v)`, u, v in 0..1,
// and its quads as triangles; flip turns the winding over.
template <class F> void Grid(TMesh& mesh, int cols, int rows, F at, bool flip = false) {
    const auto base = std::uint32_t(mesh.Positions.size());
    for (int r = 0; r <= rows; ++r)
        for (int c = 0; c <= cols; ++c) {
            auto [p, n] = at(float(c) / cols, float(r) / rows);
            mesh.Add(p, flip ? -n : n, QVector2D(float(c) / cols, float(r) / rows));
        }
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const std::uint32_t a = base + std::uint32_t(r * (cols + 1) + c), b = a + 1,
                                d = a + std::uint32_t(cols + 1), e = d + 1;
            if (flip) {
                mesh.Triangle(a, e, b);
                mesh.Triangle(a, d, e);
            } else {
                mesh.Triangle(a, b, e);
                mesh.Triangle(a, e, d);
            }
        }
}

// A flat ring round the y axis at height y, facing up (or down). The grid
// of this parametrisation faces down unless flipped.
void YCap(TMesh& mesh, float y, float inner, float outer, int slices, int loops, bool up) {
    Grid(
        mesh, slices, loops,
        [&](float u, float v) {
            const float a = 2 * kPi * u, r = inner + (outer - inner) * v;
            return std::pair{QVector3D(r * std::sin(a), y, r * std::cos(a)), QVector3D(0, -1, 0)};
        },
        up);
}
} // namespace

void TSphere::BuildGeometry(TMesh& mesh) {
    const float lat0 = Rad(m_bottom), lat1 = Rad(m_top), lon0 = Rad(m_start), lon1 = Rad(m_stop);
    Grid(mesh, m_slices, m_stacks, [&](float u, float v) {
        const float lat = lat0 + (lat1 - lat0) * v, lon = lon0 + (lon1 - lon0) * u;
        const QVector3D n(std::cos(lat) * std::sin(lon), std::sin(lat), std::cos(lat) * std::cos(lon));
        return std::pair{n * m_radius, n};
    });
}

void TCube::BuildGeometry(TMesh& mesh) {
    const QVector3D h = m_size / 2;
    struct TFace {
        int Part;
        QVector3D N, U, V; // normal, and the two edge directions (u x v = n)
    };
    const TFace faces[] = {{Front, {0, 0, 1}, {1, 0, 0}, {0, 1, 0}},  {Back, {0, 0, -1}, {-1, 0, 0}, {0, 1, 0}},
                           {Right, {1, 0, 0}, {0, 0, -1}, {0, 1, 0}}, {Left, {-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
                           {Top, {0, 1, 0}, {1, 0, 0}, {0, 0, -1}},   {Bottom, {0, -1, 0}, {1, 0, 0}, {0, 0, 1}}};
    for (const TFace& f : faces) {
        if (!(m_parts & f.Part))
            continue;
        const QVector3D c = f.N * h, u = f.U * h, v = f.V * h;
        const auto a = mesh.Add(c - u - v, f.N, {0, 0}), b = mesh.Add(c + u - v, f.N, {1, 0}),
                   d = mesh.Add(c + u + v, f.N, {1, 1}), e = mesh.Add(c - u + v, f.N, {0, 1});
        mesh.Triangle(a, b, d);
        mesh.Triangle(a, d, e);
    }
}

void TCylinder::BuildGeometry(TMesh& mesh) {
    const float y0 = -m_height / 2, y1 = m_height / 2;
    if (m_parts & Sides) {
        // The side's slope tilts the normals of a cone.
        const float slope = m_height > 0 ? (m_bottom - m_top) / m_height : 0;
        Grid(
            mesh, m_slices, m_stacks,
            [&](float u, float v) {
                const float a = 2 * kPi * u, r = m_bottom + (m_top - m_bottom) * v;
                const QVector3D n = QVector3D(std::sin(a), slope, std::cos(a)).normalized();
                return std::pair{QVector3D(r * std::sin(a), y0 + m_height * v, r * std::cos(a)), n};
            },
            m_inward);
    }
    if ((m_parts & TopCap) && m_top > 0)
        YCap(mesh, y1, 0, m_top, m_slices, m_loops, !m_inward);
    if ((m_parts & BottomCap) && m_bottom > 0)
        YCap(mesh, y0, 0, m_bottom, m_slices, m_loops, m_inward);
}

void TDisk::BuildGeometry(TMesh& mesh) {
    // This parametrisation faces -z; flipped, it faces +z.
    Grid(
        mesh, m_slices, m_loops,
        [&](float u, float v) {
            const float a = Rad(m_start + m_sweep * u), r = m_inner + (m_outer - m_inner) * v;
            return std::pair{QVector3D(r * std::cos(a), r * std::sin(a), 0), QVector3D(0, 0, -1)};
        },
        true);
}

void TAnnulus::BuildGeometry(TMesh& mesh) {
    const float y0 = -m_height / 2;
    auto wall = [&](float rb, float rt, bool outward) {
        const float slope = m_height > 0 ? (rb - rt) / m_height : 0;
        Grid(
            mesh, m_slices, 1,
            [&](float u, float v) {
                const float a = 2 * kPi * u, r = rb + (rt - rb) * v;
                return std::pair{QVector3D(r * std::sin(a), y0 + m_height * v, r * std::cos(a)),
                                 QVector3D(std::sin(a), slope, std::cos(a)).normalized()};
            },
            !outward);
    };
    if (m_parts & Outer)
        wall(m_bo, m_to, true);
    if (m_parts & Inner)
        wall(m_bi, m_ti, false);
    if (m_parts & TopFace)
        YCap(mesh, -y0, m_ti, m_to, m_slices, 1, true);
    if (m_parts & BottomFace)
        YCap(mesh, y0, m_bi, m_bo, m_slices, 1, false);
}

void TTorus::BuildGeometry(TMesh& mesh) {
    Grid(mesh, m_rings, m_sides, [&](float u, float v) {
        const float a = 2 * kPi * u, b = 2 * kPi * v;
        const QVector3D centre(m_major * std::cos(a), m_major * std::sin(a), 0);
        const QVector3D n(std::cos(b) * std::cos(a), std::cos(b) * std::sin(a), std::sin(b));
        return std::pair{centre + n * m_minor, n};
    });
}

void TPlane::BuildGeometry(TMesh& mesh) {
    const QVector3D n(0, 0, 1);
    const auto a = mesh.Add({-m_w / 2, -m_h / 2, 0}, n, {0, 0}), b = mesh.Add({m_w / 2, -m_h / 2, 0}, n, {m_tx, 0}),
               c = mesh.Add({m_w / 2, m_h / 2, 0}, n, {m_tx, m_ty}), d = mesh.Add({-m_w / 2, m_h / 2, 0}, n, {0, m_ty});
    mesh.Triangle(a, b, c);
    mesh.Triangle(a, c, d);
}

void TLines::BuildGeometry(TMesh& mesh) {
    mesh.Kind = Mode == TMode::Segments ? TMesh::TKind::Lines
                : Mode == TMode::Loop   ? TMesh::TKind::LineLoop
                                        : TMesh::TKind::LineStrip;
    for (std::size_t i = 0; i < Nodes.size(); ++i)
        mesh.Indices.push_back(mesh.Add(Nodes[i]));
}

void TPoints::BuildGeometry(TMesh& mesh) {
    mesh.Kind = TMesh::TKind::Points;
    for (std::size_t i = 0; i < Positions.size(); ++i) {
        mesh.Indices.push_back(mesh.Add(Positions[i]));
        const QColor c = Colors.empty() ? QColor(Qt::white) : Colors[std::min(i, Colors.size() - 1)];
        mesh.Colors.emplace_back(c.redF(), c.greenF(), c.blueF(), c.alphaF());
    }
}

} // namespace quarvel
