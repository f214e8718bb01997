#pragma once
// The model interface: what the animation host calls on the 3D model of
// the topic on show.
//
// Two kinds of operation live here. The host's rules (the per-topic build
// sequence, tick, scroll, start, stop and reset) are written once in the
// topic's class below and are `final`: a model cannot replace them, even by
// accident. The model words (build, update, hooks, turns, drags) are what a
// course area's model gives; the words a topic needs are pure virtual in its
// class, so a model that forgets one does not compile. A model derives from
// its topic's class:
//
//   id  class               words a model must give (besides Build)
//    1  TMoonPhaseTopic     Update, DrawStrip
//    2  TCommonTopic        Update (eclipses)
//    3  TNightDayTopic      Update, SetMarkers
//    4  TSeasonsTopic       Update
//    5  TSolarSystemTopic   Update, CreateLabels, PlaceLabels, ChooseView, ShowNames
//    6  TSatellitesTopic    Update, DrawStrip
//    7  TGravityTopic       SetLaunch, SetPosition, Redraw, Step
//    8  TMotorTopic         Update, StartHook, TurnField, TurnCurrent, FinishTurn, FieldAngle, CurrentAngle
//    9  TBellTopic          Update, StartHook, SwitchIsOn
//   10  TRelayTopic         SwitchAnimation, RelayPosition
//   11  TLeftHandTopic      Update, SetSwitch, TurnField, TurnCurrent, FinishTurn, FieldAngle, CurrentAngle
//   12  TCommonTopic        Update
//   13  TConductionTopic    UpdateMetal, ChooseMetal, StartHook
//   14  TRadAbsorbTopic     Update, HeaterColour
//   15  THCModelTopic       Update, Reset, WrapNotice
//   16  TSpeedTopic         Step, InitRun, ResetTrolley, DrawGateStrip, SetRampAngle, SetGatePosition,
//                           ShowTrolleyMasses
//   17  TCommonTopic        Update
//   18  TPlaneMirrorTopic   Drag, SetSlit, ReflectionAngle
//   19  TRefractionTopic    BuildBlock, Drag
//   20  TStWireTopic        Drag, CompassHeight, ReverseCurrent, ToggleField
//   21  TDomainTopic        Update
//   22  TCommonTopic        Update

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

namespace quarvel {

class THost;

class TModel {
public:
    explicit TModel(THost& host, std::int32_t id) : Host(host), Id(id) {}
    virtual ~TModel() = default;
    THost& Host;
    const std::int32_t Id;

    // --- model words ---
    // Builds under the host's scene base with the host's material library.
    virtual void Build() = 0;
    // The animation position changed (ids 2 and 4 light with the space lights).
    virtual void Update(float /*position*/) {}
    virtual void StartHook(bool /*on*/) {}
    virtual void Reset() {}
    // A picked object was dragged (block: 0 rectangle, 1 D shape, 2 prism, for topic 19).
    virtual void Drag(int /*block*/ = 0) {}

