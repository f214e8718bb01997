// Satellites and gravity: the two satellites and the ground-track strip,
// the launches of the gravity model, then both pages in the window.

#include "../testmain.h"
#include "host/host.h"
#include "models/space/satellites.h"
#include "scene/camera.h"
#include "scene/primitives.h"
#include "scene/solids.h"
#include "shell/courseareas.h"
#include "shell/framefrm.h"
#include "widgets/dialogs.h"

#include <QAction>
#include <QLabel>
#include <QScrollBar>
#include <QSettings>
#include <cmath>

using namespace quarvel;

namespace {
bool Near(const QVector3D& a, const QVector3D& b, float eps = 1e-3f) { return (a - b).length() < eps; }

float AngleDifference(float a, float b) {
    float d = std::fmod(a - b, 360.f);
    if (d > 180)
        d -= 360;
    if (d < -180)
        d += 360;
    return std::abs(d);
}

// The launch run until it meets the Earth or `limit` calls have gone by.
struct TFlight {
    int Calls = 0;
    bool Landed = false;
    float Nearest = 2, Farthest = 2;
    int OnceRound = -1; // the call after which it is back above the launch point
    TLaunchState End;
};
TFlight Fly(float speed, int limit) {
    TLaunchState s;
    SetLaunch(s, 0, 2, speed);
    TFlight f;
    float previousX = s.X;
    while (f.Calls < limit) {
        ++f.Calls;
        if (!StepGravity(s)) {
            f.Landed = true;
            break;
        }
        const float d = std::sqrt(s.X * s.X + s.Y * s.Y);
        f.Nearest = std::min(f.Nearest, d);
        f.Farthest = std::max(f.Farthest, d);
        if (f.OnceRound < 0 && previousX < 0 && s.X >= 0 && s.Y > 0)
            f.OnceRound = f.Calls;
        previousX = s.X;
    }
    f.End = s;
    return f;
}
} // namespace

class TestSatellites : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void satellitePositions_data();
    void satellitePositions();
    void dotOverThePlaceBelow_data();
    void dotOverThePlaceBelow();
    void groundTrackStrip();
    void launches_data();
    void launches();
    void stoppedFlightStaysDown();
    void satelliteRoll_data();
    void satelliteRoll();
    void gravityScene();
    void satellitesPage();
    void gravityPage();
};

void TestSatellites::initTestCase() {
    RegisterCourseAreas();
    QSettings(QStringLiteral("Brantock"), QStringLiteral("Quarvel")).clear();
    SetBoxAnswerer([](const TBoxRequest&) { return true; });
}

void TestSatellites::satellitePositions_data() {
    QTest::addColumn<float>("position");
    QTest::addColumn<QVector3D>("polar");
    QTest::addColumn<QVector3D>("geostationary");
    QTest::addColumn<QPoint>("dot"); // on the 292 x 130 map
    const float p = kPolarRadius, g = kGeostationaryRadius;
    // Over 90 E at the start, at the equator; the track drifts west a degree a unit.
    QTest::newRow("0") << 0.f << QVector3D(0, 0, p) << QVector3D(g, 0, 0) << QPoint(219, 65);
    QTest::newRow("15: north pole") << 15.f << QVector3D(0, p, 0)
                                    << QVector3D(g * std::cos(0.261799f), 0, -g * std::sin(0.261799f))
                                    << QPoint(61, 0);
    // At a pole any longitude is right: the dot has jumped there already.
    QTest::newRow("45: south pole") << 45.f << QVector3D(0, -p, 0)
                                    << QVector3D(g * std::cos(0.785398f), 0, -g * std::sin(0.785398f))
                                    << QPoint(182, 130);
    // A quarter turn of the Earth eastwards; one and a half polar orbits.
    QTest::newRow("90") << 90.f << QVector3D(0, 0, -p) << QVector3D(0, 0, -g) << QPoint(0, 65);
}

void TestSatellites::satellitePositions() {
    QFETCH(float, position);
    QFETCH(QVector3D, polar);
    QFETCH(QVector3D, geostationary);
    QFETCH(QPoint, dot);
    TDummyCube base;
    BuildSatellitesScene(&base);
    QCOMPARE(base.Count(), 4);
    UpdateSatellitesScene(&base, position);
    QVERIFY(Near(base.Child(1)->Child(0)->AbsolutePosition(), polar));
    QVERIFY(Near(base.Child(0)->Child(1)->AbsolutePosition(), geostationary));
    QVERIFY(Near(PolarSatellitePosition(position), polar));
    QVERIFY(Near(GeostationaryPosition(position), geostationary));
    QCOMPARE(GroundTrackDot(position, 292, 130), dot);
}

