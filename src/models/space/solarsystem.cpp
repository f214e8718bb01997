#include "models/space/solarsystem.h"

#include "host/host.h"
#include "scene/picking.h"
#include "scene/primitives.h"
#include "scene/solids.h"
#include "scene/viewer.h"

#include <QAction>
#include <cmath>

namespace quarvel {

namespace {
constexpr float kDegToRad = 0.01745329f;
constexpr float kTwoPi = 6.283185f;

const TOrbitElements kOrbits[9] = {
    {0.3870989f, 0.2056f, 7.0f, 0.2408f, 0.3825f},  {0.7229946f, 0.0068f, 3.4f, 0.6152f, 0.949f},
    {1.0f, 0.0167f, 0.0f, 1.0f, 1.0f},               {1.524064f, 0.0934f, 1.85f, 1.8809f, 0.5321f},
    {5.203208f, 0.0484f, 1.3f, 11.8622f, 11.19f},    {9.53877f, 0.0542f, 2.48f, 29.4577f, 9.46f},
    {19.18182f, 0.0472f, 0.77f, 84.0139f, 4.11f},    {30.05749f, 0.0086f, 1.77f, 164.793f, 3.95f},
    {39.52874f, 0.2488f, 17.0f, 248.54f, 0.18f}};

const TPlanetDisplay kDisplay[9] = {
    {1.0f, 0.2408f, 0.3825f, 7.0f},    {2.5f, 0.6152f, 0.949f, 117.4f}, {4.0f, 1.0f, 1.0f, -23.4f},
    {6.0f, 1.8809f, 0.5321f, 24.0f},   {15.0f, 11.8622f, 11.19f, 3.0f}, {30.0f, 29.4577f, 9.46f, 28.0f},
    {40.0f, 84.0139f, 4.11f, 97.0f},   {50.0f, 164.793f, 3.95f, 28.0f}, {55.0f, 248.54f, 0.18f, 122.0f}};

const char* const kNames[9] = {"Mercury", "Venus", "Earth", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto"};

int Row(int index) { return index >= 0 && index <= 7 ? index : 8; }

// A white, anti-aliased polyline without node markers.
TLines* AddOrbitLine(TSceneObject* parent, std::vector<QVector3D> nodes) {
    auto* line = parent->AddNew<TLines>();
    line->SetNodes(std::move(nodes));
    line->Antialiased = true;
    line->LineColor = Qt::white;
    return line;
}
} // namespace

const TOrbitElements& OrbitElements(int index) { return kOrbits[Row(index)]; }
const TPlanetDisplay& PlanetDisplay(int index) { return kDisplay[Row(index)]; }
QString PlanetName(int index) { return QLatin1String(kNames[Row(index)]); }
QString PlanetMaterial(int index) { return QStringLiteral("tx") + PlanetName(index); }

float SemiMinorAxis(int index) {
    const TOrbitElements& o = OrbitElements(index);
    return o.SemiMajorAxis * std::sqrt(1 - o.Eccentricity * o.Eccentricity);
}

float FocusOffset(int index) { return OrbitElements(index).SemiMajorAxis * OrbitElements(index).Eccentricity; }

std::vector<QVector3D> OrbitNodes(int index) {
    const float a = OrbitElements(index).SemiMajorAxis, b = SemiMinorAxis(index), c = FocusOffset(index);
    const int n = 40;
    const float step = kTwoPi / n;
    std::vector<QVector3D> nodes;
    for (int k = 0; k <= n; ++k) {
        const float t = float(k) * step;
        nodes.emplace_back(a * std::cos(t) + c, 0, -b * std::sin(t));
    }
    nodes.back() = nodes.front(); // the line closes exactly
    return nodes;
}

QVector3D OrbitPosition(int index, float angle) {
    const float a = OrbitElements(index).SemiMajorAxis, b = SemiMinorAxis(index), c = FocusOffset(index);
    const float t = angle * kDegToRad / OrbitElements(index).Period;
    return {a * std::cos(t) + c, 0, -b * std::sin(t)};
}

QVector3D PlanetsViewPosition(int index, float angle) {
    const float r = PlanetDisplay(index).OrbitRadius;
    const float t = angle * kDegToRad / PlanetDisplay(index).Period;
    return {r * std::cos(t), 0, -r * std::sin(t)};
}

void TSatRing::BuildGeometry(TMesh& mesh) {
    const float s = kTwoPi / float(std::max(1, Slices));
    // Upper face: I0 O0 I1 O1 ... as a strip, then the lower face O0 I0 O1 I1 ...
    for (int face = 0; face < 2; ++face) {
        const QVector3D n(0, face == 0 ? 1.f : -1.f, 0);
        const auto base = std::uint32_t(mesh.Positions.size());
        for (int k = 0; k <= Slices; ++k) {
            const float t = float(k) * s;
            const QVector3D in(InnerRadius * std::cos(t), 0, -InnerRadius * std::sin(t));
            const QVector3D out(OuterRadius * std::cos(t), 0, -OuterRadius * std::sin(t));
            if (face == 0) {
                mesh.Add(in, n, {0, 0});
                mesh.Add(out, n, {1, 0});
            } else {
                mesh.Add(out, n, {0, 0});
                mesh.Add(in, n, {1, 0});
            }
        }
        // The strip's triangles, each turned to face its normal.
        for (std::uint32_t k = 0; k + 2 < std::uint32_t(2 * (Slices + 1)); ++k) {
            const std::uint32_t a = base + k, b = base + k + 1, c = base + k + 2;
            const bool even = k % 2 == 0;
            const QVector3D cross =
                QVector3D::crossProduct(mesh.Positions[even ? b : a] - mesh.Positions[even ? a : b], mesh.Positions[c] - mesh.Positions[a]);
            if (QVector3D::dotProduct(cross, n) >= 0)
                even ? mesh.Triangle(a, b, c) : mesh.Triangle(b, a, c);
            else
                even ? mesh.Triangle(b, a, c) : mesh.Triangle(a, b, c);
        }
    }
}

void BuildOrbitsView(TSceneObject* sceneBase) {
    for (int i = 0; i < 9; ++i) {
        TLines* orbit = AddOrbitLine(sceneBase, OrbitNodes(i));
        orbit->SetPitchAngle(OrbitElements(i).Inclination);
        auto* planet = orbit->AddNew<TSphere>();
        planet->SetRadius(OrbitElements(i).SemiMajorAxis > 2 ? 0.5f : 0.2f);
        planet->Material().Diffuse = planet->Material().Ambient = {1, 0, 0, 1};
        planet->SetPosition(OrbitElements(i).SemiMajorAxis + FocusOffset(i), 0, 0);
        planet->Name = PlanetName(i);
    }
    auto* sun = sceneBase->AddNew<TSphere>();
    sun->SetRadius(0.1f);
    sun->Material().Diffuse = sun->Material().Ambient = {1, 1, 0, 1};
    sun->Name = QStringLiteral("Sun");
}

void BuildPlanetsView(TSceneObject* sceneBase) {
    for (int i = 0; i < 9; ++i) {
        auto* planet = sceneBase->AddNew<TSphere>();
        planet->SetRadius(PlanetDisplay(i).Diameter * 0.5f);
        planet->SetSlices(24);
        planet->SetStacks(16);
        planet->SetPosition(PlanetDisplay(i).OrbitRadius, 0, 0);
        planet->SetRollAngle(PlanetDisplay(i).Tilt);
        // Matched by the planet's name: the texture table has the ring between Saturn and Neptune.
        planet->MaterialName = PlanetMaterial(i);
        planet->Name = PlanetName(i);
        if (i == 5) {
            auto* ring = planet->AddNew<TSatRing>();
            ring->Slices = 32;
            ring->MaterialName = QStringLiteral("txSatRings");
        }
    }
    std::vector<QVector3D> circle;
    for (int k = 0; k <= 40; ++k) {
        const float t = float(k) * kTwoPi / 40;
        circle.emplace_back(std::cos(t), 0, -std::sin(t));
    }
    circle.back() = circle.front();
    TLines* unit = AddOrbitLine(sceneBase, std::move(circle));
    unit->SetScale(PlanetDisplay(0).OrbitRadius);
    for (int i = 1; i < 9; ++i) {
        auto* proxy = sceneBase->AddNew<TProxy>();
        proxy->Master = unit;
        proxy->ObjectsOnly = true;
        proxy->SetScale(PlanetDisplay(i).OrbitRadius);
    }
}

void UpdateOrbitsView(TSceneObject* sceneBase, float angle) {
    if (sceneBase->Count() < 9)
        return;
    for (int i = 0; i < 9; ++i)
        if (TSceneObject* planet = sceneBase->Child(i)->Child(0))
            planet->SetPosition(OrbitPosition(i, angle));
}

void UpdatePlanetsView(TSceneObject* sceneBase, float angle) {
    if (sceneBase->Count() < 9)
        return;
    for (int i = 0; i < 9; ++i)
        sceneBase->Child(i)->SetPosition(PlanetsViewPosition(i, angle));
}

TSceneObject* PlanetSphere(TSceneObject* sceneBase, int index, bool planetsView) {
    if (sceneBase->Count() < 9 || index < 0 || index > 8)
        return nullptr;
    TSceneObject* child = sceneBase->Child(index);
    return planetsView ? child : child->Child(0);
}

void TSolarSystemModel::Build() {
    if (Host.S.PlanetsToScale)
        BuildPlanetsView(Host.SceneBase);
    else
        BuildOrbitsView(Host.SceneBase);
}

void TSolarSystemModel::Update(float position) {
    if (Host.S.PlanetsToScale)
        UpdatePlanetsView(Host.SceneBase, position);
    else
        UpdateOrbitsView(Host.SceneBase, position);
}

void TSolarSystemModel::CreateLabels() {
    Host.FontDC->DeleteChildren();
    for (int i = 0; i < 9; ++i) {
        auto* label = Host.FontDC->AddNew<TScreenText>();
        label->Text = PlanetName(i);
        label->Color = QColor::fromRgbF(0.196f, 0.8f, 0.196f);
        label->FontFamily = QStringLiteral("DejaVu Sans");
        label->FontSize = 10;
        label->Bold = true;
    }
    ShowNames(Host.C.Names && Host.C.Names->isChecked());
}

void TSolarSystemModel::PlaceLabels() {
    if (Host.S.CurrentTopicId != 5 || Host.SceneBase->Count() < 9 || Host.FontDC->Count() < 9)
        return;
    const TViewport view = Host.GLViewer->Viewport();
    const QMatrix4x4 toEye = Host.GLCamera->ViewMatrix();
    for (int i = 0; i < 9; ++i) {
        auto* label = static_cast<TScreenText*>(Host.FontDC->Child(i));
        TSceneObject* planet = PlanetSphere(Host.SceneBase, i, Host.S.PlanetsToScale);
        const QVector3D world = planet->AbsolutePosition();
        // A planet behind the camera has no place on the screen: its label hides.
        const bool ahead = toEye.map(world).z() < 0;
        const auto at = ahead ? view.Project(world) : std::nullopt;
        label->Visible = at.has_value();
        if (at)
            label->PixelPosition = *at;
    }
    Host.GLViewer->update();
}

void TSolarSystemModel::ChooseView(bool planetsToScale) {
    if (planetsToScale == Host.S.PlanetsToScale)
        return;
    Host.SetTimer(false);
    Host.C.Start->setEnabled(true);
    Host.C.Stop->setEnabled(false);
    Host.S.PlanetsToScale = planetsToScale;
    Host.SceneBase->DeleteChildren();
    Build();
    Update(Host.S.AnimPosition);
    PlaceLabels();
}

void TSolarSystemModel::ShowNames(bool on) {
    Host.FontDC->Visible = on;
    Host.GLViewer->update();
}

void RegisterSolarSystemModel() {
    RegisterTopicModel(5, [](THost& host, std::int32_t id) { return std::make_unique<TSolarSystemModel>(host, id); });
}

} // namespace quarvel
