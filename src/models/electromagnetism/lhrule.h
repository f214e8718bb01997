#pragma once
// The left-hand rule (topic 11): a copper rod rolls along two rails in a
// magnet's field when the switch closes; a hand shows field, current and force.

#include "host/model.h"
#include "scene/sceneobject.h"

namespace quarvel {

class TMaterialLibrary;

namespace LHRule {

// A cell symbol: a long plate at -x and a short plate at +x.
class TBattery : public TCustomSceneObject {
public:
    float PlateSpacing = 0.1f;
    float PlateHeight = 0.4f;

protected:
    void BuildGeometry(TMesh& mesh) override;
};

} // namespace LHRule

// +1 for v >= 0, -1 below.
inline float SignOf(float v) { return v >= 0 ? 1.f : -1.f; }

// The rod's x for a position, the magnet's roll and the cell's turn.
float RodX(float position, float fieldRoll, float cellTurn);
// The hand's roll and pitch after a reversal.
struct THandPose {
    float Roll = 90, Pitch = 0;
};
THandPose LeftHandPose(float fieldRoll, float cellTurn);

// The hand node with its mesh and three arrows (blue +y, red +z, green +x),
// shared with the motor.
TSceneObject* AddRuleHand(TSceneObject* parent, const QVector3D& at);

void BuildLeftHand(TSceneObject* sceneBase, TMaterialLibrary& matLib);
void MoveRod(TSceneObject* sceneBase, float position);
void SetLeftHandField(TSceneObject* sceneBase, float angle);
void SetLeftHandCurrent(TSceneObject* sceneBase, float angle);
void SetLeftHandSwitch(TSceneObject* sceneBase, bool on);
void FinishLeftHandReversal(TSceneObject* sceneBase);

class TLeftHandModel : public TLeftHandTopic {
public:
    using TLeftHandTopic::TLeftHandTopic;
    void Build() override;
    void Update(float position) override;
    void SetSwitch(bool on) override;
    void TurnField(float degrees) override;
    void TurnCurrent(float degrees) override;
    void FinishTurn(bool field) override;
    float FieldAngle() const override;
    float CurrentAngle() const override;
};

void RegisterLeftHandModel();

} // namespace quarvel
