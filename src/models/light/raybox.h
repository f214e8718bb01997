#pragma once
// Scene pieces of the ray-box topics: the ray box itself, its slit plates,
// knob and bulb, the beams (glowing pipes and thin lines) and the spectrum
// fan a prism spreads.

#include "scene/primitives.h"
#include "scene/solids.h"

#include <array>

namespace quarvel {

class TMaterialLibrary;

// The ray box's housing (walls rising from local z = 0 to 1) and its white
// floor; the beam leaves along local +y.
class TGLRaybox : public TCustomSceneObject {
public:
    TGLRaybox();
    // The wall outline in the local x-y plane.
    static const TContour& WallOutline();

protected:
    void BuildGeometry(TMesh& mesh) override;
};

// A slit plate 1 wide, 1.1 high and 0.05 thick with one slot, or three.
std::unique_ptr<TExtrusionSolid> CreateSlitPlate(bool threeSlits);
// The knob and the bulb the ray box carries.
std::unique_ptr<TRevolutionSolid> CreateRayboxKnob();
std::unique_ptr<TSphere> CreateRayboxBulb();
// The ray box named "raybox", pitched and rolled so that its local z
// points up and its beam along -x, with slit plate, knob and bulb.
std::unique_ptr<TGLRaybox> CreateRaybox(const TMaterialLibrary& lib);

// A glowing tube of radius 0.04 with 5 sides between two points.
std::unique_ptr<TPipe> CreatePipeRay(const QVector3D& from, const QVector3D& to);
// A copy of a pipe ray: its geometry only, placed and scaled along x by the copy.
std::unique_ptr<TProxy> CreatePipeCopy(TPipe* master, float scaleX, float turn, const QVector3D& at = {});
// An anti-aliased line without node markers.
std::unique_ptr<TLines> CreateLineRay(std::vector<QVector3D> nodes, const QColor& colour);

// The spectrum fan between the blue ray (P1 to P2) and the red one (P3 to
// P4): five colour bands from red to violet, unlit, seen from both sides.
class TSpectrum : public TCustomSceneObject {
public:
    TSpectrum();
    void SetPoints(const QVector3D& p1, const QVector3D& p2, const QVector3D& p3, const QVector3D& p4);
    std::array<QVector3D, 4> Points() const { return m_points; }
    static const std::array<QVector4D, 5>& BandColours();

protected:
    void BuildGeometry(TMesh& mesh) override;

private:
    std::array<QVector3D, 4> m_points{};
};

} // namespace quarvel
