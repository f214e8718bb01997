// The animation host against recording models: the time loop, the scroll
// bar, the buttons, the turn animations and the pointer.

#include "../testmain.h"
#include "host/host.h"
#include "host/globals.h"
#include "host/protractor.h"
#include "scene/viewer.h"
#include "widgets/dialogs.h"
#include "widgets/dock.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QRegularExpression>
#include <QSpinBox>
#include <QSettings>
#include <QVBoxLayout>
#include <cmath>

using namespace quarvel;

namespace {
// Every model word a test may look at, written down as it is called.
struct TLog {
    QStringList Calls;
    QList<float> Updates;
    void Add(const QString& s) { Calls << s; }
};

// The words every topic's class may take, recorded.
template <class Base> class TRecorder : public Base {
public:
    TRecorder(THost& h, std::int32_t id, TLog& log) : Base(h, id), Log(log) {}
    TLog& Log;
    void Build() override { Log.Add("Build"); }
    void Update(float p) override { Log.Updates << p; }
    void StartHook(bool on) override { Log.Add(on ? "StartHook(true)" : "StartHook(false)"); }
};

class TCommon : public TRecorder<TCommonTopic> {
public:
    using TRecorder::TRecorder;
};

class TMoonPhase : public TRecorder<TMoonPhaseTopic> {
public:
    using TRecorder::TRecorder;
    void DrawStrip(float) override {}
};

class TNightDay : public TRecorder<TNightDayTopic> {
public:
    using TRecorder::TRecorder;
    void SetMarkers(bool) override {}
};

class TSolar : public TRecorder<TSolarSystemTopic> {
public:
    using TRecorder::TRecorder;
    void CreateLabels() override {}
    void PlaceLabels() override {}
    void ChooseView(bool) override {}
    void ShowNames(bool) override {}
};

class TGravity : public TRecorder<TGravityTopic> {
public:
    using TRecorder::TRecorder;
    QList<bool> Steps; // what Step() answers, in turn
    bool Step() override {
        Log.Add("Step");
        return Steps.isEmpty() ? false : Steps.takeFirst();
    }
    void SetLaunch(float) override {}
    void SetPosition(float) override {}
    void Redraw() override {}
};

// The turns of topics 8 and 11: each angle and the final operation, recorded.
template <class Base> class TTurner : public TRecorder<Base> {
public:
    using TRecorder<Base>::TRecorder;
    float Field = 0, Current = 0;
    void TurnField(float a) override {
        Field = a;
        this->Log.Add(QStringLiteral("Field %1").arg(a));
    }
    void TurnCurrent(float a) override {
        Current = a;
        this->Log.Add(QStringLiteral("Current %1").arg(a));
    }
    void FinishTurn(bool field) override {
        this->Log.Add(QStringLiteral("%1 at %2").arg(field ? "FinishField" : "FinishCurrent").arg(field ? Field : Current));
    }
    float FieldAngle() const override { return Field; }
    float CurrentAngle() const override { return Current; }
};

class TMotor : public TTurner<TMotorTopic> {
public:
    using TTurner::TTurner;
};

class TLeftHand : public TTurner<TLeftHandTopic> {
public:
    using TTurner::TTurner;
    void SetSwitch(bool on) override { Log.Add(on ? "Switch(true)" : "Switch(false)"); }
};

class TConduction : public TConductionTopic {
public:
    TConduction(THost& h, std::int32_t id, TLog& log) : TConductionTopic(h, id), Log(log) {}
    TLog& Log;
    void Build() override { Log.Add("Build"); }
    void UpdateMetal(int, float p) override { Log.Updates << p; }
    void ChooseMetal(int index) override { Log.Add(QStringLiteral("Metal %1").arg(index)); }
    void StartHook(bool on) override { Log.Add(on ? "StartHook(true)" : "StartHook(false)"); }
};

class TRadAbsorb : public TRecorder<TRadAbsorbTopic> {
public:
    using TRecorder::TRecorder;
    void HeaterColour(bool red) override { Log.Add(red ? "Heater(red)" : "Heater(dark)"); }
};

class TTrolley : public TRecorder<TSpeedTopic> {
public:
    using TRecorder::TRecorder;
    QList<bool> Runs;
    bool Step(float) override { return Runs.isEmpty() ? false : Runs.takeFirst(); }
    void InitRun() override { Log.Add("InitRun"); }
    void ResetTrolley() override { Log.Add("ResetTrolley"); }
    void DrawGateStrip(int gate) override { Log.Add(QStringLiteral("Strip %1").arg(gate)); }
    void SetRampAngle(int degrees) override { Log.Add(QStringLiteral("Ramp %1").arg(degrees)); }
    void SetGatePosition(int gate) override { Log.Add(QStringLiteral("Gate %1").arg(gate)); }
    void ShowTrolleyMasses(int count) override { Log.Add(QStringLiteral("Masses %1").arg(count)); }
};

class TRefraction : public TRefractionTopic {
public:
    TRefraction(THost& h, std::int32_t id, TLog& log) : TRefractionTopic(h, id), Log(log) {}
    TLog& Log;
    void BuildBlock(int block) override {
        Log.Add(QStringLiteral("Block %1").arg(block));
        auto* box = Host.SceneBase->AddNew<TCube>();
        box->Name = "raybox";
        box->SetPosition(5, 0, 0);
    }
    void Drag(int block) override { Log.Add(QStringLiteral("Drag %1").arg(block)); }
};

class TWire : public TRecorder<TStWireTopic> {
public:
    using TRecorder::TRecorder;
    void Build() override {
        auto* compass = Host.SceneBase->AddNew<TSphere>();
        compass->Name = "target";
        compass->SetRadius(0.5f);
    }
    void Drag(int) override {}
    void CompassHeight(int) override {}
    void ReverseCurrent() override { Log.Add("Reverse"); }
    void ToggleField() override {}
};

class TDomain : public TRecorder<TDomainTopic> {
public:
    using TRecorder::TRecorder;
};
} // namespace