void TestSatellites::dotOverThePlaceBelow_data() {
    QTest::addColumn<float>("position");
    for (float x : {0.f, 5.f, 14.f, 16.f, 30.f, 44.f, 46.f, 100.f, 170.f, 200.f, 260.f, 333.f, 359.f})
        QTest::newRow(qPrintable(QString::number(x))) << x;
}

void TestSatellites::dotOverThePlaceBelow() {
    // The globe's own picture decides where the satellite is over: the
    // strip's dot must stand at that longitude and latitude.
    QFETCH(float, position);
    TDummyCube base;
    BuildSatellitesScene(&base);
    UpdateSatellitesScene(&base, position);
    const QVector3D world = base.Child(1)->Child(0)->AbsolutePosition();
    const QVector3D local = base.Child(0)->AbsoluteMatrix().inverted().map(world);
    const float longitude = GlobeLongitude(local);
    const float sinLatitude = local.y() / local.length();
    const TGroundPoint g = GroundPoint(position);
    QVERIFY2(AngleDifference(g.Longitude, longitude) < 0.01f,
             qPrintable(QStringLiteral("%1 against %2").arg(g.Longitude).arg(longitude)));
    QVERIFY(std::abs(g.SinLatitude - sinLatitude) < 1e-4f);
    const QPoint dot = GroundTrackDot(position, 292, 130);
    QVERIFY(std::abs(dot.x() - (longitude + 180) * 292 / 360) < 0.51f ||
            std::abs(dot.x() - 292 - (longitude + 180) * 292 / 360) < 0.51f);
    // Drifting west: a little later (same pass), the place is further west.
    if (std::fmod(position + 15, 30.f) < 28) {
        const float later = GroundPoint(position + 1).Longitude;
        QVERIFY(AngleDifference(later, g.Longitude - 1) < 0.01f);
    }
}

void TestSatellites::groundTrackStrip() {
    QImage map(292, 130, QImage::Format_RGB32);
    map.fill(QColor(0, 0, 128));
    QImage strip(400, 130, QImage::Format_RGB32);
    DrawGroundTrack(strip, map, 0, Qt::lightGray);
    const int left = (400 - 292) / 2;
    QCOMPARE(strip.pixel(10, 60), QColor(Qt::lightGray).rgb()); // beside the map
    QCOMPARE(strip.pixel(left + 100, 60), qRgb(0, 0, 128));
    const QColor dot = strip.pixelColor(left + 219, 65);
    QVERIFY(dot.red() > 200 && dot.blue() < 100); // the red dot over 90 E
    // Near the edge the dot shows at both ends of the map.
    DrawGroundTrack(strip, map, 90, Qt::lightGray);
    QVERIFY(strip.pixelColor(left + 3, 65).red() > 150);
    QVERIFY(strip.pixelColor(left + 292 - 2, 65).red() > 150);
    QVERIFY(strip.pixelColor(left - 2, 65) == QColor(Qt::lightGray)); // but not beside it
    // The dot picture: red inside, transparent at the corners.
    const QImage picture = GroundTrackDotPicture();
    QCOMPARE(picture.size(), QSize(11, 11));
    QCOMPARE(qAlpha(picture.pixel(0, 0)), 0);
    QVERIFY(picture.pixelColor(5, 5).red() > 200);
    // No map: only the blank strip.
    DrawGroundTrack(strip, QImage(), 0, Qt::lightGray);
    QCOMPARE(strip.pixel(left + 219, 65), QColor(Qt::lightGray).rgb());
}

void TestSatellites::launches_data() {
    QTest::addColumn<float>("speed");
    QTest::addColumn<bool>("landed");
    QTest::addColumn<int>("calls");      // when it landed
    QTest::addColumn<QPointF>("end");    // where it landed
    QTest::addColumn<float>("nearest");  // while flying
    QTest::addColumn<float>("farthest");
    QTest::newRow("0 falls straight down") << 0.f << true << 52 << QPointF(0, 1) << 0.f << 0.f;
    QTest::newRow("0.5 lands a quarter round") << 0.5f << true << 78 << QPointF(1, 0) << 0.f << 0.f;
    QTest::newRow("0.57 meets the Earth") << 0.57f << true << 105 << QPointF(0.518, -0.856) << 0.f << 0.f;
    QTest::newRow("0.58 just misses") << 0.58f << false << 0 << QPointF() << 1.014f << 2.f;
    QTest::newRow("0.71 almost a circle") << 0.71f << false << 0 << QPointF() << 2.f << 2.033f;
    QTest::newRow("0.75 an ellipse") << 0.75f << false << 0 << QPointF() << 2.f << 2.572f;
    QTest::newRow("0.95 far out and back") << 0.95f << false << 0 << QPointF() << 2.f << 18.51f;
}

