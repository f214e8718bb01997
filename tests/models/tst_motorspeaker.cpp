#include "../testmain.h"
#include "host/globals.h"
#include "host/host.h"
#include "models/electromagnetism/gllabels.h"
#include "models/electromagnetism/lhrule.h"
#include "models/electromagnetism/motors.h"
#include "models/electromagnetism/speakers.h"
#include "scene/primitives.h"
#include "scene/solids.h"
#include "shell/courseareas.h"
#include "shell/framefrm.h"
#include "widgets/dialogs.h"

#include <QAction>
#include <QSettings>
#include <cmath>
#include <functional>

using namespace quarvel;

namespace {
bool Near(float a, float b, float eps = 1e-4f) { return std::abs(a - b) < eps; }
bool Near(const QVector3D& a, const QVector3D& b, float eps = 1e-3f) { return (a - b).length() < eps; }
QString Str(const QVector3D& v) { return QStringLiteral("(%1, %2, %3)").arg(v.x()).arg(v.y()).arg(v.z()); }

// Where an arrow (local +z) points, drawn under `frame`.
QVector3D ArrowDir(const QMatrix4x4& frame, TSceneObject* arrow) {
    return (frame * arrow->LocalMatrix()).mapVector({0, 0, 1}).normalized();
}
struct THandArrows {
    QVector3D Blue, Red, Green;
};
// The hand's arrows (children 1..3 of the hand node) drawn under `frame`.
THandArrows Arrows(const QMatrix4x4& frame, TSceneObject* hand) {
    return {ArrowDir(frame, hand->Child(1)), ArrowDir(frame, hand->Child(2)), ArrowDir(frame, hand->Child(3))};
}

// A full turn as the host runs it: the angles from the start's sign, then the final operation.
void FullTurn(float start, const std::function<void(float)>& set, const std::function<void()>& finish,
              float factor, int from, int to) {
    const int a = start >= 0 ? from : to, b = start >= 0 ? to : from;
    for (int i = a;; i += a <= b ? 1 : -1) {
        set(factor * float(i));
        if (i == b)
            break;
    }
    finish();
}

void GeometryVersions(TSceneObject* o, std::vector<quint64>& out) {
    out.push_back(o->GeometryVersion());
    for (int i = 0; i < o->Count(); ++i)
        GeometryVersions(o->Child(i), out);
}
} // namespace

class TestMotorSpeaker : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void labels();
    void commutatorAndBrush();
    void cellSymbol();
    void handMesh();
    void motorScene();
    void leftHandScene();
    void reversals_data();
    void reversals();
    void speaker_data();
    void speaker();
    void speakerMagnet();
    void motorInTheWindow();
    void leftHandInTheWindow();
    void speakerInTheWindow();
};

void TestMotorSpeaker::initTestCase() {
    RegisterCourseAreas();
    QSettings(QStringLiteral("Brantock"), QStringLiteral("Quarvel")).clear();
    SetBoxAnswerer([](const TBoxRequest&) { return true; });
    MeshFolder = QStringLiteral(QUARVEL_CONTENT_DIR "/3DS/");
}

void TestMotorSpeaker::labels() {
    TGL_Label n, x, s;
    x.SetLetter(u'X');
    s.SetLetter(u'S');
    QCOMPARE(x.Geometry().Positions, n.Geometry().Positions); // any other letter draws the N
    QVERIFY(s.Geometry().Positions != n.Geometry().Positions);
    const auto nb = n.Geometry().Bounds();
    QVERIFY(Near(nb.first, {-0.31f, -0.41f, -0.05f}) && Near(nb.second, {0.31f, 0.41f, 0.05f}));
    const quint64 v = n.GeometryVersion();
    n.SetLetter(u'N');
    n.SetLetterSize(1);
    n.SetLetterDepth(0.1f);
    QCOMPARE(n.GeometryVersion(), v);
    n.SetLetterSize(0.5f);
    n.SetLetterDepth(0.04f);
    const auto half = n.Geometry().Bounds();
    QVERIFY(Near(half.second, {0.155f, 0.205f, 0.02f})); // size scales x and y only
    const auto sb = s.Geometry().Bounds();
    QVERIFY2(Near(sb.second.y(), 0.458f, 2e-3f) && Near(sb.first.y(), -0.458f, 2e-3f), qPrintable(Str(sb.first) + Str(sb.second)));
}

