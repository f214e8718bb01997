// The Sun, Earth and Moon models: Moon phases with their strip, eclipses,
// day and night, seasons; the scenes built under a bare node, then the
// pages' commands in the window.

#include "../testmain.h"
#include "host/host.h"
#include "models/space/sunearthmoon.h"
#include "scene/camera.h"
#include "scene/solids.h"
#include "shell/courseareas.h"
#include "shell/framefrm.h"
#include "widgets/dialogs.h"

#include <QAction>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QSettings>
#include <cmath>

using namespace quarvel;

namespace {
bool Near(const QVector3D& a, const QVector3D& b, float eps = 1e-3f) { return (a - b).length() < eps; }

const QVector3D kTiltedAxis(std::sin(23 * 3.14159265f / 180), std::cos(23 * 3.14159265f / 180), 0);

// Lit pixels of a strip left and right of its centre, inside the disc.
std::pair<int, int> LitHalves(const QImage& strip) {
    const int cx = strip.width() / 2, cy = strip.height() / 2;
    int left = 0, right = 0;
    for (int y = cy - 60; y <= cy + 60; ++y)
        for (int x = cx - 60; x <= cx + 60; ++x)
            if (x != cx && qGray(strip.pixel(x, y)) > 100)
                (x < cx ? left : right)++;
    return {left, right};
}

QImage WhitePicture(int size) {
    QImage moon(size, size, QImage::Format_RGB32);
    moon.fill(Qt::white);
    return moon;
}
} // namespace

class TestSunEarthMoon : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void sphericalPoint_data();
    void sphericalPoint();
    void moonStrip_data();
    void moonStrip();
    void moonPictureCentredWhateverItsSize();
    void moonStripWithoutPicture();
    void moonPhaseScene();
    void eclipseAt900();
    void eclipseSeenFromTheEarth();
    void dayNightScene();
    void seasons_data();
    void seasons();
    void moonPhasePage();
    void eclipsePage();
    void dayNightPage();
    void seasonsPage();
};

void TestSunEarthMoon::initTestCase() {
    RegisterCourseAreas();
    QSettings(QStringLiteral("Brantock"), QStringLiteral("Quarvel")).clear();
    SetBoxAnswerer([](const TBoxRequest&) { return true; });
}

void TestSunEarthMoon::sphericalPoint_data() {
    QTest::addColumn<float>("lon");
    QTest::addColumn<float>("lat");
    QTest::addColumn<float>("r");
    QTest::addColumn<QVector3D>("point");
    QTest::newRow("origin of both") << 0.f << 0.f << 1.f << QVector3D(1, 0, 0);
    QTest::newRow("longitude 90 lies on +z") << 90.f << 0.f << 1.f << QVector3D(0, 0, 1);
    QTest::newRow("north pole") << 0.f << 90.f << 2.f << QVector3D(0, 2, 0);
    QTest::newRow("seasons marker") << 180.f << 52.f << 1.01f
                                    << QVector3D(-1.01f * std::cos(0.907571f), 1.01f * std::sin(0.907571f), 0);
    QTest::newRow("yellow marker") << 115.f << -50.f << 1.01f
                                   << QVector3D(1.01f * std::cos(-0.872665f) * std::cos(2.007129f),
                                                1.01f * std::sin(-0.872665f),
                                                1.01f * std::cos(-0.872665f) * std::sin(2.007129f));
}

void TestSunEarthMoon::sphericalPoint() {
    QFETCH(float, lon);
    QFETCH(float, lat);
    QFETCH(float, r);
    QFETCH(QVector3D, point);
    QVERIFY(Near(SphericalPoint(lon, lat, r), point, 1e-5f));
}

void TestSunEarthMoon::moonStrip_data() {
    QTest::addColumn<float>("position");
    QTest::addColumn<bool>("leftLit");
    QTest::addColumn<bool>("rightLit");
    QTest::addColumn<QString>("day");
    QTest::newRow("new moon") << 0.f << false << false << "Day 0";
    QTest::newRow("first quarter") << 2520.f << false << true << "Day 7";
    QTest::newRow("full moon") << 5040.f << true << true << "Day 14";
    QTest::newRow("last quarter") << 7560.f << true << false << "Day 21";
    QTest::newRow("new again") << 10080.f << false << false << "Day 28";
}

