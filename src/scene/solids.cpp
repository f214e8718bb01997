#include "scene/solids.h"

#include "common/contentpath.h"
#include "scene/primitives.h"

#include <GL/glu.h>
#include <QFileInfo>
#include <assimp/Exporter.hpp>
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <cmath>
#include <deque>
#include <numbers>

namespace quarvel {

namespace {
constexpr float kPi = std::numbers::pi_v<float>;

struct TTessState {
    std::deque<std::array<GLdouble, 3>> Storage; // stable addresses for the tessellator
    std::vector<QVector2D> Out;
    bool Failed = false;
};

void TessVertex(void* vertex, void* user) {
    auto* v = static_cast<GLdouble*>(vertex);
    static_cast<TTessState*>(user)->Out.emplace_back(float(v[0]), float(v[1]));
}
void TessCombine(GLdouble coords[3], void*[4], GLfloat[4], void** out, void* user) {
    auto* s = static_cast<TTessState*>(user);
    s->Storage.push_back({coords[0], coords[1], coords[2]});
    *out = s->Storage.back().data();
}
void TessEdgeFlag(GLboolean, void*) {} // asks for plain triangles
void TessBegin(GLenum, void*) {}
void TessEnd(void*) {}
void TessError(GLenum, void* user) { static_cast<TTessState*>(user)->Failed = true; }

// Contour orientation: outer ones counter-clockwise, holes clockwise.
std::vector<TContour> Oriented(const std::vector<TContour>& contours) {
    std::vector<TContour> out;
    for (std::size_t i = 0; i < contours.size(); ++i) {
        if (contours[i].size() < 3)
            continue;
        int depth = 0;
        for (std::size_t j = 0; j < contours.size(); ++j)
            if (j != i && InsideContours({contours[j]}, contours[i].front()))
                ++depth;
        TContour c = contours[i];
        const bool hole = depth % 2 == 1;
        if ((SignedArea2(c) > 0) == hole)
            std::reverse(c.begin(), c.end());
        out.push_back(std::move(c));
    }
    return out;
}
} // namespace

float SignedArea2(const TContour& c) {
    float a = 0;
    for (std::size_t i = 0; i < c.size(); ++i) {
        const QVector2D& p = c[i];
        const QVector2D& q = c[(i + 1) % c.size()];
        a += p.x() * q.y() - q.x() * p.y();
    }
    return a;
}

bool InsideContours(const std::vector<TContour>& contours, const QVector2D& p) {
    bool inside = false;
    for (const TContour& c : contours)
        for (std::size_t i = 0, j = c.size() - 1; i < c.size(); j = i++) {
            const QVector2D &a = c[i], &b = c[j];
            if ((a.y() > p.y()) != (b.y() > p.y()) &&
                p.x() < (b.x() - a.x()) * (p.y() - a.y()) / (b.y() - a.y()) + a.x())
                inside = !inside;
        }
    return inside;
}

std::vector<QVector2D> TriangulateContours(const std::vector<TContour>& contours) {
    TTessState state;
    GLUtesselator* tess = gluNewTess();
    if (!tess)
        return {};
    using TCallback = _GLUfuncptr;
    gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<TCallback>(&TessBegin));
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<TCallback>(&TessVertex));
    gluTessCallback(tess, GLU_TESS_END_DATA, reinterpret_cast<TCallback>(&TessEnd));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<TCallback>(&TessCombine));
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<TCallback>(&TessEdgeFlag));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<TCallback>(&TessError));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_ODD);
    gluTessNormal(tess, 0, 0, 1);
    gluTessBeginPolygon(tess, &state);
    for (const TContour& c : contours) {
        if (c.size() < 3)
            continue;
        gluTessBeginContour(tess);
        for (const QVector2D& p : c) {
            state.Storage.push_back({p.x(), p.y(), 0});
            gluTessVertex(tess, state.Storage.back().data(), state.Storage.back().data());
        }
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);
    if (state.Failed)
        return {};
    state.Out.resize(state.Out.size() / 3 * 3);
    return state.Out;
}

void TPolygonFace::BuildGeometry(TMesh& mesh) {
    const std::vector<QVector2D> tris = TriangulateContours(m_contours);
    for (std::size_t i = 0; i + 2 < tris.size(); i += 3) {
        const auto a = mesh.Add(QVector3D(tris[i], 0), {0, 0, 1}, tris[i]);
        const auto b = mesh.Add(QVector3D(tris[i + 1], 0), {0, 0, 1}, tris[i + 1]);
        const auto c = mesh.Add(QVector3D(tris[i + 2], 0), {0, 0, 1}, tris[i + 2]);
        mesh.Triangle(a, b, c);
    }
}

