#include "../testmain.h"
#include "common/random.h"
#include "host/host.h"
#include "models/forces/gatestrip.h"
#include "models/forces/trolley.h"
#include "models/forces/trolleymodel.h"
#include "scene/primitives.h"
#include "shell/courseareas.h"
#include "shell/framefrm.h"
#include "widgets/dialogs.h"

#include <QLabel>
#include <QSettings>
#include <QSpinBox>
#include <cmath>

using namespace quarvel;

namespace {

// The animation position at which the trolley has gone `cm` down a ramp of `angle` degrees.
float PositionAt(float angle, float cm) {
    return std::sqrt(cm / 10.f / (0.01f * std::sin(angle * 3.14159265f / 180.f)));
}

} // namespace

class TestTrolley : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void expectedGateTime_data();
    void expectedGateTime();
    void readoutKind_data();
    void readoutKind();
    void runToTheEnd_data();
    void runToTheEnd();
    void scatter();
    void scatteredTimesArePositive();
    void gateChangeDuringRun_data();
    void gateChangeDuringRun();
    void scene();
    void resetShowsTheBeam();
    void strip();
    void speedPage();
    void enteringAgainKeepsTheSpins();
};

void TestTrolley::initTestCase() {
    RegisterCourseAreas();
    QSettings(QStringLiteral("Brantock"), QStringLiteral("Quarvel")).clear();
    SetBoxAnswerer([](const TBoxRequest&) { return true; });
}

void TestTrolley::expectedGateTime_data() {
    QTest::addColumn<float>("angle");
    QTest::addColumn<float>("gate");
    QTest::addColumn<float>("seconds");
    QTest::newRow("10 degrees, 100 cm") << 10.f << 100.f << 0.0542f;
    QTest::newRow("10 degrees, 150 cm") << 10.f << 150.f << 0.0442f;
    // At 5 cm the trolley enters the gate at rest: sqrt(10 / (490.5 sin 10)).
    QTest::newRow("gate at 5 cm") << 10.f << 5.f << 0.34265f;
    QTest::newRow("20 degrees, 200 cm") << 20.f << 200.f << 0.0273f;
    QTest::newRow("flat ramp") << 0.f << 100.f << -1.f;
}

void TestTrolley::expectedGateTime() {
    QFETCH(float, angle);
    QFETCH(float, gate);
    QFETCH(float, seconds);
    QVERIFY2(std::abs(ExpectedGateTime(angle, gate) - seconds) < 0.00005f,
             qPrintable(QString::number(ExpectedGateTime(angle, gate), 'f', 6)));
}

void TestTrolley::readoutKind_data() {
    QTest::addColumn<float>("angle");
    QTest::addColumn<float>("gate");
    QTest::addColumn<float>("cm"); // how far the trolley has gone
    QTest::addColumn<int>("kind");
    QTest::newRow("just before G - 5") << 10.f << 100.f << 94.5f << int(GateBefore);
    QTest::newRow("just after G - 5") << 10.f << 100.f << 95.5f << int(GateIn);
    QTest::newRow("just before G + 5") << 10.f << 100.f << 104.5f << int(GateIn);
    QTest::newRow("just after G + 5") << 10.f << 100.f << 105.5f << int(GatePassed);
    QTest::newRow("steep, far gate, in it") << 20.f << 200.f << 200.f << int(GateIn);
    QTest::newRow("at the start, gate at 5") << 10.f << 5.f << 0.f << int(GateIn);
    QTest::newRow("flat ramp") << 0.f << 100.f << 0.f << int(GateFlat);
}

