#pragma once
// Bodies that circle the Earth: two models.
//
//   6 Satellites  360 units a day; a geostationary satellite turning with
//                 the Earth and a polar one going round six times a day,
//                 with the ground track of the polar one on a map strip
//   7 Gravity     a satellite launched sideways from (0, 2), pulled towards
//                 the Earth's centre (radius 0.9, GM 1) by an inverse-square
//                 force, stepped in single precision
//
// The Earth turns west to east: a positive turn about its axis. Its texture
// puts 180 degrees west at the picture's left edge and is shifted a quarter
// turn (txEarth), so in the Earth's own frame Greenwich looks along -x and
// 90 degrees east along +z.

#include "host/model.h"

#include <QColor>
#include <QImage>
#include <QVector3D>
#include <memory>

class QObject;

namespace quarvel {

class TSceneObject;

// --- Satellites (6) ---
constexpr float kGeostationaryRadius = 6.5625f;
constexpr float kPolarRadius = 0.3f * kGeostationaryRadius; // 1.96875

// The geographic longitude (degrees, -180..180) on the course's Earth under
// a direction given in the Earth's own frame.
float GlobeLongitude(const QVector3D& local);
// Where the polar satellite is in the scene at position x.
QVector3D PolarSatellitePosition(float x);
// Where the geostationary satellite is in the scene at position x.
QVector3D GeostationaryPosition(float x);
// The place under the polar satellite: longitude (degrees, -180..180) and
// the sine of its latitude.
struct TGroundPoint {
    float Longitude;
    float SinLatitude;
};
TGroundPoint GroundPoint(float x);
// The dot's centre on a map of w x h pixels (180 W at the left edge, an
// equal-area cylindrical map: heights go with the sine of the latitude).
QPoint GroundTrackDot(float x, int w, int h);
// The dot: 11 x 11, a red disc with a dark rim, transparent outside.
QImage GroundTrackDotPicture();
// The whole strip of w x h pixels: `background`, the map at the left of a
// strip no wider than it (centred in a wider one), the dot, a sunken edge
// round the map. A missing map leaves the strip blank.
void DrawGroundTrack(QImage& strip, const QImage& map, float x, const QColor& background);

void BuildSatellitesScene(TSceneObject* base);
void UpdateSatellitesScene(TSceneObject* base, float x);

// --- Gravity (7) ---
// The one launch state of the program, in scene units.
struct TLaunchState {
    float X = 0, Y = 2, VX = 0, VY = 0;
};
TLaunchState& GravityState();
void SetLaunch(TLaunchState& s, float x, float y, float vx);
// Fifty sub-steps of 0.001; false (and the last completed sub-step kept)
// once the satellite would touch the Earth.
bool StepGravity(TLaunchState& s);
// The roll (degrees) that turns the satellite's local -y towards the
// Earth's centre and its +x along the clockwise tangent.
float SatelliteRoll(const TLaunchState& s);

void BuildGravityScene(TSceneObject* base, float vx);
void PlaceSatellite(TSceneObject* base, const TLaunchState& s);
void SetVelocityArrow(TSceneObject* base, float length);
void ShowVelocityArrow(TSceneObject* base, bool visible);

// --- the models ---

class TSatellitesModel : public TSatellitesTopic {
public:
    TSatellitesModel(THost& host, std::int32_t id);
    ~TSatellitesModel() override;
    void Build() override;
    void Update(float position) override;
    void DrawStrip(float position) override;

private:
    std::unique_ptr<QObject> m_resizeWatch;
    // Where the strip last showed the dot, and at what width.
    QPoint m_dot{-1, -1};
    int m_width = 0;
};

class TGravityModel : public TGravityTopic {
public:
    using TGravityTopic::TGravityTopic;
    void Build() override;
    void SetLaunch(float speed) override;
    // The velocity arrow's length; 0 hides it (the satellite is on its way).
    void SetPosition(float length) override;
    void Redraw() override;
    bool Step() override;
};

// Makes topics 6 and 7 use these models.
void RegisterSatelliteModels();

} // namespace quarvel
