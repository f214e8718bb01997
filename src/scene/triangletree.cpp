#include "scene/triangletree.h"

#include "scene/sceneobject.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quarvel {

namespace {
constexpr std::uint32_t kLeafSize = 6;

// Whether o + t d meets the box for some t in [0, limit), and from where.
bool MeetsBox(const QVector3D& o, const QVector3D& d, const QVector3D& lo, const QVector3D& hi, float limit,
              float& entry) {
    float near = 0, far = limit;
    for (int k = 0; k < 3; ++k) {
        // Slack keeps triangles lying in a box face from being missed.
        const float eps = 1e-5f * std::max(1.0f, hi[k] - lo[k]);
        if (std::abs(d[k]) < 1e-20f) {
            if (o[k] < lo[k] - eps || o[k] > hi[k] + eps)
                return false;
            continue;
        }
        float t1 = (lo[k] - eps - o[k]) / d[k], t2 = (hi[k] + eps - o[k]) / d[k];
        if (t1 > t2)
            std::swap(t1, t2);
        near = std::max(near, t1);
        far = std::min(far, t2);
        if (near > far)
            return false;
    }
    entry = near;
    return true;
}

std::optional<float> HitTriangle(const QVector3D& o, const QVector3D& d, const QVector3D& a, const QVector3D& b,
                                 const QVector3D& c) {
    const QVector3D e1 = b - a, e2 = c - a;
    const QVector3D p = QVector3D::crossProduct(d, e2);
    const float det = QVector3D::dotProduct(e1, p);
    if (std::abs(det) < 1e-12f)
        return std::nullopt;
    const float f = 1 / det;
    const QVector3D s = o - a;
    const float u = f * QVector3D::dotProduct(s, p);
    if (u < 0 || u > 1)
        return std::nullopt;
    const QVector3D q = QVector3D::crossProduct(s, e1);
    const float v = f * QVector3D::dotProduct(d, q);
    if (v < 0 || u + v > 1)
        return std::nullopt;
    const float t = f * QVector3D::dotProduct(e2, q);
    if (t > 0)
        return t;
    return std::nullopt;
}
} // namespace

std::optional<float> NearestTriangle(const QVector3D& o, const QVector3D& d, const TMesh& mesh, std::uint32_t first,
                                     std::uint32_t count, float limit) {
    float best = limit;
    for (std::size_t i = first; i + 2 < std::size_t(first) + count; i += 3)
        if (const auto t = HitTriangle(o, d, mesh.Positions[mesh.Indices[i]], mesh.Positions[mesh.Indices[i + 1]],
                                       mesh.Positions[mesh.Indices[i + 2]]);
            t && *t < best)
            best = *t;
    if (best < limit)
        return best;
    return std::nullopt;
}

TTriangleTree::TTriangleTree(const TMesh& mesh) {
    const auto triangles = std::uint32_t(mesh.Indices.size() / 3);
    if (triangles == 0)
        return;
    std::vector<QVector3D> centres(triangles);
    m_order.resize(triangles);
    for (std::uint32_t t = 0; t < triangles; ++t) {
        m_order[t] = t;
        centres[t] = (mesh.Positions[mesh.Indices[3 * t]] + mesh.Positions[mesh.Indices[3 * t + 1]] +
                      mesh.Positions[mesh.Indices[3 * t + 2]]) / 3;
    }
    m_nodes.reserve(2 * triangles / kLeafSize + 2);
    Build(mesh, centres, 0, triangles);
}

std::uint32_t TTriangleTree::Build(const TMesh& mesh, std::vector<QVector3D>& centres, std::uint32_t first,
                                   std::uint32_t count) {
    const auto self = std::uint32_t(m_nodes.size());
    m_nodes.emplace_back();
    QVector3D lo(std::numeric_limits<float>::max(), std::numeric_limits<float>::max(), std::numeric_limits<float>::max());
    QVector3D hi = -lo, clo = lo, chi = hi;
    for (std::uint32_t i = first; i < first + count; ++i) {
        const std::uint32_t t = m_order[i];
        for (int v = 0; v < 3; ++v) {
            const QVector3D& p = mesh.Positions[mesh.Indices[3 * t + v]];
            for (int k = 0; k < 3; ++k)
                lo[k] = std::min(lo[k], p[k]), hi[k] = std::max(hi[k], p[k]);
        }
        for (int k = 0; k < 3; ++k)
            clo[k] = std::min(clo[k], centres[t][k]), chi[k] = std::max(chi[k], centres[t][k]);
    }
    m_nodes[self].Lo = lo;
    m_nodes[self].Hi = hi;
    const QVector3D extent = chi - clo;
    const int axis = extent.x() >= extent.y() && extent.x() >= extent.z() ? 0 : extent.y() >= extent.z() ? 1 : 2;
    if (count <= kLeafSize || extent[axis] <= 0) {
        m_nodes[self].First = first;
        m_nodes[self].Count = count;
        return self;
    }
    // Half the triangles each side of the median centre on the longest axis.
    const std::uint32_t half = count / 2;
    std::nth_element(m_order.begin() + first, m_order.begin() + first + half, m_order.begin() + first + count,
                     [&](std::uint32_t a, std::uint32_t b) { return centres[a][axis] < centres[b][axis]; });
    const std::uint32_t left = Build(mesh, centres, first, half);
    const std::uint32_t right = Build(mesh, centres, first + half, count - half);
    m_nodes[self].First = left;
    m_nodes[self].Right = right;
    m_nodes[self].Count = 0;
    return self;
}

std::optional<float> TTriangleTree::Nearest(const TMesh& mesh, const QVector3D& o, const QVector3D& d,
                                            float limit) const {
    if (m_nodes.empty())
        return std::nullopt;
    float best = limit;
    float entry = 0;
    if (!MeetsBox(o, d, m_nodes[0].Lo, m_nodes[0].Hi, best, entry))
        return std::nullopt;
    std::vector<std::pair<std::uint32_t, float>> stack{{0, entry}};
    stack.reserve(64);
    while (!stack.empty()) {
        const auto [index, from] = stack.back();
        stack.pop_back();
        if (from >= best)
            continue;
        const TNode& node = m_nodes[index];
        if (node.Count > 0) {
            for (std::uint32_t i = node.First; i < node.First + node.Count; ++i) {
                const std::uint32_t t = m_order[i];
                if (const auto hit = HitTriangle(o, d, mesh.Positions[mesh.Indices[3 * t]],
                                                 mesh.Positions[mesh.Indices[3 * t + 1]],
                                                 mesh.Positions[mesh.Indices[3 * t + 2]]);
                    hit && *hit < best)
                    best = *hit;
            }
            continue;
        }
        float tl = 0, tr = 0;
        const bool l = MeetsBox(o, d, m_nodes[node.First].Lo, m_nodes[node.First].Hi, best, tl);
        const bool r = MeetsBox(o, d, m_nodes[node.Right].Lo, m_nodes[node.Right].Hi, best, tr);
        // The nearer child last, so it is taken first.
        if (l && r) {
            if (tl < tr) {
                stack.emplace_back(node.Right, tr);
                stack.emplace_back(node.First, tl);
            } else {
                stack.emplace_back(node.First, tl);
                stack.emplace_back(node.Right, tr);
            }
        } else if (l) {
            stack.emplace_back(node.First, tl);
        } else if (r) {
            stack.emplace_back(node.Right, tr);
        }
    }
    if (best < limit)
        return best;
    return std::nullopt;
}

} // namespace quarvel
