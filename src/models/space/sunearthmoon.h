#pragma once
// The Sun, the Earth and the Moon: four small models.
//
//   1 Moon phases   360 units a day; the Moon goes round in 28 days (10080)
//   2 Eclipses      3600 units a year; the Moon's orbit tilted against the Earth's
//   3 Day and night 360 units a day; the tilted Earth spinning in sunlight
//   4 Seasons       360 units a year; the axis keeps its direction in space
//
// The scenes are rebuilt on every selection and recomputed from the position
// alone, so scrolling back and forth gives the same pictures. The updates
// find their objects by child index: the order of each build is fixed.

#include "host/model.h"
#include "scene/primitives.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QVector3D>
#include <memory>
#include <vector>

class QObject;

namespace quarvel {

class TLight;

// (R cos(lat) cos(lon), R sin(lat), R cos(lat) sin(lon)), angles in degrees.
QVector3D SphericalPoint(float longitude, float latitude, float radius);

// A closed horizontal circle of 51 nodes: (r cos t, 0, r sin t), t = i 2pi/50.
std::vector<QVector3D> CircleNodes(float radius);

// --- Moon phases (1) ---
// The Moon's place at position x: (4 cos f, 0, -4 sin f), f = x pi/180 / 28.
QVector3D MoonPhaseMoonPosition(float x);
// The half-width of the lit part's inner edge, in strip pixels (60 at new and full moon).
int MoonPhaseEdge(float x);
// The polygon that, cut by the disc of radius 60 about (cx, cy), leaves the lit part.
std::vector<QPoint> MoonPhasePolygon(float x, int cx, int cy);
// "Day 7" and so on.
QString MoonDayText(float x);
// The whole strip for position x: black, the lit part of `fullMoon` centred
// on the strip, the day, a sunken edge. An empty strip stays as it is; a
// missing picture leaves it black with its edge.
void DrawMoonPhase(QImage& strip, const QImage& fullMoon, float x);

// --- Eclipses (2) ---
QVector3D EclipseEarthPosition(float x);     // (50 cos B, 0, -50 sin B), B = 0.1 x degrees
QVector3D EclipseMoonLocalPosition(float x); // in the Earth's frame: (-20 sin A, 0, 20 cos A), A = 12 B
QVector3D EclipseLightDirection(float x);    // from the Earth towards the Sun

// --- Seasons (4) ---
QVector3D SeasonsEarthPosition(float x); // (5 cos x, 0, -5 sin x)

// --- scenes under a scene base (tests build them under a TDummyCube) ---
void BuildMoonPhaseScene(TSceneObject* base);
void UpdateMoonPhaseScene(TSceneObject* base, float x);
void BuildEclipseScene(TSceneObject* base);
void UpdateEclipseScene(TSceneObject* base, TLight* light1, TLight* light2, float x);
// The Earth's globe and the lines through the Earth are left out while
// `eye` (a point in the scene) is at the Earth, so the view from the Earth
// shows the Sun and the Moon alone.
void ShowEclipseEarthFrom(TSceneObject* base, const QVector3D& eye);
void BuildDayNightScene(TSceneObject* base);
void UpdateDayNightScene(TSceneObject* base, float x);
void ShowDayNightMarkers(TSceneObject* base, bool visible);
void BuildSeasonsScene(TSceneObject* base);
void UpdateSeasonsScene(TSceneObject* base, TLight* light1, TLight* light2, float x);

// A sphere whose surface can be left out while its children stay drawn.
class TGlobe : public TSphere {
public:
    bool SurfaceShown() const { return m_shown; }
    void ShowSurface(bool on) {
        if (on != m_shown)
            m_shown = on, GeometryChanged();
    }

protected:
    void BuildGeometry(TMesh& mesh) override;

private:
    bool m_shown = true;
};

// --- the models ---

class TMoonPhaseModel : public TMoonPhaseTopic {
public:
    TMoonPhaseModel(THost& host, std::int32_t id);
    ~TMoonPhaseModel() override;
    void Build() override;
    void Update(float position) override;
    void DrawStrip(float position) override;

private:
    std::unique_ptr<QObject> m_resizeWatch;
    // What the strip last showed: it is drawn again only when that changes.
    QString m_shown;
};

class TEclipseModel : public TCommonTopic {
public:
    using TCommonTopic::TCommonTopic;
    void Build() override;
    void Update(float position) override;
};

class TDayNightModel : public TNightDayTopic {
public:
    using TNightDayTopic::TNightDayTopic;
    void Build() override;
    void Update(float position) override;
    void SetMarkers(bool on) override;
};

class TSeasonsModel : public TSeasonsTopic {
public:
    using TSeasonsTopic::TSeasonsTopic;
    void Build() override;
    void Update(float position) override;
};

// Makes topics 1 to 4 use these models.
void RegisterSunEarthMoonModels();

} // namespace quarvel