void TExtrusionSolid::BuildGeometry(TMesh& mesh) {
    const std::vector<TContour> contours = Oriented(m_contours);
    if (m_parts & Outside) {
        const float cosCrease = std::cos(m_crease * kPi / 180);
        for (const TContour& c : contours) {
            const std::size_t n = c.size();
            auto edgeNormal = [&](std::size_t i) {
                const QVector2D d = c[(i + 1) % n] - c[i];
                return QVector2D(d.y(), -d.x()).normalized();
            };
            // Normal at vertex i for the wall of edge `edge` (i-1 -> i or i -> i+1).
            auto vertexNormal = [&](std::size_t i, std::size_t edge) {
                const QVector2D before = edgeNormal((i + n - 1) % n), after = edgeNormal(i);
                if (QVector2D::dotProduct(before, after) >= cosCrease)
                    return (before + after).normalized(); // smooth across this corner
                return edgeNormal(edge);
            };
            float along = 0;
            for (std::size_t i = 0; i < n; ++i) {
                const std::size_t j = (i + 1) % n;
                const float len = (c[j] - c[i]).length();
                if (len < 1e-9f)
                    continue;
                const QVector2D ni = vertexNormal(i, i), nj = vertexNormal(j, i);
                const auto a = mesh.Add(QVector3D(c[i], 0), QVector3D(ni, 0), {along, 0});
                const auto b = mesh.Add(QVector3D(c[j], 0), QVector3D(nj, 0), {along + len, 0});
                const auto d = mesh.Add(QVector3D(c[j], m_depth), QVector3D(nj, 0), {along + len, m_depth});
                const auto e = mesh.Add(QVector3D(c[i], m_depth), QVector3D(ni, 0), {along, m_depth});
                mesh.Triangle(a, b, d);
                mesh.Triangle(a, d, e);
                along += len;
            }
        }
    }
    if (m_parts & (Start | Stop)) {
        const std::vector<QVector2D> tris = TriangulateContours(contours);
        for (int side : {Start, Stop}) {
            if (!(m_parts & side))
                continue;
            const float z = side == Stop ? m_depth : 0;
            const QVector3D n(0, 0, side == Stop ? 1.f : -1.f);
            for (std::size_t i = 0; i + 2 < tris.size(); i += 3) {
                const auto a = mesh.Add(QVector3D(tris[i], z), n, tris[i]);
                const auto b = mesh.Add(QVector3D(tris[i + 1], z), n, tris[i + 1]);
                const auto c = mesh.Add(QVector3D(tris[i + 2], z), n, tris[i + 2]);
                if (side == Stop)
                    mesh.Triangle(a, b, c);
                else
                    mesh.Triangle(a, c, b);
            }
        }
    }
}

void TRevolutionSolid::BuildGeometry(TMesh& mesh) {
    const std::size_t n = m_profile.size();
    if (n < 2)
        return;
    // Profile normals in the (r, y) plane, averaged at the joints.
    std::vector<QVector2D> normals(n);
    for (std::size_t j = 0; j < n; ++j) {
        const QVector2D t = m_profile[std::min(j + 1, n - 1)] - m_profile[j == 0 ? 0 : j - 1];
        normals[j] = QVector2D(t.y(), -t.x()).normalized();
    }
    const float sweep = m_stop - m_start;
    for (int pass = 0; pass < 2; ++pass) {
        const bool inner = pass == 1;
        if (!(m_parts & (inner ? InnerFaces : Outer)))
            continue;
        const auto base = std::uint32_t(mesh.Positions.size());
        for (std::size_t j = 0; j < n; ++j)
            for (int k = 0; k <= m_slices; ++k) {
                const float u = float(k) / m_slices, degrees = m_start + sweep * u;
                const float a = degrees * kPi / 180;
                const float r = m_profile[j].x();
                const float y = m_profile[j].y() + m_yPerTurn * (degrees - m_start) / 360;
                QVector3D nrm(normals[j].x() * std::sin(a), normals[j].y(), normals[j].x() * std::cos(a));
                mesh.Add({r * std::sin(a), y, r * std::cos(a)}, inner ? -nrm : nrm, {u, float(j) / (n - 1)});
            }
        const auto cols = std::uint32_t(m_slices + 1);
        for (std::uint32_t j = 0; j + 1 < n; ++j)
            for (std::uint32_t k = 0; k < std::uint32_t(m_slices); ++k) {
                const std::uint32_t a = base + j * cols + k, b = a + 1, d = a + cols, e = d + 1;
                if (inner) {
                    mesh.Triangle(a, e, b);
                    mesh.Triangle(a, d, e);
                } else {
                    mesh.Triangle(a, b, e);
                    mesh.Triangle(a, e, d);
                }
            }
    }
}

