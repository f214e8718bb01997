#pragma once
// The model interface: what the animation host calls on the 3D model of
// the topic on show. The common rows of the host's tables are the defaults
// here; each topic's class overrides only where its topic departs (its
// tick, its scroll bar, its buttons), and the model of each course area
// fills in the model words (build, update, hooks, turns, drags).

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
    virtual void Build() {}
    // The animation position changed (ids 2 and 4 light with the space lights).
    virtual void Update(float /*position*/) {}
    virtual void StartHook(bool /*on*/) {}
    virtual void Reset() {}
    // A picked object was dragged (block: 0 rectangle, 1 D shape, 2 prism, for topic 19).
    virtual void Drag(int /*block*/ = 0) {}

    // --- host rules; the defaults are the common rows ---
    // The per-topic build sequence after the view is placed and the bar set.
    virtual void BuildSequence() { Build(); }
    // One frame-timer report: the position has been advanced already.
    virtual void Tick();
    // The user moved the scroll bar to v.
    virtual void Scroll(int v) { Update(float(v)); }
    // Start and Stop, after the host's common steps.
    virtual void OnStart() {}
    virtual void OnStop() {}

protected:
    // Wraps the position once at the bar's maximum.
    void Wrap();
};

// The model of topic `id` (1..22): the course area's model where one is
// registered, else the topic's host rules with empty model words.
std::unique_ptr<TModel> CreateTopicModel(THost& host, std::int32_t id);
using TModelFactory = std::function<std::unique_ptr<TModel>(THost&, std::int32_t)>;
void RegisterTopicModel(std::int32_t id, TModelFactory factory);

// --- topics whose host rules depart from the common rows ---

class TMoonPhaseTopic : public TModel { // 1
public:
    using TModel::TModel;
    virtual void DrawStrip(float /*position*/) {}
    void BuildSequence() override;
    void Tick() override;
    void Scroll(int v) override;
};

class TNightDayTopic : public TModel { // 3
public:
    using TModel::TModel;
    virtual void SetMarkers(bool /*on*/) {}
    void BuildSequence() override;
    void Tick() override;
    void Scroll(int v) override;
    static QString ClockText(float position);
};

class TSeasonsTopic : public TModel { // 4
public:
    using TModel::TModel;
    void BuildSequence() override;
};

class TSolarSystemTopic : public TModel { // 5
public:
    using TModel::TModel;
    virtual void CreateLabels() {}
    virtual void PlaceLabels() {}
    virtual void ChooseView(bool /*planetsToScale*/) {}
    virtual void ShowNames(bool /*on*/) {}
    void BuildSequence() override;
    void Tick() override;
    void Scroll(int v) override;
};

class TSatellitesTopic : public TModel { // 6
public:
    using TModel::TModel;
    virtual void DrawStrip(float /*position*/) {}
    void BuildSequence() override;
    void Tick() override;
    void Scroll(int v) override;
};

class TGravityTopic : public TModel { // 7
public:
    using TModel::TModel;
    virtual void SetLaunch(float /*speed*/) {}
    virtual void SetPosition(float /*x*/) {}
    virtual void Redraw() {}
    // One step of the fall; false once the satellite has reached the Earth.
    virtual bool Step() { return false; }
    void BuildSequence() override;
    void Tick() override;
    void Scroll(int v) override;
    // The page commands' launch: bar, launch speed (twice), position 0, redraw, Start.
    void Launch(int bar, float speed);
};

class TTurningTopic : public TModel { // 8 and 11: field and current turn animations
public:
    using TModel::TModel;
    virtual void TurnField(float /*degrees*/) {}
    virtual void TurnCurrent(float /*degrees*/) {}
    virtual void FinishTurn(bool /*field*/) {}
    // The angle the turn starts from (the turned child's roll or turn).
    virtual float FieldAngle() const { return 0; }
    virtual float CurrentAngle() const { return 0; }
};

class TMotorTopic : public TTurningTopic { // 8
public:
    using TTurningTopic::TTurningTopic;
    void OnStart() override { StartHook(true); }
    void OnStop() override { StartHook(false); }
};

class TBellTopic : public TModel { // 9
public:
    using TModel::TModel;
    virtual bool SwitchIsOn() const { return false; }
    void BuildSequence() override;
    void OnStart() override { StartHook(true); }
    void OnStop() override { StartHook(false); }
};

class TRelayTopic : public TModel { // 10
public:
    using TModel::TModel;
    virtual void SwitchAnimation() {}
    virtual void RelayPosition(float /*x*/) {}
    void BuildSequence() override;
    void Tick() override {}
    void Scroll(int v) override { RelayPosition(v * 0.1f); }
};

class TLeftHandTopic : public TTurningTopic { // 11
public:
    using TTurningTopic::TTurningTopic;
    virtual void SetSwitch(bool /*on*/) {}
    void BuildSequence() override;
    void Tick() override;
};

class TConductionTopic : public TModel { // 13
public:
    using TModel::TModel;
    virtual void UpdateMetal(int /*metal*/, float /*position*/) {}
    virtual void ChooseMetal(int /*index*/) {}
    void Update(float position) override;
    void BuildSequence() override;
    void Tick() override;
    void Scroll(int v) override;
    void OnStart() override { StartHook(true); }
    void OnStop() override { StartHook(false); }
    static QString TickClock(float position);   // "Time %2.2d min : %2.2d sec"
    static QString ScrollClock(int position);   // "Time %2.2d min: %2.2d sec"

protected:
    int m_lastBar = 0;
};

class TRadAbsorbTopic : public TModel { // 14
public:
    using TModel::TModel;
    virtual void HeaterColour(bool /*red*/) {}
    void BuildSequence() override;
    void Tick() override;
    void Scroll(int v) override;
    void OnStart() override;
    void OnStop() override { HeaterColour(false); }

private:
    int m_lastBar = 0;
};

class THCModelTopic : public TModel { // 15
public:
    using TModel::TModel;
    virtual void WrapNotice() {}
    void Tick() override;
    void Scroll(int v) override;
    void OnStart() override;
};

class TSpeedTopic : public TModel { // 16
public:
    using TModel::TModel;
    // One trolley step; false once the run is over.
    virtual bool Step(float /*position*/) { return false; }
    virtual void InitRun() {}
    virtual void ResetRun() {}
    virtual void DrawGateStrip() {}
    void BuildSequence() override;
    void Tick() override;
    void OnStart() override;
    void Reset() override;
};

class TPlaneMirrorTopic : public TModel { // 18
public:
    using TModel::TModel;
    virtual void SetSlit(bool /*single*/) {}
    // The reflection angle in degrees; negative when no ray meets the mirror.
    virtual float ReflectionAngle() const { return -1; }
    void BuildSequence() override;
};

class TRefractionTopic : public TModel { // 19
public:
    using TModel::TModel;
    virtual void BuildBlock(int /*block*/) {}
    void BuildSequence() override;
};

class TStWireTopic : public TModel { // 20
public:
    using TModel::TModel;
    virtual void CompassHeight(int /*v*/) {}
    virtual void ReverseCurrent() {}
    virtual void ToggleField() {}
    void BuildSequence() override;
    void Scroll(int v) override { CompassHeight(v); }
};

class TDomainTopic : public TModel { // 21
public:
    using TModel::TModel;
    void BuildSequence() override;
    void Scroll(int v) override { Update(float(360 - v)); }
};

} // namespace quarvel
