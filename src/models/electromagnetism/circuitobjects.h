#pragma once
// Scene objects of the bell and relay circuits: the toggle switch, the
// cylindrical battery, the relay's pivot and armature, and the two springy
// strips. Each builds its own faces in its own frame.

#include "scene/sceneobject.h"

#include <QVector2D>
#include <vector>

namespace quarvel::CircuitObjects {

// The plain colour of the switch body (sides and top).
inline const QVector4D SwitchBodyColour{0.8471f, 0.8471f, 0.749f, 1};

// A box switch: textured front and back (+-z), plain sides and a recess in the top.
class TSwitch : public TCustomSceneObject {
public:
    TSwitch();
    void SetSize(float width, float height, float depth);
    void SetBottom(bool on) { m_bottom = on, GeometryChanged(); }
    float Width() const { return m_w; }
    float Height() const { return m_h; }
    float Depth() const { return m_d; }
    // Loads "Switch.bmp" from `folder` when it is there.
    void LoadTexture(const QString& folder);

protected:
    void BuildGeometry(TMesh& mesh) override;

private:
    float m_w = 0.9f, m_h = 0.3f, m_d = 0.4f;
    bool m_bottom = false;
};

// An upright cylindrical cell: textured side, ring caps round the terminals.
class TBattery : public TCustomSceneObject {
public:
    TBattery();
    void SetHeight(float h);
    float Height() const { return m_height; }
    float Radius() const { return m_radius; }
    // Loads "Battery.bmp" from `folder` when it is there.
    void LoadTexture(const QString& folder);

protected:
    void BuildGeometry(TMesh& mesh) override;

private:
    int m_segments = 16;
    float m_height = 1.4f, m_radius = 1.4f * 0.178571428f;
};

// The relay's upright post, its top bevelled out towards +x to the hinge.
class TRelayPivot : public TCustomSceneObject {
public:
    TRelayPivot();

protected:
    void BuildGeometry(TMesh& mesh) override;

private:
    float m_depth = 0.4f, m_height = 1.25f, m_thickness = 0.1f;
};

// The relay's L-shaped armature hinged at its origin.
class TRelayArm : public TCustomSceneObject {
public:
    TRelayArm();
    // The outline in x-y (hinge at the origin), for tests and picking.
    std::vector<QVector2D> Outline() const;

protected:
    void BuildGeometry(TMesh& mesh) override;

private:
    float m_depth = 0.4f, m_drop = 0.8f, m_length = 0.55f, m_thickness = 0.1f;
    int m_segments = 16;
};

// The centre line of a contact strip: a parabola over the bend length, then
// straight along its tangent to the full length.
std::vector<QVector2D> BendyStripLine(float length, float bendLength, float deflection);

// A contact strip along +y from its origin with a bead at its free end.
class TBendyStrip : public TCustomSceneObject {
public:
    TBendyStrip();
    // Rebuilds only when a value changes.
    void SetBend(float bendLength, float deflection);
    float BendLength() const { return m_bendLength; }
    float Deflection() const { return m_deflection; }

protected:
    void BuildGeometry(TMesh& mesh) override;

private:
    float m_length = 1, m_width = 0.2f, m_thickness = 0.02f, m_deflection = 0, m_bendLength = 0.5f;
};

// The centre line of the bell's flat spring for a bend angle (degrees):
// foot, arc of `radius` bending towards -x, straight rest, two tabs.
std::vector<QVector2D> SpringStripLine(float length, float radius, float bendAngle, int segments);

// The bell's flat spring.
class TSpringStrip : public TCustomSceneObject {
public:
    TSpringStrip();
    // Rebuilds only when the angle changes.
    void SetBendAngle(float degrees);
    float BendAngle() const { return m_angle; }

protected:
    void BuildGeometry(TMesh& mesh) override;

private:
    float m_thickness = 0.02f, m_length = 0.7f, m_width = 0.2f, m_radius = 3, m_angle = 0;
    int m_segments = 10;
};

} // namespace quarvel::CircuitObjects
