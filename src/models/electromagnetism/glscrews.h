#pragma once
// Screw threads and slotted screw heads.

#include "scene/sceneobject.h"

namespace quarvel {

// The crest radius of a screw's thread at station i (of n per turn, m turns)
// with the option flags (4: growing over the first half turn, 8: shrinking
// over the last). Counts below 2 per turn make the half turn one station.
float ScrewCrestRadius(float r, float t, int n, int m, int options, int i);

// A screw thread along local +x from x = 0.
class TScrew : public TCustomSceneObject {
public:
    TScrew(float coreRadius, float threadDepth, float pitch, float rootWidth, int segmentsPerTurn, int turns);
    void SetOptions(int flags);
    void SetThreadForm(int form) { m_form = form, GeometryChanged(); }
    void SetLeftHand(bool on) { m_leftHand = on, GeometryChanged(); }
    int Options() const { return m_options; }
    int SegmentsPerTurn() const { return m_n; }
    int Turns() const { return m_m; }

protected:
    void BuildGeometry(TMesh& mesh) override;

private:
    float m_r, m_t, m_p, m_w;
    int m_n, m_m, m_form = 0, m_options = 6;
    bool m_leftHand = false;
};

// How a slotted head's circle is divided: the slot's half-angle and the
// segment counts of the arcs at the slot ends, along the sides, and across
// the 180-degree end. The slot is never wider than the head.
struct TSlotArcs {
    float HalfAngle = 0; // degrees
    int EndSegments = 1, SideSegments = 1, AcrossSegments = 2;
};
TSlotArcs SlotCylinderArcs(float radius, float slotWidth, int slices);

// A slotted screw head round local z; a unit shape scaled by the radius.
class TSlotCylinder : public TCustomSceneObject {
public:
    // Rebuilds when r differs; radii that are not positive are ignored.
    void SetRadius(float r);
    float Radius() const { return m_radius; }

protected:
    void BuildGeometry(TMesh& mesh) override;

private:
    float m_radius = 0.5f, m_height = 1.5f, m_slotWidth = 0.05f, m_slotDepth = 0.5f;
    int m_slices = 20;
};

} // namespace quarvel
