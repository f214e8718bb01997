#include "../testmain.h"
#include "host/host.h"
#include "models/space/solarsystem.h"
#include "scene/viewer.h"
#include "widgets/dialogs.h"
#include "shell/courseareas.h"
#include "shell/framefrm.h"

#include <QAction>
#include <QSettings>
#include <cmath>

using namespace quarvel;

namespace {
bool Near(const QVector3D& a, const QVector3D& b, float eps = 1e-4f) { return (a - b).length() < eps; }
}

class TestSolarSystem : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void tables();
    void orbitNodes();
    void positionsAfterOneYear();
    void planetsView();
    void ringGeometry();
    void orbitsViewScene();
    void planetMaterialsByName();
    void inTheWindow();

private:
    std::unique_ptr<TFrameFrm> m_frame;
};

void TestSolarSystem::initTestCase() {
    RegisterCourseAreas();
    QSettings(QStringLiteral("Brantock"), QStringLiteral("Quarvel")).clear();
    SetBoxAnswerer([](const TBoxRequest&) { return true; });
}

void TestSolarSystem::tables() {
    QCOMPARE(PlanetName(0), QStringLiteral("Mercury"));
    QCOMPARE(PlanetName(7), QStringLiteral("Neptune"));
    QCOMPARE(PlanetName(8), QStringLiteral("Pluto"));
    QCOMPARE(PlanetName(42), QStringLiteral("Pluto"));
    QCOMPARE(OrbitElements(-1).SemiMajorAxis, 39.52874f); // out of range: Pluto's row
    QCOMPARE(PlanetDisplay(2).Tilt, -23.4f);
}

void TestSolarSystem::orbitNodes() {
    // Earth: b = a sqrt(1 - e^2), c = a e.
    QVERIFY(std::abs(SemiMinorAxis(2) - std::sqrt(1 - 0.0167f * 0.0167f)) < 1e-6f);
    QCOMPARE(FocusOffset(2), 0.0167f);
    for (int i = 0; i < 9; ++i) {
        const auto nodes = OrbitNodes(i);
        QCOMPARE(nodes.size(), std::size_t(41));
        QCOMPARE(nodes[40], nodes[0]);
        const float a = OrbitElements(i).SemiMajorAxis, e = OrbitElements(i).Eccentricity;
        QVERIFY(Near(nodes[0], QVector3D(a * (1 + e), 0, 0), 1e-4f * a));
        // A quarter of the way round: on the minor axis, above the centre (c, 0).
        QVERIFY(Near(nodes[10], QVector3D(FocusOffset(i), 0, -SemiMinorAxis(i)), 1e-4f * a));
    }
}

void TestSolarSystem::positionsAfterOneYear() {
    for (int i = 0; i < 9; ++i)
        QVERIFY(Near(OrbitPosition(i, 0), QVector3D(OrbitElements(i).SemiMajorAxis * (1 + OrbitElements(i).Eccentricity), 0, 0), 1e-4f * 40));
    QVERIFY(Near(OrbitPosition(2, 360), OrbitPosition(2, 0), 1e-4f)); // the Earth is back
    // Mercury has gone 360 / 0.2408 = 1495 degrees: 4.15 orbits, 55 degrees past the fourth.
    const float turns = 360 / 0.2408f / 360;
    QVERIFY(std::abs(turns - 4.15f) < 0.01f);
    const float t = (turns - 4) * 6.283185f;
    const QVector3D expected(0.3870989f * std::cos(t) + FocusOffset(0), 0, -SemiMinorAxis(0) * std::sin(t));
    QVERIFY(Near(OrbitPosition(0, 360), expected, 1e-3f));
    QVERIFY(OrbitPosition(0, 360).z() < 0); // anticlockwise seen from +y
}

void TestSolarSystem::planetsView() {
    for (int i = 0; i < 9; ++i)
        QVERIFY(Near(PlanetsViewPosition(i, 0), QVector3D(PlanetDisplay(i).OrbitRadius, 0, 0)));
    QVERIFY(Near(PlanetsViewPosition(2, 90), QVector3D(0, 0, -4)));
    QVERIFY(Near(PlanetsViewPosition(2, 360), QVector3D(4, 0, 0), 1e-4f));
}

void TestSolarSystem::ringGeometry() {
    TSatRing ring;
    ring.Slices = 4;
    ring.Changed();
    const TMesh& m = ring.Geometry();
    QCOMPARE(m.Positions.size(), std::size_t(2 * 2 * 5));
    QCOMPARE(m.TriangleCount(), std::size_t(2 * 2 * 4));
    // Upper face: I0, O0, ... with s = 0 then 1; lower face: O0, I0, ...
    QVERIFY(Near(m.Positions[0], QVector3D(6, 0, 0)));
    QVERIFY(Near(m.Positions[1], QVector3D(10, 0, 0)));
    QCOMPARE(m.TexCoords[0], QVector2D(0, 0));
    QCOMPARE(m.TexCoords[1], QVector2D(1, 0));
    QVERIFY(Near(m.Positions[3], QVector3D(0, 0, -10))); // O1 at 90 degrees
    QVERIFY(Near(m.Positions[10], QVector3D(10, 0, 0)));
    QCOMPARE(m.TexCoords[10], QVector2D(0, 0));
    QCOMPARE(m.TexCoords[11], QVector2D(1, 0));
    QCOMPARE(m.Normals[0], QVector3D(0, 1, 0));
    QCOMPARE(m.Normals[10], QVector3D(0, -1, 0));
    // Each face's triangles turn towards its normal.
    for (std::size_t i = 0; i < m.Indices.size(); i += 3) {
        const QVector3D a = m.Positions[m.Indices[i]], b = m.Positions[m.Indices[i + 1]], c = m.Positions[m.Indices[i + 2]];
        QVERIFY(QVector3D::dotProduct(QVector3D::crossProduct(b - a, c - a), m.Normals[m.Indices[i]]) > 0);
    }
}