void TestMotorSpeaker::commutatorAndBrush() {
    TCommutator c;
    QVERIFY(Near(c.InnerStartAngle(), 10.04f, 0.01f));
    // The halves lie at -x and +x; the slots at +-y keep 0.2 sin 5 degrees clear each side.
    const float half = 0.2f * std::sin(5 * 3.14159265f / 180);
    int left = 0, right = 0;
    for (const QVector3D& p : c.Geometry().Positions) {
        QVERIFY2(std::abs(p.x()) >= half - 1e-5f, qPrintable(Str(p)));
        (p.x() < 0 ? left : right)++;
    }
    QCOMPARE(left, right);
    const auto b = c.Geometry().Bounds();
    QVERIFY(Near(b.first.z(), -0.1f) && Near(b.second.z(), 0.1f));
    TMotorBrush brush;
    const auto bb = brush.Geometry().Bounds();
    QVERIFY(Near(bb.first, {0.2f * std::cos(std::asin(0.25f)), -0.05f, -0.1f}));
    QVERIFY(Near(bb.second, {0.4f, 0.05f, 0.1f}));
}

void TestMotorSpeaker::cellSymbol() {
    LHRule::TBattery cell;
    const auto b = cell.Geometry().Bounds();
    QVERIFY(Near(b.first, {-0.075f, -0.2f, -0.025f}) && Near(b.second, {0.075f, 0.2f, 0.025f}));
    // The short plate at +x is half as high.
    float shortTop = -1;
    for (const QVector3D& p : cell.Geometry().Positions)
        if (p.x() > 0)
            shortTop = std::max(shortTop, p.y());
    QVERIFY(Near(shortTop, 0.1f));
}

void TestMotorSpeaker::handMesh() {
    TFreeForm hand;
    QVERIFY(hand.LoadFromFile(MeshFolder + QStringLiteral("Hand.3ds")));
    QVERIFY(hand.LoadedTriangles() > 500);
    hand.SetMeshScale(0.2f);
    hand.SetPosition(-0.1f, -0.1f, -0.1f);
    // In the hand node's frame: first finger along +x, thumb along +y, second
    // finger along +z, the wrist towards -x: the three arrows lie along them.
    QVector3D xTip, yTip, zTip;
    for (const QVector3D& m : hand.Geometry().Positions) {
        const QVector3D p = hand.LocalMatrix().map(m);
        if (p.x() > xTip.x())
            xTip = p;
        if (p.y() > yTip.y())
            yTip = p;
        if (p.z() > zTip.z())
            zTip = p;
    }
    QVERIFY2(xTip.x() > 0.35f && std::abs(xTip.y()) < 0.12f && std::abs(xTip.z()) < 0.1f, qPrintable(Str(xTip)));
    QVERIFY2(yTip.y() > 0.35f && std::abs(yTip.x()) < 0.12f && std::abs(yTip.z()) < 0.1f, qPrintable(Str(yTip)));
    QVERIFY2(zTip.z() > 0.3f && std::abs(zTip.x()) < 0.12f && std::abs(zTip.y()) < 0.1f, qPrintable(Str(zTip)));
    QVERIFY(hand.Geometry().Bounds().first.x() - 0.1f < -0.5f); // the forearm
}

void TestMotorSpeaker::motorScene() {
    TDummyCube base;
    TMaterialLibrary lib;
    BuildMotor(&base, lib);
    QCOMPARE(base.Count(), 11);
    QVERIFY(dynamic_cast<TCommutator*>(base.Child(0)));
    QVERIFY(dynamic_cast<TPipe*>(base.Child(0)->Child(0)));
    TSceneObject* magnet = base.Child(1);
    QCOMPARE(magnet->Count(), 14);
    QCOMPARE(static_cast<TGL_Label*>(magnet->Child(12))->Letter(), u'N');
    QCOMPARE(static_cast<TGL_Label*>(magnet->Child(13))->Letter(), u'S');
    QVERIFY(Near(magnet->Child(12)->AbsolutePosition(), {-1.15f, 0, -1}));
    QVERIFY(dynamic_cast<LHRule::TBattery*>(base.Child(2)));
    QVERIFY(Near(base.Child(3)->RollAngle(), 45));
    QCOMPARE(static_cast<TProxy*>(base.Child(5))->Master, base.Child(4));
    QVERIFY(dynamic_cast<TMotorBrush*>(base.Child(6)));
    // The field arrows run from N to S along +x.
    QVERIFY(Near(magnet->Child(3)->AbsoluteDirection(), {1, 0, 0}));
    // The coil's leads end at the commutator.
    const auto path = static_cast<TPipe*>(base.Child(0)->Child(0))->Path();
    QVERIFY(Near(path.front() + QVector3D(0, 0, -1), {0.15f, 0, 0}));
    // The closed lever's tip touches wire 8.
    SetMotorSwitch(&base, true);
    QVERIFY(Near(base.Child(3)->AbsoluteMatrix().map(QVector3D(0.2f, 0, 0)), {0.4f, -1, 0}));
    SetMotorSwitch(&base, false);
    QVERIFY(Near(base.Child(3)->RollAngle(), 45));
}