void TestTrolley::readoutKind() {
    QFETCH(float, angle);
    QFETCH(float, gate);
    QFETCH(float, cm);
    QFETCH(int, kind);
    const TTrolleyStep s = StepTrolley(angle, gate, angle == 0 ? 10.f : PositionAt(angle, cm));
    QCOMPARE(s.Kind, kind);
    // The trolley cuts the beam exactly while it is in the gate.
    QCOMPARE(s.BeamShown, kind != GateIn);
    if (kind == GateIn) {
        const float a = 490.5f * std::sin(angle * 3.14159265f / 180.f);
        QVERIFY(std::abs(s.LiveTime - (std::sqrt(cm / a) - std::sqrt((gate - 5) / a))) < 1e-4f);
    }
    if (kind == GateFlat)
        QVERIFY(!s.Running);
}

void TestTrolley::runToTheEnd_data() {
    QTest::addColumn<float>("angle");
    QTest::addColumn<float>("gate");
    QTest::newRow("10 degrees, 100 cm") << 10.f << 100.f;
    QTest::newRow("gate at 200 cm") << 10.f << 200.f;
    QTest::newRow("steep ramp, gate at 200 cm") << 20.f << 200.f;
    QTest::newRow("gentle ramp, gate at 200 cm") << 1.f << 200.f;
}

void TestTrolley::runToTheEnd() {
    // Positions grow as the host's clock does; the run ends at 209 cm with the
    // gate's whole 10 cm passed and the expected time on the timer.
    QFETCH(float, angle);
    QFETCH(float, gate);
    TRandom random;
    TTrolleyRun run(random);
    run.SetAngle(angle);
    run.SetGate(gate);
    run.InitRun();
    bool sawGate = false;
    TTrolleyStep s;
    float x = 0;
    for (; x < 10000; x += 1.6f) {
        s = run.Step(x);
        sawGate = sawGate || s.Kind == GateIn;
        if (!s.Running)
            break;
    }
    QVERIFY(!s.Running);
    QVERIFY(sawGate);
    QCOMPARE(s.Kind, int(GatePassed));
    QCOMPARE(s.Distance, kTrolleyTravel);
    QCOMPARE(run.Reading(), QString::asprintf("%3.3f", double(ExpectedGateTime(angle, gate))));
    // The wheels (radius 0.25) have rolled the distance without slipping.
    QVERIFY(std::abs(s.WheelRoll + 20.9f / 0.25f * 180.f / 3.14159265f) < 0.01f);
}

void TestTrolley::scatter() {
    TRandom random;
    TTrolleyRun run(random);
    run.ErrorFlag = true;
    random.SetSeed(12345);
    run.InitRun();
    const float first = run.Expected();
    run.InitRun();
    const float second = run.Expected();
    QVERIFY(first != second);
    QVERIFY(std::abs(first - 0.0542f) < 0.05f && std::abs(second - 0.0542f) < 0.05f);
    // The same seed replays the same reading.
    random.SetSeed(12345);
    run.InitRun();
    QCOMPARE(run.Expected(), first);

    run.ErrorFlag = false;
    run.InitRun();
    const float plain = run.Expected();
    run.InitRun();
    QCOMPARE(run.Expected(), plain);
    QCOMPARE(plain, ExpectedGateTime(10, 100));
}

void TestTrolley::scatteredTimesArePositive() {
    // On the steepest ramp with the farthest gate the mean is 0.027 s, under
    // three standard deviations: plain normal draws would go negative now and then.
    TRandom random;
    float shortest = 1;
    for (std::uint32_t seed = 1; seed <= 3000; ++seed) {
        random.SetSeed(seed * 2654435761u);
        shortest = std::min(shortest, ScatteredGateTime(20, 200, random));
    }
    QVERIFY2(shortest > 0, qPrintable(QString::number(shortest)));
    QVERIFY(QString::asprintf("%3.3f", double(shortest)) != QLatin1String("0.000"));
}

void TestTrolley::gateChangeDuringRun_data() {
    QTest::addColumn<bool>("changeGate"); // else the angle
    QTest::addColumn<QString>("reading");
    QTest::newRow("gate to 150") << true << QStringLiteral("0.044");
    QTest::newRow("angle to 20") << false << QString::asprintf("%3.3f", double(ExpectedGateTime(20, 100)));
}

