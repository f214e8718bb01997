#pragma once
// The electric motor (topic 8): a one-turn coil on a split-ring commutator
// turns between the poles of a U magnet; two hands show the left-hand rule.

#include "host/model.h"
#include "scene/sceneobject.h"

namespace quarvel {

class TMaterialLibrary;

// A split ring round z: two half shells with parallel-sided slots, turned so
// the halves lie at -x and +x and the slots at +y and -y.
class TCommutator : public TCustomSceneObject {
public:
    float OuterRadius = 0.2f, InnerRadius = 0.1f, RingLength = 0.2f;
    int Segments = 16;
    float StartAngle = 5, EndAngle = 175;
    // The inner circle's start angle (degrees) that keeps the slot sides parallel.
    float InnerStartAngle() const;

protected:
    void BuildGeometry(TMesh& mesh) override;
};

// A brush block on the +x side of z resting on the commutator.
class TMotorBrush : public TCustomSceneObject {
public:
    float FaceRadius = 0.2f, BrushHeight = 0.1f, BackX = 0.4f, BrushDepth = 0.2f;
    int Segments = 5;

protected:
    void BuildGeometry(TMesh& mesh) override;
};

// The rotor's roll for a position, the magnet's roll and the cell's turn.
float RotorRoll(float position, float fieldRoll, float cellTurn);
// The hands' poses after a reversal: pitch of each hand and their common roll.
struct TMotorHands {
    float Pitch4 = 0, Pitch5 = 180, Roll = 0;
};
TMotorHands MotorHandPoses(float fieldRoll, float cellTurn);

void BuildMotor(TSceneObject* sceneBase, TMaterialLibrary& matLib);
void UpdateMotor(TSceneObject* sceneBase, float position);
void SetMotorField(TSceneObject* sceneBase, float angle);
void SetMotorCurrent(TSceneObject* sceneBase, float angle);
void SetMotorSwitch(TSceneObject* sceneBase, bool on);
void FinishMotorReversal(TSceneObject* sceneBase);

class TMotorModel : public TMotorTopic {
public:
    using TMotorTopic::TMotorTopic;
    void Build() override;
    void Update(float position) override;
    void StartHook(bool on) override;
    void TurnField(float degrees) override;
    void TurnCurrent(float degrees) override;
    void FinishTurn(bool field) override;
    float FieldAngle() const override;
    float CurrentAngle() const override;
};

void RegisterMotorModel();

} // namespace quarvel