class TestHost : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void tickWrapsOnceAtTheBarMaximum();
    void startReadsTheBar();
    void dayNightClock_data();
    void dayNightClock();
    void gravityStepsEveryTwoUnits();
    void leftHandStopsPast70();
    void conductionStopsAtTheMaximum();
    void radiationRestartsFromZero();
    void trolleyRunsWhileItsStepSaysSo();
    void scrollBarMapping_data();
    void scrollBarMapping();
    void runWithoutFrameTimerDoesNothing();
    void turnAnimationsEndWithTheirTopic();
    void turnAnimationRunsToTheEnd();
    void stopEndsATurnWithItsFinalStep_data();
    void stopEndsATurnWithItsFinalStep();
    void heaterFollowsTheBarsLastPosition_data();
    void heaterFollowsTheBarsLastPosition();
    void trolleySpinsReachTheModel();
    void wheelIgnoredWhileBusy();
    void panVectorAndDistance();
    void dragLimits();
    void rightButtonDoesNotPanTheWire();
    void protractorGeometry();

private:
    void Select(std::int32_t id);
    TFrameState m_state;
    std::unique_ptr<QWidget> m_window;
    THost* m_host = nullptr;
    QScrollBar* m_bar = nullptr;
    QList<QAction*> m_actions;
    TLog m_log;
    TModel* m_model = nullptr;
};