void TestSunEarthMoon::moonStrip() {
    QFETCH(float, position);
    QFETCH(bool, leftLit);
    QFETCH(bool, rightLit);
    QFETCH(QString, day);
    QCOMPARE(MoonDayText(position), day);
    QImage strip(400, 130, QImage::Format_RGB32);
    DrawMoonPhase(strip, WhitePicture(128), position);
    const auto [left, right] = LitHalves(strip);
    const int half = int(3.14159 * 60 * 60 / 2);
    // A lit half is (nearly) all of it; a dark one has nothing beyond an edge's stray pixel.
    QCOMPARE(left > half * 9 / 10, leftLit);
    QCOMPARE(right > half * 9 / 10, rightLit);
    QVERIFY(leftLit || left < 60);
    QVERIFY(rightLit || right < 60);
    // The day is written at the top left, white on black.
    int white = 0;
    for (int y = 5; y < 20; ++y)
        for (int x = 5; x < 60; ++x)
            white += qGray(strip.pixel(x, y)) > 200;
    QVERIFY(white > 10);
    // The sunken edge round the strip.
    QCOMPARE(strip.pixel(0, 0), qRgb(128, 128, 128));
    QCOMPARE(strip.pixel(399, 129), qRgb(255, 255, 255));
}

void TestSunEarthMoon::moonPictureCentredWhateverItsSize() {
    // A bright disc of radius 60 in the middle of a larger picture lands
    // on the lit disc: both edges at full moon are lit, just outside is dark.
    for (int size : {120, 128, 140}) {
        QImage moon(size, size, QImage::Format_RGB32);
        moon.fill(Qt::black);
        QPainter p(&moon);
        p.setBrush(Qt::white);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(size / 2.0, size / 2.0), 60, 60);
        p.end();
        QImage strip(300, 130, QImage::Format_RGB32);
        DrawMoonPhase(strip, moon, 5040);
        for (int dx : {-57, 57, 0})
            QVERIFY2(qGray(strip.pixel(150 + dx, 65)) > 200, qPrintable(QStringLiteral("size %1 dx %2").arg(size).arg(dx)));
        for (int dy : {-57, 57})
            QVERIFY(qGray(strip.pixel(150, 65 + dy)) > 200);
    }
}

void TestSunEarthMoon::moonStripWithoutPicture() {
    QImage strip(200, 130, QImage::Format_RGB32);
    strip.fill(Qt::red);
    DrawMoonPhase(strip, QImage(), 5040);
    QCOMPARE(strip.pixel(100, 65), qRgb(0, 0, 0));
    QCOMPARE(strip.pixel(10, 10), qRgb(0, 0, 0)); // no day either
    QCOMPARE(strip.pixel(0, 0), qRgb(128, 128, 128));
    QImage empty;
    DrawMoonPhase(empty, WhitePicture(128), 0); // nothing to draw on: nothing happens
    QVERIFY(empty.isNull());
}

void TestSunEarthMoon::moonPhaseScene() {
    TDummyCube base;
    BuildMoonPhaseScene(&base);
    QCOMPARE(base.Count(), 3);
    TSceneObject* group = base.Child(0);
    QVERIFY(Near(group->AbsoluteUp(), kTiltedAxis));
    QCOMPARE(group->Child(0)->MaterialName, QStringLiteral("txEarth"));
    auto* orbit = dynamic_cast<TLines*>(base.Child(2));
    QVERIFY(orbit);
    QCOMPARE(orbit->Nodes.size(), std::size_t(51));
    QVERIFY(Near(orbit->Nodes[50], QVector3D(4, 0, 0)));
    QVERIFY(Near(base.Child(1)->Position(), QVector3D(4, 0, 0))); // new moon: towards the Sun
    UpdateMoonPhaseScene(&base, 2520);
    QVERIFY(Near(base.Child(1)->Position(), QVector3D(0, 0, -4)));
    UpdateMoonPhaseScene(&base, 5040);
    QVERIFY(Near(base.Child(1)->Position(), QVector3D(-4, 0, 0)));
    // A day's spin about the tilted axis: the axis stays, the angle counts on.
    UpdateMoonPhaseScene(&base, 90);
    QCOMPARE(group->TurnAngle(), 240.f);
    QVERIFY(Near(group->AbsoluteUp(), kTiltedAxis));
}

