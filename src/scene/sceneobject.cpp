#include "scene/sceneobject.h"

#include "scene/material.h"
#include "scene/triangletree.h"

#include <QQuaternion>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>

namespace quarvel {

std::uint32_t TMesh::Add(const QVector3D& p, const QVector3D& n, const QVector2D& t) {
    Positions.push_back(p);
    Normals.push_back(n);
    TexCoords.push_back(t);
    return std::uint32_t(Positions.size() - 1);
}

void TMesh::BeginGroup(int material) {
    const auto first = std::uint32_t(Indices.size());
    // What came before the first group is in the object's material.
    if (Groups.empty() && first > 0)
        Groups.push_back({0, -1});
    if (!Groups.empty() && Groups.back().FirstIndex == first)
        Groups.back().Material = material;
    else
        Groups.push_back({first, material});
}

std::pair<std::uint32_t, std::uint32_t> TMesh::GroupRange(std::size_t g) const {
    const auto total = std::uint32_t(Indices.size());
    if (Groups.empty())
        return {0, g == 0 ? total : 0};
    if (g >= Groups.size())
        return {total, 0};
    const std::uint32_t first = std::min(Groups[g].FirstIndex, total);
    const std::uint32_t end = g + 1 < Groups.size() ? std::min(Groups[g + 1].FirstIndex, total) : total;
    return {first, end > first ? end - first : 0};
}

std::pair<QVector3D, QVector3D> TMesh::Bounds() const {
    if (Positions.empty())
        return {};
    QVector3D lo = Positions.front(), hi = lo;
    for (const QVector3D& p : Positions)
        for (int i = 0; i < 3; ++i) {
            lo[i] = std::min(lo[i], p[i]);
            hi[i] = std::max(hi[i], p[i]);
        }
    return {lo, hi};
}

void TMesh::Append(const TMesh& other, const QMatrix4x4& m) {
    const auto base = std::uint32_t(Positions.size());
    const QMatrix3x3 nm = m.normalMatrix();
    for (std::size_t i = 0; i < other.Positions.size(); ++i) {
        Positions.push_back(m.map(other.Positions[i]));
        QVector3D n = i < other.Normals.size() ? other.Normals[i] : QVector3D();
        const float* d = nm.constData();
        n = QVector3D(d[0] * n.x() + d[3] * n.y() + d[6] * n.z(), d[1] * n.x() + d[4] * n.y() + d[7] * n.z(),
                      d[2] * n.x() + d[5] * n.y() + d[8] * n.z())
                .normalized();
        Normals.push_back(n);
        TexCoords.push_back(i < other.TexCoords.size() ? other.TexCoords[i] : QVector2D());
    }
    if (!other.Colors.empty() || !Colors.empty()) {
        Colors.resize(base, QVector4D(1, 1, 1, 1));
        for (std::size_t i = 0; i < other.Positions.size(); ++i)
            Colors.push_back(i < other.Colors.size() ? other.Colors[i] : QVector4D(1, 1, 1, 1));
    }
    for (std::uint32_t idx : other.Indices)
        Indices.push_back(base + idx);
}

TSceneObject::TSceneObject() = default;
TSceneObject::~TSceneObject() = default;

TSceneObject* TSceneObject::Child(int index) const {
    return index >= 0 && index < Count() ? m_children[std::size_t(index)].get() : nullptr;
}

void TSceneObject::AdoptChild(std::unique_ptr<TSceneObject> child) {
    child->m_parent = this;
    m_children.push_back(std::move(child));
}

void TSceneObject::DeleteChildren() { m_children.clear(); }

std::unique_ptr<TSceneObject> TSceneObject::TakeChild(int index) {
    if (index < 0 || index >= Count())
        return nullptr;
    auto child = std::move(m_children[std::size_t(index)]);
    m_children.erase(m_children.begin() + index);
    child->m_parent = nullptr;
    return child;
}

int TSceneObject::IndexInParent() const {
    if (!m_parent)
        return -1;
    for (int i = 0; i < m_parent->Count(); ++i)
        if (m_parent->Child(i) == this)
            return i;
    return -1;
}

TSceneObject* TSceneObject::FindByName(const QString& name) {
    if (Name == name)
        return this;
    for (auto& c : m_children)
        if (TSceneObject* found = c->FindByName(name))
            return found;
    return nullptr;
}

void TSceneObject::SetDirection(const QVector3D& d) {
    if (d.isNull())
        return;
    m_direction = d.normalized();
    // Keep up perpendicular: remove its part along the new direction.
    QVector3D up = m_up - QVector3D::dotProduct(m_up, m_direction) * m_direction;
    if (up.lengthSquared() < 1e-10f)
        up = std::abs(m_direction.y()) < 0.9f ? QVector3D(0, 1, 0) : QVector3D(1, 0, 0),
        up = up - QVector3D::dotProduct(up, m_direction) * m_direction;
    m_up = up.normalized();
}

void TSceneObject::SetUp(const QVector3D& u) {
    if (u.isNull())
        return;
    m_up = u.normalized();
    QVector3D dir = m_direction - QVector3D::dotProduct(m_direction, m_up) * m_up;
    if (dir.lengthSquared() < 1e-10f)
        dir = std::abs(m_up.z()) < 0.9f ? QVector3D(0, 0, 1) : QVector3D(1, 0, 0),
        dir = dir - QVector3D::dotProduct(dir, m_up) * m_up;
    m_direction = dir.normalized();
}

void TSceneObject::RotateAxes(const QVector3D& axis, float degrees) {
    if (degrees == 0.0f || axis.isNull())
        return;
    const QQuaternion q = QQuaternion::fromAxisAndAngle(axis.normalized(), degrees);
    m_direction = q.rotatedVector(m_direction).normalized();
    m_up = q.rotatedVector(m_up).normalized();
}

void TSceneObject::SetTurnAngle(float degrees) {
    RotateAxes(m_up, degrees - m_turn);
    m_turn = degrees;
}

void TSceneObject::SetRollAngle(float degrees) {
    RotateAxes(m_direction, degrees - m_roll);
    m_roll = degrees;
}

void TSceneObject::SetPitchAngle(float degrees) {
    RotateAxes(QVector3D::crossProduct(m_direction, m_up), degrees - m_pitch);
    m_pitch = degrees;
}

void TSceneObject::ResetRotations() {
    m_direction = {0, 0, 1};
    m_up = {0, 1, 0};
    m_turn = m_roll = m_pitch = 0;
}

QMatrix4x4 TSceneObject::LocalMatrix() const {
    const QVector3D x = LeftRight().normalized() * m_scale.x();
    const QVector3D y = m_up * m_scale.y();
    const QVector3D z = m_direction * m_scale.z();
    return QMatrix4x4(x.x(), y.x(), z.x(), m_position.x(), //
                      x.y(), y.y(), z.y(), m_position.y(), //
                      x.z(), y.z(), z.z(), m_position.z(), //
                      0, 0, 0, 1);
}

QMatrix4x4 TSceneObject::AbsoluteMatrix() const {
    return m_parent ? m_parent->AbsoluteMatrix() * LocalMatrix() : LocalMatrix();
}

QVector3D TSceneObject::AbsolutePosition() const { return AbsoluteMatrix().map(QVector3D(0, 0, 0)); }

QVector3D TSceneObject::AbsoluteDirection() const {
    return AbsoluteMatrix().mapVector(QVector3D(0, 0, 1)).normalized();
}

QVector3D TSceneObject::AbsoluteUp() const { return AbsoluteMatrix().mapVector(QVector3D(0, 1, 0)).normalized(); }

void TSceneObject::SetAbsolutePosition(const QVector3D& p) {
    m_position = m_parent ? m_parent->AbsoluteMatrix().inverted().map(p) : p;
}

TMaterial& TSceneObject::Material() {
    if (!OwnMaterial)
        OwnMaterial = std::make_shared<TMaterial>();
    return *OwnMaterial;
}

TMaterial& TSceneObject::OwnCopyOfMaterial(const TMaterialLibrary* library) {
    const TMaterial* current = nullptr;
    if (!MaterialName.isEmpty())
        current = library ? library->Find(MaterialName) : nullptr;
    else
        current = OwnMaterial.get();
    // A fresh object: never shared with the library, nor with another
    // object that was handed the same own material.
    OwnMaterial = std::make_shared<TMaterial>(current ? *current : TMaterialLibrary::Default());
    MaterialName.clear();
    return *OwnMaterial;
}

TFaceMaterial& TSceneObject::FaceMaterial(int slot) {
    if (slot >= int(FaceMaterials.size()))
        FaceMaterials.resize(std::size_t(slot) + 1);
    return FaceMaterials[std::size_t(slot)];
}

const TMaterial& TSceneObject::ResolveFaceMaterial(int slot, const TMaterial& base) const {
    if (slot < 0 || slot >= int(FaceMaterials.size()))
        return base;
    // One result per slot and base: a master drawn both itself and through
    // a proxy with the proxy's material gets two, both valid at once.
    auto it = std::find_if(m_resolvedFaces.begin(), m_resolvedFaces.end(),
                           [&](const TResolvedFace& r) { return r.Slot == slot && r.Base == &base; });
    if (it == m_resolvedFaces.end()) {
        m_resolvedFaces.push_back({slot, &base, std::make_unique<TMaterial>()});
        it = std::prev(m_resolvedFaces.end());
    }
    TMaterial& m = *it->Material;
    m = base;
    FaceMaterials[std::size_t(slot)].ApplyTo(m);
    return m;
}

const TTriangleTree& TSceneObject::PickTree() {
    Geometry();
    if (!m_pickTree)
        m_pickTree = std::make_unique<TTriangleTree>(m_mesh);
    return *m_pickTree;
}

const std::pair<QVector3D, QVector3D>& TSceneObject::GeometryBounds() {
    Geometry();
    return m_bounds;
}

const TMesh& TSceneObject::Geometry() {
    if (!m_geometryValid) {
        m_mesh.Clear();
        BuildGeometry(m_mesh);
        m_bounds = m_mesh.Bounds();
        m_pickTree.reset();
        m_geometryValid = true;
        static std::atomic<quint64> versions{0};
        m_geometryVersion = ++versions;
    }
    return m_mesh;
}

} // namespace quarvel
