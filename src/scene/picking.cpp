#include "scene/picking.h"

#include "scene/camera.h"
#include "scene/triangletree.h"

#include <algorithm>
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

namespace {
// Where the ray o + t d enters the box, if it meets it ahead of the eye.
std::optional<float> EntersBox(const QVector3D& o, const QVector3D& d, const QVector3D& lo, const QVector3D& hi) {
    float near = 0, far = std::numeric_limits<float>::max();
    for (int k = 0; k < 3; ++k) {
        // A little slack: flat objects have boxes of no thickness.
        const float eps = 1e-5f * std::max(1.0f, hi[k] - lo[k]);
        if (std::abs(d[k]) < 1e-20f) {
            if (o[k] < lo[k] - eps || o[k] > hi[k] + eps)
                return std::nullopt;
            continue;
        }
        float t1 = (lo[k] - eps - o[k]) / d[k], t2 = (hi[k] + eps - o[k]) / d[k];
        if (t1 > t2)
            std::swap(t1, t2);
        near = std::max(near, t1);
        far = std::min(far, t2);
        if (near > far)
            return std::nullopt;
    }
    return near;
}
} // namespace

std::optional<float> RayHitsItem(const TRay& ray, const TDrawItem& item) {
    const TMesh& mesh = item.Object->Geometry();
    if (mesh.Kind != TMesh::TKind::Triangles || mesh.Indices.empty())
        return std::nullopt;
    bool invertible = false;
    const QMatrix4x4 inv = item.Matrix.inverted(&invertible);
    if (!invertible)
        return std::nullopt;
    // In the object's frame, where the triangles are. The matrix is affine,
    // so a point's parameter along the ray is the same in both frames and,
    // the world direction being of unit length, is the distance.
    const auto [first, count] = item.Range(mesh);
    return NearestTriangle(inv.map(ray.Origin), inv.mapVector(ray.Direction), mesh, first, count,
                           std::numeric_limits<float>::max());
}

namespace {
// Meshes of more triangles than this are searched through their tree.
constexpr std::size_t kTreeFromTriangles = 48;
} // namespace

TPickResult Pick(TSceneObject* root, const TMaterialLibrary* library, const TViewport& view, QPointF pixel,
                 int square) {
    std::vector<TDrawItem> items;
    CollectDrawItems(root, library, items);
    std::vector<TRay> rays;
    const int half = std::max(0, square / 2);
    for (int dy = -half; dy <= half; ++dy)
        for (int dx = -half; dx <= half; ++dx)
            rays.push_back(view.ScreenRay(pixel + QPointF(dx, dy)));

    const TRay& middle = rays[rays.size() / 2];
    float originSpread = 0, directionSpread = 0;
    for (const TRay& ray : rays) {
        originSpread = std::max(originSpread, (ray.Origin - middle.Origin).length());
        directionSpread = std::max(directionSpread, (ray.Direction - middle.Direction).length());
    }

    // 1. Bounding volumes. A sphere round each object's box, in the scene,
    //    turns most objects away without inverting their matrix; the box
    //    itself, in the object's frame, gives where a ray could first meet
    //    the object. The face groups of one object are one candidate.
    struct TCandidate {
        const TDrawItem* Item;
        QMatrix4x4 Inverse;
        float Near;
        std::uint64_t Rays; // bit r: ray r enters the box (up to an 8 x 8 square)
    };
    std::vector<TCandidate> candidates;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const TDrawItem& item = items[i];
        if (i > 0 && items[i - 1].Object == item.Object && items[i - 1].Matrix == item.Matrix)
            continue; // another face group of the object just seen
        const TMesh& mesh = item.Object->Geometry();
        if (mesh.Kind != TMesh::TKind::Triangles || mesh.Indices.empty())
            continue;
        const auto& [lo, hi] = item.Object->GeometryBounds();
        const QVector3D centre = item.Matrix.map((lo + hi) / 2);
        const float* m = item.Matrix.constData();
        const float scale = std::max({QVector3D(m[0], m[1], m[2]).length(), QVector3D(m[4], m[5], m[6]).length(),
                                      QVector3D(m[8], m[9], m[10]).length()});
        const float radius = (hi - lo).length() / 2 * scale * 1.0001f + 1e-5f;
        // First against the whole square at once: the middle ray, with the
        // sphere grown by how far the other rays stray from it.
        {
            const QVector3D toCentre = centre - middle.Origin;
            const float along = QVector3D::dotProduct(toCentre, middle.Direction);
            const float grown = radius + originSpread + std::max(0.0f, along + radius) * directionSpread;
            if (toCentre.lengthSquared() - along * along > grown * grown || along + grown < 0)
                continue;
        }
        bool near = false;
        for (const TRay& ray : rays) {
            const QVector3D toCentre = centre - ray.Origin;
            const float along = QVector3D::dotProduct(toCentre, ray.Direction);
            const float off2 = toCentre.lengthSquared() - along * along;
            if (off2 <= radius * radius && along + radius > 0) {
                near = true;
                break;
            }
        }
        if (!near)
            continue;
        bool invertible = false;
        TCandidate c{&item, item.Matrix.inverted(&invertible), std::numeric_limits<float>::max(), 0};
        if (!invertible)
            continue;
        for (std::size_t r = 0; r < rays.size() && r < 64; ++r)
            if (const auto t = EntersBox(c.Inverse.map(rays[r].Origin), c.Inverse.mapVector(rays[r].Direction), lo, hi)) {
                c.Rays |= std::uint64_t(1) << r;
                c.Near = std::min(c.Near, *t);
            }
        if (c.Rays)
            candidates.push_back(c);
    }

    // 2. Triangles, nearest box first; a box that begins beyond the best
    //    hit so far cannot hold a nearer one, nor can any after it.
    std::sort(candidates.begin(), candidates.end(),
              [](const TCandidate& a, const TCandidate& b) { return a.Near < b.Near; });
    TPickResult result;
    result.Candidates = int(candidates.size());
    float best = std::numeric_limits<float>::max();
    for (const TCandidate& c : candidates) {
        if (c.Near >= best || result.Examined == kMaxPickCandidates)
            break;
        ++result.Examined;
        const TMesh& mesh = c.Item->Object->Geometry();
        const TTriangleTree* tree =
            mesh.Indices.size() / 3 > kTreeFromTriangles ? &c.Item->Object->PickTree() : nullptr;
        for (std::size_t r = 0; r < rays.size(); ++r) {
            if (r >= 64 || !(c.Rays & (std::uint64_t(1) << r)))
                continue;
            const TRay& ray = rays[r];
            const QVector3D o = c.Inverse.map(ray.Origin), d = c.Inverse.mapVector(ray.Direction);
            if (const auto t = tree ? tree->Nearest(mesh, o, d, best)
                                    : NearestTriangle(o, d, mesh, 0, std::uint32_t(mesh.Indices.size()), best)) {
                best = *t;
                result.Object = c.Item->PickTarget;
                result.Distance = *t;
                result.Point = ray.Origin + ray.Direction * *t;
            }
        }
    }
    return result;
}

} // namespace quarvel
