#include "../testmain.h"
#include "host/host.h"
#include "models/electromagnetism/bell.h"
#include "models/electromagnetism/circuitobjects.h"
#include "models/electromagnetism/glscrews.h"
#include "models/electromagnetism/relay.h"
#include "scene/picking.h"
#include "scene/primitives.h"
#include "scene/solids.h"
#include "scene/viewer.h"
#include "shell/courseareas.h"
#include "shell/framefrm.h"
#include "widgets/dialogs.h"

#include <QAction>
#include <QSettings>
#include <cmath>

using namespace quarvel;
using namespace quarvel::CircuitObjects;

namespace {
constexpr float Deg = 3.14159265358979f / 180.f;
bool Near(float a, float b, float eps = 1e-5f) { return std::abs(a - b) < eps; }
bool Near(const QVector3D& a, const QVector3D& b, float eps = 1e-4f) { return (a - b).length() < eps; }
bool AllFinite(const TMesh& m) {
    for (const QVector3D& p : m.Positions)
        if (!std::isfinite(p.x()) || !std::isfinite(p.y()) || !std::isfinite(p.z()))
            return false;
    for (const QVector3D& n : m.Normals)
        if (!std::isfinite(n.x()) || !std::isfinite(n.y()) || !std::isfinite(n.z()))
            return false;
    return true;
}
TSceneObject* Lever(TSceneObject* base) { return base->Child(2)->Child(0); }
} // namespace

class TestBellRelay : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void circuitObjects();
    void bendyStrip();
    void springStrip();
    void slotCylinderArcs_data();
    void slotCylinderArcs();
    void screwRadii_data();
    void screwRadii();
    void relayScene();
    void relayStripBend_data();
    void relayStripBend();
    void relaySwitching();
    void relayRebuildResetsSwitch();
    void bellScene();
    void bellPoses_data();
    void bellPoses();
    void bellSwitchHooks();
    void bellInTheWindow();
    void relayInTheWindow();

private:
    TMaterialLibrary m_lib;
};

void TestBellRelay::initTestCase() {
    RegisterCourseAreas();
    QSettings(QStringLiteral("Brantock"), QStringLiteral("Quarvel")).clear();
    SetBoxAnswerer([](const TBoxRequest&) { return true; });
    AddCourseMaterials(m_lib);
}

void TestBellRelay::circuitObjects() {
    // The switch: textured front and back, plain sides and top in their own groups.
    TSwitch sw;
    sw.LoadTexture(QStringLiteral(QUARVEL_CONTENT_DIR "/Textures/"));
    QVERIFY(sw.Material().HasTexture());
    QCOMPARE(sw.Material().Diffuse, SwitchBodyColour);
    const TMesh& m = sw.Geometry();
    QCOMPARE(m.GroupCount(), std::size_t(3));
    QCOMPARE(m.GroupMaterial(1), 0);
    QCOMPARE(sw.FaceMaterials[0].Textured, std::optional<bool>(false));
    const auto b = m.Bounds();
    QVERIFY(Near(b.first, {-0.45f, -0.15f, -0.2f}) && Near(b.second, {0.45f, 0.15f, 0.2f}));
    const auto without = m.TriangleCount();
    sw.SetBottom(true);
    QCOMPARE(sw.Geometry().TriangleCount(), without + 2);
    // A missing picture leaves the switch untextured.
    TSwitch bare;
    bare.LoadTexture(QStringLiteral("/nonexistent/"));
    QVERIFY(!bare.Material().HasTexture());

    // The battery: radius follows the height.
    TBattery cell;
    cell.SetHeight(0.8f);
    QVERIFY(Near(cell.Radius(), 0.142857f));
    const auto cb = cell.Geometry().Bounds();
    QVERIFY(Near(cb.first.y(), -0.4f) && Near(cb.second.y(), 0.4f));
    QVERIFY(Near(cb.second.x(), 0.142857f, 1e-3f));

    // The relay arm: the bar runs 0.55 along -x with its round end, the drop 0.8 below the hinge.
    TRelayArm arm;
    const auto ab = arm.Geometry().Bounds();
    QVERIFY(Near(ab.first.x(), -0.6f, 1e-3f));
    QVERIFY(Near(ab.first.y(), -0.8f));
    QVERIFY(Near(ab.second.x(), 0.1f));
    TRelayPivot pivot;
    const auto pb = pivot.Geometry().Bounds();
    QVERIFY(Near(pb.first.y(), -0.625f) && Near(pb.second.y(), 0.625f));
    QVERIFY(Near(pb.second.x(), 0.15f)); // bevelled out to the hinge
}

