#include "models/forces/trolley.h"

#include <algorithm>
#include <cmath>

namespace quarvel {

namespace {
constexpr float kDegToRad = 3.14159265358979f / 180.f;
// The timer reads thousandths: no draw shorter than one is kept.
constexpr float kShortestReading = 0.001f;
} // namespace

float ExpectedGateTime(float angleDegrees, float gate) {
    const float a = kHalfGravity * std::sin(angleDegrees * kDegToRad);
    if (a < 0.00001f)
        return -1;
    return std::sqrt((gate + 5) / a) - std::sqrt(std::max(0.f, gate - 5) / a);
}

float ScatteredGateTime(float angleDegrees, float gate, TRandom& random) {
    const float mean = ExpectedGateTime(angleDegrees, gate);
    if (mean < 0)
        return mean;
    // The mean is well above the shortest reading for every ramp the toolbar
    // allows, so a few draws suffice; the bound only guards a runaway loop.
    for (int i = 0; i < 1000; ++i) {
        const float t = float(random.RandomNormal(mean, 0.01));
        if (t >= kShortestReading)
            return t;
    }
    return mean;
}

TTrolleyStep StepTrolley(float angleDegrees, float gate, float position) {
    TTrolleyStep s;
    const float sinA = std::sin(angleDegrees * kDegToRad);
    if (angleDegrees == 0) {
        s.Kind = GateFlat;
        return s;
    }
    float d = 0.01f * position * position * sinA;
    s.Running = d <= kTrolleyTravel;
    d = std::min(d, kTrolleyTravel);
    s.Distance = d;
    s.WheelRoll = -(180.f / 3.14159265358979f) * d / kWheelRadius;
    const float t = 10 * d;
    if (gate - 5 > t) {
        s.Kind = GateBefore;
    } else if (t < gate + 5) {
        s.Kind = GateIn;
        const float a = kHalfGravity * sinA;
        s.LiveTime = std::sqrt(t / a) - std::sqrt(std::max(0.f, gate - 5) / a);
    } else {
        s.Kind = GatePassed;
    }
    s.BeamShown = s.Kind != GateIn;
    return s;
}

void TTrolleyRun::SetAngle(float degrees) {
    m_angle = degrees;
    InitRun();
}

void TTrolleyRun::SetGate(float gate) {
    m_gate = gate;
    InitRun();
}

void TTrolleyRun::InitRun() {
    m_expected = ErrorFlag ? ScatteredGateTime(m_angle, m_gate, m_random) : ExpectedGateTime(m_angle, m_gate);
}

TTrolleyStep TTrolleyRun::Step(float position) {
    const TTrolleyStep s = StepTrolley(m_angle, m_gate, position);
    m_kind = s.Kind;
    if (s.Kind == GateIn)
        m_live = s.LiveTime;
    return s;
}

void TTrolleyRun::Reset() {
    m_kind = GateBefore;
    m_live = 0;
}

QString TTrolleyRun::Reading() const { return GateTimeText(m_kind, m_live, m_expected); }

QString GateTimeText(int kind, float live, float expected) {
    if (kind == GateIn)
        return QString::asprintf("%3.3f", double(live));
    if (kind == GatePassed)
        return QString::asprintf("%3.3f", double(expected));
    return QStringLiteral("00.000");
}

} // namespace quarvel
