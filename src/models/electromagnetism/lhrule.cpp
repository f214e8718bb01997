#include "models/electromagnetism/lhrule.h"

#include "host/globals.h"
#include "host/host.h"
#include "models/electromagnetism/embuild.h"
#include "models/electromagnetism/emgeometry.h"
#include "models/electromagnetism/gllabels.h"

#include <cmath>

namespace quarvel {

using namespace embuild;
using emgeom::Rad;

void LHRule::TBattery::BuildGeometry(TMesh& mesh) {
    const float w = 0.025f, s = PlateSpacing / 2, h = PlateHeight / 2;
    emgeom::ConvexPrism(mesh, {{-s - w, -h}, {-s + w, -h}, {-s + w, h}, {-s - w, h}}, -0.025f, 0.025f);
    emgeom::ConvexPrism(mesh, {{s - w, -h / 2}, {s + w, -h / 2}, {s + w, h / 2}, {s - w, h / 2}}, -0.025f, 0.025f);
}

float RodX(float position, float fieldRoll, float cellTurn) {
    return 0.01f * position * SignOf(fieldRoll) * SignOf(cellTurn);
}

THandPose LeftHandPose(float fieldRoll, float cellTurn) {
    return {fieldRoll >= 0 ? 90.f : -90.f, cellTurn < 0 ? 0.f : 180.f};
}

TSceneObject* AddRuleHand(TSceneObject* parent, const QVector3D& at) {
    auto* hand = Add<TDummyCube>(parent, at);
    auto* mesh = Add<TFreeForm>(hand, {-0.1f, -0.1f, -0.1f}, QStringLiteral("Hand"));
    mesh->LoadFromFile(MeshFolder + QStringLiteral("Hand.3ds"));
    mesh->SetMeshScale(0.2f);
    AddArrow(hand, {0, 0.3f, 0}, 0.6f, QStringLiteral("Blue"))->SetPitchAngle(90);
    AddArrow(hand, {0, 0, 0.3f}, 0.6f, QStringLiteral("Red"));
    AddArrow(hand, {0.3f, 0, 0}, 0.6f, QStringLiteral("Green"))->SetTurnAngle(90);
    return hand;
}

namespace {
// The quarter-circle points a_i = i x 18 degrees.
float A(int i) { return Rad(18.f * float(i)); }
} // namespace

void BuildLeftHand(TSceneObject* base, TMaterialLibrary&) {
    auto* rod = Add<TCylinder>(base, {0, -0.04f, 0}, QStringLiteral("Copper"));   // 0
    rod->SetRadius(0.03f);
    rod->SetHeight(1.7f);
    rod->SetPitchAngle(90);

    auto* magnet = Add<TDummyCube>(base, {0, 0, 0});                              // 1
    TContour yoke;
    for (int i = 0; i <= 5; ++i)
        yoke.push_back({-0.1f * std::cos(A(i)), 0.5f + 0.1f * std::sin(A(i))});
    yoke.push_back({1.2f, 0.6f});
    yoke.push_back({1.2f, 0.63f});
    for (int i = 5; i >= 0; --i)
        yoke.push_back({-0.13f * std::cos(A(i)), 0.5f + 0.13f * std::sin(A(i))});
    for (int i = 0; i <= 5; ++i)
        yoke.push_back({-0.13f * std::cos(A(i)), -0.5f - 0.13f * std::sin(A(i))});
    yoke.push_back({1.2f, -0.63f});
    yoke.push_back({1.2f, -0.6f});
    for (int i = 5; i >= 0; --i)
        yoke.push_back({-0.1f * std::cos(A(i)), -0.5f - 0.1f * std::sin(A(i))});
    auto* y = Add<TExtrusionSolid>(magnet, {-0.95f, 0, -0.5f}, QStringLiteral("Metal"));
    y->SetContours({yoke});
    y->SetDepth(1);
    y->SetCreaseAngle(45);
    Add<TCube>(magnet, {0, 0.5f, 0})->SetSize(0.5f, 0.2f, 1);
    Add<TCube>(magnet, {0, -0.5f, 0})->SetSize(0.5f, 0.2f, 1);
    auto* field = AddArrow(magnet, {0, 0, 0}, 0.8f, QStringLiteral("Green"));
    field->SetPitchAngle(90);
    for (const QVector3D& p : {QVector3D(0.2f, 0, 0), QVector3D(-0.2f, 0, 0), QVector3D(0.2f, 0, -0.4f),
                               QVector3D(-0.2f, 0, -0.4f), QVector3D(0.2f, 0, 0.4f), QVector3D(-0.2f, 0, 0.4f),
                               QVector3D(0, 0, 0.4f), QVector3D(0, 0, -0.4f)})
        AddProxy(magnet, field, p, false);
    auto* n = Add<TGL_Label>(magnet, {0, -0.65f, 0}, QStringLiteral("Green"));
    n->SetLetterSize(0.5f);
    n->SetLetterDepth(0.04f);
    n->SetTurnAngle(-90);
    n->SetPitchAngle(-90);
    auto* s = Add<TGL_Label>(magnet, {0, 0.65f, 0}, QStringLiteral("Green"));
    s->SetLetter(u'S');
    s->SetLetterSize(0.5f);
    s->SetLetterDepth(0.04f);
    s->SetTurnAngle(-90);
    s->SetPitchAngle(90);

    AddPolyline(base, {-1.4f, -0.7f, 0.6f}, {{0, 0, 0}, {0, 0.3f, 0}}, 3)->SetRollAngle(45); // 2
    auto* cell = Add<LHRule::TBattery>(base, {-1.4f, -1, 0}, QStringLiteral("Blue")); // 3
    cell->SetTurnAngle(-90);
    AddRuleHand(base, {0, 0, 1.5f})->SetRollAngle(90);                            // 4
    Add<TCube>(base, {0.25f, -0.15f, 0.6f}, QStringLiteral("Brass"))->SetSize(3.5f, 0.16f, 0.06f);  // 5
    Add<TCube>(base, {0.25f, -0.15f, -0.6f}, QStringLiteral("Brass"))->SetSize(3.5f, 0.16f, 0.06f); // 6
    AddPolyline(base, {0, 0, 0}, {{-1.4f, -0.1f, -0.6f}, {-1.4f, -1, -0.6f}, {-1.4f, -1, -0.05f}}, 3); // 7
    AddPolyline(base, {0, 0, 0}, {{-1.4f, -0.7f, 0.6f}, {-1.4f, -1, 0.6f}, {-1.4f, -1, 0.05f}}, 3);    // 8
    AddPolyline(base, {0, 0, 0}, {{-1.4f, -0.1f, 0.6f}, {-1.4f, -0.4f, 0.6f}}, 3);                     // 9
}

void MoveRod(TSceneObject* base, float position) {
    if (!base || base->Count() < 4)
        return;
    TSceneObject* rod = base->Child(0);
    const QVector3D p = rod->Position();
    rod->SetPosition(RodX(position, base->Child(1)->RollAngle(), base->Child(3)->TurnAngle()), p.y(), p.z());
}

void SetLeftHandField(TSceneObject* base, float angle) {
    if (base && base->Count() > 1)
        base->Child(1)->SetRollAngle(angle);
}

void SetLeftHandCurrent(TSceneObject* base, float angle) {
    if (base && base->Count() > 3)
        base->Child(3)->SetTurnAngle(angle);
}

void SetLeftHandSwitch(TSceneObject* base, bool on) {
    if (base && base->Count() > 2)
        base->Child(2)->SetRollAngle(on ? 0 : 45);
}

void FinishLeftHandReversal(TSceneObject* base) {
    if (!base || base->Count() < 5)
        return;
    const THandPose pose = LeftHandPose(base->Child(1)->RollAngle(), base->Child(3)->TurnAngle());
    TSceneObject* hand = base->Child(4);
    hand->SetRollAngle(pose.Roll);
    hand->SetPitchAngle(pose.Pitch);
}

void TLeftHandModel::Build() { BuildLeftHand(Host.SceneBase, Host.MatLib); }
void TLeftHandModel::Update(float position) { MoveRod(Host.SceneBase, position); }
void TLeftHandModel::SetSwitch(bool on) { SetLeftHandSwitch(Host.SceneBase, on); }
void TLeftHandModel::TurnField(float degrees) { SetLeftHandField(Host.SceneBase, degrees); }
void TLeftHandModel::TurnCurrent(float degrees) { SetLeftHandCurrent(Host.SceneBase, degrees); }
void TLeftHandModel::FinishTurn(bool) { FinishLeftHandReversal(Host.SceneBase); }
float TLeftHandModel::FieldAngle() const {
    return Host.SceneBase->Count() > 1 ? Host.SceneBase->Child(1)->RollAngle() : 0;
}
float TLeftHandModel::CurrentAngle() const {
    return Host.SceneBase->Count() > 3 ? Host.SceneBase->Child(3)->TurnAngle() : 0;
}

void RegisterLeftHandModel() {
    RegisterTopicModel(11, [](THost& host, std::int32_t id) { return std::make_unique<TLeftHandModel>(host, id); });
}

} // namespace quarvel