void TestMotorSpeaker::leftHandScene() {
    TDummyCube base;
    TMaterialLibrary lib;
    BuildLeftHand(&base, lib);
    QCOMPARE(base.Count(), 10);
    // The rod rests on the rails, across the gap.
    QVERIFY(Near(std::abs(base.Child(0)->AbsoluteUp().z()), 1)); // the rod's axis along z
    QVERIFY(Near(base.Child(0)->Position().y() - 0.03f, base.Child(5)->Position().y() + 0.08f));
    QVERIFY(Near(base.Child(1)->Child(3)->AbsoluteDirection(), {0, 1, 0}));
    QVERIFY(Near(base.Child(1)->Child(12)->AbsolutePosition(), {0, -0.65f, 0}));
    QCOMPARE(static_cast<TGL_Label*>(base.Child(1)->Child(13))->Letter(), u'S');
    // The closed lever's tip reaches wire 9's end.
    SetLeftHandSwitch(&base, true);
    QVERIFY(Near(base.Child(2)->AbsoluteMatrix().map(QVector3D(0, 0.3f, 0)), {-1.4f, -0.4f, 0.6f}));
    SetLeftHandSwitch(&base, false);
    QVERIFY(Near(base.Child(2)->RollAngle(), 45));
    // The cell's long plate towards -z.
    QVERIFY(Near(base.Child(3)->AbsoluteMatrix().map(QVector3D(-0.05f, 0, 0)), {-1.4f, -1, -0.05f}));
    MoveRod(&base, 70);
    QVERIFY(Near(base.Child(0)->Position(), {-0.7f, -0.04f, 0}));
}

void TestMotorSpeaker::reversals_data() {
    QTest::addColumn<QString>("presses"); // F: field, C: current
    for (const char* s : {"", "F", "C", "FF", "FC", "CF", "CC", "FFF", "FFC", "FCF", "FCC", "CFF", "CFC", "CCF",
                          "CCC"})
        QTest::newRow(*s ? s : "built") << QString::fromLatin1(s);
}

void TestMotorSpeaker::reversals() {
    QFETCH(QString, presses);
    const bool fieldReversed = presses.count(u'F') % 2 == 1, currentReversed = presses.count(u'C') % 2 == 1;
    const float field = fieldReversed ? -1.f : 1.f, current = currentReversed ? -1.f : 1.f;
    TMaterialLibrary lib;

    // Motor: the rotor turns with the sign product; each hand's green lies
    // along the field, red along the current in its side of the coil, blue
    // along that side's motion.
    TDummyCube motor;
    TSceneObject* base = &motor;
    BuildMotor(base, lib);
    for (QChar p : presses) {
        if (p == u'F')
            FullTurn(base->Child(1)->RollAngle(), [&](float a) { SetMotorField(base, a); },
                     [&] { FinishMotorReversal(base); }, -3, 0, 60);
        else
            FullTurn(base->Child(2)->TurnAngle(), [&](float a) { SetMotorCurrent(base, a); },
                     [&] { FinishMotorReversal(base); }, -3, 0, 60);
    }
    const float fieldRoll = base->Child(1)->RollAngle(), cellTurn = base->Child(2)->TurnAngle();
    QVERIFY(Near(std::abs(fieldRoll), fieldReversed ? 180.f : 0.f));
    QVERIFY(Near(std::abs(cellTurn), currentReversed ? 180.f : 0.f));
    UpdateMotor(base, 30);
    QVERIFY(Near(base->Child(0)->RollAngle(), 30 * field * current));
    const QVector3D B = base->Child(1)->Child(3)->AbsoluteDirection();
    QVERIFY2(Near(B, QVector3D(field, 0, 0)), qPrintable(Str(B)));
    const float turning = field * current; // the +x side moves towards +y when positive
    const THandArrows h4 = Arrows(base->AbsoluteMatrix() * base->Child(4)->LocalMatrix(), base->Child(4));
    const THandArrows h5 = Arrows(base->AbsoluteMatrix() * base->Child(5)->LocalMatrix(), base->Child(4));
    QVERIFY2(Near(h4.Green, B) && Near(h5.Green, B), qPrintable(Str(h4.Green) + Str(h5.Green)));
    QVERIFY2(Near(h4.Red, {0, 0, current}) && Near(h5.Red, {0, 0, -current}), qPrintable(Str(h4.Red) + Str(h5.Red)));
    QVERIFY2(Near(h4.Blue, {0, turning, 0}) && Near(h5.Blue, {0, -turning, 0}),
             qPrintable(Str(h4.Blue) + Str(h5.Blue)));

    // Left-hand rule: the rod moves along the force, the hand shows all three.
    TDummyCube rule;
    base = &rule;
    BuildLeftHand(base, lib);
    for (QChar p : presses) {
        MoveRod(base, 0);
        if (p == u'F')
            FullTurn(base->Child(1)->RollAngle(), [&](float a) { SetLeftHandField(base, a); },
                     [&] { FinishLeftHandReversal(base); }, -2, 0, 90);
        else
            FullTurn(base->Child(3)->TurnAngle(), [&](float a) { SetLeftHandCurrent(base, a); },
                     [&] { FinishLeftHandReversal(base); }, 2, 45, -45);
    }
    MoveRod(base, 50);
    const float rodSign = base->Child(0)->Position().x() > 0 ? 1.f : -1.f;
    QVERIFY(Near(std::abs(base->Child(0)->Position().x()), 0.5f));
    QCOMPARE(rodSign, -field * current);
    const QVector3D B2 = base->Child(1)->Child(3)->AbsoluteDirection();
    QVERIFY2(Near(B2, QVector3D(0, field, 0)), qPrintable(Str(B2)));
    const THandArrows h = Arrows(base->AbsoluteMatrix() * base->Child(4)->LocalMatrix(), base->Child(4));
    QVERIFY2(Near(h.Green, B2), qPrintable(Str(h.Green)));
    QVERIFY2(Near(h.Red, {0, 0, current}), qPrintable(Str(h.Red)));
    QVERIFY2(Near(h.Blue, {rodSign, 0, 0}), qPrintable(Str(h.Blue)));
}