std::vector<QVector3D> TPipe::Path() const {
    if (!m_cubic || m_nodes.size() < 3)
        return m_nodes;
    // Catmull-Rom: a smooth curve through every node.
    std::vector<QVector3D> out;
    const std::size_t n = m_nodes.size();
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const QVector3D p0 = m_nodes[i == 0 ? 0 : i - 1], p1 = m_nodes[i], p2 = m_nodes[i + 1],
                        p3 = m_nodes[std::min(i + 2, n - 1)];
        for (int s = 0; s < m_divisions; ++s) {
            const float t = float(s) / m_divisions, t2 = t * t, t3 = t2 * t;
            out.push_back(0.5f * (2 * p1 + (p2 - p0) * t + (2 * p0 - 5 * p1 + 4 * p2 - p3) * t2 +
                                  (3 * p1 - p0 - 3 * p2 + p3) * t3));
        }
    }
    out.push_back(m_nodes.back());
    return out;
}

void TPipe::BuildGeometry(TMesh& mesh) {
    const std::vector<QVector3D> path = Path();
    const std::size_t n = path.size();
    if (n < 2)
        return;
    // Frames carried along the path without twisting.
    std::vector<QVector3D> tangents(n), normals(n);
    for (std::size_t i = 0; i < n; ++i)
        tangents[i] = (path[std::min(i + 1, n - 1)] - path[i == 0 ? 0 : i - 1]).normalized();
    QVector3D seed = std::abs(tangents[0].y()) < 0.9f ? QVector3D(0, 1, 0) : QVector3D(1, 0, 0);
    normals[0] = (seed - QVector3D::dotProduct(seed, tangents[0]) * tangents[0]).normalized();
    for (std::size_t i = 1; i < n; ++i) {
        const QVector3D& t = tangents[i];
        QVector3D nn = normals[i - 1] - QVector3D::dotProduct(normals[i - 1], t) * t;
        normals[i] = nn.lengthSquared() > 1e-12f ? nn.normalized() : normals[i - 1];
    }
    const auto base = std::uint32_t(mesh.Positions.size());
    for (std::size_t i = 0; i < n; ++i) {
        const QVector3D b = QVector3D::crossProduct(tangents[i], normals[i]);
        for (int k = 0; k <= m_slices; ++k) {
            const float a = 2 * kPi * k / m_slices;
            const QVector3D dir = normals[i] * std::cos(a) + b * std::sin(a);
            mesh.Add(path[i] + dir * m_radius, dir, {float(k) / m_slices, float(i) / (n - 1)});
        }
    }
    const auto cols = std::uint32_t(m_slices + 1);
    for (std::uint32_t i = 0; i + 1 < n; ++i)
        for (std::uint32_t k = 0; k < std::uint32_t(m_slices); ++k) {
            const std::uint32_t a = base + i * cols + k, b = a + 1, d = a + cols, e = d + 1;
            mesh.Triangle(a, b, e);
            mesh.Triangle(a, e, d);
        }
    if (m_capped)
        for (int end = 0; end < 2; ++end) {
            const std::size_t i = end == 0 ? 0 : n - 1;
            const QVector3D nrm = end == 0 ? -tangents[i] : tangents[i];
            const QVector3D b = QVector3D::crossProduct(tangents[i], normals[i]);
            const auto centre = mesh.Add(path[i], nrm, {0.5f, 0.5f});
            std::vector<std::uint32_t> ring;
            for (int k = 0; k <= m_slices; ++k) {
                const float a = 2 * kPi * k / m_slices;
                ring.push_back(mesh.Add(path[i] + (normals[i] * std::cos(a) + b * std::sin(a)) * m_radius, nrm));
            }
            for (int k = 0; k < m_slices; ++k)
                if (end == 0)
                    mesh.Triangle(centre, ring[k + 1], ring[k]);
                else
                    mesh.Triangle(centre, ring[k], ring[k + 1]);
        }
}

void TArrowLine::BuildGeometry(TMesh& mesh) {
    if (m_length < m_headLength || m_length <= 0)
        return; // shorter than its head: nothing to draw
    QMatrix4x4 yToZ;
    yToZ.rotate(90, 1, 0, 0); // the solids stand on y; the arrow lies along z
    const float shaftLength = m_length - m_headLength;
    if (shaftLength > 0) {
        TCylinder shaft;
        shaft.SetRadius(m_shaft);
        shaft.SetHeight(shaftLength);
        shaft.SetSlices(m_slices);
        shaft.SetParts(TCylinder::Sides | TCylinder::BottomCap);
        QMatrix4x4 m;
        m.translate(0, 0, -m_length / 2 + shaftLength / 2);
        mesh.Append(shaft.Geometry(), m * yToZ);
    }
    TCone head;
    head.SetBottomRadius(m_head);
    head.SetHeight(m_headLength);
    head.SetSlices(m_slices);
    QMatrix4x4 m;
    m.translate(0, 0, m_length / 2 - m_headLength / 2);
    mesh.Append(head.Geometry(), m * yToZ);
}

