#include "models/light/planemirror.h"

#include "common/contentpath.h"
#include "host/host.h"
#include "models/light/raybox.h"
#include "models/light/rayoptics.h"
#include "scene/material.h"
#include "scene/primitives.h"
#include "scene/solids.h"

#include <cmath>

namespace quarvel {

float MirrorAngle = 0;

namespace {
constexpr double kPi = 3.14159265358979323846;
const QColor kGrey = QColor::fromRgbF(0.2f, 0.2f, 0.2f);

std::unique_ptr<TPlane> FlatPlane(float w, float d, const QVector3D& at) {
    auto plane = std::make_unique<TPlane>();
    plane->SetSize(w, d);
    plane->SetPitchAngle(90);
    plane->SetPosition(at);
    return plane;
}

std::unique_ptr<TMirror> CreateMirror(float w, float h, TSceneObject* reflected, float backing) {
    auto mirror = std::make_unique<TMirror>();
    mirror->SetSize(w, h);
    mirror->SetPosition(0, h / 2, 0);
    mirror->MirrorObject = reflected;
    mirror->ClipPlane = true;
    mirror->ClearDepth = true;
    auto* back = mirror->AddNew<TCube>();
    back->SetSize(w, h, backing);
    back->SetParts(TCube::All & ~TCube::Front);
    back->SetPosition(0, 0, backing == 0.2f ? -0.1f : -0.051f);
    back->MaterialName = QStringLiteral("DarkGray");
    return mirror;
}

// Points on an arc of radius r about c from a0 to a1 degrees, n steps.
void Arc(TContour& c, QVector2D centre, float r, float a0, float a1, int n) {
    for (int k = 0; k <= n; ++k) {
        const double a = (a0 + (a1 - a0) * k / n) * kPi / 180;
        c.push_back(centre + QVector2D(float(r * std::cos(a)), float(r * std::sin(a))));
    }
}

std::unique_ptr<TExtrusionSolid> Letter(std::vector<TContour> contours, const char* material) {
    auto letter = std::make_unique<TExtrusionSolid>();
    letter->SetContours(std::move(contours));
    letter->SetDepth(0.1f);
    letter->SetCreaseAngle(30);
    letter->MaterialName = QLatin1String(material);
    letter->Name = QStringLiteral("target");
    return letter;
}
} // namespace

void BuildMirrorBox(TSceneObject& sceneBase, const TMaterialLibrary&) {
    auto* group = sceneBase.AddNew<TDummyCube>();
    auto* box = group->AddNew<TGLRaybox>();
    box->Name = QStringLiteral("raybox");
    box->MaterialName = QStringLiteral("DarkGray");
    box->SetPosition(5, 0, 10);
    box->SetPitchAngle(90);
    box->AddChild(CreateSlitPlate(false))->Visible = false;
    box->AddChild(CreateSlitPlate(true));
    box->AddChild(CreateRayboxKnob());
    box->AddChild(CreateRayboxBulb());
    for (int i = 0; i < 3; ++i)
        group->AddChild(CreateLineRay({{5, 0, 10}, {0, 0, 0}, {-5, 0, 10}}, Qt::white));
    auto* board = group->AddChild(FlatPlane(20, 40, {0, -0.1f, 0}));
    board->MaterialName = QStringLiteral("Blue");
    std::vector<QVector3D> arc;
    for (int k = 0; k <= 20; ++k) {
        const double a = k * 9 * kPi / 180;
        arc.push_back(QVector3D(float(2 * std::cos(a)), 0, float(2 * std::sin(a)) + 0.01f));
    }
    arc.push_back(arc.front());
    group->AddChild(CreateLineRay(std::move(arc), kGrey));
    auto* tick = group->AddChild(CreateLineRay({{2, 0, 0.01f}, {1.6f, 0, 0.01f}}, kGrey));
    for (int k = 1; k <= 20; ++k) {
        auto copy = std::make_unique<TProxy>();
        copy->Master = tick;
        copy->ObjectsOnly = true;
        copy->SetTurnAngle(-9.f * k);
        if (k == 10) {
            // The normal: from the mirror out to 2.
            copy->SetScale(QVector3D(5, 1, 1));
            copy->SetPosition(0, 0, -8);
        }
        group->AddChild(std::move(copy));
    }
    auto mirror = CreateMirror(15, 3, group, 0.2f);
    mirror->Opaque = true;
    sceneBase.AddChild(std::move(mirror));
    sceneBase.AddChild(CreateLineRay({{-7.5f, 0, 0}, {7.5f, 0, 0}}, kGrey));
}

void UpdateMirrorRays(TSceneObject& sceneBase) {
    TSceneObject* group = sceneBase.Child(0);
    TSceneObject* box = group->Child(0);
    const auto r = MirrorRays(box->Position());
    if (!r)
        return; // on the origin: no heading, the rays stay as they were
    MirrorAngle = r->MirrorAngle;
    const bool three = box->Child(1)->Visible;
    for (int k = 0; k < 3; ++k) {
        const TMirrorRay& ray = r->Rays[std::size_t(k)];
        auto* line = static_cast<TLines*>(group->Child(1 + k));
        line->SetNodes({ray.Nodes.begin(), ray.Nodes.end()});
        line->Visible = ray.Shown && (k == 0 || three);
    }
    box->SetRollAngle(r->Theta + 90);
}

void ShowSlits(TSceneObject& sceneBase, bool single) {
    TSceneObject* group = sceneBase.Child(0);
    TSceneObject* box = group->Child(0);
    box->Child(0)->Visible = single;
    box->Child(1)->Visible = !single;
    UpdateMirrorRays(sceneBase); // side rays that miss the mirror stay hidden
    if (single)
        group->Child(2)->Visible = group->Child(3)->Visible = false;
}

void BuildMirrorObjects(TSceneObject& sceneBase, const TMaterialLibrary& lib) {
    auto* group = sceneBase.AddNew<TDummyCube>();
    // The pawn: a ball on a waisted stem on a round foot.
    auto* pawn = group->AddNew<TRevolutionSolid>();
    std::vector<QVector2D> profile;
    for (int a = 90; a >= -72; a -= 18)
        profile.push_back(QVector2D(float(0.2 * std::cos(a * kPi / 180)), float(1.4 + 0.2 * std::sin(a * kPi / 180))));
    for (QVector2D p : {QVector2D(0.1f, 1), QVector2D(0.2f, 0.6f), QVector2D(0.4f, 0.3f), QVector2D(0.4f, 0.2f),
                        QVector2D(0.5f, 0.2f), QVector2D(0.5f, 0)})
        profile.push_back(p);
    pawn->SetProfile(std::move(profile));
    pawn->SetSlices(24);
    pawn->Name = QStringLiteral("target");
    pawn->SetPosition(0.85f, -0.5f, 2);
    if (const QString wood = ResolveContentPath(lib.TextureFolder, QStringLiteral("wood.bmp")); !wood.isEmpty()) {
        TMaterial& m = pawn->Material();
        if (m.LoadTexture(wood)) {
            m.TextureMode = TTextureMode::Modulate;
            m.Ambient = m.Diffuse = QVector4D(0.9f, 0.9f, 0.9f, 1);
        }
    }
    // The letter A, carrying B and C.
    TContour a = {{0, 0}, {0.1f, 0}, {0.2f, 0.3f}, {0.62f, 0.3f}, {0.74f, 0}, {0.84f, 0}, {0.48f, 0.96f}, {0.36f, 0.96f}};
    TContour aHole = {{0.24f, 0.39f}, {0.6f, 0.39f}, {0.42f, 0.86f}};
    auto* letterA = group->AddChild(Letter({a, aHole}, "Blue"));
    letterA->SetScale(1.2f);
    letterA->SetPosition(-0.5f, -0.5f, 4.5f);
    letterA->SetTurnAngle(135);
    TContour b = {{0, 0}};
    Arc(b, {0.3f, 0.24f}, 0.24f, -90, 90, 12);
    Arc(b, {0.24f, 0.72f}, 0.24f, -90, 90, 12);
    b.push_back({0, 0.96f});
    TContour hole1 = {{0.1f, 0.25f - 0.1674f}}, hole2 = {{0.1f, 0.72f - 0.1674f}};
    Arc(hole1, {0.26f, 0.25f}, 0.1674f, -90, 90, 10);
    hole1.push_back({0.1f, 0.25f + 0.1674f});
    Arc(hole2, {0.22f, 0.72f}, 0.1674f, -90, 90, 10);
    hole2.push_back({0.1f, 0.72f + 0.1674f});
    letterA->AddChild(Letter({b, hole1, hole2}, "Red"))->SetPosition(0.9f, 0, 0);
    TContour c;
    Arc(c, {0, 0}, 0.48f, 37, 323, 24);
    Arc(c, {0, 0}, 0.38f, 323, 37, 24);
    letterA->AddChild(Letter({c}, "Green"))->SetPosition(2, 0.48f, 0);
    // The chequered floor on its slab.
    auto* floor = group->AddChild(FlatPlane(6, 12, {0, -0.5f, 0}));
    floor->SetTiles(1, 2);
    if (const QString squares = ResolveContentPath(lib.TextureFolder, QStringLiteral("squares.bmp")); !squares.isEmpty())
        floor->Material().LoadTexture(squares);
    auto* slab = group->AddNew<TCube>();
    slab->SetSize(6, 0.1f, 12);
    slab->SetParts(TCube::All & ~TCube::Top);
    slab->SetPosition(0, -0.55f, 0);
    slab->MaterialName = QStringLiteral("DarkGray");
    auto mirror = CreateMirror(5, 2, group, 0.1f);
    mirror->Name = QStringLiteral("target");
    sceneBase.AddChild(std::move(mirror));
}

void TPlaneMirrorModel::Build() { BuildMirrorBox(*Host.SceneBase, Host.MatLib); }

void TPlaneMirrorModel::Drag(int) {
    if (Host.SceneBase->Count() > 0)
        UpdateMirrorRays(*Host.SceneBase);
}

void TPlaneMirrorModel::SetSlit(bool single) {
    if (Host.SceneBase->Count() > 0)
        ShowSlits(*Host.SceneBase, single);
}

void TMirrorObjectsModel::Build() { BuildMirrorObjects(*Host.SceneBase, Host.MatLib); }

void RegisterPlaneMirrorModels() {
    RegisterTopicModel(18, [](THost& host, std::int32_t id) { return std::make_unique<TPlaneMirrorModel>(host, id); });
    RegisterTopicModel(22, [](THost& host, std::int32_t id) { return std::make_unique<TMirrorObjectsModel>(host, id); });
}

} // namespace quarvel