void TestMotorSpeaker::speaker_data() {
    QTest::addColumn<float>("position");
    QTest::addColumn<float>("x");
    QTest::newRow("0") << 0.f << -0.312f;
    QTest::newRow("90") << 90.f << -0.3432f;
    QTest::newRow("180") << 180.f << -0.312f;
    QTest::newRow("270") << 270.f << -0.2808f;
    QTest::newRow("360") << 360.f << -0.312f;
}

void TestMotorSpeaker::speaker() {
    QFETCH(float, position);
    QFETCH(float, x);
    TDummyCube base;
    TMaterialLibrary lib;
    BuildSpeaker(&base, lib);
    QCOMPARE(base.Count(), 11);
    std::vector<quint64> before, after;
    GeometryVersions(&base, before);
    UpdateSpeaker(&base, position);
    GeometryVersions(&base, after);
    QCOMPARE(after, before); // an update only moves and scales
    // The apex ring and the coil move together; the rim stays.
    const QMatrix4x4 cone = base.Child(0)->AbsoluteMatrix();
    QVERIFY(Near(cone.map(QVector3D(0.2f, -0.312f, 0)).x(), x, 1e-5f));
    QVERIFY(Near(cone.map(QVector3D(1.26f, 0, 0)).x(), 0, 1e-6f));
    QVERIFY(Near(base.Child(1)->Position().x(), x, 1e-5f));
}

void TestMotorSpeaker::speakerMagnet() {
    TSpeakerMagnet m;
    QCOMPARE(m.DrawnSteps(), 15);
    // Nothing of the outer wall in the missing quarter (270 ... 360 degrees).
    for (const QVector3D& p : m.Geometry().Positions) {
        const float r = std::hypot(p.x(), p.y());
        if (r > 0.171f)
            QVERIFY2(!(p.x() > 1e-4f && p.y() < -1e-4f), qPrintable(Str(p)));
    }
    const auto b = m.Geometry().Bounds();
    QVERIFY(Near(b.first.z(), -0.1f) && Near(b.second.z(), 0.4f));
    // The white lines trace the missing quarter at 0.35 and -0.1.
    auto* lines = dynamic_cast<TLines*>(m.Child(0));
    QVERIFY(lines);
    QCOMPARE(lines->Nodes.size(), std::size_t(20));
    for (const QVector3D& p : lines->Nodes) {
        QVERIFY(Near(std::hypot(p.x(), p.y()), 0.4f));
        QVERIFY(Near(p.z(), 0.35f) || Near(p.z(), -0.1f));
    }
    QCOMPARE(m.PotHeight, 0.4f);
}

