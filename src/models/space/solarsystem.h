#pragma once
// The solar system (topic 5): the nine planets going round the Sun, either
// with their orbits to scale (true ellipses in astronomical units, tilted by
// their inclinations, the Sun at a focus) or with the planets to scale
// (textured spheres with their axial tilts and Saturn's ring, on circles
// whose radii are not to scale).
//
// The animation position is the Earth's orbital angle in degrees: 360 is one
// Earth year, and each planet turns that angle divided by its period in
// years. Worked in single precision.

#include "host/model.h"
#include "scene/sceneobject.h"

#include <QString>
#include <vector>

namespace quarvel {

struct TOrbitElements {
    float SemiMajorAxis; // a, AU
    float Eccentricity;  // e
    float Inclination;   // degrees
    float Period;        // years
    float Diameter;      // Earth = 1
};

struct TPlanetDisplay {
    float OrbitRadius; // display units
    float Period;
    float Diameter;
    float Tilt; // degrees
};

// Rows 0..8, Mercury to Pluto; any other index gives Pluto's row.
const TOrbitElements& OrbitElements(int index);
const TPlanetDisplay& PlanetDisplay(int index);
// "Mercury" ... "Neptune" for 0..7, "Pluto" for any other index.
QString PlanetName(int index);
// The planet's library material: "tx" and its name.
QString PlanetMaterial(int index);

// b = a sqrt(1 - e^2), c = a e.
float SemiMinorAxis(int index);
float FocusOffset(int index);
// The 41 nodes of an orbit line (the last equal to the first), in the orbit's frame.
std::vector<QVector3D> OrbitNodes(int index);
// The planet's place in its orbit's frame at Earth angle `angle` (degrees).
QVector3D OrbitPosition(int index, float angle);
// The planet's place in the planets view.
QVector3D PlanetsViewPosition(int index, float angle);

// A flat ring in the xz plane: an upper face looking up and a lower face
// looking down; the texture's s runs across the ring (outer to inner on the
// lower face), t is 0, so the ring picture is read along its first row.
class TSatRing : public TCustomSceneObject {
public:
    float InnerRadius = 6.0f;
    float OuterRadius = 10.0f;
    int Slices = 16;
    void Changed() { GeometryChanged(); }

protected:
    void BuildGeometry(TMesh& mesh) override;
};

void BuildOrbitsView(TSceneObject* sceneBase);
void BuildPlanetsView(TSceneObject* sceneBase);
void UpdateOrbitsView(TSceneObject* sceneBase, float angle);
void UpdatePlanetsView(TSceneObject* sceneBase, float angle);
// The planet sphere of index i in either view, or nullptr while the scene is incomplete.
TSceneObject* PlanetSphere(TSceneObject* sceneBase, int index, bool planetsView);

class TSolarSystemModel : public TSolarSystemTopic {
public:
    using TSolarSystemTopic::TSolarSystemTopic;
    void Build() override;
    void Update(float position) override;
    void CreateLabels() override;
    void PlaceLabels() override;
    // "Show orbits to scale" / "Show planets to scale": switches the view, keeping the position.
    void ChooseView(bool planetsToScale) override;
    void ShowNames(bool on) override;
};

// Makes topic 5 use this model.
void RegisterSolarSystemModel();

} // namespace quarvel