void TestHost::init() {
    m_state = TFrameState();
    m_state.Busy = false;
    m_log = TLog();
    AbortLoops = false;
    m_window = std::make_unique<QWidget>();
    m_window->resize(400, 300);
    auto* layout = new QVBoxLayout(m_window.get());
    auto* placeholder = new QWidget(m_window.get());
    m_bar = new QScrollBar(Qt::Horizontal, m_window.get());
    layout->addWidget(placeholder, 1);
    layout->addWidget(m_bar);
    THostControls c;
    c.ViewParent = m_window.get();
    c.ViewPlaceholder = placeholder;
    c.Bar = m_bar;
    auto action = [this](bool checkable = false) {
        auto* a = new QAction(m_window.get());
        a->setCheckable(checkable);
        m_actions << a;
        return a;
    };
    c.Start = action();
    c.Stop = action();
    c.Reset = action();
    c.Scale = action();
    c.Switch = action(true);
    c.Current = action();
    c.Field = action();
    c.Markers = action(true);
    c.Slit1 = action(true);
    c.Slit3 = action(true);
    c.RectBlock = action(true);
    c.DBlock = action(true);
    c.Prism = action(true);
    c.Metal = new QComboBox(m_window.get());
    c.Metal->addItems({"Aluminium", "Copper", "Iron"});
    c.LightGate = new QSpinBox(m_window.get());
    c.LightGate->setRange(5, 200);
    c.LightGate->setValue(100);
    c.RampAngle = new QSpinBox(m_window.get());
    c.RampAngle->setRange(1, 20);
    c.RampAngle->setValue(10);
    c.TrolleyMass = new QSpinBox(m_window.get());
    c.TrolleyMass->setRange(1, 3);
    c.ScreenWidth = [] { return 1152; };
    m_host = new THost(m_state, c, m_window.get());
    m_host->ModelFactory = [this](THost& h, std::int32_t id) -> std::unique_ptr<TModel> {
        std::unique_ptr<TModel> m;
        switch (id) {
        case 1: m = std::make_unique<TMoonPhase>(h, id, m_log); break;
        case 3: m = std::make_unique<TNightDay>(h, id, m_log); break;
        case 5: m = std::make_unique<TSolar>(h, id, m_log); break;
        case 7: m = std::make_unique<TGravity>(h, id, m_log); break;
        case 8: m = std::make_unique<TMotor>(h, id, m_log); break;
        case 11: m = std::make_unique<TLeftHand>(h, id, m_log); break;
        case 13: m = std::make_unique<TConduction>(h, id, m_log); break;
        case 14: m = std::make_unique<TRadAbsorb>(h, id, m_log); break;
        case 16: m = std::make_unique<TTrolley>(h, id, m_log); break;
        case 19: m = std::make_unique<TRefraction>(h, id, m_log); break;
        case 20: m = std::make_unique<TWire>(h, id, m_log); break;
        case 21: m = std::make_unique<TDomain>(h, id, m_log); break;
        default: m = std::make_unique<TCommon>(h, id, m_log); break;
        }
        m_model = m.get();
        return m;
    };
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestHost::cleanup() {
    m_window.reset();
    m_actions.clear();
}

void TestHost::Select(std::int32_t id) {
    m_state.CurrentTopicId = id;
    m_host->BuildTopic(id);
    m_log.Calls.clear();
    m_log.Updates.clear();
}

void TestHost::tickWrapsOnceAtTheBarMaximum() {
    Select(1);
    QCOMPARE(m_bar->maximum(), 10080);
    m_host->Start();
    m_state.AnimPosition = 10070;
    m_host->Tick(0.5); // +50 at 100 a second
    QCOMPARE(m_state.AnimPosition, 40.f);
    QCOMPARE(m_log.Updates.last(), 40.f);
    QCOMPARE(m_bar->value(), 40);
    m_state.AnimPosition = 10070;
    m_host->Tick(200); // far past: wrapped only once
    QCOMPARE(m_state.AnimPosition, 10070.f + 20000 - 10080);
}

void TestHost::startReadsTheBar() {
    Select(3);
    QCOMPARE(m_bar->value(), 180);
    QCOMPARE(m_host->StatusText(), QStringLiteral("GMT 12 hrs: 00 min"));
    m_host->Start();
    QCOMPARE(m_state.AnimPosition, 180.f);
    QVERIFY(!m_actions[0]->isEnabled());
    QVERIFY(m_actions[1]->isEnabled());
    QVERIFY(m_host->TimerRunning());
    m_host->Tick(0.3); // +15 at 50 a second: 195 is 13:00
    QCOMPARE(m_host->StatusText(), QStringLiteral("GMT 13 hrs: 00 min"));
    m_host->Stop();
    QVERIFY(!m_host->TimerRunning());
    QVERIFY(m_actions[0]->isEnabled());
    QVERIFY(AbortLoops);
}

void TestHost::dayNightClock_data() {
    QTest::addColumn<float>("position");
    QTest::addColumn<QString>("text");
    QTest::newRow("midnight") << 0.f << "GMT 00 hrs: 00 min";
    QTest::newRow("noon after a build") << 180.f << "GMT 12 hrs: 00 min";
    QTest::newRow("bar at 190") << 190.f << "GMT 12 hrs: 40 min";
    QTest::newRow("bar at 195") << 195.f << "GMT 13 hrs: 00 min";
    // Between two whole minutes near the hour: the next hour, never "60 min".
    QTest::newRow("just before one") << 14.9f << "GMT 01 hrs: 00 min";
    QTest::newRow("just before seven") << 104.93f << "GMT 07 hrs: 00 min";
    QTest::newRow("a quarter minute") << 100.06f << "GMT 06 hrs: 40 min";
    QTest::newRow("end of the day") << 359.95f << "GMT 00 hrs: 00 min";
    QTest::newRow("last minute") << 359.7f << "GMT 23 hrs: 59 min";
}

void TestHost::dayNightClock() {
    QFETCH(float, position);
    QFETCH(QString, text);
    QCOMPARE(TNightDayTopic::ClockText(position), text);
}

void TestHost::gravityStepsEveryTwoUnits() {
    Select(7);
    auto* model = static_cast<TGravity*>(m_model);
    model->Steps = {true, false};
    m_host->Start();
    m_host->Tick(0.004); // 1 unit at 250 a second
    QVERIFY(!m_log.Calls.contains("Step"));
    m_host->Tick(0.006); // 2.5 units: one step, back to 0
    QCOMPARE(m_log.Calls.count("Step"), 1);
    QCOMPARE(m_state.AnimPosition, 0.f);
    QVERIFY(m_host->TimerRunning());
    m_host->Tick(0.01);
    QCOMPARE(m_log.Calls.count("Step"), 2); // the satellite has landed
    QVERIFY(!m_host->TimerRunning());
    QVERIFY(m_actions[0]->isEnabled());
}

void TestHost::leftHandStopsPast70() {
    Select(11);
    m_host->SwitchClicked();
    QVERIFY(m_log.Calls.contains("Switch(true)"));
    QVERIFY(m_host->TimerRunning());
    m_bar->setValue(7);
    m_host->Tick(0.5); // 50
    QCOMPARE(m_log.Updates.last(), 50.f);
    m_host->Tick(0.3); // 80 > 70
    QVERIFY(m_log.Calls.contains("Switch(false)"));
    QVERIFY(!m_host->TimerRunning());
    QCOMPARE(m_bar->value(), 7); // the bar is left alone
}

void TestHost::conductionStopsAtTheMaximum() {
    Select(13);
    QCOMPARE(m_host->StatusText(), QStringLiteral("Time 00 min: 00 sec"));
    m_host->Start();
    QVERIFY(m_log.Calls.contains("StartHook(true)"));
    m_state.AnimPosition = 990;
    m_host->Tick(1); // +50: past the maximum 1000
    QCOMPARE(m_state.AnimPosition, 1000.f);
    QVERIFY(!m_host->TimerRunning());
    QVERIFY(m_actions[0]->isEnabled());
    QVERIFY(!m_actions[1]->isEnabled());
    QVERIFY(m_log.Calls.contains("StartHook(false)"));
    QCOMPARE(m_host->StatusText(), QStringLiteral("Time 16 min : 40 sec"));
    m_bar->setValue(65); // the pupil scrubs
    QCOMPARE(m_host->StatusText(), QStringLiteral("Time 01 min: 05 sec"));
}

void TestHost::radiationRestartsFromZero() {
    Select(14);
    m_bar->setValue(300);
    m_host->Start();
    QCOMPARE(m_state.AnimPosition, 0.f);
    m_host->Stop();
    m_bar->setValue(120);
    m_host->Start();
    QCOMPARE(m_state.AnimPosition, 120.f);
}

void TestHost::trolleyRunsWhileItsStepSaysSo() {
    Select(16);
    auto* model = static_cast<TTrolley*>(m_model);
    model->Runs = {true, false};
    m_host->Start();
    QCOMPARE(m_state.AnimPosition, 0.f);
    m_host->Tick(0.1);
    QVERIFY(m_host->TimerRunning());
    QVERIFY(m_actions[1]->isEnabled());
    m_host->Tick(0.1);
    QVERIFY(!m_host->TimerRunning());
    QVERIFY(m_actions[0]->isEnabled());
    QVERIFY(!m_actions[1]->isEnabled());
}

void TestHost::scrollBarMapping_data() {
    QTest::addColumn<int>("topic");
    QTest::addColumn<int>("value");
    QTest::addColumn<float>("update");
    QTest::newRow("moon") << 1 << 500 << 500.f;
    QTest::newRow("solar system doubles") << 5 << 1000 << 2000.f;
    QTest::newRow("domains count down") << 21 << 100 << 260.f;
}

void TestHost::scrollBarMapping() {
    QFETCH(int, topic);
    QFETCH(int, value);
    QFETCH(float, update);
    Select(topic);
    m_bar->setValue(value);
    QCOMPARE(m_log.Updates.last(), update);
    QCOMPARE(m_state.AnimPosition, 0.f); // scrolling does not move the animation position
    if (TopicHasFrameTimer(topic)) {
        m_host->Start();
        QCOMPARE(m_state.AnimPosition, float(value));
    }
}

void TestHost::runWithoutFrameTimerDoesNothing() {
    for (std::int32_t id : {17, 19, 20, 22}) {
        Select(id);
        m_host->Start();
        QVERIFY(!m_host->TimerRunning());
    }
}

void TestHost::turnAnimationsEndWithTheirTopic() {
    Select(8);
    m_host->Start();
    m_host->FieldOrCurrentClicked(true);
    QVERIFY(m_host->Turning());
    QVERIFY(!m_host->TimerRunning()); // off while turning
    QTRY_VERIFY(m_log.Calls.count() >= 5);
    m_host->FieldOrCurrentClicked(false); // ignored while a turn runs
    QVERIFY(!m_log.Calls.join(' ').contains("Current"));
    // A topic switch ends it at once: no final step, no timer for the old topic.
    Select(9);
    QTest::qWait(100);
    QVERIFY(!m_host->Turning());
    QVERIFY(m_log.Calls.isEmpty());
    QVERIFY(!m_host->TimerRunning());

}

void TestHost::turnAnimationRunsToTheEnd() {
    Select(8);
    m_host->Start();
    m_log.Calls.clear();
    m_host->FieldOrCurrentClicked(true);
    QTRY_VERIFY_WITH_TIMEOUT(!m_host->Turning(), 5000);
    QCOMPARE(m_log.Calls.first(), QStringLiteral("Field 0"));
    QCOMPARE(m_log.Calls.at(60), QStringLiteral("Field -180"));
    QCOMPARE(m_log.Calls.last(), QStringLiteral("FinishField at -180"));
    QVERIFY(m_host->TimerRunning()); // restored
}

void TestHost::stopEndsATurnWithItsFinalStep_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("field");
    QTest::newRow("motor, field") << 8 << true;
    QTest::newRow("motor, current") << 8 << false;
    QTest::newRow("left hand, field") << 11 << true;
    QTest::newRow("left hand, current") << 11 << false;
}

