#pragma once
// A bounding-volume tree over a mesh's triangles, so that a ray meets only
// the few triangles near it: picking over meshes of many thousands of
// triangles stays as cheap as over a cube. Built once per geometry and kept
// with it (TSceneObject::PickTree).

#include <QVector3D>
#include <cstdint>
#include <optional>
#include <vector>

namespace quarvel {

struct TMesh;

class TTriangleTree {
public:
    explicit TTriangleTree(const TMesh& mesh);
    // Nearest t in (0, limit) at which o + t d meets a triangle of the mesh
    // the tree was built from (the same mesh, unchanged).
    std::optional<float> Nearest(const TMesh& mesh, const QVector3D& o, const QVector3D& d, float limit) const;

private:
    struct TNode {
        QVector3D Lo, Hi;
        std::uint32_t First = 0; // leaf: first entry in m_order; inner: index of the left child
        std::uint32_t Count = 0; // leaf: number of triangles; inner: 0
        std::uint32_t Right = 0; // inner: index of the right child
    };
    std::uint32_t Build(const TMesh& mesh, std::vector<QVector3D>& centres, std::uint32_t first, std::uint32_t count);
    std::vector<TNode> m_nodes;
    std::vector<std::uint32_t> m_order; // triangle numbers, leaf by leaf
};

// Nearest t in (0, limit) at which o + t d meets a triangle of `mesh` whose
// indices lie in [first, first + count); the plain test of every triangle.
std::optional<float> NearestTriangle(const QVector3D& o, const QVector3D& d, const TMesh& mesh, std::uint32_t first,
                                     std::uint32_t count, float limit);

} // namespace quarvel