void TestBellRelay::bendyStrip() {
    // Parabola over the bend length, then straight along its tangent.
    const auto flat = BendyStripLine(1, 0.5f, 0);
    QCOMPARE(flat.size(), std::size_t(12));
    QVERIFY(Near(QVector3D(flat.back(), 0), {0, 1, 0}));
    const auto bent = BendyStripLine(1, 0.5f, 0.1f);
    QVERIFY(Near(QVector3D(bent[5], 0), {0.025f, 0.25f, 0}));
    QVERIFY(Near(QVector3D(bent[10], 0), {0.1f, 0.5f, 0}));
    const QVector2D slope = (bent[11] - bent[10]).normalized();
    QVERIFY(Near(slope.x() / slope.y(), 0.4f));
    QVERIFY(Near((bent[11] - bent[10]).length(), 0.5f));
    // The strip rebuilds only when the bend changes.
    TBendyStrip strip;
    const quint64 v = strip.GeometryVersion();
    strip.SetBend(0.5f, 0);
    QCOMPARE(strip.GeometryVersion(), v);
    strip.SetBend(0.6f, 0.1f);
    QVERIFY(strip.GeometryVersion() != v);
}

void TestBellRelay::springStrip() {
    // The curved and straight parts carry the armature 0.5 along the spring,
    // on the lever the bell's pose uses.
    for (float d : {0.f, 1.5f, 3.f}) {
        const auto line = SpringStripLine(0.7f, 3, d, 10);
        const QVector2D carrier = line[line.size() - 3];
        const QVector3D pose = BellPose(d == 0 ? 0 : std::asin(d / 3) / Deg).Carrier - QVector3D(0.85f, -1.5f, 0);
        QVERIFY2(Near(QVector3D(carrier, 0), QVector3D(pose.x(), pose.y(), 0), 1e-3f), qPrintable(QString::number(d)));
    }
    TSpringStrip spring;
    const quint64 v = spring.GeometryVersion();
    spring.SetBendAngle(0);
    QCOMPARE(spring.GeometryVersion(), v);
    spring.SetBendAngle(2);
    QVERIFY(spring.GeometryVersion() != v);
}

void TestBellRelay::slotCylinderArcs_data() {
    QTest::addColumn<float>("radius");
    QTest::addColumn<float>("halfAngle");
    QTest::addColumn<int>("ends");
    QTest::addColumn<int>("sides");
    QTest::newRow("bell head") << 0.1f << 14.4775f << 2 << 17;
    QTest::newRow("default") << 0.5f << 2.8659f << 1 << 19;
    // Heads narrower than the slot: the slot takes the whole top, no NaN.
    QTest::newRow("narrower than the slot") << 0.02f << 90.f << 10 << 1;
    QTest::newRow("no size") << 0.f << 90.f << 10 << 1;
}

void TestBellRelay::slotCylinderArcs() {
    QFETCH(float, radius);
    QFETCH(float, halfAngle);
    QFETCH(int, ends);
    QFETCH(int, sides);
    const TSlotArcs a = SlotCylinderArcs(radius, 0.05f, 20);
    QVERIFY2(Near(a.HalfAngle, halfAngle, 1e-3f), qPrintable(QString::number(a.HalfAngle)));
    QCOMPARE(a.EndSegments, ends);
    QCOMPARE(a.SideSegments, sides);
    QCOMPARE(a.AcrossSegments, 2 * ends);
    TSlotCylinder head;
    head.SetRadius(radius);
    QVERIFY(head.Geometry().TriangleCount() > 0);
    QVERIFY(AllFinite(head.Geometry()));
    if (radius > 0) {
        // Height and slot depth count in radii, the slot width in scene units.
        const auto b = head.Geometry().Bounds();
        QVERIFY(Near(b.second.z(), 0.75f * radius));
        QVERIFY(Near(b.first.z(), -0.75f * radius));
    }
}