// Stop ends a turn after the step it was on, then the model's final
// operation runs for the angle reached and the buttons and bar come back.
void TestHost::stopEndsATurnWithItsFinalStep() {
    QFETCH(int, id);
    QFETCH(bool, field);
    Select(id);
    if (id == 8)
        m_host->Start();
    m_host->FieldOrCurrentClicked(field);
    QVERIFY(!m_host->C.Field->isEnabled());
    QVERIFY(!m_bar->isEnabled());
    QTRY_VERIFY(m_log.Calls.count() >= 4);
    m_host->Stop();
    QTRY_VERIFY(!m_host->Turning());
    const QString kind = field ? "Field" : "Current";
    const QStringList turns = m_log.Calls.filter(QRegularExpression("^" + kind + " "));
    QVERIFY(turns.size() >= 3);
    QVERIFY(turns.size() < (id == 8 ? 61 : (field ? 91 : 91))); // ended early
    const QString reached = turns.last().mid(kind.size() + 1);
    QCOMPARE(m_log.Calls.last(), QStringLiteral("Finish%1 at %2").arg(kind, reached));
    QVERIFY(m_host->C.Field->isEnabled());
    QVERIFY(m_host->C.Current->isEnabled());
    QVERIFY(m_bar->isEnabled());
    if (id == 8) // topic 11 has no Start button
        QVERIFY(m_host->C.Start->isEnabled());
    QVERIFY(!m_host->TimerRunning()); // Stop keeps the frame timer off
}