void TestSatellites::launches() {
    QFETCH(float, speed);
    QFETCH(bool, landed);
    QFETCH(int, calls);
    QFETCH(QPointF, end);
    QFETCH(float, nearest);
    QFETCH(float, farthest);
    const TFlight f = Fly(speed, 5000);
    QCOMPARE(f.Landed, landed);
    if (landed) {
        QCOMPARE(f.Calls, calls);
        QVERIFY(std::abs(f.End.X - float(end.x())) < 0.01f);
        QVERIFY(std::abs(f.End.Y - float(end.y())) < 0.01f);
        // It stops on the surface: the last completed sub-step is just outside.
        const float d = std::sqrt(f.End.X * f.End.X + f.End.Y * f.End.Y);
        QVERIFY(d >= 1.0f && d < 1.001f);
    } else {
        QVERIFY(std::abs(f.Nearest - nearest) < 0.003f);
        QVERIFY(std::abs(f.Farthest - farthest) < 0.01f);
        QVERIFY(f.OnceRound > 0); // it comes back round
    }
}

void TestSatellites::stoppedFlightStaysDown() {
    TLaunchState s;
    SetLaunch(s, 0, 2, 0);
    while (StepGravity(s)) {
    }
    const TLaunchState landed = s;
    QVERIFY(!StepGravity(s)); // Start again: the first sub-step stops
    QCOMPARE(s.X, landed.X);
    QCOMPARE(s.Y, landed.Y);
    // The widest orbit goes once round in about 4129 steps.
    const TFlight f = Fly(0.95f, 5000);
    QVERIFY(std::abs(f.OnceRound - 4129) <= 2);
}

void TestSatellites::satelliteRoll_data() {
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<float>("roll");
    QTest::newRow("above") << QPointF(0, 2) << 0.f;
    QTest::newRow("right") << QPointF(2, 0) << -90.f;
    QTest::newRow("left") << QPointF(-2, 0) << 90.f;
    QTest::newRow("below") << QPointF(0, -1.5) << 180.f;
    QTest::newRow("just right of below") << QPointF(0.00005, -1.5) << 180.f;
    QTest::newRow("upper right") << QPointF(1, 1) << -45.f;
}

void TestSatellites::satelliteRoll() {
    QFETCH(QPointF, at);
    QFETCH(float, roll);
    TLaunchState s;
    SetLaunch(s, float(at.x()), float(at.y()), 0);
    QVERIFY(AngleDifference(SatelliteRoll(s), roll) < 0.01f);
    // In the scene the gravity arrow points at the Earth's centre, and the
    // velocity arrow along the clockwise tangent.
    TDummyCube base;
    BuildGravityScene(&base, 0.5f);
    PlaceSatellite(&base, s);
    TSceneObject* satellite = base.Child(1);
    const QVector3D toEarth = -QVector3D(float(at.x()), float(at.y()), 0).normalized();
    TSceneObject* pull = satellite->Child(0);
    QVERIFY(Near(pull->AbsoluteDirection(), toEarth));
    QVERIFY(Near(pull->AbsolutePosition(), satellite->AbsolutePosition() + 0.25f * toEarth));
    const QVector3D clockwise(-toEarth.y(), toEarth.x(), 0);
    QVERIFY(Near(satellite->Child(1)->AbsoluteDirection(), clockwise));
}

void TestSatellites::gravityScene() {
    TDummyCube base;
    BuildGravityScene(&base, 0.3f);
    QCOMPARE(base.Count(), 2);
    QCOMPARE(static_cast<TSphere*>(base.Child(0))->Radius(), 0.9f);
    TSceneObject* satellite = base.Child(1);
    QVERIFY(Near(satellite->Position(), QVector3D(0, 2, 0)));
    auto* pull = static_cast<TArrowLine*>(satellite->Child(0));
    auto* velocity = static_cast<TArrowLine*>(satellite->Child(1));
    QCOMPARE(pull->Length(), 0.5f);
    QCOMPARE(pull->MaterialName, QStringLiteral("Green"));
    QCOMPARE(velocity->Length(), 0.3f);
    QCOMPARE(velocity->MaterialName, QStringLiteral("Blue"));
    QVERIFY(Near(velocity->AbsoluteDirection(), QVector3D(1, 0, 0)));
    QVERIFY(Near(velocity->Position(), QVector3D(0.15f, 0, 0)));
    SetVelocityArrow(&base, 0.75f);
    QCOMPARE(velocity->Length(), 0.75f);
    QVERIFY(Near(velocity->Position(), QVector3D(0.375f, 0, 0)));
    ShowVelocityArrow(&base, false);
    QVERIFY(!velocity->Visible);
    SetVelocityArrow(&base, 0.2f);
    QVERIFY(velocity->Visible);
}