void TestSunEarthMoon::eclipseAt900() {
    TDummyCube base;
    BuildEclipseScene(&base);
    QCOMPARE(base.Count(), 3);
    TLight l1, l2;
    UpdateEclipseScene(&base, &l1, &l2, 900);
    TSceneObject* sun = base.Child(0);
    TSceneObject* earth = sun->Child(0);
    TSceneObject* moon = earth->Child(0);
    QVERIFY(Near(sun->AbsolutePosition(), QVector3D(0, 0, 0)));
    QVERIFY(Near(earth->AbsolutePosition(), QVector3D(0, 0, -50)));
    QVERIFY(Near(moon->AbsolutePosition(), QVector3D(0, 0, -30)));
    QVERIFY(Near(l1.SpotDirection, QVector3D(0, 0, 1)));
    QVERIFY(Near(l2.SpotDirection, QVector3D(0, 0, 1)));
    // The Sun-Earth line still joins them.
    QVERIFY(Near(base.Child(1)->AbsoluteMatrix().map(QVector3D(50, 0, 0)), QVector3D(0, 0, -50)));
    auto* line = static_cast<TLines*>(base.Child(1));
    QVERIFY(line->StipplePattern != 0xFFFF);
    // The Moon's orbit is tilted with the Earth: a quarter month later it is off the plane.
    UpdateEclipseScene(&base, &l1, &l2, 900 + 75); // A moves on by 90 degrees
    QVERIFY(std::abs(moon->AbsolutePosition().y()) > 5);
    UpdateEclipseScene(&base, &l1, &l2, 0);
    QVERIFY(Near(earth->AbsolutePosition(), QVector3D(50, 0, 0)));
    QVERIFY(Near(l1.SpotDirection, QVector3D(-1, 0, 0)));
}

void TestSunEarthMoon::eclipseSeenFromTheEarth() {
    TDummyCube base;
    BuildEclipseScene(&base);
    UpdateEclipseScene(&base, nullptr, nullptr, 900);
    auto* earth = static_cast<TGlobe*>(base.Child(0)->Child(0));
    const QVector3D eye(0, 0, -55.69f);
    ShowEclipseEarthFrom(&base, eye);
    QVERIFY(!earth->SurfaceShown());
    QCOMPARE(earth->Geometry().TriangleCount(), std::size_t(0));
    QVERIFY(earth->Visible && earth->Child(0)->Visible); // the Moon is still drawn
    QVERIFY(!earth->Child(1)->Visible && !base.Child(1)->Visible && !base.Child(2)->Visible);
    // From there the Moon's disc covers the Sun's, all but a hair.
    const QVector3D moon = earth->Child(0)->AbsolutePosition();
    const float moonAngle = std::asin(1.35f / (moon - eye).length());
    const float sunAngle = std::asin(3 / eye.length());
    QVERIFY(moonAngle > 0.97f * sunAngle && moonAngle <= sunAngle);
    ShowEclipseEarthFrom(&base, QVector3D(-49.38f, 39.6f, 96.93f));
    QVERIFY(earth->SurfaceShown());
    QVERIFY(earth->Geometry().TriangleCount() > 0);
    QVERIFY(earth->Child(1)->Visible && base.Child(1)->Visible && base.Child(2)->Visible);
}

void TestSunEarthMoon::dayNightScene() {
    TDummyCube base;
    BuildDayNightScene(&base);
    QCOMPARE(base.Count(), 12);
    auto* earth = static_cast<TSphere*>(base.Child(0));
    QCOMPARE(earth->Slices(), 32);
    QVERIFY(Near(earth->AbsoluteUp(), kTiltedAxis));
    auto* markers = dynamic_cast<TPoints*>(earth->Child(0));
    QVERIFY(markers);
    QVERIFY(!markers->Visible);
    QCOMPARE(markers->Positions.size(), std::size_t(3));
    QVERIFY(Near(markers->Positions[1], QVector3D(0, 0, 1.01f), 1e-5f));
    QCOMPARE(markers->Colors[0], QColor(255, 0, 0));
    ShowDayNightMarkers(&base, true);
    QVERIFY(markers->Visible);
    // Eleven arrows, heads at x = 1.7, heights -1.0 ... 1.0.
    for (int i = 0; i <= 10; ++i) {
        TSceneObject* arrow = base.Child(1 + i);
        const QMatrix4x4 m = i == 0 ? arrow->AbsoluteMatrix() : arrow->AbsoluteMatrix() * base.Child(1)->LocalMatrix();
        QVERIFY(Near(m.map(QVector3D(0, 0, 0)), QVector3D(1.7f, -1 + 0.2f * float(i), 0)));
    }
    UpdateDayNightScene(&base, 90);
    QCOMPARE(earth->TurnAngle(), 90.f);
    QVERIFY(Near(earth->AbsoluteUp(), kTiltedAxis));
}

