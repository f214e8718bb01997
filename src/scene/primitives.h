#pragma once
// The basic solids, lines, points and texts. Each keeps its parameters and
// regenerates its geometry when one changes (setters call GeometryChanged).
// Faces are wound counter-clockwise seen from outside; normals point out.

#include "scene/sceneobject.h"

#include <QColor>
#include <QFlags>
#include <QPointF>

namespace quarvel {

// A sphere round the origin; slices go round the y axis, stacks from the
// bottom pole to the top. Latitudes Bottom..Top and longitudes Start..Stop
// (degrees) cut parts of it.
class TSphere : public TCustomSceneObject {
public:
    float Radius() const { return m_radius; }
    void SetRadius(float r) { m_radius = r, GeometryChanged(); }
    int Slices() const { return m_slices; }
    int Stacks() const { return m_stacks; }
    void SetSlices(int n) { m_slices = std::max(3, n), GeometryChanged(); }
    void SetStacks(int n) { m_stacks = std::max(2, n), GeometryChanged(); }
    void SetLatitudes(float bottom, float top) { m_bottom = bottom, m_top = top, GeometryChanged(); }
    void SetLongitudes(float start, float stop) { m_start = start, m_stop = stop, GeometryChanged(); }
    bool IsClosed() const override { return m_bottom <= -90 && m_top >= 90 && m_stop - m_start >= 360; }

protected:
    void BuildGeometry(TMesh& mesh) override;

private:
    float m_radius = 0.5f;
    int m_slices = 16, m_stacks = 16;
    float m_bottom = -90, m_top = 90, m_start = 0, m_stop = 360;
};

// A box centred on the origin: width along x, height along y, depth along z.
class TCube : public TCustomSceneObject {
public:
    enum TPart { Top = 1, Bottom = 2, Front = 4, Back = 8, Left = 16, Right = 32, All = 63 };
    QVector3D Size() const { return m_size; }
    void SetSize(float width, float height, float depth) { m_size = {width, height, depth}, GeometryChanged(); }
    int Parts() const { return m_parts; }
    void SetParts(int parts) { m_parts = parts, GeometryChanged(); } // Front is +z, Right +x
    bool IsClosed() const override { return m_parts == All; }

protected:
    void BuildGeometry(TMesh& mesh) override;

private:
    QVector3D m_size{1, 1, 1};
    int m_parts = All;
};

// A cylinder (or truncated cone) standing on the y axis, centred on the
// origin: y from -height/2 to +height/2.
class TCylinder : public TCustomSceneObject {
public:
    enum TPart { Sides = 1, TopCap = 2, BottomCap = 4, AllParts = 7 };
    float TopRadius() const { return m_top; }
    float BottomRadius() const { return m_bottom; }
    float Height() const { return m_height; }
    void SetRadii(float bottom, float top) { m_bottom = bottom, m_top = top, GeometryChanged(); }
    void SetRadius(float r) { SetRadii(r, r); }
    void SetHeight(float h) { m_height = h, GeometryChanged(); }
    void SetSlices(int n) { m_slices = std::max(3, n), GeometryChanged(); }
    void SetStacks(int n) { m_stacks = std::max(1, n), GeometryChanged(); }
    void SetLoops(int n) { m_loops = std::max(1, n), GeometryChanged(); }
    void SetParts(int parts) { m_parts = parts, GeometryChanged(); }
    // Normals point into the cylinder (for seeing its inside).
    void SetNormalsInward(bool in) { m_inward = in, GeometryChanged(); }
    bool IsClosed() const override {
        return !m_inward && (m_parts & Sides) && ((m_parts & TopCap) || m_top <= 0) &&
               ((m_parts & BottomCap) || m_bottom <= 0);
    }

protected:
    void BuildGeometry(TMesh& mesh) override;
    float m_bottom = 0.5f, m_top = 0.5f, m_height = 1;
    int m_slices = 16, m_stacks = 1, m_loops = 1, m_parts = AllParts;
    bool m_inward = false;
};

// A cone on the y axis with its apex at +height/2.
class TCone : public TCylinder {
public:
    TCone() { m_top = 0; m_parts = Sides | BottomCap; }
    void SetBottomRadius(float r) { SetRadii(r, 0); }
};

// A flat disk (or ring, or sector) in the xy plane, facing +z.
class TDisk : public TCustomSceneObject {
public:
    void SetRadii(float inner, float outer) { m_inner = inner, m_outer = outer, GeometryChanged(); }
    void SetSlices(int n) { m_slices = std::max(3, n), GeometryChanged(); }
    void SetLoops(int n) { m_loops = std::max(1, n), GeometryChanged(); }
    void SetSweep(float startDegrees, float sweepDegrees) { m_start = startDegrees, m_sweep = sweepDegrees, GeometryChanged(); }

protected:
    void BuildGeometry(TMesh& mesh) override;

private:
    float m_inner = 0, m_outer = 0.5f, m_start = 0, m_sweep = 360;
    int m_slices = 16, m_loops = 1;
};

// A thick ring (a tube with a wall) on the y axis, centred on the origin.
class TAnnulus : public TCustomSceneObject {
public:
    enum TPart { Outer = 1, Inner = 2, TopFace = 4, BottomFace = 8, AllParts = 15 };
    void SetRadii(float bottomInner, float bottomOuter, float topInner, float topOuter) {
        m_bi = bottomInner, m_bo = bottomOuter, m_ti = topInner, m_to = topOuter, GeometryChanged();
    }
    void SetHeight(float h) { m_height = h, GeometryChanged(); }
    void SetSlices(int n) { m_slices = std::max(3, n), GeometryChanged(); }
    void SetParts(int parts) { m_parts = parts, GeometryChanged(); }
    bool IsClosed() const override { return m_parts == AllParts; }

protected:
    void BuildGeometry(TMesh& mesh) override;

private:
    float m_bi = 0.3f, m_bo = 0.5f, m_ti = 0.3f, m_to = 0.5f, m_height = 1;
    int m_slices = 16, m_parts = AllParts;
};

// A torus round the z axis (its ring lies in the xy plane).
class TTorus : public TCustomSceneObject {
public:
    void SetRadii(float major, float minor) { m_major = major, m_minor = minor, GeometryChanged(); }
    void SetRings(int n) { m_rings = std::max(3, n), GeometryChanged(); }
    void SetSides(int n) { m_sides = std::max(3, n), GeometryChanged(); }
    bool IsClosed() const override { return true; }

protected:
    void BuildGeometry(TMesh& mesh) override;

private:
    float m_major = 0.4f, m_minor = 0.1f;
    int m_rings = 24, m_sides = 12;
};

// A rectangle in the xy plane, facing +z; its texture repeats xTiles by yTiles times.
class TPlane : public TCustomSceneObject {
public:
    void SetSize(float width, float height) { m_w = width, m_h = height, GeometryChanged(); }
    void SetTiles(float x, float y) { m_tx = x, m_ty = y, GeometryChanged(); }

protected:
    void BuildGeometry(TMesh& mesh) override;

private:
    float m_w = 1, m_h = 1, m_tx = 1, m_ty = 1;
};

// A line through its nodes, drawn in its own colour (not lit).
class TLines : public TCustomSceneObject {
public:
    enum class TMode { Strip, Segments, Loop };
    std::vector<QVector3D> Nodes;
    QColor LineColor = Qt::white;
    float LineWidth = 1;
    bool Antialiased = false;
    quint16 StipplePattern = 0xFFFF; // bit pattern repeated along the line
    bool ShowNodes = false;          // a marker at every node
    float NodeSize = 4;
    QColor NodeColor = Qt::white;
    TMode Mode = TMode::Strip;
    void SetNodes(std::vector<QVector3D> nodes) { Nodes = std::move(nodes), GeometryChanged(); }
    void AddNode(const QVector3D& p) { Nodes.push_back(p), GeometryChanged(); }

protected:
    void BuildGeometry(TMesh& mesh) override;
};

// Points with a colour each, drawn at a pixel size, square or round.
class TPoints : public TCustomSceneObject {
public:
    std::vector<QVector3D> Positions;
    std::vector<QColor> Colors; // one per point, or one for all, or none (white)
    float Size = 2;
    bool Round = false;
    void SetPoints(std::vector<QVector3D> p, std::vector<QColor> c = {}) {
        Positions = std::move(p), Colors = std::move(c), GeometryChanged();
    }

protected:
    void BuildGeometry(TMesh& mesh) override;
};

// A text drawn flat on the screen at a pixel position from the view's
// top-left, after the 3D scene.
class TScreenText : public TSceneObject {
public:
    QString Text;
    QString FontFamily = QStringLiteral("DejaVu Sans");
    float FontSize = 8; // points
    bool Bold = false;
    QColor Color = Qt::white;
    QPointF PixelPosition{0, 0};
    Qt::Alignment Alignment = Qt::AlignLeft | Qt::AlignTop;
};

} // namespace quarvel
