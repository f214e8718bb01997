#pragma once
// The three 3D heat models (topics 13, 14 and 15).
//
// Conduction: a metal rod heated at its left end by a Bunsen flame; pins
// held by wax under the rod drop one after another as the heat spreads.
// Radiation: an electric heater between a dull black and a shiny copper
// plate; the wax on the black plate softens and its pin slides off.
// Particles: a bar of 21 layers of 5 x 5 balls heated layer by layer.
//
// The updates find their objects by index among the scene base's children,
// so the builds create them in a fixed order. Positions count seconds x 50
// for the particle model and seconds for the other two.

#include "host/model.h"

#include <QVector3D>
#include <QVector4D>

namespace quarvel {

class TSceneObject;
class TMaterialLibrary;

// --- conduction (13) ---
constexpr float kPinHangY = -1.27f;
constexpr float kConductionDecay = -0.23f;
constexpr int kPinCount = 15;

// The decay per pin for the metal list's index (0 aluminium, 1 copper, 2 iron).
float ConductionDecayFor(int metal);
// Whether pin `pin` has dropped at `position`, worked in single precision.
bool PinDropped(int metal, int pin, float position);
// The rod's library material for the metal list's index.
QString ConductionMetalMaterial(int metal);

void BuildConductionModel(TSceneObject* base, TMaterialLibrary& lib);
void UpdateConductionModel(TSceneObject* base, int metal, float position);
void SetConductionMetal(TSceneObject* base, TMaterialLibrary& lib, int metal);
void ShowBunsenFlame(TSceneObject* base, bool visible);

// --- radiation (14) ---
struct TRadiationPose {
    QVector3D PinPosition;
    float PinRoll;
    float WaxAlpha;
};
TRadiationPose RadiationPose(float position);

void BuildRadiationModel(TSceneObject* base, TMaterialLibrary& lib);
void UpdateRadiationModel(TSceneObject* base, float position);
void SetHeaterGlow(TSceneObject* base, const QVector4D& colour);

// --- particles (15) ---
constexpr int kLayers = 21;
const QVector4D kColdBall{0.561f, 0.561f, 0.737f, 1};
const QVector4D kHotBall{1, 0.25f, 0, 1};

// Heating (true: a heat front runs along the bar) or hot (all balls jiggle).
bool& HeatingPass();
// The colour of layer `layer` in the heating pass at `position`.
QVector4D LayerColour(int layer, float position);
// The ball's lattice point in the bar's frame.
QVector3D LatticePoint(int ball);

void BuildParticleConductionModel(TSceneObject* base);
void UpdateParticleConductionModel(TSceneObject* base, float position);
void ResetParticleConductionModel(TSceneObject* base);
void EndHeatingPass(TSceneObject* base, bool heating);
// The ball objects of the bar, in ball order (masters and proxies).
TSceneObject* Ball(TSceneObject* base, int ball);
// The material a layer's balls are drawn with.
QVector4D LayerAmbient(TSceneObject* base, int layer);

// --- the models the host drives ---
class TConductionModel : public TConductionTopic {
public:
    using TConductionTopic::TConductionTopic;
    void Build() override;
    void UpdateMetal(int metal, float position) override;
    void ChooseMetal(int index) override;
    void StartHook(bool on) override;
};

class TRadiationModel : public TRadAbsorbTopic {
public:
    using TRadAbsorbTopic::TRadAbsorbTopic;
    void Build() override;
    void Update(float position) override;
    void HeaterColour(bool red) override;
};

class TParticleConductionModel : public THCModelTopic {
public:
    using THCModelTopic::THCModelTopic;
    void Build() override;
    void Update(float position) override;
    void Reset() override;
    void WrapNotice() override;
};

void RegisterHeatModels();

} // namespace quarvel
