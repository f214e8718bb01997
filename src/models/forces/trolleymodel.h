#pragma once
// The trolley and light gate scene (topic 16) and its model words. The
// scene, under the scene base:
//   0  the ramp group, rolled by -angle: 0 the trolley ("trolley"; 0 its
//      wheel assembly, 3..5 the first, second and third mass), 1 the light
//      gate (0 its beam), then the board, the yellow 200 cm strip, the stop;
//   1  the support under the raised end (0 its post);
//   then the base and the floor.

#include "host/model.h"
#include "models/forces/gatestrip.h"
#include "models/forces/trolley.h"
#include "scene/sceneobject.h"

namespace quarvel {

void BuildTrolleyScene(TSceneObject* sceneBase, const QString& texturesFolder);
void PlaceRamp(TSceneObject* sceneBase, float angleDegrees);
void PlaceGate(TSceneObject* sceneBase, float gate);
void ShowMasses(TSceneObject* sceneBase, int count);
// The trolley `distance` units down the ramp, its wheels rolled, the beam shown or not.
void PlaceTrolley(TSceneObject* sceneBase, float distance, float wheelRoll, bool beamShown);

TSceneObject* TrolleyObject(TSceneObject* sceneBase);
TSceneObject* GateObject(TSceneObject* sceneBase);

class TTrolleyModel : public TSpeedTopic {
public:
    TTrolleyModel(THost& host, std::int32_t id);
    void Build() override;
    bool Step(float position) override;
    void InitRun() override;
    void ResetTrolley() override;
    void DrawGateStrip(int gate) override;
    void SetRampAngle(int degrees) override;
    void SetGatePosition(int gate) override;
    void ShowTrolleyMasses(int count) override;

    // The timer's digits for the readout kind (the strip's ShowGateTime).
    void ShowGateTime(int kind);
    const TTrolleyRun& Run() const { return m_run; }
    const TGateStrip& Strip() const { return m_strip; }

private:
    void ShowStrip();
    void KeepRunState();
    TTrolleyRun m_run;
    TGateStrip m_strip;
};

void RegisterTrolleyModel();

} // namespace quarvel