    // --- host rules: each topic's class gives them, final ---
    // The per-topic build sequence after the view is placed and the bar set.
    virtual void BuildSequence() = 0;
    // One frame-timer report: the position has been advanced already.
    virtual void Tick() = 0;
    // The user moved the scroll bar to v.
    virtual void Scroll(int v) = 0;
    // Start, Stop and Reset, after the host's common steps.
    virtual void OnStart() = 0;
    virtual void OnStop() = 0;
    virtual void OnReset() = 0;

protected:
    // Wraps the position once at the bar's maximum.
    void Wrap();
    // The common rows of the time loop: wrap at the bar's maximum, update, move the bar.
    void CommonTick();
};

// The model of topic `id` (1..22): the course area's model where one is
// registered, else the topic's host rules with empty model words.
std::unique_ptr<TModel> CreateTopicModel(THost& host, std::int32_t id);
using TModelFactory = std::function<std::unique_ptr<TModel>(THost&, std::int32_t)>;
void RegisterTopicModel(std::int32_t id, TModelFactory factory);

// Topics that keep the common rows (2, 12, 17, 22).
class TCommonTopic : public TModel {
public:
    using TModel::TModel;
    void Update(float position) override = 0;
    void BuildSequence() final { Build(); }
    void Tick() final { CommonTick(); }
    void Scroll(int v) final { Update(float(v)); }
    void OnStart() final {}
    void OnStop() final {}
    void OnReset() final {}
};

// --- topics whose host rules depart from the common rows ---
// Rules a topic keeps from the common rows are marked final as well.

class TMoonPhaseTopic : public TModel { // 1
public:
    using TModel::TModel;
    void Update(float position) override = 0;
    virtual void DrawStrip(float position) = 0;
    void BuildSequence() final;
    void Tick() final;
    void Scroll(int v) final;
    void OnStart() final {}
    void OnStop() final {}
    void OnReset() final {}
};

class TNightDayTopic : public TModel { // 3
public:
    using TModel::TModel;
    void Update(float position) override = 0;
    virtual void SetMarkers(bool on) = 0;
    void BuildSequence() final;
    void Tick() final;
    void Scroll(int v) final;
    void OnStart() final {}
    void OnStop() final {}
    void OnReset() final {}
    static QString ClockText(float position);
};

class TSeasonsTopic : public TModel { // 4
public:
    using TModel::TModel;
    void Update(float position) override = 0;
    void BuildSequence() final;
    void Tick() final { CommonTick(); }
    void Scroll(int v) final { Update(float(v)); }
    void OnStart() final {}
    void OnStop() final {}
    void OnReset() final {}
};

class TSolarSystemTopic : public TModel { // 5
public:
    using TModel::TModel;
    void Update(float position) override = 0;
    virtual void CreateLabels() = 0;
    virtual void PlaceLabels() = 0;
    virtual void ChooseView(bool planetsToScale) = 0;
    virtual void ShowNames(bool on) = 0;
    void BuildSequence() final;
    void Tick() final;
    void Scroll(int v) final;
    void OnStart() final {}
    void OnStop() final {}
    void OnReset() final {}
};

class TSatellitesTopic : public TModel { // 6
public:
    using TModel::TModel;
    void Update(float position) override = 0;
    virtual void DrawStrip(float position) = 0;
    void BuildSequence() final;
    void Tick() final;
    void Scroll(int v) final;
    void OnStart() final {}
    void OnStop() final {}
    void OnReset() final {}
};

class TGravityTopic : public TModel { // 7
public:
    using TModel::TModel;
    virtual void SetLaunch(float speed) = 0;
    virtual void SetPosition(float x) = 0;
    virtual void Redraw() = 0;
    // One step of the fall; false once the satellite has reached the Earth.
    virtual bool Step() = 0;
    void BuildSequence() final;
    void Tick() final;
    void Scroll(int v) final;
    void OnStart() final {}
    void OnStop() final {}
    void OnReset() final {}
    // The page commands' launch: bar, launch speed (twice), position 0, redraw, Start.
    void Launch(int bar, float speed);
};

class TTurningTopic : public TModel { // 8 and 11: field and current turn animations
public:
    using TModel::TModel;
    virtual void TurnField(float degrees) = 0;
    virtual void TurnCurrent(float degrees) = 0;
    // After a turn, for the angle it reached (also when Stop ended it early).
    virtual void FinishTurn(bool field) = 0;
    // The angle a turn starts from (the turned child's roll or turn).
    virtual float FieldAngle() const = 0;
    virtual float CurrentAngle() const = 0;
};

class TMotorTopic : public TTurningTopic { // 8
public:
    using TTurningTopic::TTurningTopic;
    void Update(float position) override = 0;
    void StartHook(bool on) override = 0;
    void BuildSequence() final { Build(); }
    void Tick() final { CommonTick(); }
    void Scroll(int v) final { Update(float(v)); }
    void OnStart() final { StartHook(true); }
    void OnStop() final { StartHook(false); }
    void OnReset() final {}
};

class TBellTopic : public TModel { // 9
public:
    using TModel::TModel;
    void Update(float position) override = 0;
    void StartHook(bool on) override = 0;
    virtual bool SwitchIsOn() const = 0;
    void BuildSequence() final;
    void Tick() final { CommonTick(); }
    void Scroll(int v) final { Update(float(v)); }
    void OnStart() final { StartHook(true); }
    void OnStop() final { StartHook(false); }
    void OnReset() final {}
};

class TRelayTopic : public TModel { // 10
public:
    using TModel::TModel;
    virtual void SwitchAnimation() = 0;
    virtual void RelayPosition(float x) = 0;
    void BuildSequence() final;
    void Tick() final {}
    void Scroll(int v) final { RelayPosition(v * 0.1f); }
    void OnStart() final {}
    void OnStop() final {}
    void OnReset() final {}
};

class TLeftHandTopic : public TTurningTopic { // 11
public:
    using TTurningTopic::TTurningTopic;
    void Update(float position) override = 0;
    virtual void SetSwitch(bool on) = 0;
    void BuildSequence() final;
    void Tick() final;
    void Scroll(int v) final { Update(float(v)); }
    void OnStart() final {}
    void OnStop() final {}
    void OnReset() final {}
};

class TConductionTopic : public TModel { // 13
public:
    using TModel::TModel;
    virtual void UpdateMetal(int metal, float position) = 0;
    virtual void ChooseMetal(int index) = 0;
    void StartHook(bool on) override = 0;
    void Update(float position) final;
    void BuildSequence() final;
    void Tick() final;
    void Scroll(int v) final;
    void OnStart() final { StartHook(true); }
    void OnStop() final { StartHook(false); }
    void OnReset() final {}
    static QString TickClock(float position);   // "Time %2.2d min : %2.2d sec"
    static QString ScrollClock(int position);   // "Time %2.2d min: %2.2d sec"
};

class TRadAbsorbTopic : public TModel { // 14
public:
    using TModel::TModel;
    void Update(float position) override = 0;
    virtual void HeaterColour(bool red) = 0;
    void BuildSequence() final;
    void Tick() final;
    void Scroll(int v) final;
    void OnStart() final;
    void OnStop() final { HeaterColour(false); }
    void OnReset() final {}
};

class THCModelTopic : public TModel { // 15
public:
    using TModel::TModel;
    void Update(float position) override = 0;
    void Reset() override = 0;
    virtual void WrapNotice() = 0;
    void BuildSequence() final { Build(); }
    void Tick() final;
    void Scroll(int v) final;
    void OnStart() final;
    void OnStop() final {}
    void OnReset() final { Reset(); }
};

class TSpeedTopic : public TModel { // 16
public:
    using TModel::TModel;
    // One trolley step; false once the run is over.
    virtual bool Step(float position) = 0;
    // The expected gate time for a run from rest (at the build and at Start).
    virtual void InitRun() = 0;
    virtual void ResetTrolley() = 0;
    // The whole light-gate strip for gate position `gate` (cm).
    virtual void DrawGateStrip(int gate) = 0;
    // The toolbar's spins: ramp angle (degrees), gate position (cm), masses (1..3).
    virtual void SetRampAngle(int degrees) = 0;
    virtual void SetGatePosition(int gate) = 0;
    virtual void ShowTrolleyMasses(int count) = 0;
    void BuildSequence() final;
    void Tick() final;
    void Scroll(int) final {}
    void OnStart() final;
    void OnStop() final {}
    void OnReset() final;
};

class TPlaneMirrorTopic : public TModel { // 18
public:
    using TModel::TModel;
    void Drag(int block = 0) override = 0;
    virtual void SetSlit(bool single) = 0;
    // The reflection angle in degrees; negative when no ray meets the mirror.
    virtual float ReflectionAngle() const = 0;
    void BuildSequence() final;
    void Tick() final {}
    void Scroll(int) final {}
    void OnStart() final {}
    void OnStop() final {}
    void OnReset() final {}
};

class TRefractionTopic : public TModel { // 19
public:
    using TModel::TModel;
    void Build() final {} // the blocks are built one at a time
    void Drag(int block = 0) override = 0;
    virtual void BuildBlock(int block) = 0;
    void BuildSequence() final;
    void Tick() final {}
    void Scroll(int) final {}
    void OnStart() final {}
    void OnStop() final {}
    void OnReset() final {}
};

class TStWireTopic : public TModel { // 20
public:
    using TModel::TModel;
    void Drag(int block = 0) override = 0;
    virtual void CompassHeight(int v) = 0;
    virtual void ReverseCurrent() = 0;
    virtual void ToggleField() = 0;
    void BuildSequence() final;
    void Tick() final {}
    void Scroll(int v) final { CompassHeight(v); }
    void OnStart() final {}
    void OnStop() final {}
    void OnReset() final {}
};

class TDomainTopic : public TModel { // 21
public:
    using TModel::TModel;
    void Update(float position) override = 0;
    void BuildSequence() final;
    void Tick() final { CommonTick(); }
    void Scroll(int v) final { Update(float(360 - v)); }
    void OnStart() final {}
    void OnStop() final {}
    void OnReset() final {}
};

} // namespace quarvel