void TestBellRelay::screwRadii_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("options");
    QTest::addColumn<int>("station");
    QTest::addColumn<float>("radius");
    // The bell's screw: 10 per turn, growing over the first half turn.
    QTest::newRow("start") << 10 << 6 << 0 << 0.04f;
    QTest::newRow("growing") << 10 << 6 << 2 << 0.046f;
    QTest::newRow("full") << 10 << 6 << 5 << 0.055f;
    QTest::newRow("shrinking end") << 10 << 8 << 200 << 0.04f;
    QTest::newRow("shrinking") << 10 << 8 << 198 << 0.046f;
    // One station a turn: a half turn of no stations must not divide by zero.
    QTest::newRow("one per turn grows") << 1 << 4 << 0 << 0.04f;
    QTest::newRow("one per turn full") << 1 << 4 << 1 << 0.055f;
    QTest::newRow("one per turn shrinks") << 1 << 8 << 20 << 0.04f;
}

void TestBellRelay::screwRadii() {
    QFETCH(int, n);
    QFETCH(int, options);
    QFETCH(int, station);
    QFETCH(float, radius);
    const float R = ScrewCrestRadius(0.04f, 0.015f, n, 20, options, station);
    QVERIFY2(Near(R, radius), qPrintable(QString::number(R)));
    TScrew screw(0.04f, 0.015f, 0.02f, 0.02f, n, 20);
    screw.SetOptions(options | 16);
    QVERIFY(screw.Geometry().TriangleCount() > 0);
    QVERIFY(AllFinite(screw.Geometry()));
    // 0.4 long along +x.
    QVERIFY(Near(screw.Geometry().Bounds().second.x(), 0.4f + 0.02f, 1e-4f));
}

void TestBellRelay::relayScene() {
    TDummyCube base;
    BuildRelay(&base, m_lib);
    QCOMPARE(base.Count(), 19);
    QVERIFY(dynamic_cast<TRelayArm*>(base.Child(0)));
    QVERIFY(dynamic_cast<TBendyStrip*>(base.Child(1)));
    auto* sw = dynamic_cast<TSwitch*>(base.Child(2));
    QVERIFY(sw);
    QCOMPARE(sw->Name, QStringLiteral("switch"));
    QVERIFY(Near(Lever(&base)->Position(), {0.13f, 0.105f, 0}));
    QVERIFY(dynamic_cast<TBattery*>(base.Child(3)));
    QVERIFY(Near(base.Child(3)->PitchAngle(), -90) && Near(base.Child(3)->TurnAngle(), -110));
    QCOMPARE(static_cast<TProxy*>(base.Child(5))->Master, base.Child(4));
    QVERIFY(static_cast<TProxy*>(base.Child(5))->ObjectsOnly);
    QVERIFY(Near(base.Child(6)->TurnAngle(), 180));
    QVERIFY(dynamic_cast<TRelayPivot*>(base.Child(7)));
    auto* coil = dynamic_cast<TPipe*>(base.Child(9));
    QVERIFY(coil);
    QCOMPARE(coil->MaterialName, QStringLiteral("Copper"));
    for (int i = 11; i <= 13; ++i)
        QCOMPARE(static_cast<TProxy*>(base.Child(i))->Master, base.Child(10));
    QCOMPARE(static_cast<TProxy*>(base.Child(17))->Master, base.Child(16));
    QCOMPARE(base.Child(18)->MaterialName, QStringLiteral("Teal"));
    // Only the switch has a name: nothing else reacts to the pointer.
    int named = 0;
    for (int i = 0; i < base.Count(); ++i)
        named += base.Child(i)->Name.isEmpty() ? 0 : 1;
    QCOMPARE(named, 1);
}

