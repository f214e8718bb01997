#pragma once
// The scene graph every 3D model is built from.
//
// Conventions (right-handed, y up):
// - Every object has a position, a direction (its local z axis, (0, 0, 1)
//   when created) and an up vector (its local y axis, (0, 1, 0) when
//   created); its local x axis is up x direction.
// - Setting the turn, roll or pitch angle rotates the direction and up
//   vectors by (new - old) degrees, right-handed, about the current up
//   vector (turn), the current direction (roll) or direction x up (pitch).
//   Successive settings compose in the order made; the stored angles can be
//   read back, and ResetRotations() restores the axes and zeroes them.
// - Scale acts along the object's own axes. Children are placed in their
//   parent's frame and drawn in their order.
// - Objects own their children. A renderable object generates its geometry
//   on the CPU (BuildGeometry) and regenerates it only after a parameter
//   changed (GeometryChanged()).

#include "scene/material.h"

#include <QMatrix4x4>
#include <QString>
#include <QVector2D>
#include <QVector3D>
#include <QVector4D>
#include <memory>
#include <optional>
#include <vector>

namespace quarvel {

class TMaterialLibrary;
class TTriangleTree;

// A run of a mesh's indices drawn in one material: from FirstIndex up to
// the next group's first index (the last group to the end). Material -1 is
// the object's material; 0, 1, ... are the object's face materials.
struct TMeshGroup {
    std::uint32_t FirstIndex = 0;
    int Material = -1;
};

// Geometry in the object's own frame, ready for vertex arrays.
struct TMesh {
    enum class TKind { Triangles, Lines, LineStrip, LineLoop, Points };
    TKind Kind = TKind::Triangles;
    std::vector<QVector3D> Positions;
    std::vector<QVector3D> Normals;   // one per position (unused for lines and points)
    std::vector<QVector2D> TexCoords; // one per position
    std::vector<QVector4D> Colors;    // empty: the material's colour
    std::vector<std::uint32_t> Indices;
    // Empty: the whole mesh in the object's material.
    std::vector<TMeshGroup> Groups;

    void Clear() { *this = TMesh{}; }
    // The indices added from now on are drawn in `material` (see TMeshGroup);
    // those added before the first group stay in the object's material.
    void BeginGroup(int material);
    // Index range [first, first + count) of group `g` (the whole mesh when
    // there are no groups and g is 0).
    std::pair<std::uint32_t, std::uint32_t> GroupRange(std::size_t g) const;
    std::size_t GroupCount() const { return Groups.empty() ? 1 : Groups.size(); }
    int GroupMaterial(std::size_t g) const { return Groups.empty() ? -1 : Groups[g].Material; }
    std::size_t TriangleCount() const { return Kind == TKind::Triangles ? Indices.size() / 3 : 0; }
    // Adds a vertex and returns its index.
    std::uint32_t Add(const QVector3D& p, const QVector3D& n = {}, const QVector2D& t = {});
    void Triangle(std::uint32_t a, std::uint32_t b, std::uint32_t c) { Indices.insert(Indices.end(), {a, b, c}); }
    // Axis-aligned bounds of the positions (empty mesh: both zero).
    std::pair<QVector3D, QVector3D> Bounds() const;
    // Appends `other` transformed by `m` (normals by its normal matrix);
    // vertex colours come along, groups do not.
    void Append(const TMesh& other, const QMatrix4x4& m = {});
};

class TSceneObject {
public:
    TSceneObject();
    virtual ~TSceneObject();
    TSceneObject(const TSceneObject&) = delete;
    TSceneObject& operator=(const TSceneObject&) = delete;

    QString Name;
    bool Visible = true;

    // --- tree ---
    TSceneObject* Parent() const { return m_parent; }
    int Count() const { return int(m_children.size()); }
    TSceneObject* Child(int index) const;
    // Takes ownership; returns the child for chaining.
    template <class T> T* AddChild(std::unique_ptr<T> child) {
        T* raw = child.get();
        AdoptChild(std::move(child));
        return raw;
    }
    template <class T, class... A> T* AddNew(A&&... args) {
        return AddChild(std::make_unique<T>(std::forward<A>(args)...));
    }
    void DeleteChildren();
    std::unique_ptr<TSceneObject> TakeChild(int index);
    int IndexInParent() const;
    // Depth-first search of the subtree (this object included).
    TSceneObject* FindByName(const QString& name);

    // --- placement ---
    QVector3D Position() const { return m_position; }
    void SetPosition(const QVector3D& p) { m_position = p; }
    void SetPosition(float x, float y, float z) { m_position = {x, y, z}; }
    void Translate(const QVector3D& d) { m_position += d; }
    QVector3D Direction() const { return m_direction; }
    QVector3D Up() const { return m_up; }
    QVector3D LeftRight() const { return QVector3D::crossProduct(m_up, m_direction); } // local x
    // Sets the direction; up is kept perpendicular to it.
    void SetDirection(const QVector3D& d);
    // Sets the up vector; the direction is kept perpendicular to it.
    void SetUp(const QVector3D& u);

