#pragma once
// The electric bell (topic 9): while its switch is on, the animation
// position swings the armature on its flat spring so the striker hits the gong.

#include "host/model.h"

#include <QVector3D>

namespace quarvel {

class TSceneObject;
class TMaterialLibrary;

// The pose for an animation position: the spring's bend (degrees, 0 ... 3)
// and the armature carrier's place and roll (degrees).
struct TBellPose {
    float Bend = 0;
    QVector3D Carrier{0.85f, -1, 0};
    float Roll = 0;
};
TBellPose BellPose(float position);

void BuildBell(TSceneObject* sceneBase, TMaterialLibrary& matLib);
void UpdateBell(TSceneObject* sceneBase, float position);
void ToggleBellSwitch(TSceneObject* sceneBase);
// Puts the switch on or off; setting the state it is in changes nothing.
void SetBellSwitch(TSceneObject* sceneBase, bool on);
bool BellSwitchIsOn();

class TBellModel : public TBellTopic {
public:
    using TBellTopic::TBellTopic;
    void Build() override;
    void Update(float position) override;
    // Start puts the switch on, Stop off, whatever state it was in.
    void StartHook(bool on) override;
    bool SwitchIsOn() const override;
};

void RegisterBellModel();

} // namespace quarvel