void TestBellRelay::relayStripBend_data() {
    QTest::addColumn<float>("angle");
    QTest::addColumn<float>("length");
    QTest::addColumn<float>("deflection");
    QTest::newRow("rest") << 0.f << 0.5f << 0.f;
    QTest::newRow("attracted") << 2.7f << 0.5008326f << 0.0353298f;
    QTest::newRow("quarter") << 90.f << 1.25f << 0.75f;
}

void TestBellRelay::relayStripBend() {
    QFETCH(float, angle);
    QFETCH(float, length);
    QFETCH(float, deflection);
    const TStripBend b = RelayStripBend(angle);
    QVERIFY(Near(b.BendLength, length, 1e-6f));
    QVERIFY(Near(b.Deflection, deflection, 1e-6f));
}

void TestBellRelay::relaySwitching() {
    TDummyCube base;
    BuildRelay(&base, m_lib);
    auto* strip = static_cast<TBendyStrip*>(base.Child(1));
    QVERIFY(!RelaySwitchIsOn());
    OperateRelay(&base);
    QVERIFY(RelaySwitchIsOn());
    QVERIFY(Near(base.Child(0)->RollAngle(), 2.7f));
    QVERIFY(Near(strip->BendLength(), 1.25f - 0.75f * std::cos(2.7f * Deg)));
    QVERIFY(Near(strip->Deflection(), 0.75f * std::sin(2.7f * Deg)));
    QVERIFY(Near(Lever(&base)->Position().x(), -0.13f));
    // Twice: back exactly to rest.
    OperateRelay(&base);
    QVERIFY(!RelaySwitchIsOn());
    QCOMPARE(base.Child(0)->RollAngle(), 0.f);
    QCOMPARE(strip->BendLength(), 0.5f);
    QCOMPARE(strip->Deflection(), 0.f);
    QVERIFY(Near(Lever(&base)->Position().x(), 0.13f));
    // The operations leave an empty scene alone but still keep the state.
    TDummyCube empty;
    OperateRelay(&empty);
    QVERIFY(RelaySwitchIsOn());
    SetArmature(&empty, 1);
    QCOMPARE(empty.Count(), 0);
    OperateRelay(&empty);
}

void TestBellRelay::relayRebuildResetsSwitch() {
    TDummyCube base;
    BuildRelay(&base, m_lib);
    OperateRelay(&base);
    QVERIFY(RelaySwitchIsOn());
    TDummyCube again;
    BuildRelay(&again, m_lib);
    QVERIFY(!RelaySwitchIsOn());
    OperateRelay(&again);
    QVERIFY(RelaySwitchIsOn());
    QVERIFY(Near(again.Child(0)->RollAngle(), 2.7f));
    OperateRelay(&again);
}

void TestBellRelay::bellScene() {
    TDummyCube base;
    BuildBell(&base, m_lib);
    QCOMPARE(base.Count(), 16);
    QCOMPARE(base.Child(0)->Name, QStringLiteral("spring"));
    QVERIFY(dynamic_cast<TSpringStrip*>(base.Child(0)));
    QVERIFY(Near(base.Child(1)->Position(), {0.85f, -1, 0}));
    QCOMPARE(base.Child(1)->Child(0)->Name, QStringLiteral("iron"));
    QCOMPARE(base.Child(1)->Child(1)->Name, QStringLiteral("striker"));
    QCOMPARE(base.Child(1)->Child(2)->Name, QStringLiteral("striker"));
    QCOMPARE(base.Child(2)->Name, QStringLiteral("switch"));
    QVERIFY(Near(Lever(&base)->Position(), {0.2f, 0.2f, 0}));
    QVERIFY(dynamic_cast<TBattery*>(base.Child(3)->Child(0)));
    QCOMPARE(base.Child(7)->Name, QStringLiteral("gong"));
    QVERIFY(dynamic_cast<TPipe*>(base.Child(10)));
    QVERIFY(base.Child(10)->Name.isEmpty()); // the coil itself has no name
    for (int i = 0; i < 5; ++i)
        QCOMPARE(base.Child(11)->Child(i)->Name, QStringLiteral("mb"));
    QVERIFY(dynamic_cast<TScrew*>(base.Child(11)->Child(2)));
    QVERIFY(dynamic_cast<TSlotCylinder*>(base.Child(11)->Child(3)));
    QCOMPARE(base.Child(15)->Name, QStringLiteral("core"));
    QVERIFY(base.Child(15)->Material().IsTransparent());
    QCOMPARE(base.Child(15)->Material().Diffuse.w(), 0.f);
    QVERIFY(base.Child(14)->Material().Wireframe);
}

