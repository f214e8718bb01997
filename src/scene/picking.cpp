#include "scene/picking.h"

#include "scene/camera.h"

#include <cmath>
#include <limits>

namespace quarvel {

TRay TViewport::ScreenRay(QPointF pixel) const {
    const QMatrix4x4 inv = (Camera->ProjectionMatrix(Size, FieldOfView) * Camera->ViewMatrix()).inverted();
    const float nx = float(2 * (pixel.x() + 0.5) / Size.width() - 1);
    const float ny = float(1 - 2 * (pixel.y() + 0.5) / Size.height());
    const QVector3D nearP = inv.map(QVector3D(nx, ny, -1));
    const QVector3D farP = inv.map(QVector3D(nx, ny, 1));
    return {nearP, (farP - nearP).normalized()};
}

std::optional<QPointF> TViewport::Project(const QVector3D& world) const {
    const QVector4D clip = Camera->ProjectionMatrix(Size, FieldOfView) * Camera->ViewMatrix() * QVector4D(world, 1);
    if (clip.w() <= 0)
        return std::nullopt;
    const float nx = clip.x() / clip.w(), ny = clip.y() / clip.w();
    return QPointF((nx + 1) / 2 * Size.width(), (1 - ny) / 2 * Size.height());
}

std::optional<QVector3D> IntersectHorizontalPlane(const TRay& ray, float planeY) {
    if (std::abs(ray.Direction.y()) < 1e-9f)
        return std::nullopt;
    const float t = (planeY - ray.Origin.y()) / ray.Direction.y();
    if (t < 0)
        return std::nullopt;
    return ray.Origin + ray.Direction * t;
}

std::optional<float> RayHitsItem(const TRay& ray, const TDrawItem& item) {
    const TMesh& mesh = item.Object->Geometry();
    if (mesh.Kind != TMesh::TKind::Triangles || mesh.Indices.empty())
        return std::nullopt;
    bool invertible = false;
    const QMatrix4x4 inv = item.Matrix.inverted(&invertible);
    if (!invertible)
        return std::nullopt;
    // In the object's frame, where the triangles are.
    const QVector3D o = inv.map(ray.Origin);
    const QVector3D d = inv.mapVector(ray.Direction);
    float best = std::numeric_limits<float>::max();
    for (std::size_t i = 0; i + 2 < mesh.Indices.size(); i += 3) {
        const QVector3D& a = mesh.Positions[mesh.Indices[i]];
        const QVector3D& b = mesh.Positions[mesh.Indices[i + 1]];
        const QVector3D& c = mesh.Positions[mesh.Indices[i + 2]];
        const QVector3D e1 = b - a, e2 = c - a;
        const QVector3D p = QVector3D::crossProduct(d, e2);
        const float det = QVector3D::dotProduct(e1, p);
        if (std::abs(det) < 1e-12f)
            continue;
        const float f = 1 / det;
        const QVector3D s = o - a;
        const float u = f * QVector3D::dotProduct(s, p);
        if (u < 0 || u > 1)
            continue;
        const QVector3D q = QVector3D::crossProduct(s, e1);
        const float v = f * QVector3D::dotProduct(d, q);
        if (v < 0 || u + v > 1)
            continue;
        const float t = f * QVector3D::dotProduct(e2, q);
        if (t > 0 && t < best)
            best = t;
    }
    if (best == std::numeric_limits<float>::max())
        return std::nullopt;
    // Back to a world distance.
    return (item.Matrix.map(o + d * best) - ray.Origin).length();
}

TPickResult Pick(TSceneObject* root, const TMaterialLibrary* library, const TViewport& view, QPointF pixel,
                 int square) {
    std::vector<TDrawItem> items;
    CollectDrawItems(root, library, items);
    TPickResult result;
    float best = std::numeric_limits<float>::max();
    const int half = square / 2;
    for (int dy = -half; dy <= half; ++dy)
        for (int dx = -half; dx <= half; ++dx) {
            const TRay ray = view.ScreenRay(pixel + QPointF(dx, dy));
            for (const TDrawItem& item : items)
                if (const auto t = RayHitsItem(ray, item); t && *t < best) {
                    best = *t;
                    result = {item.PickTarget, *t, ray.Origin + ray.Direction * *t};
                }
        }
    return result;
}

} // namespace quarvel
