#include "models/electromagnetism/emgeometry.h"

#include <cmath>

namespace quarvel::emgeom {

void Quad(TMesh& mesh, const QVector3D& a, const QVector3D& b, const QVector3D& c, const QVector3D& d,
          const QVector3D& n, const QVector2D& ta, const QVector2D& tb, const QVector2D& tc, const QVector2D& td) {
    const auto i = mesh.Add(a, n, ta), j = mesh.Add(b, n, tb), k = mesh.Add(c, n, tc), l = mesh.Add(d, n, td);
    mesh.Triangle(i, j, k);
    mesh.Triangle(i, k, l);
}

void FlatQuad(TMesh& mesh, const QVector3D& a, const QVector3D& b, const QVector3D& c, const QVector3D& d) {
    QVector3D n = QVector3D::crossProduct(c - a, d - b).normalized();
    if (n.isNull())
        n = QVector3D::crossProduct(b - a, c - a).normalized();
    Quad(mesh, a, b, c, d, n);
}

void FlatTriangle(TMesh& mesh, const QVector3D& a, const QVector3D& b, const QVector3D& c) {
    const QVector3D n = QVector3D::crossProduct(b - a, c - a).normalized();
    mesh.Triangle(mesh.Add(a, n), mesh.Add(b, n), mesh.Add(c, n));
}

void ConvexPrism(TMesh& mesh, const std::vector<QVector2D>& p, float z0, float z1) {
    const std::size_t n = p.size();
    if (n < 3)
        return;
    const auto front = mesh.Add(QVector3D(p[0], z1), {0, 0, 1});
    for (std::size_t i = 1; i < n; ++i)
        mesh.Add(QVector3D(p[i], z1), {0, 0, 1});
    for (std::size_t i = 1; i + 1 < n; ++i)
        mesh.Triangle(front, front + std::uint32_t(i), front + std::uint32_t(i + 1));
    const auto back = mesh.Add(QVector3D(p[0], z0), {0, 0, -1});
    for (std::size_t i = 1; i < n; ++i)
        mesh.Add(QVector3D(p[i], z0), {0, 0, -1});
    for (std::size_t i = 1; i + 1 < n; ++i)
        mesh.Triangle(back, back + std::uint32_t(i + 1), back + std::uint32_t(i));
    for (std::size_t i = 0; i < n; ++i) {
        const QVector2D a = p[i], b = p[(i + 1) % n];
        const QVector2D e = b - a;
        if (e.lengthSquared() == 0)
            continue;
        const QVector3D out = QVector3D(e.y(), -e.x(), 0).normalized();
        Quad(mesh, QVector3D(a, z0), QVector3D(b, z0), QVector3D(b, z1), QVector3D(a, z1), out);
    }
}

void Ribbon(TMesh& mesh, const std::vector<QVector2D>& line, float thickness, float width) {
    const std::size_t n = line.size();
    if (n < 2)
        return;
    std::vector<QVector2D> left(n), right(n), normal(n);
    for (std::size_t i = 0; i < n; ++i) {
        const QVector2D t = (line[std::min(i + 1, n - 1)] - line[i == 0 ? 0 : i - 1]).normalized();
        normal[i] = QVector2D(t.y(), -t.x()); // right of the line
        right[i] = line[i] + normal[i] * (thickness / 2);
        left[i] = line[i] - normal[i] * (thickness / 2);
    }
    const float z0 = -width / 2, z1 = width / 2;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const QVector3D nr(normal[i], 0), nl(-normal[i], 0);
        Quad(mesh, QVector3D(right[i], z1), QVector3D(right[i], z0), QVector3D(right[i + 1], z0),
             QVector3D(right[i + 1], z1), nr);
        Quad(mesh, QVector3D(left[i], z0), QVector3D(left[i], z1), QVector3D(left[i + 1], z1),
             QVector3D(left[i + 1], z0), nl);
        Quad(mesh, QVector3D(left[i], z1), QVector3D(right[i], z1), QVector3D(right[i + 1], z1),
             QVector3D(left[i + 1], z1), {0, 0, 1});
        Quad(mesh, QVector3D(right[i], z0), QVector3D(left[i], z0), QVector3D(left[i + 1], z0),
             QVector3D(right[i + 1], z0), {0, 0, -1});
    }
    auto cap = [&](std::size_t i, float sign) {
        const QVector2D t = (line[std::min(i + 1, n - 1)] - line[i == 0 ? 0 : i - 1]).normalized() * sign;
        FlatQuad(mesh, QVector3D(left[i], z0), QVector3D(right[i], z0), QVector3D(right[i], z1),
                 QVector3D(left[i], z1));
        (void)t;
    };
    cap(0, -1);
    cap(n - 1, 1);
}

} // namespace quarvel::emgeom