void TestBellRelay::bellPoses_data() {
    QTest::addColumn<float>("position");
    QTest::addColumn<float>("bend");
    QTest::addColumn<QVector3D>("carrier");
    QTest::newRow("0") << 0.f << 0.f << QVector3D(0.85f, -1, 0);
    QTest::newRow("90") << 90.f << 3.f << QVector3D(0.8279415f, -1.0005417f, 0);
    QTest::newRow("180") << 180.f << 0.f << QVector3D(0.85f, -1, 0);
    QTest::newRow("270") << 270.f << 3.f << QVector3D(0.8279415f, -1.0005417f, 0);
}

void TestBellRelay::bellPoses() {
    QFETCH(float, position);
    QFETCH(float, bend);
    QFETCH(QVector3D, carrier);
    TDummyCube base;
    BuildBell(&base, m_lib);
    UpdateBell(&base, position);
    QVERIFY(Near(static_cast<TSpringStrip*>(base.Child(0))->BendAngle(), bend, 1e-5f));
    QVERIFY(Near(base.Child(1)->Position(), carrier, 1e-5f));
    QVERIFY(Near(base.Child(1)->RollAngle(), bend, 1e-5f));
}

void TestBellRelay::bellSwitchHooks() {
    TDummyCube base;
    BuildBell(&base, m_lib);
    QVERIFY(!BellSwitchIsOn());
    SetBellSwitch(&base, true);
    QVERIFY(BellSwitchIsOn());
    QVERIFY(Near(Lever(&base)->Position().x(), -0.2f));
    // Start again while on: stays on.
    SetBellSwitch(&base, true);
    QVERIFY(BellSwitchIsOn());
    QVERIFY(Near(Lever(&base)->Position().x(), -0.2f));
    SetBellSwitch(&base, false);
    QVERIFY(!BellSwitchIsOn());
    QVERIFY(Near(Lever(&base)->Position().x(), 0.2f));
    ToggleBellSwitch(&base);
    QVERIFY(BellSwitchIsOn());
    TDummyCube again;
    BuildBell(&again, m_lib);
    QVERIFY(!BellSwitchIsOn());
}

namespace {
QPointF ScreenOf(THost& host, const QVector3D& world) { return *host.GLViewer->Viewport().Project(world); }
QPointF ScreenOf(THost& host, TSceneObject* o) { return ScreenOf(host, o->AbsolutePosition()); }
Qt::CursorShape Pointer(THost& host) { return host.GLViewer->cursor().shape(); }
} // namespace

