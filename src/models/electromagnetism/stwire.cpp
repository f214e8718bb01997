#include "models/electromagnetism/stwire.h"

#include "host/host.h"
#include "scene/primitives.h"
#include "scene/solids.h"
#include "scene/viewer.h"

#include <algorithm>
#include <cmath>

namespace quarvel {

namespace {
constexpr float kPi = 3.14159265f;
constexpr float kCardHalf = 2.25f; // the card is 4.5 square round the wire

void RefreshView(THost& host) {
    if (host.GLViewer)
        host.GLViewer->update();
}
} // namespace

TCompass::TCompass() {
    Name = QStringLiteral("target");
    TFaceMaterial& dial = FaceMaterial(0);
    dial.Ambient = QVector4D(0.137255f, 0.137255f, 0.556863f, 1);
    dial.Diffuse = QVector4D(0.6f, 0.6f, 0.6f, 1);
    dial.Specular = dial.Emission = QVector4D(0, 0, 0, 1);
    dial.Shininess = 0;
    dial.Textured = false;
    for (int slot : {1, 2}) {
        TFaceMaterial& half = FaceMaterial(slot);
        half.SetColor({0, 0, 0, 1});
        half.Emission = slot == 1 ? QVector4D(1, 0, 0, 1) : QVector4D(1, 1, 1, 1);
        half.Textured = false;
    }
}

void TCompass::SetNeedleAngle(float degrees) {
    if (degrees == m_needleAngle)
        return;
    m_needleAngle = degrees;
    GeometryChanged();
}

void TCompass::BuildGeometry(TMesh& mesh) {
    const int n = std::max(3, Segments);
    const float outer = CaseRadius, inner = DialRadius, top = CaseHeight / 2, bottom = -CaseHeight / 2;
    auto at = [n](float r, int i, float y) {
        const float a = float(i) / float(n) * 2 * kPi;
        return QVector3D(r * std::cos(a), y, -r * std::sin(a));
    };
    const QVector3D up(0, 1, 0);
    for (int i = 0; i < n; ++i) {
        // Top rim.
        auto a = mesh.Add(at(inner, i, top), up), b = mesh.Add(at(outer, i, top), up),
             c = mesh.Add(at(outer, i + 1, top), up), e = mesh.Add(at(inner, i + 1, top), up);
        mesh.Triangle(a, b, c);
        mesh.Triangle(a, c, e);
        // Outer wall, normals outwards.
        const QVector3D o0 = at(1, i, 0), o1 = at(1, i + 1, 0);
        a = mesh.Add(at(outer, i, bottom), o0), b = mesh.Add(at(outer, i + 1, bottom), o1);
        c = mesh.Add(at(outer, i + 1, top), o1), e = mesh.Add(at(outer, i, top), o0);
        mesh.Triangle(a, b, c);
        mesh.Triangle(a, c, e);
        // Inner wall, normals inwards.
        a = mesh.Add(at(inner, i + 1, bottom), -o1), b = mesh.Add(at(inner, i, bottom), -o0);
        c = mesh.Add(at(inner, i, top), -o0), e = mesh.Add(at(inner, i + 1, top), -o1);
        mesh.Triangle(a, b, c);
        mesh.Triangle(a, c, e);
    }
    // Bottom, facing down.
    const auto under = mesh.Add({0, bottom, 0}, -up);
    for (int i = 0; i < n; ++i)
        mesh.Triangle(under, mesh.Add(at(outer, i + 1, bottom), -up), mesh.Add(at(outer, i, bottom), -up));
    // Dial and needle, turned by the needle angle about y.
    const float t = m_needleAngle * kPi / 180, cs = std::cos(t), sn = std::sin(t);
    auto turned = [cs, sn](QVector3D p) { return QVector3D(p.x() * cs + p.z() * sn, p.y(), -p.x() * sn + p.z() * cs); };
    mesh.BeginGroup(0);
    const auto centre = mesh.Add({0, bottom + 0.001f, 0}, up);
    for (int i = 0; i < n; ++i)
        mesh.Triangle(centre, mesh.Add(turned(at(inner, i, bottom + 0.001f)), up),
                      mesh.Add(turned(at(inner, i + 1, bottom + 0.001f)), up));
    const float y = CaseHeight / 4, w = inner / 4;
    mesh.BeginGroup(1);
    mesh.Triangle(mesh.Add(turned({0, y, -inner}), up), mesh.Add(turned({-w, y, 0}), up),
                  mesh.Add(turned({w, y, 0}), up));
    mesh.BeginGroup(2);
    mesh.Triangle(mesh.Add(turned({0, y, inner}), up), mesh.Add(turned({w, y, 0}), up),
                  mesh.Add(turned({-w, y, 0}), up));
}

float CompassTurn(float x, float z, float previous) {
    if (std::abs(x) < 1e-6f && std::abs(z) < 1e-6f)
        return previous;
    // A turn t carries the red tip from -z to (-sin t, 0, -cos t); the field
    // of an upward current is along (z, 0, -x).
    float t = std::atan2(-z, x) * 180 / kPi;
    if (t < 0)
        t += 360;
    if (t >= 360)
        t -= 360;
    return t;
}

TWireState& WireState() {
    static TWireState state;
    return state;
}

void BuildStraightWire(TSceneObject* base, const TMaterialLibrary*) {
    TWireState& state = WireState();
    state.WireCurrentUp = true;

    auto* compass = base->AddNew<TCompass>();
    compass->MaterialName = QStringLiteral("Metal");
    compass->SetPosition(1, 0.08f, 0);
    compass->SetTurnAngle(CompassTurn(1, 0, 0));

    auto* arrow = base->AddNew<TCone>();
    arrow->SetBottomRadius(0.1f);
    arrow->SetHeight(0.5f);
    arrow->SetStacks(1);
    arrow->SetPosition(0, 2, 0);
    arrow->MaterialName = QStringLiteral("Green");

    auto* wire = base->AddNew<TCylinder>();
    wire->SetRadius(0.03f);
    wire->SetHeight(20);
    wire->SetStacks(3);
    wire->SetLoops(1);
    wire->MaterialName = QStringLiteral("Copper");

    auto* card = base->AddNew<TCube>();
    card->SetSize(4.5f, 0.01f, 4.5f);
    card->MaterialName = QStringLiteral("Cream");

    auto* head = card->AddNew<TExtrusionSolid>();
    head->SetContours({{{0.04f, -0.03f}, {0, 0.03f}, {-0.04f, -0.03f}}});
    head->SetDepth(0.01f);
    head->SetParts(TExtrusionSolid::Outside | TExtrusionSolid::Stop);
    head->SetPosition(2, 0.015f, 0);
    head->SetPitchAngle(90);
    head->MaterialName = QStringLiteral("Red");
    for (int i = 1; i <= 6; ++i) {
        auto* proxy = card->AddNew<TProxy>();
        proxy->Master = head;
        proxy->SetPosition(-(2 - 2.0f / float(i)), 0, 0);
    }
    auto* circle = card->AddNew<TLines>();
    std::vector<QVector3D> nodes;
    for (int i = 0; i <= 40; ++i) {
        const float a = float(i % 40) * 9 * kPi / 180;
        nodes.emplace_back(2 * std::cos(a), 0, 2 * std::sin(a));
    }
    circle->SetNodes(std::move(nodes));
    circle->Antialiased = true;
    circle->SetPosition(0, 0.02f, 0);
    for (int d = 2; d <= 10; ++d) {
        auto* proxy = card->AddNew<TProxy>();
        proxy->Master = circle;
        proxy->ObjectsOnly = true;
        proxy->SetPosition(0, 0.02f, 0);
        proxy->SetScale(1.0f / float(d));
    }
    for (int i = 0; i < card->Count(); ++i)
        card->Child(i)->Visible = state.ShowWireField;
}

void AlignCompass(TSceneObject* base) {
    TSceneObject* compass = base->Child(0);
    // The compass itself stays on the card, wherever on it the pointer took hold.
    QVector3D p = compass->Position();
    p.setX(std::clamp(p.x(), -kCardHalf, kCardHalf));
    p.setZ(std::clamp(p.z(), -kCardHalf, kCardHalf));
    compass->SetPosition(p);
    compass->SetTurnAngle(CompassTurn(p.x(), p.z(), compass->TurnAngle()));
}

void SetCompassHeight(TSceneObject* base, int bar) {
    TSceneObject* compass = base->Child(0);
    TSceneObject* card = base->Child(3);
    const QVector3D c = compass->Position();
    compass->SetPosition(c.x(), 0.1f * float(bar) + 0.081f, c.z());
    const QVector3D k = card->Position();
    card->SetPosition(k.x(), 0.1f * float(bar), k.z());
}

void ReverseWireCurrent(TSceneObject* base) {
    TWireState& state = WireState();
    state.WireCurrentUp = !state.WireCurrentUp;
    const float a = state.WireCurrentUp ? 0 : 180;
    static_cast<TCompass*>(base->Child(0))->SetNeedleAngle(a);
    base->Child(1)->SetPitchAngle(a);
    base->Child(3)->Child(0)->SetRollAngle(a);
}

void ToggleWireField(TSceneObject* base) {
    TWireState& state = WireState();
    state.ShowWireField = !state.ShowWireField;
    TSceneObject* card = base->Child(3);
    for (int i = 0; i < card->Count(); ++i)
        card->Child(i)->Visible = state.ShowWireField;
}

void TStWireModel::Build() { BuildStraightWire(Host.SceneBase, &Host.MatLib); }

void TStWireModel::Drag(int) { AlignCompass(Host.SceneBase); }

void TStWireModel::CompassHeight(int v) {
    SetCompassHeight(Host.SceneBase, v);
    RefreshView(Host);
}

void TStWireModel::ReverseCurrent() {
    ReverseWireCurrent(Host.SceneBase);
    RefreshView(Host);
}

void TStWireModel::ToggleField() {
    ToggleWireField(Host.SceneBase);
    RefreshView(Host);
}

void RegisterStraightWireModel() {
    RegisterTopicModel(20, [](THost& host, std::int32_t id) { return std::make_unique<TStWireModel>(host, id); });
}

} // namespace quarvel