bool TFreeForm::LoadFromFile(const QString& path) {
    m_source.Clear();
    GeometryChanged();
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    try {
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(
            path.toStdString(), aiProcess_Triangulate | aiProcess_GenSmoothNormals | aiProcess_JoinIdenticalVertices |
                                    aiProcess_PreTransformVertices | aiProcess_ValidateDataStructure);
        if (!scene || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) || !scene->HasMeshes())
            return false;
        for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
            const aiMesh* am = scene->mMeshes[m];
            const auto base = std::uint32_t(m_source.Positions.size());
            for (unsigned v = 0; v < am->mNumVertices; ++v) {
                const aiVector3D& p = am->mVertices[v];
                const aiVector3D nrm = am->HasNormals() ? am->mNormals[v] : aiVector3D(0, 1, 0);
                const aiVector3D t = am->HasTextureCoords(0) ? am->mTextureCoords[0][v] : aiVector3D();
                m_source.Add({p.x, p.y, p.z}, {nrm.x, nrm.y, nrm.z}, {t.x, t.y});
            }
            for (unsigned f = 0; f < am->mNumFaces; ++f)
                if (am->mFaces[f].mNumIndices == 3)
                    m_source.Triangle(base + am->mFaces[f].mIndices[0], base + am->mFaces[f].mIndices[1],
                                      base + am->mFaces[f].mIndices[2]);
        }
    } catch (...) {
        m_source.Clear();
    }
    return m_source.TriangleCount() > 0;
}

void TFreeForm::BuildGeometry(TMesh& mesh) {
    QMatrix4x4 m;
    m.scale(m_scale);
    mesh.Append(m_source, m);
}

bool SaveMeshAs3ds(const TMesh& source, const QString& path) {
    if (source.Kind != TMesh::TKind::Triangles || source.Indices.empty())
        return false;
    aiScene scene;
    scene.mRootNode = new aiNode();
    scene.mRootNode->mNumMeshes = 1;
    scene.mRootNode->mMeshes = new unsigned[1]{0};
    scene.mNumMaterials = 1;
    scene.mMaterials = new aiMaterial*[1]{new aiMaterial()};
    scene.mNumMeshes = 1;
    auto* mesh = new aiMesh();
    scene.mMeshes = new aiMesh*[1]{mesh};
    mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    mesh->mNumVertices = unsigned(source.Positions.size());
    mesh->mVertices = new aiVector3D[mesh->mNumVertices];
    mesh->mNormals = new aiVector3D[mesh->mNumVertices];
    for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
        const QVector3D& p = source.Positions[i];
        const QVector3D& n = source.Normals[i];
        mesh->mVertices[i] = aiVector3D(p.x(), p.y(), p.z());
        mesh->mNormals[i] = aiVector3D(n.x(), n.y(), n.z());
    }
    mesh->mNumFaces = unsigned(source.Indices.size() / 3);
    mesh->mFaces = new aiFace[mesh->mNumFaces];
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
        mesh->mFaces[f].mNumIndices = 3;
        mesh->mFaces[f].mIndices =
            new unsigned[3]{source.Indices[3 * f], source.Indices[3 * f + 1], source.Indices[3 * f + 2]};
    }
    Assimp::Exporter exporter;
    return exporter.Export(&scene, "3ds", path.toStdString()) == AI_SUCCESS;
}

void TMirror::BuildGeometry(TMesh& mesh) {
    const QVector3D n(0, 0, 1);
    const auto a = mesh.Add({-m_w / 2, -m_h / 2, 0}, n, {0, 0}), b = mesh.Add({m_w / 2, -m_h / 2, 0}, n, {1, 0}),
               c = mesh.Add({m_w / 2, m_h / 2, 0}, n, {1, 1}), d = mesh.Add({-m_w / 2, m_h / 2, 0}, n, {0, 1});
    mesh.Triangle(a, b, c);
    mesh.Triangle(a, c, d);
}

QMatrix4x4 TMirror::ReflectionMatrix() const {
    const QVector3D n = AbsoluteDirection();
    const float d = QVector3D::dotProduct(AbsolutePosition(), n);
    QMatrix4x4 r(1 - 2 * n.x() * n.x(), -2 * n.x() * n.y(), -2 * n.x() * n.z(), 2 * d * n.x(), //
                 -2 * n.y() * n.x(), 1 - 2 * n.y() * n.y(), -2 * n.y() * n.z(), 2 * d * n.y(), //
                 -2 * n.z() * n.x(), -2 * n.z() * n.y(), 1 - 2 * n.z() * n.z(), 2 * d * n.z(), //
                 0, 0, 0, 1);
    return r;
}

} // namespace quarvel