void TestSunEarthMoon::seasons_data() {
    QTest::addColumn<float>("position");
    QTest::addColumn<QVector3D>("earth");
    QTest::addColumn<float>("lean"); // the axis towards the Sun (+) or away (-)
    QTest::newRow("winter") << 0.f << QVector3D(5, 0, 0) << -1.f;
    QTest::newRow("spring") << 90.f << QVector3D(0, 0, -5) << 0.f;
    QTest::newRow("summer") << 180.f << QVector3D(-5, 0, 0) << 1.f;
    QTest::newRow("autumn") << 270.f << QVector3D(0, 0, 5) << 0.f;
}

void TestSunEarthMoon::seasons() {
    QFETCH(float, position);
    QFETCH(QVector3D, earth);
    QFETCH(float, lean);
    TDummyCube base;
    BuildSeasonsScene(&base);
    QCOMPARE(base.Count(), 3);
    TLight l1, l2;
    UpdateSeasonsScene(&base, &l1, &l2, position);
    TSceneObject* group = base.Child(0);
    QVERIFY(Near(group->Position(), earth));
    QVERIFY(Near(l1.SpotDirection, -earth.normalized()));
    QVERIFY(Near(l2.SpotDirection, l1.SpotDirection));
    QVERIFY(Near(group->AbsoluteUp(), kTiltedAxis)); // the axis keeps its direction
    const float towardsSun = QVector3D::dotProduct(group->AbsoluteUp(), -earth.normalized());
    QVERIFY(std::abs(towardsSun - lean * std::sin(23 * 3.14159265f / 180)) < 1e-4f);
    auto* place = dynamic_cast<TPoints*>(group->Child(0)->Child(0));
    QVERIFY(place && place->Visible);
    QVERIFY(Near(place->Positions[0], SphericalPoint(180, 52, 1.01f), 1e-6f));
}

void TestSunEarthMoon::moonPhasePage() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Topics->SelectTopic(1);
    THost& host = *f.Host;
    QCOMPARE(host.SceneBase->Count(), 3);
    QVERIFY(f.Moonpic->isVisible());
    QTRY_COMPARE(f.Moonpic->pixmap().width(), f.Moonpic->width());

    // A command stops the animation fully; Start goes on from its position.
    host.Start();
    QVERIFY(host.TimerRunning());
    QVERIFY(f.RunPageCommand("+moon3"));
    QVERIFY(!host.TimerRunning());
    QVERIFY(f.Item("StartBtn")->isEnabled());
    QVERIFY(!f.Item("StopBtn")->isEnabled());
    QCOMPARE(f.GLHsb->value(), 5040);
    QVERIFY(Near(host.SceneBase->Child(1)->Position(), QVector3D(-4, 0, 0)));
    const auto [left, right] = LitHalves(f.Moonpic->pixmap().toImage());
    QVERIFY(left > 3000 && right > 3000); // full moon
    host.Start();
    QCOMPARE(f.AnimPosition, 5040.f);

    QVERIFY(f.RunPageCommand("+c1"));
    QVERIFY(f.Item("StartBtn")->isEnabled());
    QCOMPARE(f.GLHsb->value(), 1080);
    const float k = host.ScaleFactor();
    QVERIFY(Near(host.GLCamera->Position(), QVector3D(-6.34f, 3.25f, 9.4f) * k));

    // A resized strip is drawn again for the bar's position, at its new width.
    f.GLHsb->setValue(2520);
    f.resize(f.width() - 120, f.height());
    QTRY_COMPARE(f.Moonpic->pixmap().width(), f.Moonpic->width());
    const auto [l2, r2] = LitHalves(f.Moonpic->pixmap().toImage());
    QVERIFY(l2 < 60 && r2 > 3000);
}

void TestSunEarthMoon::eclipsePage() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Topics->SelectTopic(2);
    THost& host = *f.Host;
    auto* earth = static_cast<TGlobe*>(host.SceneBase->Child(0)->Child(0));
    host.Start();
    QVERIFY(f.RunPageCommand("+eclipse2"));
    QVERIFY(!host.TimerRunning());
    QVERIFY(f.Item("StartBtn")->isEnabled());
    QCOMPARE(f.GLHsb->value(), 900);
    QVERIFY(Near(host.GLCamera->Position(), QVector3D(0, 0, -55.69f)));
    QVERIFY(!earth->SurfaceShown());
    QVERIFY(Near(earth->Child(0)->AbsolutePosition(), QVector3D(0, 0, -30)));
    QVERIFY(f.RunPageCommand("+eclipse"));
    QVERIFY(Near(host.GLCamera->Position(), QVector3D(-49.38f, 39.6f, 96.93f)));
    QVERIFY(earth->SurfaceShown());
    QVERIFY(Near(host.SpaceLight1->SpotDirection, QVector3D(0, 0, 1)));
}