void TestMotorSpeaker::motorInTheWindow() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Topics->SelectTopic(8);
    THost& host = *f.Host;
    TSceneObject* base = host.SceneBase;
    QVERIFY(f.RunPageCommand(QStringLiteral("+run")));
    QVERIFY(host.TimerRunning());
    QVERIFY(Near(base->Child(3)->RollAngle(), 0)); // the switch closes
    // Field, then Current, through the host: the rotor turns its first way again.
    QVERIFY(f.RunPageCommand(QStringLiteral("+rf")));
    QTRY_VERIFY_WITH_TIMEOUT(f.Item("moFieldBtn")->isEnabled(), 20000);
    QVERIFY(host.TimerRunning());
    QVERIFY(Near(base->Child(1)->RollAngle(), -180));
    QVERIFY(Near(base->Child(4)->RollAngle(), 180));
    QVERIFY(f.RunPageCommand(QStringLiteral("+rc")));
    QTRY_VERIFY_WITH_TIMEOUT(f.Item("moCurrentBtn")->isEnabled(), 20000);
    QVERIFY(Near(base->Child(2)->TurnAngle(), -180));
    host.Model()->Update(40);
    QVERIFY(Near(base->Child(0)->RollAngle(), 40));
    // Stop during a field turn: the magnet keeps the angle reached, the timer
    // stays off and the rotor follows that angle's sign.
    QVERIFY(f.RunPageCommand(QStringLiteral("+rf"))); // from -180 back towards 0
    QTRY_VERIFY_WITH_TIMEOUT(base->Child(1)->RollAngle() > -170, 20000);
    f.Item("StopBtn")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(f.Item("moFieldBtn")->isEnabled(), 20000);
    QVERIFY(!host.TimerRunning());
    const float reached = base->Child(1)->RollAngle();
    QVERIFY2(reached > -180 && reached < 0, qPrintable(QString::number(reached)));
    QVERIFY(Near(base->Child(3)->RollAngle(), 45)); // the switch is open
    host.Model()->Update(40);
    QVERIFY(Near(base->Child(0)->RollAngle(), 40)); // field still reversed, current reversed
    QVERIFY(Near(base->Child(4)->RollAngle(), 180));
}

void TestMotorSpeaker::leftHandInTheWindow() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Topics->SelectTopic(11);
    THost& host = *f.Host;
    TSceneObject* base = host.SceneBase;
    f.Item("SwitchBtn")->trigger();
    QVERIFY(Near(base->Child(2)->RollAngle(), 0));
    QVERIFY(host.TimerRunning());
    QTRY_VERIFY_WITH_TIMEOUT(!host.TimerRunning(), 20000);
    QVERIFY(Near(base->Child(2)->RollAngle(), 45)); // the lever opens when the rod stops
    // at -0.01 x the last position not above 70
    const float x = base->Child(0)->Position().x();
    QVERIFY2(x < -0.3f && x >= -0.7f, qPrintable(QString::number(x)));
    // "Field" first brings the rod back, then reverses the magnet.
    QVERIFY(f.RunPageCommand(QStringLiteral("+rf")));
    QCOMPARE(base->Child(0)->Position().x(), 0.f);
    QTRY_VERIFY_WITH_TIMEOUT(f.Item("moFieldBtn")->isEnabled(), 20000);
    QVERIFY(Near(base->Child(1)->RollAngle(), -180));
    QVERIFY(Near(base->Child(4)->RollAngle(), -90));
    f.Item("SwitchBtn")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!host.TimerRunning(), 20000);
    QVERIFY(base->Child(0)->Position().x() > 0.3f && base->Child(0)->Position().x() <= 0.7f);
}

void TestMotorSpeaker::speakerInTheWindow() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Topics->SelectTopic(12);
    TSceneObject* base = f.Host->SceneBase;
    QCOMPARE(base->Count(), 11);
    QVERIFY(f.RunPageCommand(QStringLiteral("+run")));
    QVERIFY(f.Host->TimerRunning());
    QTRY_VERIFY_WITH_TIMEOUT(!Near(base->Child(1)->Position().x(), -0.312f, 1e-4f), 5000);
    const float a = base->Child(0)->Scale().y();
    QVERIFY(Near(base->Child(1)->Position().x(), -0.312f * a, 1e-5f));
}

QUARVEL_GUI_TEST_MAIN(TestMotorSpeaker)
#include "tst_motorspeaker.moc"
