#include "models/electromagnetism/relay.h"

#include "host/globals.h"
#include "host/host.h"
#include "models/electromagnetism/circuitobjects.h"
#include "models/electromagnetism/emgeometry.h"
#include "models/electromagnetism/embuild.h"

#include <cmath>

namespace quarvel {

using namespace CircuitObjects;
using namespace embuild;
using emgeom::Pi;

namespace {
bool RelaySwitchOn = false;

} // namespace

TStripBend RelayStripBend(float angle) {
    const float a = angle * Pi / 180.f;
    return {1.25f - 0.75f * std::cos(a), 0.75f * std::sin(a)};
}

std::vector<float> RelayArmatureSteps(bool switchWasOn) {
    std::vector<float> steps;
    for (int k = 0; k <= 27; ++k) {
        const int i = switchWasOn ? 27 - k : k;
        steps.push_back(float(i) * 0.1f);
    }
    return steps;
}

void BuildRelay(TSceneObject* base, TMaterialLibrary&) {
    RelaySwitchOn = false;
    Add<TRelayArm>(base, {0.55f, 0.65f, 0}, QStringLiteral("Red"));                 // 0
    Add<TBendyStrip>(base, {0.75f, -0.6f, 0}, QStringLiteral("Metal"));             // 1
    auto* sw = Add<TSwitch>(base, {-0.85f, -0.5f, 0.7f});                           // 2
    sw->Name = QStringLiteral("switch");
    sw->SetSize(0.5f, 0.2f, 0.3f);
    sw->SetBottom(true);
    sw->LoadTexture(TexturesFolder);
    Add<TCube>(sw, {0.13f, 0.105f, 0}, QStringLiteral("PaleWhite"))->SetSize(0.1f, 0.1f, 0.15f);

    auto* cell = Add<TBattery>(base, {-1.4f, -0.46f, 0});                          // 3
    cell->SetHeight(0.8f);
    cell->LoadTexture(TexturesFolder);
    cell->SetPitchAngle(-90);
    cell->SetTurnAngle(-110);
    auto* plus = Add<TCylinder>(cell, {0, 0.41f, 0}, QStringLiteral("Metal"));
    plus->SetRadii(0.06f, 0.05f);
    plus->SetHeight(0.02f);
    plus->SetParts(TCylinder::Sides | TCylinder::TopCap);
    auto* minus = Add<TCylinder>(cell, {0, -0.41f, 0}, QStringLiteral("Metal"));
    minus->SetRadii(0.08f, 0.1f);
    minus->SetHeight(0.02f);
    minus->SetParts(TCylinder::Sides | TCylinder::BottomCap);

    auto* clip = Add<TExtrusionSolid>(base, {-1.32f, -0.6f, 0.42f}, QStringLiteral("Metal")); // 4
    clip->SetContours({{{0, 0}, {0.2f, 0}, {0.2f, 0.04f}, {0.02f, 0.04f}, {0.02f, 0.2f}, {0, 0.2f}}});
    clip->SetDepth(0.16f);
    clip->SetTurnAngle(-90);
    AddProxy(base, clip, {-1.48f, -0.6f, -0.42f}, true)->SetTurnAngle(90);        // 5

    Add<TBendyStrip>(base, {1, -0.6f, 0}, QStringLiteral("Metal"))->SetTurnAngle(180); // 6
    Add<TRelayPivot>(base, {0.4f, 0.025f, 0}, QStringLiteral("Blue"));            // 7
    auto* core = Add<TCylinder>(base, {0, 0, 0});                                 // 8
    core->SetHeight(1.2f);
    core->SetRadius(0.2f);

    std::vector<QVector3D> coil = {{0.22f, 0, 0.3f}};                             // 9
    const float th = 2 * Pi / 16;
    for (int i = 0; i <= 264; ++i)
        coil.push_back({0.22f * std::cos(float(i) * th), 0.00375f * float(i), -0.22f * std::sin(float(i) * th)});
    coil.push_back({-0.22f, 0.99f, 0.2f});
    for (int i = 1; i <= 5; ++i)
        coil.push_back({-0.22f, 0.89f + 0.1f * std::cos(float(i) * Pi / 10), 0.2f + 0.1f * std::sin(float(i) * Pi / 10)});
    coil.push_back({-0.22f, -0.1f, 0.3f});
    AddTube(base, {0, -0.55f, 0}, std::move(coil), QStringLiteral("Copper"))->SetTurnAngle(-90);

    auto* terminal = Add<TCylinder>(base, {-0.3f, -0.55f, -0.22f}, QStringLiteral("Brass")); // 10
    terminal->SetHeight(0.1f);
    terminal->SetRadius(0.05f);
    terminal->SetParts(TCylinder::Sides | TCylinder::TopCap);
    AddProxy(base, terminal, {0, 0, 0.44f}, false);                               // 11
    AddProxy(base, terminal, {1.05f, 0, 0.5f}, false);                            // 12
    AddProxy(base, terminal, {1.3f, 0, 0.5f}, false);                             // 13

    auto* post = Add<TCube>(base, {1, -0.55f, 0}, QStringLiteral("Metal"));       // 14
    post->SetSize(0.1f, 0.1f, 0.3f);
    post->SetParts(TCube::All & ~TCube::Bottom);
    AddTube(post, {0, 0, 0.15f}, {{0, 0, 0}, {0, 0, 0.1f}}, QStringLiteral("Copper"));
    AddProxy(base, post, {-0.25f, 0, 0}, false);                                  // 15

    std::vector<QVector3D> wire = {{0, 0, 0}};                                    // 16
    for (int i = 0; i <= 5; ++i)
        wire.push_back({0.1f * std::cos(float(i) * Pi / 10) - 0.1f, 0, -0.4f - 0.1f * std::sin(float(i) * Pi / 10)});
    for (int i = 5; i <= 10; ++i)
        wire.push_back({0.1f * std::cos(float(i) * Pi / 10) - 1, 0, -0.4f - 0.1f * std::sin(float(i) * Pi / 10)});
    wire.push_back({-1.1f, 0, -0.2f});
    auto* w = AddTube(base, {-0.3f, -0.55f, -0.22f}, std::move(wire), QStringLiteral("Red"));
    AddProxy(base, w, {-0.3f, -0.55f, 0.22f}, true)->SetPitchAngle(-180);        // 17

    Add<TCube>(base, {-0.2f, -0.65f, 0}, QStringLiteral("Teal"))->SetSize(3, 0.1f, 2); // 18
}

void SetArmature(TSceneObject* base, float angle) {
    if (!base || base->Count() < 2)
        return;
    base->Child(0)->SetRollAngle(angle);
    if (auto* strip = dynamic_cast<TBendyStrip*>(base->Child(1))) {
        const TStripBend b = RelayStripBend(angle);
        strip->SetBend(b.BendLength, b.Deflection);
    }
}

void ToggleRelaySwitch(TSceneObject* base) {
    RelaySwitchOn = !RelaySwitchOn;
    if (!base || base->Count() < 3 || base->Child(2)->Count() < 1)
        return;
    TSceneObject* lever = base->Child(2)->Child(0);
    const QVector3D p = lever->Position();
    lever->SetPosition(RelaySwitchOn ? -0.13f : 0.13f, p.y(), p.z());
}

bool RelaySwitchIsOn() { return RelaySwitchOn; }

void OperateRelay(TSceneObject* base) {
    const bool wasOn = RelaySwitchOn;
    ToggleRelaySwitch(base);
    for (float a : RelayArmatureSteps(wasOn))
        SetArmature(base, a);
}

void TRelayModel::Build() { BuildRelay(Host.SceneBase, Host.MatLib); }
void TRelayModel::SwitchAnimation() { OperateRelay(Host.SceneBase); }
void TRelayModel::RelayPosition(float x) { SetArmature(Host.SceneBase, x); }

void RegisterRelayModel() {
    RegisterTopicModel(10, [](THost& host, std::int32_t id) { return std::make_unique<TRelayModel>(host, id); });
}

} // namespace quarvel
