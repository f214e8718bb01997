#include "models/electromagnetism/bell.h"

#include "host/globals.h"
#include "host/host.h"
#include "models/electromagnetism/circuitobjects.h"
#include "models/electromagnetism/emgeometry.h"
#include "models/electromagnetism/glscrews.h"
#include "models/electromagnetism/embuild.h"

#include <cmath>

namespace quarvel {

using namespace CircuitObjects;
using namespace embuild;
using emgeom::Pi;

namespace {
bool BellSwitchOn = false;

void PlaceLever(TSceneObject* base) {
    if (!base || base->Count() < 3 || base->Child(2)->Count() < 1)
        return;
    TSceneObject* lever = base->Child(2)->Child(0);
    const QVector3D p = lever->Position();
    lever->SetPosition(BellSwitchOn ? -0.2f : 0.2f, p.y(), p.z());
}
} // namespace

TBellPose BellPose(float position) {
    TBellPose pose;
    pose.Bend = std::abs(3 * std::sin(position * Pi / 180.f));
    const float th = pose.Bend * Pi / 180.f, h = 0.5f - 3 * th;
    pose.Carrier = QVector3D(3 * std::cos(th) - 2.15f - h * std::sin(th), 3 * std::sin(th) - 1.5f + h * std::cos(th), 0);
    pose.Roll = pose.Bend;
    return pose;
}

void BuildBell(TSceneObject* base, TMaterialLibrary&) {
    BellSwitchOn = false;
    const float th = 2 * Pi / 16;
    auto* spring = Add<TSpringStrip>(base, {0.85f, -1.5f, 0}, QStringLiteral("Metal")); // 0
    spring->Name = QStringLiteral("spring");
    Add<TCube>(spring, {-0.1f, -0.1f, -0.075f}, QStringLiteral("Brass"))->SetSize(0.2f, 0.2f, 0.35f);

    auto* carrier = Add<TDummyCube>(base, {0.85f, -1, 0});                          // 1
    auto* iron = Add<TCube>(carrier, {-0.05f, 0.5f, 0});
    iron->Name = QStringLiteral("iron");
    iron->SetSize(0.1f, 1, 0.25f);
    std::vector<QVector3D> rod = {{0, 1, 0}, {0, 1.5f, 0}};
    for (int i = 0; i <= 5; ++i)
        rod.push_back({0.2f - 0.2f * std::cos(float(i) * Pi / 20), 1.5f + 0.2f * std::sin(float(i) * Pi / 20), 0});
    rod.push_back({0.2f, 1.5f + 0.2f * std::sin(Pi / 4) + 0.2f * std::cos(Pi / 4), 0});
    const QVector3D tip = rod.back();
    auto* striker = AddTube(carrier, {-0.05f, 0, 0}, std::move(rod), QStringLiteral("Metal"), 0.04f);
    striker->Name = QStringLiteral("striker");
    auto* ball = Add<TSphere>(carrier, tip, QStringLiteral("Metal"));
    ball->Name = QStringLiteral("striker");
    ball->SetRadius(0.1f);

    auto* sw = Add<TSwitch>(base, {-0.7f, -2.8f, -0.1f});                           // 2
    sw->Name = QStringLiteral("switch");
    sw->LoadTexture(TexturesFolder);
    Add<TCube>(sw, {0.2f, 0.2f, 0}, QStringLiteral("PaleWhite"))->SetSize(0.15f, 0.25f, 0.2f);

    auto* board = Add<TCube>(base, {0.35f, -3, -0.1f}, QStringLiteral("Teal"));     // 3
    board->SetSize(5, 0.1f, 2);
    auto* cell = Add<TBattery>(board, {0.7f, 0.3f, 0});
    cell->LoadTexture(TexturesFolder);
    cell->SetRollAngle(-90);
    cell->SetTurnAngle(-20);
    auto* plus = Add<TCylinder>(cell, {0, 0.7f, 0}, QStringLiteral("Metal"));
    plus->SetRadii(0.1f, 0.13f);
    plus->SetHeight(0.1f);
    plus->SetParts(TCylinder::Sides | TCylinder::TopCap);
    auto* minus = Add<TCylinder>(cell, {0, -0.7f, 0}, QStringLiteral("Metal"));
    minus->SetRadius(0.18f);
    minus->SetHeight(0.04f);
    minus->SetParts(TCylinder::Sides | TCylinder::BottomCap);
    auto* clip = Add<TExtrusionSolid>(board, {1.42f, 0.05f, -0.15f}, QStringLiteral("Metal"));
    clip->SetContours({{{0, 0}, {0.5f, 0}, {0.5f, 0.05f}, {0.05f, 0.05f}, {0.05f, 0.4f}, {0, 0.4f}}});
    clip->SetDepth(0.3f);
    AddProxy(board, clip, {-0.002f, 0.05f, 0.15f}, true)->SetTurnAngle(-180);

    auto* wire = AddTube(base, {1.25f, -1.6f, -0.1f}, {{0, 0, 0}, {1, -0.15f, 0}, {1, -1, 0}, {0.5f, -1.2f, 0}},
                         QStringLiteral("Red"));                                  // 4
    wire->SetSpline(true);
    AddProxy(base, wire, {-0.5f, -1.6f, -0.1f}, true)->SetTurnAngle(180);        // 5
    AddTube(base, {-0.5f, -2.8f, -0.1f}, {{0, 0, 0}, {1, 0, 0}}, QStringLiteral("Red")); // 6

    auto* gong = Add<TRevolutionSolid>(base, {0.1f, 1.5f, -0.1f}, QStringLiteral("Chrome")); // 7
    gong->Name = QStringLiteral("gong");
    std::vector<QVector2D> dome = {{0, 0.4f}};
    for (int i = 1; i <= 4; ++i)
        dome.push_back({0.8f + 0.2f * std::sin(float(i) * Pi / 10), 0.2f + 0.2f * std::cos(float(i) * Pi / 10)});
    dome.push_back({1, 0.2f});
    dome.push_back({1, 0});
    gong->SetProfile(std::move(dome));
    gong->SetSlices(32);
    gong->SetParts(TRevolutionSolid::Outer | TRevolutionSolid::InnerFaces);
    gong->SetPitchAngle(-90);
    auto* stem = Add<TCylinder>(base, {0.1f, 1.5f, 0});                             // 8
    stem->SetHeight(0.65f);
    stem->SetRadius(0.06f);
    stem->SetPitchAngle(90);
    auto* core = Add<TCylinder>(base, {0, -0.5f, 0});                               // 9
    core->SetHeight(1.2f);
    core->SetRadius(0.2f);
    core->SetRollAngle(90);

    std::vector<QVector3D> coil = {{0, -1.2f, -0.22f}};                             // 10
    for (int i = 0; i <= 284; ++i)
        coil.push_back({0.00375f * float(i), 0.22f * std::sin(float(i) * th), -0.22f * std::cos(float(i) * th)});
    coil.push_back({1.065f, -1, 0});
    for (int i = 1; i <= 4; ++i)
        coil.push_back({1.165f - 0.1f * std::cos(float(i) * Pi / 10), -1 - 0.1f * std::sin(float(i) * Pi / 10), 0});
    coil.push_back({1.2f, -1.1f, 0});
    AddTube(base, {-0.55f, -0.5f, 0}, std::move(coil), QStringLiteral("Copper"));

    auto* mb = Add<TDummyCube>(base, {1.05f, -0.4f, 0});                            // 11
    const QString mbName = QStringLiteral("mb"), metal = QStringLiteral("Metal");
    auto* screw = Add<TCylinder>(mb, {0.2f, 0, 0}, metal);
    screw->SetHeight(0.4f);
    screw->SetRadius(0.04f);
    screw->SetParts(TCylinder::Sides);
    screw->SetRollAngle(90);
    auto* point = Add<TCylinder>(mb, {-0.02f, 0, 0}, metal);
    point->SetHeight(0.04f);
    point->SetRadii(0.04f, 0);
    point->SetParts(TCylinder::Sides);
    point->SetRollAngle(90);
    auto* thread = mb->AddNew<TScrew>(0.04f, 0.015f, 0.02f, 0.02f, 10, 20);
    thread->MaterialName = metal;
    thread->SetOptions(6);
    auto* head = Add<TSlotCylinder>(mb, {0.4f, 0, 0}, metal);
    head->SetRadius(0.1f);
    head->SetTurnAngle(90);
    auto* pillar = Add<TCube>(mb, {0.2f, 0, -0.025f}, metal);
    pillar->SetSize(0.1f, 0.3f, 0.45f);
    for (TSceneObject* o : {static_cast<TSceneObject*>(screw), static_cast<TSceneObject*>(point),
                            static_cast<TSceneObject*>(thread), static_cast<TSceneObject*>(head),
                            static_cast<TSceneObject*>(pillar)})
        o->Name = mbName;
    AddTube(mb, {0, 0, 0}, {{0.2f, 0, -0.22f}, {0.2f, -1.2f, -0.22f}}, QStringLiteral("Red"));

    auto* terminal = Add<TCylinder>(base, {-0.55f, -1.6f, -0.15f}, QStringLiteral("Brass")); // 12
    terminal->SetHeight(0.2f);
    terminal->SetRadius(0.1f);
    terminal->SetPitchAngle(90);
    AddProxy(base, terminal, {1.8f, 0, 0}, false);                                  // 13
    auto* frame = Add<TCube>(base, {0.2f, 0.4f, -0.3f});                            // 14
    frame->SetSize(3, 4.6f, 0.1f);
    frame->Material().Wireframe = true;
    auto* target = Add<TCylinder>(base, {0, -0.5f, 0});                              // 15
    target->Name = QStringLiteral("core");
    target->SetHeight(1.2f);
    target->SetRadius(0.25f);
    target->SetRollAngle(90);
    TMaterial& clear = target->Material();
    clear.Blending = TBlending::Transparency;
    clear.Ambient.setW(0);
    clear.Diffuse.setW(0);
}

void UpdateBell(TSceneObject* base, float position) {
    if (!base || base->Count() < 2)
        return;
    const TBellPose pose = BellPose(position);
    if (auto* spring = dynamic_cast<TSpringStrip*>(base->Child(0)))
        spring->SetBendAngle(pose.Bend);
    TSceneObject* carrier = base->Child(1);
    carrier->SetPosition(pose.Carrier);
    carrier->SetRollAngle(pose.Roll);
}

void ToggleBellSwitch(TSceneObject* base) {
    BellSwitchOn = !BellSwitchOn;
    PlaceLever(base);
}

void SetBellSwitch(TSceneObject* base, bool on) {
    if (on == BellSwitchOn)
        return;
    ToggleBellSwitch(base);
}

bool BellSwitchIsOn() { return BellSwitchOn; }

void TBellModel::Build() { BuildBell(Host.SceneBase, Host.MatLib); }
void TBellModel::Update(float position) { UpdateBell(Host.SceneBase, position); }
void TBellModel::StartHook(bool on) { SetBellSwitch(Host.SceneBase, on); }
bool TBellModel::SwitchIsOn() const { return BellSwitchOn; }

void RegisterBellModel() {
    RegisterTopicModel(9, [](THost& host, std::int32_t id) { return std::make_unique<TBellModel>(host, id); });
}

} // namespace quarvel