void TestSolarSystem::orbitsViewScene() {
    TDummyCube base;
    BuildOrbitsView(&base);
    QCOMPARE(base.Count(), 10);
    QCOMPARE(base.Child(8)->PitchAngle(), 17.f); // Pluto's orbit tilts
    QCOMPARE(static_cast<TSphere*>(base.Child(4)->Child(0))->Radius(), 0.5f);
    QCOMPARE(static_cast<TSphere*>(base.Child(3)->Child(0))->Radius(), 0.2f);
    UpdateOrbitsView(&base, 90);
    QVERIFY(Near(base.Child(2)->Child(0)->Position(), OrbitPosition(2, 90)));
    TDummyCube few;
    few.AddNew<TDummyCube>();
    UpdateOrbitsView(&few, 90); // fewer than nine children: nothing happens
    TDummyCube planets;
    BuildPlanetsView(&planets);
    QCOMPARE(planets.Count(), 18);
    QCOMPARE(planets.Child(17)->Scale(), QVector3D(55, 55, 55));
}

void TestSolarSystem::planetMaterialsByName() {
    TDummyCube base;
    BuildPlanetsView(&base);
    const QStringList expected = {"txMercury", "txVenus", "txEarth", "txMars", "txJupiter",
                                  "txSaturn", "txUranus", "txNeptune", "txPluto"};
    for (int i = 0; i < 9; ++i)
        QCOMPARE(base.Child(i)->MaterialName, expected[i]); // Uranus is no ring
    QCOMPARE(base.Child(5)->Child(0)->MaterialName, QStringLiteral("txSatRings"));
}

void TestSolarSystem::inTheWindow() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Topics->SelectTopic(5);
    THost& host = *f.Host;
    QCOMPARE(host.SceneBase->Count(), 10);
    QVERIFY(!host.FontDC->Visible); // names off at start
    f.Item("ssPlanetNamesBtn")->trigger();
    QVERIFY(host.FontDC->Visible);
    QCOMPARE(host.FontDC->Count(), 9);

    // Labels sit on their planets, for a known camera.
    host.GLCamera->SetPosition(0, 30, 40);
    auto* model = static_cast<TSolarSystemModel*>(host.Model());
    model->Update(200);
    model->PlaceLabels();
    const TViewport view = host.GLViewer->Viewport();
    for (int i = 0; i < 9; ++i) {
        auto* label = static_cast<TScreenText*>(host.FontDC->Child(i));
        const QPointF at = *view.Project(PlanetSphere(host.SceneBase, i, false)->AbsolutePosition());
        QVERIFY(label->Visible);
        QVERIFY(QLineF(label->PixelPosition, at).length() < 0.01);
    }
    // A planet behind the camera: its label is hidden.
    host.GLCamera->SetPosition(20, 0.3f, 0);
    model->PlaceLabels();
    int hidden = 0;
    for (int i = 0; i < 9; ++i)
        hidden += host.FontDC->Child(i)->Visible ? 0 : 1;
    QVERIFY(hidden > 0);

    // Switching the view keeps the position and stops the animation.
    host.Start();
    f.AnimPosition = 123;
    f.Item("Planets1")->trigger();
    QVERIFY(f.PlanetsToScale);
    QVERIFY(!host.TimerRunning());
    QVERIFY(f.Item("StartBtn")->isEnabled());
    QVERIFY(!f.Item("StopBtn")->isEnabled());
    QCOMPARE(host.SceneBase->Count(), 18);
    for (int i = 0; i < 9; ++i)
        QVERIFY(Near(host.SceneBase->Child(i)->Position(), PlanetsViewPosition(i, 123)));
    // The mode already shown: nothing changes, and a running animation keeps running.
    host.Start();
    f.Item("Planets1")->trigger();
    QVERIFY(host.TimerRunning());

    // "+ssview" stops the animation fully, so Start can run it again.
    QVERIFY(f.RunPageCommand("+ssview"));
    QVERIFY(!host.TimerRunning());
    QVERIFY(f.Item("StartBtn")->isEnabled());
    QVERIFY(!f.Item("StopBtn")->isEnabled());
    QVERIFY(f.Item("SSViewBtn")->isEnabled());
    QTRY_VERIFY(QApplication::activePopupWidget()); // the Scale menu opened
    QApplication::activePopupWidget()->close();
    QTRY_VERIFY(!QApplication::activePopupWidget());

    // The names come back with the topic.
    f.Topics->SelectTopic(1);
    QVERIFY(!host.FontDC->Visible);
    f.Topics->SelectTopic(5);
    QVERIFY(host.FontDC->Visible);
    QVERIFY(f.PlanetsToScale); // the view mode survives topic changes
}

QUARVEL_GUI_TEST_MAIN(TestSolarSystem)
#include "tst_solarsystem.moc"