void TestBellRelay::bellInTheWindow() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Topics->SelectTopic(9);
    THost& host = *f.Host;
    TSceneObject* base = host.SceneBase;
    QCOMPARE(base->Count(), 16);

    // Hover names; a named part other than the switch gives the default pointer.
    host.MouseMoved(ScreenOf(host, base->Child(2)), Qt::NoButton);
    QCOMPARE(Pointer(host), Qt::PointingHandCursor);
    host.MouseMoved(ScreenOf(host, base->Child(7)), Qt::NoButton);
    QCOMPARE(host.StatusText(), QStringLiteral("Gong"));
    QCOMPARE(Pointer(host), Qt::ArrowCursor);
    host.MouseMoved(ScreenOf(host, base->Child(2)), Qt::NoButton);
    host.MouseMoved(ScreenOf(host, QVector3D(0, -0.5f, 0)), Qt::NoButton);
    QCOMPARE(host.StatusText(), QStringLiteral("Electromagnet")); // the invisible core
    QCOMPARE(Pointer(host), Qt::ArrowCursor);
    host.MouseMoved(ScreenOf(host, QVector3D(0.85f, -1.25f, 0)), Qt::NoButton); // the spring strip
    QCOMPARE(host.StatusText(), QStringLiteral("Spring"));
    // The coil's lead outside the core: the tube has no name.
    const TPickResult lead = host.GLViewer->PickAt(ScreenOf(host, QVector3D(0.515f, -1.2f, 0)));
    QCOMPARE(lead.Object, base->Child(10));
    host.MouseMoved(ScreenOf(host, QVector3D(0.515f, -1.2f, 0)), Qt::NoButton);
    QCOMPARE(host.StatusText(), QString());

    // Clicking the switch starts and stops the bell.
    const QPointF sw = ScreenOf(host, base->Child(2));
    host.MousePressed(sw, Qt::LeftButton);
    QVERIFY(BellSwitchIsOn());
    QVERIFY(host.TimerRunning());
    QVERIFY(Near(Lever(base)->Position().x(), -0.2f));
    // "+run" while ringing leaves the switch on.
    QVERIFY(f.RunPageCommand(QStringLiteral("+run")));
    QVERIFY(BellSwitchIsOn());
    QVERIFY(Near(Lever(base)->Position().x(), -0.2f));
    QVERIFY(host.TimerRunning());
    host.MousePressed(sw, Qt::LeftButton);
    QVERIFY(!BellSwitchIsOn());
    QVERIFY(!host.TimerRunning());
    QVERIFY(Near(Lever(base)->Position().x(), 0.2f));
    host.MousePressed(sw, Qt::LeftButton);
    QVERIFY(BellSwitchIsOn());
    QVERIFY(Near(Lever(base)->Position().x(), -0.2f));
    // The ringing moves the armature.
    f.AnimPosition = 89;
    QTest::qWait(150);
    QVERIFY(base->Child(1)->RollAngle() > 0);
    f.Item("StopBtn")->trigger();
    QVERIFY(!BellSwitchIsOn());
}

void TestBellRelay::relayInTheWindow() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Topics->SelectTopic(10);
    THost& host = *f.Host;
    TSceneObject* base = host.SceneBase;
    QCOMPARE(base->Count(), 19);
    QVERIFY(!RelaySwitchIsOn());
    QVERIFY(f.RunPageCommand(QStringLiteral("+relay")));
    QVERIFY(RelaySwitchIsOn());
    QVERIFY(Near(base->Child(0)->RollAngle(), 2.7f));
    // The click on the switch operates it; the pointer is a hand only there.
    host.MouseMoved(ScreenOf(host, base->Child(2)), Qt::NoButton);
    QCOMPARE(Pointer(host), Qt::PointingHandCursor);
    host.MouseMoved(ScreenOf(host, base->Child(8)), Qt::NoButton);
    QCOMPARE(Pointer(host), Qt::ArrowCursor);
    host.MousePressed(ScreenOf(host, base->Child(2)), Qt::LeftButton);
    QVERIFY(!RelaySwitchIsOn());
    QCOMPARE(base->Child(0)->RollAngle(), 0.f);
    // Leaving with the switch on and coming back: off again.
    QVERIFY(f.RunPageCommand(QStringLiteral("+relay")));
    QVERIFY(RelaySwitchIsOn());
    f.Topics->SelectTopic(9);
    f.Topics->SelectTopic(10);
    QVERIFY(!RelaySwitchIsOn());
    QVERIFY(Near(Lever(host.SceneBase)->Position().x(), 0.13f));
}

QUARVEL_GUI_TEST_MAIN(TestBellRelay)
#include "tst_bellrelay.moc"