void TestTrolley::gateChangeDuringRun() {
    QFETCH(bool, changeGate);
    QFETCH(QString, reading);
    TRandom random;
    TTrolleyRun run(random);
    run.InitRun(); // 10 degrees, gate at 100: 0.054
    QCOMPARE(run.Reading(), QStringLiteral("00.000"));
    run.Step(PositionAt(10, 40));
    if (changeGate)
        run.SetGate(150);
    else
        run.SetAngle(20);
    for (float x = 0; run.Step(x).Running; x += 2)
        ;
    QCOMPARE(run.Kind(), int(GatePassed));
    QCOMPARE(run.Reading(), reading);
}

void TestTrolley::scene() {
    TDummyCube base;
    BuildTrolleyScene(&base, QString());
    QVERIFY(base.Count() >= 4);
    TSceneObject* ramp = base.Child(0);
    TSceneObject* trolley = ramp->Child(0);
    QCOMPARE(trolley->Name, QStringLiteral("trolley"));
    QCOMPARE(trolley->Position(), QVector3D(-22.5f, 0.45f, 0));
    QCOMPARE(trolley->MaterialName, QStringLiteral("Brown"));
    QVERIFY(trolley->Count() >= 6);
    QVERIFY(trolley->Child(3)->Visible);
    QVERIFY(!trolley->Child(4)->Visible);
    QVERIFY(!trolley->Child(5)->Visible);
    QCOMPARE(GateObject(&base), ramp->Child(1));
    QVERIFY(ramp->Child(1)->Child(0)->Visible); // the beam

    PlaceRamp(&base, 10);
    QCOMPARE(ramp->RollAngle(), -10.f);
    QVERIFY(std::abs(base.Child(1)->Position().x() + 24.1f * std::cos(10 * 3.14159265f / 180)) < 1e-4f);
    QVERIFY(std::abs(base.Child(1)->Child(0)->Position().y() - (24.1f * std::sin(10 * 3.14159265f / 180) - 5)) < 1e-4f);
    // The raised end is the trolley's end.
    QVERIFY(trolley->AbsolutePosition().y() > ramp->Child(2)->AbsolutePosition().y());

    PlaceGate(&base, 150);
    QCOMPARE(ramp->Child(1)->Position(), QVector3D(-7.5f, 1.4f, 0));
    ShowMasses(&base, 3);
    QVERIFY(trolley->Child(4)->Visible && trolley->Child(5)->Visible);
    ShowMasses(&base, 2);
    QVERIFY(trolley->Child(4)->Visible && !trolley->Child(5)->Visible);
}

void TestTrolley::resetShowsTheBeam() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Topics->SelectTopic(16);
    auto* model = dynamic_cast<TTrolleyModel*>(f.Host->Model());
    QVERIFY(model);
    TSceneObject* base = f.Host->SceneBase;
    QVERIFY(model->Step(PositionAt(10, 100)));
    QVERIFY(!GateObject(base)->Child(0)->Visible);
    QVERIFY(f.RunPageCommand(QStringLiteral("+reset")));
    QVERIFY(GateObject(base)->Child(0)->Visible);
    QCOMPARE(TrolleyObject(base)->Position().x(), -22.5f);
    QCOMPARE(TrolleyObject(base)->Child(0)->RollAngle(), 0.f);
    QCOMPARE(model->Strip().Shown(), QStringLiteral("00.000"));
}