    float TurnAngle() const { return m_turn; }
    float RollAngle() const { return m_roll; }
    float PitchAngle() const { return m_pitch; }
    void SetTurnAngle(float degrees);
    void SetRollAngle(float degrees);
    void SetPitchAngle(float degrees);
    // Rotations by an amount, about the same axes, also counted in the angles.
    void Turn(float degrees) { SetTurnAngle(m_turn + degrees); }
    void Roll(float degrees) { SetRollAngle(m_roll + degrees); }
    void Pitch(float degrees) { SetPitchAngle(m_pitch + degrees); }
    void ResetRotations();

    QVector3D Scale() const { return m_scale; }
    void SetScale(const QVector3D& s) { m_scale = s; }
    void SetScale(float uniform) { m_scale = {uniform, uniform, uniform}; }

    QMatrix4x4 LocalMatrix() const;
    QMatrix4x4 AbsoluteMatrix() const;
    QVector3D AbsolutePosition() const;
    // Absolute axes (normalised).
    QVector3D AbsoluteDirection() const;
    QVector3D AbsoluteUp() const;
    // Moves the object so its absolute position is `p`.
    void SetAbsolutePosition(const QVector3D& p);

    // --- appearance ---
    // The library material of that name, else Material, else the default.
    QString MaterialName;
    std::shared_ptr<TMaterial> OwnMaterial;
    TMaterial& Material(); // this object's own material, created on first use
    // Gives the object a copy of the material it is drawn with now (the
    // library's material of MaterialName, or the default) as its own, and
    // returns it: changes to it leave the shared material alone.
    TMaterial& OwnCopyOfMaterial(const TMaterialLibrary* library);

    // Face materials of the groups of this object's geometry (TMeshGroup):
    // each is the object's material with some properties replaced. The
    // object stays one object: one name, one placement, one pick target.
    std::vector<TFaceMaterial> FaceMaterials;
    // The face material `slot`, added (with nothing replaced) if missing.
    TFaceMaterial& FaceMaterial(int slot);
    // The material face group material `slot` is drawn with over `base`
    // (the object's resolved material); `base` itself for slot -1 or a slot
    // that does not exist. The result lives as long as the object and is
    // refreshed on every call.
    const TMaterial& ResolveFaceMaterial(int slot, const TMaterial& base) const;

    // --- geometry ---
    // Renderable objects override BuildGeometry; the empty node draws nothing.
    virtual bool IsRenderable() const { return false; }
    // The object's geometry, regenerated when a parameter changed.
    const TMesh& Geometry();
    void GeometryChanged() { m_geometryValid = false; }
    // A number no other geometry ever had: changes with every rebuild.
    quint64 GeometryVersion() { Geometry(); return m_geometryVersion; }
    // Axis-aligned bounds of the geometry in the object's frame, kept with it.
    const std::pair<QVector3D, QVector3D>& GeometryBounds();
    // A tree over the geometry's triangles for casting rays, built on first
    // use and kept until the geometry changes.
    const TTriangleTree& PickTree();
    // A closed solid is seen only from outside: its back faces are skipped.
    virtual bool IsClosed() const { return false; }

    // A proxy draws its master's subtree at its own place: with the
    // master's own placement applied on top unless "objects only".
    virtual TSceneObject* ProxyMaster() const { return nullptr; }
    virtual bool ProxyAppliesMasterPlacement() const { return true; }
    // Whether the master's subtree keeps its own materials (else the proxy's).
    virtual bool ProxyUsesMasterMaterial() const { return true; }

protected:
    virtual void BuildGeometry(TMesh&) {}

private:
    void AdoptChild(std::unique_ptr<TSceneObject> child);
    void RotateAxes(const QVector3D& axis, float degrees);

    TSceneObject* m_parent = nullptr;
    std::vector<std::unique_ptr<TSceneObject>> m_children;
    QVector3D m_position{0, 0, 0};
    QVector3D m_direction{0, 0, 1};
    QVector3D m_up{0, 1, 0};
    QVector3D m_scale{1, 1, 1};
    float m_turn = 0, m_roll = 0, m_pitch = 0;
    TMesh m_mesh;
    std::pair<QVector3D, QVector3D> m_bounds;
    std::unique_ptr<TTriangleTree> m_pickTree;
    bool m_geometryValid = false;
    struct TResolvedFace {
        int Slot;
        const TMaterial* Base;
        std::unique_ptr<TMaterial> Material;
    };
    mutable std::vector<TResolvedFace> m_resolvedFaces;
    quint64 m_geometryVersion = 0;
};

// An empty node: groups and places its children.
class TDummyCube : public TSceneObject {};

// A renderable object that a model builds its own geometry for: override
// BuildGeometry and call GeometryChanged() when a parameter changes.
class TCustomSceneObject : public TSceneObject {
public:
    bool IsRenderable() const override { return true; }
};

} // namespace quarvel
