#pragma once
// The relay (topic 10): a switch and battery drive a coil whose core pulls a
// pivoted armature, which bends the switched contact strip onto the fixed one.

#include "host/model.h"

#include <vector>

namespace quarvel {

class TSceneObject;
class TMaterialLibrary;

// The switched contact's bend for an armature angle (degrees): its free end
// follows the armature's tip.
struct TStripBend {
    float BendLength = 0.5f;
    float Deflection = 0;
};
TStripBend RelayStripBend(float angle);
// The armature angles the switching runs through: up to 2.7 when the switch
// closes, back down to exactly 0 when it opens; step i is i x 0.1.
std::vector<float> RelayArmatureSteps(bool switchWasOn);

void BuildRelay(TSceneObject* sceneBase, TMaterialLibrary& matLib);
void SetArmature(TSceneObject* sceneBase, float angle);
void ToggleRelaySwitch(TSceneObject* sceneBase);
bool RelaySwitchIsOn();
void OperateRelay(TSceneObject* sceneBase);

class TRelayModel : public TRelayTopic {
public:
    using TRelayTopic::TRelayTopic;
    void Build() override;
    void SwitchAnimation() override;
    void RelayPosition(float x) override;
};

void RegisterRelayModel();

} // namespace quarvel