void TestHost::heaterFollowsTheBarsLastPosition_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("runTo");
    QTest::addColumn<bool>("chooseMetal");
    QTest::addColumn<int>("scrollTo");
    QTest::addColumn<QString>("heater");
    QTest::newRow("13: run to 500, another metal, scroll to 10") << 13 << 500 << true << 10 << "StartHook(true)";
    QTest::newRow("13: run to 500, scroll back to 400") << 13 << 500 << false << 400 << "StartHook(false)";
    QTest::newRow("13: run to 500, scroll on to 600") << 13 << 500 << false << 600 << "StartHook(true)";
    QTest::newRow("14: run to 200, scroll back to 150") << 14 << 200 << false << 150 << "Heater(dark)";
    QTest::newRow("14: run to 200, scroll on to 201") << 14 << 200 << false << 201 << "Heater(red)";
}

void TestHost::heaterFollowsTheBarsLastPosition() {
    QFETCH(int, id);
    QFETCH(int, runTo);
    QFETCH(bool, chooseMetal);
    QFETCH(int, scrollTo);
    QFETCH(QString, heater);
    Select(id);
    m_host->Start();
    m_state.AnimPosition = float(runTo);
    m_host->Tick(0); // the bar follows the run
    QCOMPARE(m_bar->value(), runTo);
    if (chooseMetal)
        m_host->MetalChosen(2); // sets the bar to 0 without a scroll
    m_log.Calls.clear();
    m_bar->setValue(scrollTo);
    QCOMPARE(m_log.Calls.last(), heater);
}

