#include "models/electromagnetism/motors.h"

#include "host/host.h"
#include "models/electromagnetism/embuild.h"
#include "models/electromagnetism/emgeometry.h"
#include "models/electromagnetism/gllabels.h"
#include "models/electromagnetism/lhrule.h"

#include <cmath>

namespace quarvel {

using namespace embuild;
using emgeom::Pi;
using emgeom::Rad;

float TCommutator::InnerStartAngle() const {
    const float s = std::clamp(OuterRadius * std::sin(Rad(StartAngle)) / InnerRadius, -1.f, 1.f);
    return std::asin(s) * 180.f / Pi;
}

void TCommutator::BuildGeometry(TMesh& mesh) {
    const int n = std::max(1, Segments);
    const float ro = OuterRadius, ri = InnerRadius, z = RingLength / 2;
    const float i0 = InnerStartAngle();
    for (int half = 0; half < 2; ++half) {
        // The whole ring is turned a quarter round before drawing.
        const float turn = 90.f + 180.f * float(half);
        auto outer = [&](int k) { return Rad(StartAngle + (EndAngle - StartAngle) * float(k) / float(n) + turn); };
        auto inner = [&](int k) { return Rad(i0 + (180.f - 2 * i0) * float(k) / float(n) + turn); };
        auto pt = [](float a, float r, float zz) { return QVector3D(r * std::cos(a), r * std::sin(a), zz); };
        for (int k = 0; k < n; ++k) {
            const float o0 = outer(k), o1 = outer(k + 1), n0 = inner(k), n1 = inner(k + 1);
            const QVector3D no0(std::cos(o0), std::sin(o0), 0), no1(std::cos(o1), std::sin(o1), 0);
            auto a = mesh.Add(pt(o0, ro, -z), no0), b = mesh.Add(pt(o1, ro, -z), no1), c = mesh.Add(pt(o1, ro, z), no1),
                 d = mesh.Add(pt(o0, ro, z), no0);
            mesh.Triangle(a, b, c);
            mesh.Triangle(a, c, d);
            // Inner surface, normals inwards from the outer angles.
            a = mesh.Add(pt(n0, ri, z), -no0), b = mesh.Add(pt(n1, ri, z), -no1), c = mesh.Add(pt(n1, ri, -z), -no1),
            d = mesh.Add(pt(n0, ri, -z), -no0);
            mesh.Triangle(a, b, c);
            mesh.Triangle(a, c, d);
            emgeom::Quad(mesh, pt(n0, ri, z), pt(o0, ro, z), pt(o1, ro, z), pt(n1, ri, z), {0, 0, 1});
            emgeom::Quad(mesh, pt(n0, ri, -z), pt(n1, ri, -z), pt(o1, ro, -z), pt(o0, ro, -z), {0, 0, -1});
        }
        emgeom::FlatQuad(mesh, pt(outer(0), ro, -z), pt(outer(0), ro, z), pt(inner(0), ri, z), pt(inner(0), ri, -z));
        emgeom::FlatQuad(mesh, pt(outer(n), ro, z), pt(outer(n), ro, -z), pt(inner(n), ri, -z), pt(inner(n), ri, z));
    }
}

void TMotorBrush::BuildGeometry(TMesh& mesh) {
    const float h = BrushHeight / 2, z = BrushDepth / 2;
    const float beta = std::asin(std::clamp(h / FaceRadius, -1.f, 1.f));
    const int n = std::max(1, Segments);
    for (int k = 0; k < n; ++k) {
        const float a0 = -beta + 2 * beta * float(k) / float(n), a1 = -beta + 2 * beta * float(k + 1) / float(n);
        const QVector2D p0(FaceRadius * std::cos(a0), FaceRadius * std::sin(a0));
        const QVector2D p1(FaceRadius * std::cos(a1), FaceRadius * std::sin(a1));
        emgeom::ConvexPrism(mesh, {p0, {BackX, p0.y()}, {BackX, p1.y()}, p1}, -z, z);
    }
}

float RotorRoll(float position, float fieldRoll, float cellTurn) {
    return position * SignOf(fieldRoll) * SignOf(cellTurn);
}

TMotorHands MotorHandPoses(float fieldRoll, float cellTurn) {
    const bool reversedCurrent = cellTurn < 0;
    return {reversedCurrent ? 180.f : 0.f, reversedCurrent ? 0.f : 180.f, fieldRoll >= 0 ? 0.f : 180.f};
}

namespace {
float A(int i) { return Rad(18.f * float(i)); }
} // namespace

void BuildMotor(TSceneObject* base, TMaterialLibrary&) {
    auto* rotor = Add<TCommutator>(base, {0, 0, 0}, QStringLiteral("Bronze"));     // 0
    std::vector<QVector3D> coil = {{0.15f, 0, 1}};
    for (int i = 0; i <= 5; ++i)
        coil.push_back({0.25f - 0.1f * std::cos(A(i)), 0, 0.6f - 0.1f * std::sin(A(i))});
    for (int i = 0; i <= 5; ++i)
        coil.push_back({0.4f + 0.1f * std::sin(A(i)), 0, 0.4f + 0.1f * std::cos(A(i))});
    for (int i = 0; i <= 5; ++i)
        coil.push_back({0.4f + 0.1f * std::cos(A(i)), 0, -0.4f - 0.1f * std::sin(A(i))});
    for (int i = 0; i <= 5; ++i)
        coil.push_back({-0.4f - 0.1f * std::sin(A(i)), 0, -0.4f - 0.1f * std::cos(A(i))});
    for (int i = 0; i <= 5; ++i)
        coil.push_back({-0.4f - 0.1f * std::cos(A(i)), 0, 0.4f + 0.1f * std::sin(A(i))});
    for (int i = 0; i <= 5; ++i)
        coil.push_back({-0.25f + 0.1f * std::sin(A(i)), 0, 0.6f - 0.1f * std::cos(A(i))});
    coil.push_back({-0.15f, 0, 1});
    AddTube(rotor, {0, 0, -1}, std::move(coil), QStringLiteral("Copper"));

    auto* magnet = Add<TDummyCube>(base, {0, 0, -1});                               // 1
    TContour yoke;
    for (int i = 0; i <= 5; ++i)
        yoke.push_back({-0.1f * std::cos(A(i)), 1 + 0.1f * std::sin(A(i))});
    yoke.push_back({1.4f, 1.1f});
    yoke.push_back({1.4f, 1.13f});
    for (int i = 5; i >= 0; --i)
        yoke.push_back({-0.13f * std::cos(A(i)), 1 + 0.13f * std::sin(A(i))});
    for (int i = 0; i <= 5; ++i)
        yoke.push_back({-0.13f * std::cos(A(i)), -1 - 0.13f * std::sin(A(i))});
    yoke.push_back({1.4f, -1.13f});
    yoke.push_back({1.4f, -1.1f});
    for (int i = 5; i >= 0; --i)
        yoke.push_back({-0.1f * std::cos(A(i)), -1 - 0.1f * std::sin(A(i))});
    auto* y = Add<TExtrusionSolid>(magnet, {0, 0.55f, -0.85f}, QStringLiteral("Metal"));
    y->SetContours({yoke});
    y->SetDepth(1.1f);
    y->SetCreaseAngle(45);
    y->SetRollAngle(90);
    y->SetTurnAngle(-90);
    Add<TCube>(magnet, {1, 0, 0})->SetSize(0.2f, 1.1f, 1.1f);
    Add<TCube>(magnet, {-1, 0, 0})->SetSize(0.2f, 1.1f, 1.1f);
    auto* field = AddArrow(magnet, {0, 0, 0}, 1.8f, QStringLiteral("Green"));
    field->SetTurnAngle(90);
    for (const QVector3D& p : {QVector3D(0, 0.5f, 0), QVector3D(0, -0.5f, 0), QVector3D(0, 0.5f, -0.5f),
                               QVector3D(0, -0.5f, -0.5f), QVector3D(0, 0.5f, 0.5f), QVector3D(0, -0.5f, 0.5f),
                               QVector3D(0, 0, 0.5f), QVector3D(0, 0, -0.5f)})
        AddProxy(magnet, field, p, false);
    auto* n = Add<TGL_Label>(magnet, {-1.15f, 0, 0}, QStringLiteral("Green"));
    n->SetLetterSize(0.5f);
    n->SetLetterDepth(0.04f);
    n->SetTurnAngle(-90);
    auto* s = Add<TGL_Label>(magnet, {1.15f, 0, 0}, QStringLiteral("Green"));
    s->SetLetter(u'S');
    s->SetLetterSize(0.5f);
    s->SetLetterDepth(0.04f);
    s->SetTurnAngle(90);

    Add<LHRule::TBattery>(base, {0, -1, 0});                                        // 2
    AddPolyline(base, {0.2f, -1, 0}, {{0, 0, 0}, {0.2f, 0, 0}})->SetRollAngle(45);  // 3
    TSceneObject* hand = AddRuleHand(base, {2, 0, -1});                             // 4
    AddProxy(base, hand, {-2, 0, -1}, true)->SetPitchAngle(-180);                   // 5
    auto* brush = Add<TMotorBrush>(base, {0, 0, 0}, QStringLiteral("Navy"));        // 6
    AddProxy(base, brush, {0, 0, 0}, false)->SetTurnAngle(180);                     // 7
    AddPolyline(base, {0, 0, 0}, {{0.4f, 0, 0}, {0.6f, 0, 0}, {0.6f, -1, 0}, {0.4f, -1, 0}});   // 8
    AddPolyline(base, {0, 0, 0}, {{-0.4f, 0, 0}, {-0.6f, 0, 0}, {-0.6f, -1, 0}, {-0.05f, -1, 0}}); // 9
    AddPolyline(base, {0, 0, 0}, {{0.05f, -1, 0}, {0.2f, -1, 0}});                  // 10
}

void UpdateMotor(TSceneObject* base, float position) {
    if (!base || base->Count() < 3)
        return;
    base->Child(0)->SetRollAngle(RotorRoll(position, base->Child(1)->RollAngle(), base->Child(2)->TurnAngle()));
}

void SetMotorField(TSceneObject* base, float angle) {
    if (base && base->Count() > 1)
        base->Child(1)->SetRollAngle(angle);
}

void SetMotorCurrent(TSceneObject* base, float angle) {
    if (base && base->Count() > 2)
        base->Child(2)->SetTurnAngle(angle);
}

void SetMotorSwitch(TSceneObject* base, bool on) {
    if (base && base->Count() > 3)
        base->Child(3)->SetRollAngle(on ? 0 : 45);
}

void FinishMotorReversal(TSceneObject* base) {
    if (!base || base->Count() < 6)
        return;
    const TMotorHands p = MotorHandPoses(base->Child(1)->RollAngle(), base->Child(2)->TurnAngle());
    base->Child(4)->SetPitchAngle(p.Pitch4);
    base->Child(4)->SetRollAngle(p.Roll);
    base->Child(5)->SetPitchAngle(p.Pitch5);
    base->Child(5)->SetRollAngle(p.Roll);
}

void TMotorModel::Build() { BuildMotor(Host.SceneBase, Host.MatLib); }
void TMotorModel::Update(float position) { UpdateMotor(Host.SceneBase, position); }
void TMotorModel::StartHook(bool on) { SetMotorSwitch(Host.SceneBase, on); }
void TMotorModel::TurnField(float degrees) { SetMotorField(Host.SceneBase, degrees); }
void TMotorModel::TurnCurrent(float degrees) { SetMotorCurrent(Host.SceneBase, degrees); }
void TMotorModel::FinishTurn(bool) { FinishMotorReversal(Host.SceneBase); }
float TMotorModel::FieldAngle() const {
    return Host.SceneBase->Count() > 1 ? Host.SceneBase->Child(1)->RollAngle() : 0;
}
float TMotorModel::CurrentAngle() const {
    return Host.SceneBase->Count() > 2 ? Host.SceneBase->Child(2)->TurnAngle() : 0;
}

void RegisterMotorModel() {
    RegisterTopicModel(8, [](THost& host, std::int32_t id) { return std::make_unique<TMotorModel>(host, id); });
}

} // namespace quarvel