void TestSatellites::satellitesPage() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Topics->SelectTopic(6);
    THost& host = *f.Host;
    QCOMPARE(host.SceneBase->Count(), 4);
    QVERIFY(f.Moonpic->isVisible());
    QVERIFY(!host.BitmapList[0].isNull()); // the map
    QTRY_VERIFY(f.Moonpic->pixmap().width() >= 292);
    // The strip shows the dot over 90 E at the start.
    const QImage strip = f.Moonpic->pixmap().toImage();
    const int left = std::max(0, (strip.width() - 292) / 2);
    QVERIFY(strip.pixelColor(left + 219, 65).red() > 200);
    f.GLHsb->setValue(90);
    QVERIFY(Near(host.SceneBase->Child(0)->Child(1)->AbsolutePosition(), QVector3D(0, 0, -kGeostationaryRadius)));
    const QImage later = f.Moonpic->pixmap().toImage();
    QVERIFY(later.pixelColor(left + 219, 65).red() < 150); // the dot has moved on
    host.Start();
    host.Tick(0.2); // 10 units at 50 a second
    QCOMPARE(f.GLHsb->value(), 100);
    QCOMPARE(host.SceneBase->Child(0)->TurnAngle(), 100.f);
}

void TestSatellites::gravityPage() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Topics->SelectTopic(7);
    THost& host = *f.Host;
    TSceneObject* satellite = host.SceneBase->Child(1);
    QVERIFY(Near(satellite->Position(), QVector3D(0, 2, 0)));
    QCOMPARE(f.GLHsb->maximum(), 95);

    QVERIFY(f.RunPageCommand("+gravity1"));
    QCOMPARE(f.GLHsb->value(), 50);
    QVERIFY(host.TimerRunning());
    QCOMPARE(GravityState().VX, 0.5f);
    QVERIFY(!satellite->Child(1)->Visible); // on its way at once
    int ticks = 0;
    while (host.TimerRunning() && ticks < 500) {
        host.Tick(0.01); // 2.5 units: one step a tick
        ++ticks;
    }
    QCOMPARE(ticks, 78);
    QVERIFY(Near(satellite->Position(), QVector3D(1, 0, 0), 0.01f));
    QVERIFY(f.Item("StartBtn")->isEnabled());
    QVERIFY(!f.Item("StopBtn")->isEnabled());

    // A scroll during a flight puts the satellite back with the new arrow.
    QVERIFY(f.RunPageCommand("+gravity2"));
    QCOMPARE(f.GLHsb->value(), 75);
    for (int i = 0; i < 20; ++i)
        host.Tick(0.01);
    QVERIFY(satellite->Position().x() > 0.5f);
    f.GLHsb->setValue(40);
    QVERIFY(!host.TimerRunning());
    QVERIFY(f.Item("StartBtn")->isEnabled());
    QVERIFY(Near(satellite->Position(), QVector3D(0, 2, 0)));
    QVERIFY(std::abs(satellite->RollAngle()) < 1e-4f);
    auto* velocity = static_cast<TArrowLine*>(satellite->Child(1));
    QVERIFY(velocity->Visible);
    QCOMPARE(velocity->Length(), 0.4f);
    QCOMPARE(GravityState().VX, 0.4f);
    host.Start();
    host.Tick(0.01);
    QVERIFY(!velocity->Visible);
    QVERIFY(satellite->Position().x() > 0);

    QVERIFY(f.RunPageCommand("+gravity0"));
    QCOMPARE(f.GLHsb->value(), 0);
    ticks = 0;
    while (host.TimerRunning() && ticks < 500) {
        host.Tick(0.01);
        ++ticks;
    }
    QCOMPARE(ticks, 52);
    QVERIFY(Near(satellite->Position(), QVector3D(0, 1, 0), 0.01f));
    QVERIFY(std::abs(satellite->RollAngle()) < 1e-4f); // still above the Earth
}

QUARVEL_GUI_TEST_MAIN(TestSatellites)
#include "tst_satellites.moc"
