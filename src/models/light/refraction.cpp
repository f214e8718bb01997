#include "models/light/refraction.h"

#include "host/host.h"
#include "models/light/raybox.h"
#include "models/light/rayoptics.h"
#include "scene/primitives.h"
#include "scene/solids.h"

#include <cmath>

namespace quarvel {

namespace {
const QColor kFaint = QColor::fromRgbF(0.9f, 0.9f, 0.9f);

// A plane lying flat on the board, facing up.
std::unique_ptr<TPlane> FlatPlane(float w, float d, const QVector3D& at, const char* material) {
    auto plane = std::make_unique<TPlane>();
    plane->SetSize(w, d);
    plane->SetPitchAngle(90);
    plane->SetPosition(at);
    plane->MaterialName = QLatin1String(material);
    return plane;
}

// The ray box's heading turns its beam towards the origin.
void AimRaybox(TSceneObject& box, float theta) { box.SetRollAngle(theta + 90); }

TContour HalfDisc(float r) {
    TContour c;
    for (int k = 0; k <= 20; ++k) {
        const double a = k * 9 * 3.14159265358979323846 / 180;
        c.push_back(QVector2D(float(r * std::cos(a)), float(r * std::sin(a))));
    }
    return c;
}

// The prism's triangle in a flat object's own x-y plane (pitched by 90
// degrees, its local y runs along world -z).
TContour PrismOutline() { return {{-2, -1}, {1, -1}, {-2, 2}}; }
} // namespace

// --- rectangular block ---

void BuildRectBlock(TSceneObject& sceneBase, const TMaterialLibrary& lib) {
    auto* group = sceneBase.AddNew<TDummyCube>();
    group->SetPosition(kRectWidth / 2, 0, 0);
    auto* block = group->AddNew<TCube>();
    block->SetSize(kRectWidth, 0.8f, 8);
    block->SetPosition(-kRectWidth / 2, 0.4f, 0);
    block->MaterialName = QStringLiteral("Glass");
    auto* box = group->AddChild(CreateRaybox(lib));
    box->SetPosition(5, 0, -3);
    auto* incident = group->AddChild(CreatePipeRay({5, 0, 0}, {0, 0, 0}));
    group->AddChild(CreatePipeCopy(incident, kRectWidth / 5, 180));
    group->AddChild(CreatePipeCopy(incident, 10.f / 5, 180, {-kRectWidth, 0, 0}));
    auto* entryReflection = group->AddChild(CreateLineRay({{2.5f, 0, 0}, {0, 0, 0}}, kFaint));
    auto exitReflection = std::make_unique<TProxy>();
    exitReflection->Master = entryReflection;
    exitReflection->ObjectsOnly = true;
    exitReflection->SetScale(QVector3D(0.5f, 1, 1));
    exitReflection->SetPosition(-kRectWidth, 0, 0);
    group->AddChild(std::move(exitReflection));
    group->AddChild(FlatPlane(20, 20, {-kRectWidth / 2, -0.02f, 0}, "Blue"));
    group->AddChild(FlatPlane(kRectWidth, 8, {-kRectWidth / 2, -0.01f, 0}, "PaleWhite"));
    UpdateRectBlock(sceneBase);
}

void UpdateRectBlock(TSceneObject& sceneBase) {
    TSceneObject* group = sceneBase.Child(0);
    TSceneObject* box = group->Child(1);
    const auto r = RectBlockRays(box->Position());
    if (!r)
        return; // no heading on the origin: the rays stay as they were
    AimRaybox(*box, r->Theta);
    TSceneObject* incident = group->Child(2);
    incident->SetScale(QVector3D(r->Distance / 5, 1, 1));
    incident->SetTurnAngle(r->Theta);
    TSceneObject* refracted = group->Child(3);
    refracted->SetTurnAngle(r->Refraction + 180);
    refracted->SetScale(QVector3D(r->Path / 5, 1, 1));
    TSceneObject* emergent = group->Child(4);
    emergent->SetPosition(-kRectWidth, 0, r->Shift);
    emergent->SetTurnAngle(r->Theta + 180);
    group->Child(5)->SetTurnAngle(-r->Theta);
    TSceneObject* exitReflection = group->Child(6);
    exitReflection->SetPosition(-kRectWidth, 0, r->Shift);
    exitReflection->SetTurnAngle(-r->Refraction);
}

// --- D-shaped block ---

void BuildDBlock(TSceneObject& sceneBase, const TMaterialLibrary& lib) {
    auto* group = sceneBase.AddNew<TDummyCube>();
    group->SetPosition(-1.5f, 0, 0);
    auto* block = group->AddNew<TExtrusionSolid>();
    block->SetContours({HalfDisc(3)});
    block->SetDepth(0.8f);
    block->SetCreaseAngle(45);
    block->MaterialName = QStringLiteral("Glass");
    block->SetPitchAngle(90);
    block->SetRollAngle(-90);
    auto* box = group->AddChild(CreateRaybox(lib));
    box->SetPosition(8, 0, 0);
    auto* incident = group->AddChild(CreatePipeRay({8, 0, 0}, {0, 0, 0}));
    group->AddChild(CreatePipeCopy(incident, 1, 180));
    group->AddChild(CreateLineRay({{2.5f, 0, 0}, {0, 0, 0}}, kFaint));
    group->AddChild(FlatPlane(20, 20, {1.5f, -0.03f, 0}, "Blue"));
    auto* outline = group->AddNew<TPolygonFace>();
    outline->SetContours({HalfDisc(3)});
    outline->MaterialName = QStringLiteral("PaleWhite");
    outline->SetPitchAngle(90);
    outline->SetRollAngle(-90);
    outline->SetPosition(0, -0.02f, 0);
    UpdateDBlock(sceneBase);
}

void UpdateDBlock(TSceneObject& sceneBase) {
    TSceneObject* group = sceneBase.Child(0);
    TSceneObject* box = group->Child(1);
    const auto r = DBlockRays(box->Position());
    if (!r)
        return;
    AimRaybox(*box, r->Theta);
    TSceneObject* incident = group->Child(2);
    incident->SetScale(QVector3D(r->Distance / 8, 1, 1));
    incident->SetTurnAngle(r->Theta);
    group->Child(3)->SetTurnAngle(r->OutgoingTurn);
    group->Child(4)->SetTurnAngle(r->ReflectedTurn);
}

// --- prism ---

void BuildPrism(TSceneObject& sceneBase, const TMaterialLibrary& lib) {
    auto* box = sceneBase.AddChild(CreateRaybox(lib));
    box->SetPosition(7, 0, 0);
    sceneBase.AddChild(CreatePipeRay({10, 0.02f, 0}, {0, 0.02f, 0}));
    sceneBase.AddChild(CreateLineRay(std::vector<QVector3D>(5), QColor::fromRgbF(0, 0, 1, 1)));
    sceneBase.AddChild(CreateLineRay(std::vector<QVector3D>(5), QColor::fromRgbF(1, 0, 0, 1)));
    sceneBase.AddNew<TSpectrum>();
    sceneBase.AddChild(FlatPlane(20, 20, {0, -0.03f, 0}, "Blue"));
    auto* outline = sceneBase.AddNew<TPolygonFace>();
    outline->SetContours({PrismOutline()});
    outline->MaterialName = QStringLiteral("PaleWhite");
    outline->SetPitchAngle(90);
    outline->SetPosition(0, -0.02f, 0);
    auto* prism = sceneBase.AddNew<TExtrusionSolid>();
    prism->SetContours({PrismOutline()});
    prism->SetDepth(0.5f);
    prism->SetCreaseAngle(30);
    prism->MaterialName = QStringLiteral("Glass");
    prism->SetPitchAngle(90);
    UpdatePrism(sceneBase);
}

void UpdatePrism(TSceneObject& sceneBase) {
    TSceneObject* box = sceneBase.Child(0);
    const QVector3D p = box->Position();
    const auto theta = RayboxHeading(p.x(), p.z());
    const auto blue = TracePrism(p, kBlueIndex), red = TracePrism(p, kRedIndex);
    if (!theta || !blue || !red)
        return;
    AimRaybox(*box, *theta);
    TSceneObject* incident = sceneBase.Child(1);
    const QVector3D entry = blue->Nodes[0];
    incident->SetPosition(entry);
    incident->SetScale(QVector3D((QVector3D(p.x(), 0, p.z()) - entry).length() / 10, 1, 1));
    incident->SetTurnAngle(*theta);
    auto* blueLine = static_cast<TLines*>(sceneBase.Child(2));
    auto* redLine = static_cast<TLines*>(sceneBase.Child(3));
    blueLine->SetNodes({blue->Nodes.begin(), blue->Nodes.end()});
    redLine->SetNodes({red->Nodes.begin(), red->Nodes.end()});
    const bool both = blue->Reflected() && red->Reflected(), neither = !blue->Reflected() && !red->Reflected();
    blueLine->LineColor = both ? QColor(Qt::white) : QColor::fromRgbF(0, 0, 1, 1);
    redLine->LineColor = both ? QColor(Qt::white) : QColor::fromRgbF(1, 0, 0, 1);
    blueLine->GeometryChanged();
    redLine->GeometryChanged();
    auto* fan = static_cast<TSpectrum*>(sceneBase.Child(4));
    fan->SetPoints(blue->Nodes[1], blue->Nodes[2], red->Nodes[1], red->Nodes[2]);
    fan->Visible = both || neither;
}

// --- the topic ---

void TRefractionModel::BuildBlock(int block) {
    switch (block) {
    case 1: BuildDBlock(*Host.SceneBase, Host.MatLib); break;
    case 2: BuildPrism(*Host.SceneBase, Host.MatLib); break;
    default: BuildRectBlock(*Host.SceneBase, Host.MatLib); break;
    }
}

void TRefractionModel::Drag(int block) {
    if (Host.SceneBase->Count() == 0)
        return;
    switch (block) {
    case 1: UpdateDBlock(*Host.SceneBase); break;
    case 2: UpdatePrism(*Host.SceneBase); break;
    default: UpdateRectBlock(*Host.SceneBase); break;
    }
}

void RegisterRefractionModel() {
    RegisterTopicModel(19, [](THost& host, std::int32_t id) { return std::make_unique<TRefractionModel>(host, id); });
}

} // namespace quarvel
