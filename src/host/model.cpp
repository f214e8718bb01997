#include "host/model.h"

#include "common/rounding.h"
#include "host/host.h"

#include <QAction>
#include <QComboBox>
#include <QHash>
#include <QLabel>

namespace quarvel {

namespace {
const QString kBarHint = QStringLiteral("Scroll through the animation");
const QString kViewHint = QStringLiteral("Use the left mouse button to rotate and the right mouse button to move");
}

void TModel::Wrap() {
    const float max = float(Host.BarMaximum());
    if (Host.S.AnimPosition > max)
        Host.S.AnimPosition -= max;
}

void TModel::CommonTick() {
    Wrap();
    Update(Host.S.AnimPosition);
    Host.SetBarValue(int(Trunc(Host.S.AnimPosition)));
}

namespace {
QHash<std::int32_t, TModelFactory>& Registered() {
    static QHash<std::int32_t, TModelFactory> factories;
    return factories;
}
} // namespace

void RegisterTopicModel(std::int32_t id, TModelFactory factory) { Registered().insert(id, std::move(factory)); }

namespace {
// The host's rules of a topic whose model has not been built yet: every
// word does nothing, so the topic's toolbar, bar and time loop still work.
struct TNoCommon final : TCommonTopic {
    using TCommonTopic::TCommonTopic;
    void Build() override {}
    void Update(float) override {}
};
struct TNoMoonPhase final : TMoonPhaseTopic {
    using TMoonPhaseTopic::TMoonPhaseTopic;
    void Build() override {}
    void Update(float) override {}
    void DrawStrip(float) override {}
};
struct TNoNightDay final : TNightDayTopic {
    using TNightDayTopic::TNightDayTopic;
    void Build() override {}
    void Update(float) override {}
    void SetMarkers(bool) override {}
};
struct TNoSeasons final : TSeasonsTopic {
    using TSeasonsTopic::TSeasonsTopic;
    void Build() override {}
    void Update(float) override {}
};
struct TNoSolarSystem final : TSolarSystemTopic {
    using TSolarSystemTopic::TSolarSystemTopic;
    void Build() override {}
    void Update(float) override {}
    void CreateLabels() override {}
    void PlaceLabels() override {}
    void ChooseView(bool) override {}
    void ShowNames(bool) override {}
};
struct TNoSatellites final : TSatellitesTopic {
    using TSatellitesTopic::TSatellitesTopic;
    void Build() override {}
    void Update(float) override {}
    void DrawStrip(float) override {}
};
struct TNoGravity final : TGravityTopic {
    using TGravityTopic::TGravityTopic;
    void Build() override {}
    void SetLaunch(float) override {}
    void SetPosition(float) override {}
    void Redraw() override {}
    bool Step() override { return false; }
};
template <class Topic> struct TNoTurning : Topic {
    using Topic::Topic;
    void Build() override {}
    void Update(float) override {}
    void TurnField(float) override {}
    void TurnCurrent(float) override {}
    void FinishTurn(bool) override {}
    float FieldAngle() const override { return 0; }
    float CurrentAngle() const override { return 0; }
};
struct TNoMotor final : TNoTurning<TMotorTopic> {
    using TNoTurning::TNoTurning;
    void StartHook(bool) override {}
};
struct TNoLeftHand final : TNoTurning<TLeftHandTopic> {
    using TNoTurning::TNoTurning;
    void SetSwitch(bool) override {}
};
struct TNoBell final : TBellTopic {
    using TBellTopic::TBellTopic;
    void Build() override {}
    void Update(float) override {}
    void StartHook(bool) override {}
    bool SwitchIsOn() const override { return false; }
};
struct TNoRelay final : TRelayTopic {
    using TRelayTopic::TRelayTopic;
    void Build() override {}
    void SwitchAnimation() override {}
    void RelayPosition(float) override {}
};
struct TNoConduction final : TConductionTopic {
    using TConductionTopic::TConductionTopic;
    void Build() override {}
    void UpdateMetal(int, float) override {}
    void ChooseMetal(int) override {}
    void StartHook(bool) override {}
};
struct TNoRadAbsorb final : TRadAbsorbTopic {
    using TRadAbsorbTopic::TRadAbsorbTopic;
    void Build() override {}
    void Update(float) override {}
    void HeaterColour(bool) override {}
};
struct TNoHCModel final : THCModelTopic {
    using THCModelTopic::THCModelTopic;
    void Build() override {}
    void Update(float) override {}
    void Reset() override {}
    void WrapNotice() override {}
};
struct TNoSpeed final : TSpeedTopic {
    using TSpeedTopic::TSpeedTopic;
    void Build() override {}
    bool Step(float) override { return false; }
    void InitRun() override {}
    void ResetTrolley() override {}
    void DrawGateStrip(int) override {}
    void SetRampAngle(int) override {}
    void SetGatePosition(int) override {}
    void ShowTrolleyMasses(int) override {}
};
struct TNoPlaneMirror final : TPlaneMirrorTopic {
    using TPlaneMirrorTopic::TPlaneMirrorTopic;
    void Build() override {}
    void Drag(int) override {}
    void SetSlit(bool) override {}
    float ReflectionAngle() const override { return -1; }
};
struct TNoRefraction final : TRefractionTopic {
    using TRefractionTopic::TRefractionTopic;
    void Drag(int) override {}
    void BuildBlock(int) override {}
};
struct TNoStWire final : TStWireTopic {
    using TStWireTopic::TStWireTopic;
    void Build() override {}
    void Drag(int) override {}
    void CompassHeight(int) override {}
    void ReverseCurrent() override {}
    void ToggleField() override {}
};
struct TNoDomain final : TDomainTopic {
    using TDomainTopic::TDomainTopic;
    void Build() override {}
    void Update(float) override {}
};
} // namespace

std::unique_ptr<TModel> CreateTopicModel(THost& host, std::int32_t id) {
    if (const auto it = Registered().constFind(id); it != Registered().constEnd())
        return it.value()(host, id);
    switch (id) {
    case 1: return std::make_unique<TNoMoonPhase>(host, id);
    case 3: return std::make_unique<TNoNightDay>(host, id);
    case 4: return std::make_unique<TNoSeasons>(host, id);
    case 5: return std::make_unique<TNoSolarSystem>(host, id);
    case 6: return std::make_unique<TNoSatellites>(host, id);
    case 7: return std::make_unique<TNoGravity>(host, id);
    case 8: return std::make_unique<TNoMotor>(host, id);
    case 9: return std::make_unique<TNoBell>(host, id);
    case 10: return std::make_unique<TNoRelay>(host, id);
    case 11: return std::make_unique<TNoLeftHand>(host, id);
    case 13: return std::make_unique<TNoConduction>(host, id);
    case 14: return std::make_unique<TNoRadAbsorb>(host, id);
    case 15: return std::make_unique<TNoHCModel>(host, id);
    case 16: return std::make_unique<TNoSpeed>(host, id);
    case 18: return std::make_unique<TNoPlaneMirror>(host, id);
    case 19: return std::make_unique<TNoRefraction>(host, id);
    case 20: return std::make_unique<TNoStWire>(host, id);
    case 21: return std::make_unique<TNoDomain>(host, id);
    default: return std::make_unique<TNoCommon>(host, id);
    }
}

// --- 1: moon phases ---
void TMoonPhaseTopic::BuildSequence() {
    Build();
    if (QLabel* strip = Host.C.Moonpic) {
        QImage black(strip->width() > 0 ? strip->width() : 292, 130, QImage::Format_RGB32);
        black.fill(Qt::black);
        strip->setFixedHeight(130);
        strip->setPixmap(QPixmap::fromImage(black));
    }
    DrawStrip(0);
}
void TMoonPhaseTopic::Tick() {
    Wrap();
    Update(Host.S.AnimPosition);
    DrawStrip(Host.S.AnimPosition);
    Host.SetBarValue(int(Trunc(Host.S.AnimPosition)));
}
void TMoonPhaseTopic::Scroll(int v) {
    Update(float(v));
    DrawStrip(float(v));
}

// --- 3: day and night ---
QString TNightDayTopic::ClockText(float position) {
    // Whole minutes first (4 a unit), so a position between two never shows "60 min".
    const std::int64_t t = RoundHalfEven(double(position) * 4);
    return QString::asprintf("GMT %2.2d hrs: %2.2d min", int(Mod(Div(t, 60), 24)), int(Mod(t, 60)));
}
void TNightDayTopic::BuildSequence() {
    Host.CreateStatusText();
    Build();
    Update(180);
    Host.CreateStatusText();
    Host.SetStatusText(QString::asprintf("GMT %2.2d hrs: %2.2d min", 12, 0));
}
void TNightDayTopic::Tick() {
    Wrap();
    Update(Host.S.AnimPosition);
    Host.SetStatusText(ClockText(Host.S.AnimPosition));
    Host.SetBarValue(int(Trunc(Host.S.AnimPosition)));
}
void TNightDayTopic::Scroll(int v) {
    Update(float(v));
    Host.SetStatusText(ClockText(float(v)));
}

// --- 4: seasons ---
void TSeasonsTopic::BuildSequence() {
    Build();
    Update(0);
}

// --- 5: solar system ---
void TSolarSystemTopic::BuildSequence() {
    CreateLabels();
    Build();
    PlaceLabels();
    Host.S.LabelRefreshPending = true;
}
void TSolarSystemTopic::Tick() {
    Wrap();
    Update(Host.S.AnimPosition);
    PlaceLabels();
    Host.SetBarValue(int(Trunc(Host.S.AnimPosition)));
}
void TSolarSystemTopic::Scroll(int v) {
    Update(float(2 * v));
    PlaceLabels();
}

// --- 6: satellites ---
void TSatellitesTopic::BuildSequence() {
    Build();
    if (QLabel* strip = Host.C.Moonpic) {
        QImage map(292, 130, QImage::Format_RGB32);
        map.fill(Qt::black);
        strip->setFixedHeight(130);
        strip->setPixmap(QPixmap::fromImage(map));
    }
    DrawStrip(0);
}
void TSatellitesTopic::Tick() {
    Wrap();
    Update(Host.S.AnimPosition);
    DrawStrip(Host.S.AnimPosition);
    Host.SetBarValue(int(Trunc(Host.S.AnimPosition)));
}
void TSatellitesTopic::Scroll(int v) {
    Update(float(v));
    DrawStrip(float(v));
}

// --- 7: gravity ---
void TGravityTopic::BuildSequence() {
    SetLaunch(0);
    Build();
    if (Host.C.Moonpic)
        Host.C.Moonpic->update();
    Host.SetHints(QStringLiteral("Change the sideways velocity"), kViewHint);
}
void TGravityTopic::Tick() {
    // The fall is stepped at most once per 2 units of rate-scaled time.
    if (Host.S.AnimPosition <= 2)
        return;
    Host.S.AnimPosition = 0;
    const bool running = Step();
    Host.SetTimer(running);
    SetPosition(0);
    Redraw();
    Host.C.Start->setEnabled(!running);
    Host.C.Stop->setEnabled(running);
}
void TGravityTopic::Scroll(int v) {
    Host.SetTimer(false);
    Host.C.Stop->setEnabled(false);
    Host.C.Start->setEnabled(true);
    SetLaunch(v * 0.01f);
    SetPosition(v * 0.01f);
    Redraw();
}
void TGravityTopic::Launch(int bar, float speed) {
    Host.SetBarValue(bar);
    SetLaunch(speed);
    SetLaunch(speed);
    SetPosition(0);
    Redraw();
}

// --- 9: bell ---
void TBellTopic::BuildSequence() {
    Build();
    Host.CreateStatusText(); // part names on hover
}

// --- 10: relay ---
void TRelayTopic::BuildSequence() {
    Host.C.Switch->setCheckable(true);
    Host.C.Switch->setChecked(false);
    Build();
}

// --- 11: left-hand rule ---
void TLeftHandTopic::BuildSequence() {
    Host.C.Switch->setChecked(false);
    Host.C.Switch->setCheckable(false);
    Build();
}
void TLeftHandTopic::Tick() {
    if (Host.S.AnimPosition > 70) {
        Host.SetTimer(false);
        SetSwitch(false);
    } else {
        Update(Host.S.AnimPosition);
    }
}

// --- 13: conduction ---
QString TConductionTopic::TickClock(float position) {
    const std::int64_t s = Trunc(position);
    return QString::asprintf("Time %2.2d min : %2.2d sec", int(Div(s, 60)), int(Mod(s, 60)));
}
QString TConductionTopic::ScrollClock(int position) {
    return QString::asprintf("Time %2.2d min: %2.2d sec", int(Div(position, 60)), int(Mod(position, 60)));
}
void TConductionTopic::Update(float position) { UpdateMetal(Host.C.Metal ? Host.C.Metal->currentIndex() : 0, position); }
void TConductionTopic::BuildSequence() {
    Build();
    Host.CreateStatusText();
    Host.SetStatusText(ScrollClock(0));
}
void TConductionTopic::Tick() {
    const float max = float(Host.BarMaximum());
    if (Host.S.AnimPosition < max) {
        Update(Host.S.AnimPosition);
    } else {
        Host.S.AnimPosition = max;
        Host.Stop(); // also switches the heater off
    }
    Host.SetStatusText(TickClock(Host.S.AnimPosition));
    Host.SetBarValue(int(Trunc(Host.S.AnimPosition)));
}
void TConductionTopic::Scroll(int v) {
    Update(float(v));
    Host.SetStatusText(ScrollClock(v));
    // Heating while the bar moves forward, from wherever it last stood.
    StartHook(v > Host.PreviousBarValue());
}

// --- 14: radiation absorption ---
void TRadAbsorbTopic::BuildSequence() {
    Build();
    Host.CreateStatusText();
    Host.SetStatusText(TConductionTopic::ScrollClock(0));
}
void TRadAbsorbTopic::Tick() {
    const float max = float(Host.BarMaximum());
    if (Host.S.AnimPosition < max) {
        Update(Host.S.AnimPosition);
    } else {
        Host.S.AnimPosition = max;
        Host.Stop(); // and the heater goes dark
    }
    Host.SetStatusText(TConductionTopic::TickClock(Host.S.AnimPosition));
    Host.SetBarValue(int(Trunc(Host.S.AnimPosition)));
}
void TRadAbsorbTopic::Scroll(int v) {
    Update(float(v));
    Host.SetStatusText(TConductionTopic::ScrollClock(v));
    HeaterColour(v > Host.PreviousBarValue());
}
void TRadAbsorbTopic::OnStart() {
    HeaterColour(true);
    if (Host.BarValue() >= Host.BarMaximum())
        Host.S.AnimPosition = 0; // a finished run starts again
}

// --- 15: heat-conduction particles ---
void THCModelTopic::Tick() {
    const float max = float(Host.BarMaximum());
    if (Host.S.AnimPosition > max) {
        Host.S.AnimPosition -= max;
        WrapNotice();
    }
    Update(Host.S.AnimPosition);
    Host.SetBarValue(int(Trunc(Host.S.AnimPosition)));
}
void THCModelTopic::Scroll(int v) {
    Update(float(v));
    Host.C.Reset->setEnabled(true);
}
void THCModelTopic::OnStart() { Host.C.Reset->setEnabled(true); }

// --- 16: trolley and light gate ---
void TSpeedTopic::BuildSequence() {
    Build();
    if (QLabel* strip = Host.C.Moonpic) {
        QImage gate(400, 125, QImage::Format_RGB32);
        gate.fill(Qt::white);
        strip->setFixedHeight(125);
        strip->setPixmap(QPixmap::fromImage(gate));
    }
    // The model is built with the spins' defaults; the strip shows the gate spin's value.
    DrawGateStrip(Host.GatePosition());
    InitRun();
}
void TSpeedTopic::Tick() {
    const bool running = Step(Host.S.AnimPosition);
    Host.SetTimer(running);
    Host.C.Stop->setEnabled(running);
    Host.C.Start->setEnabled(!running);
}
void TSpeedTopic::OnStart() {
    Host.S.AnimPosition = 0;
    Host.C.Reset->setEnabled(true);
    InitRun();
}
void TSpeedTopic::OnReset() {
    ResetTrolley();
    DrawGateStrip(Host.GatePosition());
}

// --- 18, 19, 20, 21 ---
void TPlaneMirrorTopic::BuildSequence() {
    Build();
    Drag(); // traces the first rays
}
void TRefractionTopic::BuildSequence() {
    BuildBlock(0);
    if (Host.C.RectBlock)
        Host.C.RectBlock->setChecked(true);
}
void TStWireTopic::BuildSequence() {
    Build();
    Host.SetHints(QStringLiteral("Move the compass vertically"), QStringLiteral("Use the left mouse button to rotate the view"));
}
void TDomainTopic::BuildSequence() {
    Build();
    Update(360);
    Host.SetHints(QStringLiteral("Magnetise the material"), kViewHint);
}

} // namespace quarvel