// Topic 16's spins reach the model; the strip is drawn for the gate's value.
void TestHost::trolleySpinsReachTheModel() {
    m_host->C.LightGate->setValue(150); // before the topic: nothing to tell
    QVERIFY(m_log.Calls.isEmpty());
    m_state.CurrentTopicId = 16;
    m_host->BuildTopic(16);
    QVERIFY(m_log.Calls.contains("Strip 150"));
    m_log.Calls.clear();
    m_host->C.LightGate->setValue(120);
    m_host->C.RampAngle->setValue(15);
    m_host->C.TrolleyMass->setValue(3);
    QCOMPARE(m_log.Calls, QStringList({"Gate 120", "Strip 120", "Ramp 15", "Masses 3"}));
    m_log.Calls.clear();
    m_host->Start();
    m_host->ResetClicked();
    QCOMPARE(m_log.Calls, QStringList({"InitRun", "ResetTrolley", "Strip 120"}));
    // Another topic: the spins no longer reach a trolley.
    Select(1);
    m_log.Calls.clear();
    m_host->C.LightGate->setValue(60);
    QVERIFY(m_log.Calls.isEmpty());
}

void TestHost::wheelIgnoredWhileBusy() {
    Select(1);
    m_host->GLCamera->SetPosition(0, 0, 10);
    m_state.Busy = true;
    m_host->WheelTurned(120);
    QCOMPARE(m_host->GLCamera->DistanceToTarget(), 10.f);
    m_state.Busy = false;
    m_host->WheelTurned(120);
    QVERIFY(std::abs(m_host->GLCamera->DistanceToTarget() - 10.5f) < 1e-4f);
}

void TestHost::panVectorAndDistance() {
    Select(1);
    m_host->GLCamera->SetPosition(0, 0, 10);
    m_host->WheelTurned(120);
    QVERIFY(std::abs(m_host->GLCamera->DistanceToTarget() - 10.5f) < 1e-4f);
    m_host->WheelTurned(-120);
    QVERIFY(std::abs(m_host->GLCamera->DistanceToTarget() - 10.f) < 1e-4f);
    m_host->Zoom(true);
    QVERIFY(std::abs(m_host->GLCamera->DistanceToTarget() - 10 / 1.157625f) < 1e-3f);
    m_host->Zoom(false);
    m_host->GLCamera->SetPosition(0, 0, 10);
    m_state.LastMouseX = 0;
    m_state.LastMouseY = 0;
    const QVector3D pan = m_host->PanVector(QPointF(10, 0));
    QVERIFY((pan - QVector3D(0.12f, 0, 0)).length() < 1e-5f); // k = 10 x 0.12 / 100
    const QVector3D up = m_host->PanVector(QPointF(0, -10)); // pointer up: scene up
    QVERIFY((up - QVector3D(0, 0.12f, 0)).length() < 1e-5f);
}