void TestSunEarthMoon::dayNightPage() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Topics->SelectTopic(3);
    THost& host = *f.Host;
    QCOMPARE(host.StatusText(), QStringLiteral("GMT 12 hrs: 00 min"));
    QCOMPARE(host.SceneBase->Child(0)->TurnAngle(), 180.f);
    TSceneObject* markers = host.SceneBase->Child(0)->Child(0);
    QVERIFY(!markers->Visible);
    host.Start();
    QVERIFY(f.RunPageCommand("+show"));
    QVERIFY(!host.TimerRunning());
    QVERIFY(f.Item("StartBtn")->isEnabled());
    QVERIFY(!f.Item("StopBtn")->isEnabled());
    QVERIFY(markers->Visible);
    QVERIFY(f.Item("NightDayMarker")->isChecked());
    QCOMPARE(host.StatusText(), QStringLiteral("GMT 00 hrs: 00 min"));
    QCOMPARE(f.GLHsb->value(), 0);
    QCOMPARE(host.SceneBase->Child(0)->TurnAngle(), 0.f);
    f.GLHsb->setValue(190);
    QCOMPARE(host.StatusText(), QStringLiteral("GMT 12 hrs: 40 min"));

    // Back on the topic with "D" still checked: the markers show.
    f.Topics->SelectTopic(4);
    f.Topics->SelectTopic(3);
    QVERIFY(f.Item("NightDayMarker")->isChecked());
    QVERIFY(host.SceneBase->Child(0)->Child(0)->Visible);
    f.Item("NightDayMarker")->trigger();
    QVERIFY(!host.SceneBase->Child(0)->Child(0)->Visible);
    f.Topics->SelectTopic(4);
    f.Topics->SelectTopic(3);
    QVERIFY(!host.SceneBase->Child(0)->Child(0)->Visible);
}

void TestSunEarthMoon::seasonsPage() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Topics->SelectTopic(4);
    THost& host = *f.Host;
    QVERIFY(Near(host.SceneBase->Child(0)->Position(), QVector3D(5, 0, 0)));
    QVERIFY(Near(host.SpaceLight1->SpotDirection, QVector3D(-1, 0, 0)));
    const float k = host.ScaleFactor();
    struct TCase {
        const char* word;
        int bar;
        QVector3D earth, camera, base;
    };
    const TCase cases[] = {{"+spring", 90, {0, 0, -5}, {0, 3.19f, 13.84f}, {}},
                           {"+summer", 180, {-5, 0, 0}, {0.45f, 3.5f, 13.06f}, {2.3f, 0.31f, 0}},
                           {"+autumn", 270, {0, 0, 5}, {0.24f, 5.1f, 14.01f}, {}},
                           {"+winter", 0, {5, 0, 0}, {-1.26f, 2.76f, 11.89f}, {-2.72f, 0.14f, 0}}};
    for (const TCase& c : cases) {
        host.Start();
        QVERIFY(f.RunPageCommand(QLatin1String(c.word)));
        QVERIFY(!host.TimerRunning());
        QVERIFY(f.Item("StartBtn")->isEnabled());
        QCOMPARE(f.GLHsb->value(), c.bar);
        QVERIFY(Near(host.SceneBase->Child(0)->Position(), c.earth));
        QVERIFY(Near(host.GLCamera->Position(), c.camera * k));
        QVERIFY(Near(host.SceneBase->Position(), c.base * k));
    }
    // The scroll bar and the time loop move the Earth round.
    f.GLHsb->setValue(90);
    QVERIFY(Near(host.SceneBase->Child(0)->Position(), QVector3D(0, 0, -5)));
    host.Start();
    host.Tick(0.9); // 90 units at 100 a second
    QCOMPARE(f.GLHsb->value(), 180);
    QVERIFY(Near(host.SceneBase->Child(0)->Position(), QVector3D(-5, 0, 0)));
}

QUARVEL_GUI_TEST_MAIN(TestSunEarthMoon)
#include "tst_sunearthmoon.moc"
