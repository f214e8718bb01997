#pragma once
// The composite solids the models build from: flat polygons and extrusions
// (concave, with holes), solids of revolution (optionally helical), pipes
// along a path, arrows, proxies of other objects, meshes from 3DS files and
// the planar mirror.

#include "scene/sceneobject.h"

#include <QVector2D>

namespace quarvel {

using TContour = std::vector<QVector2D>;

// Triangles covering the area inside an odd number of `contours` (so inner
// contours are holes). Returns the corner points, three per triangle, each
// triangle counter-clockwise.
std::vector<QVector2D> TriangulateContours(const std::vector<TContour>& contours);
// Twice the signed area: positive when counter-clockwise.
float SignedArea2(const TContour& c);
// Whether `p` is inside an odd number of the contours.
bool InsideContours(const std::vector<TContour>& contours, const QVector2D& p);

// A flat polygon in the xy plane, facing +z; contours after the first that
// lie inside another are holes.
class TPolygonFace : public TCustomSceneObject {
public:
    void SetContours(std::vector<TContour> contours) { m_contours = std::move(contours), GeometryChanged(); }
    const std::vector<TContour>& Contours() const { return m_contours; }

protected:
    void BuildGeometry(TMesh& mesh) override;

private:
    std::vector<TContour> m_contours;
};

// A profile in the xy plane pushed along +z from 0 to Depth. Walls are
// smooth across corners sharper than the crease angle allows (below it the
// normals are shared), creased above it.
class TExtrusionSolid : public TCustomSceneObject {
public:
    enum TPart { Outside = 1, Start = 2, Stop = 4, AllParts = 7 }; // Start at z = 0, Stop at z = Depth
    void SetContours(std::vector<TContour> contours) { m_contours = std::move(contours), GeometryChanged(); }
    const std::vector<TContour>& Contours() const { return m_contours; }
    void SetDepth(float d) { m_depth = d, GeometryChanged(); }
    float Depth() const { return m_depth; }
    void SetParts(int parts) { m_parts = parts, GeometryChanged(); }
    void SetCreaseAngle(float degrees) { m_crease = degrees, GeometryChanged(); }
    bool IsClosed() const override { return m_parts == AllParts; }

protected:
    void BuildGeometry(TMesh& mesh) override;

private:
    std::vector<TContour> m_contours;
    float m_depth = 1, m_crease = 45;
    int m_parts = AllParts;
};

// A profile of (r, y) points turned about the y axis from StartAngle to
// StopAngle; with a helix the profile rises by YPerTurn over each turn (the
// sweep may then go past 360 degrees).
class TRevolutionSolid : public TCustomSceneObject {
public:
    enum TPart { Outer = 1, InnerFaces = 2 };
    void SetProfile(std::vector<QVector2D> rY) { m_profile = std::move(rY), GeometryChanged(); }
    void SetSlices(int n) { m_slices = std::max(3, n), GeometryChanged(); }
    void SetSweep(float start, float stop) { m_start = start, m_stop = stop, GeometryChanged(); }
    void SetHelix(float yPerTurn) { m_yPerTurn = yPerTurn, GeometryChanged(); }
    void SetParts(int parts) { m_parts = parts, GeometryChanged(); }

protected:
    void BuildGeometry(TMesh& mesh) override;

private:
    std::vector<QVector2D> m_profile;
    int m_slices = 16, m_parts = Outer;
    float m_start = 0, m_stop = 360, m_yPerTurn = 0;
};

// A tube of a radius along a path through its nodes, straight between them
// or a smooth curve through them (each span cut into Divisions pieces).
class TPipe : public TCustomSceneObject {
public:
    void SetNodes(std::vector<QVector3D> nodes) { m_nodes = std::move(nodes), GeometryChanged(); }
    void SetRadius(float r) { m_radius = r, GeometryChanged(); }
    void SetSlices(int n) { m_slices = std::max(3, n), GeometryChanged(); }
    void SetSpline(bool cubic, int divisions = 8) { m_cubic = cubic, m_divisions = std::max(1, divisions), GeometryChanged(); }
    void SetCapped(bool capped) { m_capped = capped, GeometryChanged(); }
    bool IsClosed() const override { return m_capped; }
    // The points the tube's centre line runs through.
    std::vector<QVector3D> Path() const;

protected:
    void BuildGeometry(TMesh& mesh) override;

private:
    std::vector<QVector3D> m_nodes;
    float m_radius = 0.1f;
    int m_slices = 12, m_divisions = 8;
    bool m_cubic = false, m_capped = false;
};

// An arrow along local +z, centred on the origin: a shaft and a cone head,
// the head counted inside the length. Shorter than its head, it draws nothing.
class TArrowLine : public TCustomSceneObject {
public:
    void SetLength(float l) { m_length = l, GeometryChanged(); }
    float Length() const { return m_length; }
    void SetRadii(float shaft, float head) { m_shaft = shaft, m_head = head, GeometryChanged(); }
    void SetHeadLength(float l) { m_headLength = l, GeometryChanged(); }
    void SetSlices(int n) { m_slices = std::max(3, n), GeometryChanged(); }
    bool IsClosed() const override { return true; }

protected:
    void BuildGeometry(TMesh& mesh) override;

private:
    float m_length = 1, m_shaft = 0.01f, m_head = 0.04f, m_headLength = 0.08f;
    int m_slices = 8;
};

// Draws its master's subtree at its own place. With ObjectsOnly the
// master's own placement is left out. The master's geometry is shared, so
// hundreds of proxies stay cheap.
class TProxy : public TSceneObject {
public:
    TSceneObject* Master = nullptr;
    bool ObjectsOnly = false;
    bool UseMasterMaterial = true; // else the subtree takes the proxy's material
    TSceneObject* ProxyMaster() const override { return Master; }
    bool ProxyAppliesMasterPlacement() const override { return !ObjectsOnly; }
    bool ProxyUsesMasterMaterial() const override { return UseMasterMaterial; }
};

// A mesh read from a 3DS file; a missing or unreadable file gives an empty
// mesh, without a message.
class TFreeForm : public TCustomSceneObject {
public:
    // Returns whether anything was loaded.
    bool LoadFromFile(const QString& path);
    void SetMeshScale(float s) { m_scale = s, GeometryChanged(); }
    std::size_t LoadedTriangles() const { return m_source.TriangleCount(); }

protected:
    void BuildGeometry(TMesh& mesh) override;

private:
    TMesh m_source;
    float m_scale = 1;
};

// Writes `mesh` (triangles) as a 3DS file; false when it cannot.
bool SaveMeshAs3ds(const TMesh& mesh, const QString& path);

// A flat mirror: a Width x Height rectangle in its local xy plane, facing
// +z. It shows MirrorObject's subtree (or the whole scene without itself)
// reflected in its plane, masked by the stencil buffer to its own shape.
class TMirror : public TCustomSceneObject {
public:
    TSceneObject* MirrorObject = nullptr;
    bool Opaque = false;   // draw the mirror's own surface over its background
    bool ClipPlane = true; // nothing behind the mirror shows in it
    bool ClearDepth = true;
    void SetSize(float w, float h) { m_w = w, m_h = h, GeometryChanged(); }
    // The reflection in this mirror's plane, in world space.
    QMatrix4x4 ReflectionMatrix() const;

protected:
    void BuildGeometry(TMesh& mesh) override;

private:
    float m_w = 1, m_h = 1;
};

} // namespace quarvel