void TestTrolley::strip() {
    // The numbers under the tenth ticks count from round(G) - 2, so the third is G.
    QCOMPARE(RulerNumber(100, 0), 98);
    QCOMPARE(RulerNumber(100, 2), 100);
    QCOMPARE(RulerNumber(37, 2), 37);
    TGateStrip s;
    s.Draw(100, LightGatePicture());
    QCOMPARE(s.Image().size(), QSize(400, 125));
    QCOMPARE(s.Shown(), QStringLiteral("00.000"));
    QCOMPARE(s.Image().pixelColor(90, 45), QColor(0xEE, 0xC6, 0x2A)); // the lamp
    QCOMPARE(s.Image().pixelColor(245, 85), QColor(0xC0, 0xE1, 0xFF)); // the timer
    QCOMPARE(s.Image().pixelColor(20, 110), QColor(0xFF, 0xFF, 0x80)); // the ruler
    // The tick under the lamp is the gate's tenth tick: 15 pixels long.
    QCOMPARE(s.Image().pixelColor(90, 93), QColor(Qt::black));
    QCOMPARE(s.Image().pixelColor(94, 93), QColor(0xFF, 0xFF, 0x80));
    const QImage before = s.Image();
    s.ShowTime(QStringLiteral("0.054"));
    QCOMPARE(s.Shown(), QStringLiteral("0.054"));
    QVERIFY(s.Image() != before);
}

void TestTrolley::speedPage() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.TrolleyErrorFlag = false;
    f.Topics->SelectTopic(16);
    auto* model = dynamic_cast<TTrolleyModel*>(f.Host->Model());
    QVERIFY(model);
    QCOMPARE(f.Moonpic->pixmap().size(), QSize(400, 125));
    QVERIFY(std::abs(f.TrolleyRunState[0] - 0.0542f) < 0.0001f);

    // The spins reach the model.
    f.LightGateSE->setValue(150);
    QCOMPARE(GateObject(f.Host->SceneBase)->Position().x(), -7.5f);
    f.RampUpDn->setValue(12);
    QCOMPARE(f.Host->SceneBase->Child(0)->RollAngle(), -12.f);
    f.TrolleyMassUpDn->setValue(2);
    QVERIFY(TrolleyObject(f.Host->SceneBase)->Child(4)->Visible);
    f.RampUpDn->setValue(10);

    QVERIFY(f.RunPageCommand(QStringLiteral("+run")));
    QVERIFY(f.Host->TimerRunning());
    // Ticks by hand, at the positions the clock would reach.
    for (float x = 0; f.Host->TimerRunning() && x < 1000; x += 1.5f) {
        f.AnimPosition = x;
        f.Host->Model()->Tick();
    }
    QVERIFY(!f.Host->TimerRunning());
    QCOMPARE(model->Strip().Shown(), QStringLiteral("0.044"));
    QVERIFY(f.Item("StartBtn")->isEnabled());

    // With the scatter on, two runs from the same seed read differently.
    f.TrolleyErrorFlag = true;
    SharedRandom().SetSeed(777);
    QVERIFY(f.RunPageCommand(QStringLiteral("+run")));
    const float first = f.TrolleyRunState[0];
    QVERIFY(f.RunPageCommand(QStringLiteral("+run")));
    QVERIFY(f.TrolleyRunState[0] != first);
    QVERIFY(f.TrolleyRunState[0] > 0 && first > 0);
}

void TestTrolley::enteringAgainKeepsTheSpins() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Topics->SelectTopic(16);
    f.LightGateSE->setValue(150);
    f.RampUpDn->setValue(15);
    f.TrolleyMassUpDn->setValue(3);
    f.Topics->SelectTopic(5);
    f.Topics->SelectTopic(16);
    QCOMPARE(f.LightGateSE->value(), 150);
    TSceneObject* base = f.Host->SceneBase;
    QCOMPARE(base->Child(0)->RollAngle(), -15.f);
    QCOMPARE(GateObject(base)->Position().x(), -7.5f);
    QVERIFY(TrolleyObject(base)->Child(5)->Visible);
    QCOMPARE(f.TrolleyRunState[0], ExpectedGateTime(15, 150));
}

QUARVEL_GUI_TEST_MAIN(TestTrolley)
#include "tst_trolley.moc"
