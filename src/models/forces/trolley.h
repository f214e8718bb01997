#pragma once
// The trolley and light gate (topic 16): a trolley runs from rest down a ramp
// of angle theta through a light gate G cm along the ramp; the gate's timer
// shows how long the trolley took to pass a 10 cm stretch centred on G.
//
// 1 scene unit is 10 cm along the ramp; the trolley starts at x = -22.5 in the
// ramp's frame and can travel 20.9 units. Gravity enters as g/2 = 490.5 cm/s^2.
// Worked in single precision.

#include "common/random.h"

#include <QString>

namespace quarvel {

constexpr float kTrolleyStartX = -22.5f;
constexpr float kTrolleyTravel = 20.9f; // units
constexpr float kHalfGravity = 490.5f;  // cm/s^2
constexpr float kWheelRadius = 0.25f;

// The gate timer's readout kind.
enum TGateReadout : int { GateFlat = -1, GateBefore = 0, GateIn = 1, GatePassed = 2 };

// The expected time (s) from 5 cm before to 5 cm after the gate for a trolley
// starting from rest, or -1 on a flat ramp.
float ExpectedGateTime(float angleDegrees, float gate);
// The same, scattered by a normal draw of standard deviation 0.01 s. A timer
// never reads a negative or zero time: draws under 0.001 s are made again.
float ScatteredGateTime(float angleDegrees, float gate, TRandom& random);

struct TTrolleyStep {
    bool Running = false;
    int Kind = GateFlat;
    float LiveTime = 0;   // seconds since the trolley entered the gate (Kind 1)
    float Distance = 0;   // units along the ramp from the start
    float WheelRoll = 0;  // degrees
    bool BeamShown = true;
};

// One step at animation position x (100 units per second).
TTrolleyStep StepTrolley(float angleDegrees, float gate, float position);

// The set-up and the readings of one trolley. The expected reading always
// belongs to the set-up the trolley runs through: a change of angle or gate,
// even during a run, works it out again.
class TTrolleyRun {
public:
    explicit TTrolleyRun(TRandom& random) : m_random(random) {}
    bool ErrorFlag = false;

    float Angle() const { return m_angle; }
    float Gate() const { return m_gate; }
    void SetAngle(float degrees);
    void SetGate(float gate);
    // Works out the expected reading (with the scatter when ErrorFlag is set).
    void InitRun();
    TTrolleyStep Step(float position);

    float Expected() const { return m_expected; }
    float Live() const { return m_live; }
    int Kind() const { return m_kind; }
    void Reset();
    // The timer's digits for the latest readout.
    QString Reading() const;

private:
    TRandom& m_random;
    float m_angle = 10, m_gate = 100;
    float m_expected = 0, m_live = 0;
    int m_kind = GateBefore;
};

// "%3.3f" of the live time (Kind 1) or the expected time (Kind 2), else "00.000".
QString GateTimeText(int kind, float live, float expected);

} // namespace quarvel