void TestHost::dragLimits() {
    Select(19);
    const TViewport view = m_host->GLViewer->Viewport();
    QVERIFY(view.Size.width() > 100);
    TSceneObject* box = m_host->SceneBase->FindByName("raybox");
    QVERIFY(box);
    auto dragTo = [&](const QVector3D& target) {
        const QPointF from = *view.Project(box->AbsolutePosition() + QVector3D(0, 0.5f, 0));
        m_host->MousePressed(from, Qt::LeftButton);
        QCOMPARE(m_state.PickedObject, box);
        m_host->MouseMoved(*view.Project(target), Qt::LeftButton);
    };
    dragTo({-20, 0.5f, 0}); // far to the left
    QCOMPARE(box->Position().x(), 1.8f); // the rectangular block's limit
    QVERIFY(m_log.Calls.contains("Drag 0"));

    QVERIFY(m_host->BlockChosen(2)); // the prism
    box = m_host->SceneBase->FindByName("raybox");
    dragTo({-20, 0.5f, 0});
    // The pointer's point on the plane stops at x = -10; the box, grabbed near
    // its middle, follows it there.
    QVERIFY2(box->Position().x() < -9 && box->Position().x() > -11, qPrintable(QString::number(box->Position().x())));

    // A press on empty space clears the pick and a drag orbits instead.
    const QVector3D before = m_host->GLCamera->AbsolutePosition();
    m_host->MousePressed(QPointF(2, 2), Qt::LeftButton);
    QCOMPARE(m_state.PickedObject, nullptr);
    m_host->MouseMoved(QPointF(40, 2), Qt::LeftButton);
    QVERIFY((m_host->GLCamera->AbsolutePosition() - before).length() > 0.1f);
}

void TestHost::rightButtonDoesNotPanTheWire() {
    Select(20);
    const QVector3D base = m_host->SceneBase->Position();
    m_host->MousePressed(QPointF(100, 100), Qt::RightButton);
    m_host->MouseMoved(QPointF(150, 120), Qt::RightButton);
    QCOMPARE(m_host->SceneBase->Position(), base);
    Select(1);
    const QVector3D moon = m_host->SceneBase->Position();
    m_host->MousePressed(QPointF(100, 100), Qt::RightButton);
    m_host->MouseMoved(QPointF(150, 120), Qt::RightButton);
    QVERIFY(m_host->SceneBase->Position() != moon);
}

void TestHost::protractorGeometry() {
    const QPointF c(255, 0);
    const QLineF ten = ProtractorTick(c, 10), five = ProtractorTick(c, 5), one = ProtractorTick(c, 1);
    QVERIFY(std::abs(QLineF(c, ten.p1()).length() - 250) < 1e-6);
    QVERIFY(std::abs(QLineF(c, ten.p2()).length() - 230) < 1e-6);
    QVERIFY(std::abs(QLineF(c, five.p2()).length() - 240) < 1e-6);
    QVERIFY(std::abs(QLineF(c, one.p2()).length() - 245) < 1e-6);
    QCOMPARE(ProtractorLabel(30), QStringLiteral("60"));
    QCOMPARE(ProtractorLabel(120), QStringLiteral("30"));
    const QPointF label = ProtractorLabelCentre(c, 90);
    QVERIFY(std::abs(label.x() - 255) < 1e-6 && std::abs(label.y() - 220) < 1e-6); // straight down
    const auto [a, b] = ProtractorAngleLines(c, 30);
    QVERIFY(std::abs(a.p2().x() - (255 + 370 * std::cos(M_PI / 6))) < 1e-4);
    QVERIFY(std::abs(b.p2().x() - (255 - 370 * std::cos(M_PI / 6))) < 1e-4);
    QVERIFY(std::abs(a.p2().y() - 185) < 1e-4);
}

QUARVEL_GUI_TEST_MAIN(TestHost)
#include "tst_host.moc"
