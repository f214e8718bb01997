#include "models/heat/heatmodels.h"

#include "common/contentpath.h"
#include "common/random.h"
#include "common/rounding.h"
#include "host/globals.h"
#include "host/host.h"
#include "scene/material.h"
#include "scene/primitives.h"
#include "scene/solids.h"

#include <QComboBox>
#include <cmath>

namespace quarvel {

namespace {
template <class T> T* Add(TSceneObject* parent, const QString& material = {}) {
    T* obj = parent->AddNew<T>();
    obj->MaterialName = material;
    return obj;
}

TRevolutionSolid* Revolution(TSceneObject* parent, const QString& material, std::vector<QVector2D> profile) {
    auto* obj = Add<TRevolutionSolid>(parent, material);
    obj->SetProfile(std::move(profile));
    return obj;
}

TProxy* ProxyOf(TSceneObject* parent, TSceneObject* master, bool objectsOnly) {
    auto* p = parent->AddNew<TProxy>();
    p->Master = master;
    p->ObjectsOnly = objectsOnly;
    return p;
}

QString ContentFile(const QString& folder, const QString& name) {
    if (folder.isEmpty())
        return {};
    return ResolveContentPath(folder, name);
}

// The wooden top of a table or base board: a plane lying flat, tiled.
void WoodTop(TSceneObject* parent, float width, float height, float tilesX, float tilesY) {
    auto* wood = Add<TPlane>(parent);
    wood->SetSize(width, height);
    wood->SetTiles(tilesX, tilesY);
    wood->SetPitchAngle(90);
    wood->SetRollAngle(90);
    const QString path = ContentFile(TexturesFolder, QStringLiteral("wood.bmp"));
    if (!path.isEmpty()) {
        TMaterial& m = wood->Material();
        if (m.LoadTexture(path)) {
            m.TextureMode = TTextureMode::Modulate;
            m.Ambient = m.Diffuse = {0.9f, 0.9f, 0.9f, 1};
        }
    }
}

TSceneObject* Wax(TSceneObject* parent, float roll, float x, bool blended) {
    auto* wax = Add<TFreeForm>(parent);
    const QString path = ContentFile(MeshFolder, QStringLiteral("Wax.3ds"));
    if (!path.isEmpty())
        wax->LoadFromFile(path);
    wax->SetPitchAngle(90);
    wax->SetRollAngle(roll);
    wax->SetPosition(x, 1.5f, 0);
    TMaterial& m = wax->Material();
    m.Blending = blended ? TBlending::Transparency : TBlending::Opaque;
    m.Ambient = {0.847f, 0.847f, 0.749f, 1};
    m.Diffuse = {0.9f, 0.9f, 0.9f, 1};
    return wax;
}
} // namespace

// ---------------------------------------------------------------- conduction

float ConductionDecayFor(int metal) {
    switch (metal) {
    case 1: return kConductionDecay * 0.7f;
    case 2: return kConductionDecay * 2.9f;
    default: return kConductionDecay;
    }
}

bool PinDropped(int metal, int pin, float position) {
    return std::exp(float(pin) * ConductionDecayFor(metal)) * position > 100.0f;
}

QString ConductionMetalMaterial(int metal) {
    switch (metal) {
    case 1: return QStringLiteral("Copper");
    case 2: return QStringLiteral("DarkGray");
    default: return QStringLiteral("Metal");
    }
}

void BuildConductionModel(TSceneObject* base, TMaterialLibrary&) {
    auto* outer = Revolution(base, QStringLiteral("Bunsen"),
                             {{0, 3}, {0.35f, 2.5f}, {0.5f, 2}, {0.6f, 1.5f}, {0.6f, 1}, {0.55f, 0.5f}, {0.4f, 0}});
    outer->SetPosition(-10, -2, 0);
    outer->Visible = false;
    auto* inner = Revolution(base, QStringLiteral("Bunsen2"), {{0, 1.5f}, {0.25f, 1}, {0.4f, 0.5f}, {0.4f, 0}});
    inner->SetPosition(-10, -2, 0);
    inner->Visible = false;

    auto* rod = Add<TCylinder>(base, QStringLiteral("Metal"));
    rod->SetRadius(0.25f);
    rod->SetHeight(25);
    rod->SetLoops(1);
    rod->SetStacks(5);
    rod->SetRollAngle(90);
    rod->SetPosition(2, 0, 0);

    auto* pin = Revolution(base, QStringLiteral("Metal2"),
                           {{0, 1}, {0.2f, 1}, {0.2f, 0.92f}, {0.1f, 0.92f}, {0.1f, 0}, {0, -0.1f}});
    pin->SetPosition(-5, kPinHangY, 0);
    for (int i = 1; i < kPinCount; ++i)
        ProxyOf(base, pin, true)->SetPosition(float(i - 5), kPinHangY, 0);

    auto* disc = Revolution(base, QStringLiteral("Red"),
                            {{0, 0.025f}, {0.2f, 0.025f}, {0.2f, 0}, {0.1f, -0.025f}, {0, -0.025f}});
    disc->SetPosition(-5, -0.25f, 0);
    for (int i = 1; i < kPinCount; ++i)
        ProxyOf(base, disc, false)->SetPosition(float(i), 0, 0);

    Revolution(base, QStringLiteral("Metal"), {{0.35f, 5}, {0.4f, 5}, {0.4f, 0}, {0.35f, 0}, {0.35f, 5}})
        ->SetPosition(-10, -7, 0);
    std::vector<QVector2D> foot{{0, 0.6f}};
    for (int n = 5; n >= 0; --n) {
        const float a = n * 0.31415927f;
        foot.push_back({2.2f + 0.3f * std::cos(a), 0.3f + 0.3f * std::sin(a)});
    }
    foot.push_back({2.5f, 0});
    Revolution(base, QStringLiteral("Blue"), foot)->SetPosition(-10, -7.6f, 0);

    auto* stand = Add<TCylinder>(base, QStringLiteral("Metal"));
    stand->SetRadius(0.25f);
    stand->SetHeight(12.6f);
    stand->SetLoops(1);
    stand->SetStacks(2);
    stand->SetParts(TCylinder::Sides | TCylinder::TopCap);
    stand->SetPosition(13, -1.1f, -0.75f);
    auto* standBase = Add<TCube>(base, QStringLiteral("Blue"));
    standBase->SetSize(5, 0.6f, 8);
    standBase->SetPosition(13, -7.3f, 2.25f);
    auto* clamp = Add<TCube>(base, QStringLiteral("Metal3"));
    clamp->SetSize(1, 1, 2);
    clamp->SetPosition(13, 0, -0.5f);
    auto* table = Add<TCube>(base, QStringLiteral("Brown"));
    table->SetSize(35, 0.1f, 25);
    table->SetParts(TCube::All & ~TCube::Top);
    table->SetPosition(0, -7.65f, 0);
    WoodTop(table, 25, 35, 5, 7);
}

void UpdateConductionModel(TSceneObject* base, int metal, float position) {
    if (base->Count() < 3 + kPinCount)
        return;
    for (int i = 0; i < kPinCount; ++i) {
        TSceneObject* pin = base->Child(i + 3);
        const QVector3D p = pin->Position();
        if (PinDropped(metal, i, position)) {
            pin->SetPosition(p.x(), -7.5f, p.z());
            pin->SetPitchAngle(-85);
        } else {
            pin->SetPosition(p.x(), kPinHangY, p.z());
            pin->SetPitchAngle(0);
        }
    }
}

void SetConductionMetal(TSceneObject* base, TMaterialLibrary&, int metal) {
    if (base->Count() > 2)
        base->Child(2)->MaterialName = ConductionMetalMaterial(metal);
}

void ShowBunsenFlame(TSceneObject* base, bool visible) {
    if (base->Count() < 2)
        return;
    base->Child(0)->Visible = visible;
    base->Child(1)->Visible = visible;
}

// ---------------------------------------------------------------- radiation

TRadiationPose RadiationPose(float position) {
    const std::int64_t t = Trunc(position);
    const float p = position;
    if (t < 100)
        return {{-5.025f, 1.5f, 0}, 90, 1 - 0.009f * p};
    const float slide = 1.5f - 0.103f * (p - 100);
    if (t <= 130)
        return {{-5.025f, slide, 0}, 90, 0.1f};
    if (t <= 150) {
        const float tip = 3.4f * (p - 130);
        return {{-5.025f - std::sin(tip * 3.14159265f / 180), slide, 0}, 90 + tip, 0.1f};
    }
    return {{-5.952f, -3.65f, 0}, 158, 0.1f};
}

void BuildRadiationModel(TSceneObject* base, TMaterialLibrary&) {
    auto* pin = Revolution(base, QStringLiteral("Metal"),
                           {{0, 0.9f}, {0.1f, 0.9f}, {0.25f, 0.8f}, {0.25f, 0.7f}, {0.2f, 0.6f}, {0.2f, 0.5f},
                            {1, 0.5f}, {1, 0}, {0, 0}});
    pin->SetSlices(20);
    pin->SetRollAngle(90);
    pin->SetPosition(-5.025f, 1.5f, 0);
    auto* right = ProxyOf(base, pin, true);
    right->SetRollAngle(-90);
    right->SetPosition(5.025f, 1.5f, 0);

    auto* heater = Add<TCylinder>(base, QStringLiteral("Cream"));
    heater->SetRadius(1.4f);
    heater->SetHeight(6);
    heater->SetLoops(1);
    heater->SetStacks(1);
    heater->SetPosition(0, -1, 0);
    auto* coil = Revolution(heater, QString(), {{1.4f, 0.05f}, {1.5f, 0.05f}, {1.5f, -0.05f}, {1.4f, -0.05f}});
    coil->SetHelix(0.25f);
    coil->SetPosition(0, -2.9f, 0);
    coil->Material().Emission = {0.2f, 0.2f, 0.2f, 1};
    for (int i = 1; i <= 20; ++i)
        ProxyOf(heater, coil, false)->SetPosition(0, 0.25f * i, 0);
    auto* heaterFoot = Add<TCube>(heater, QStringLiteral("Blue"));
    heaterFoot->SetSize(4, 1, 4);
    heaterFoot->SetPosition(0, -3.5f, 0);

    Wax(base, -90, -5.025f, true);
    Wax(base, 90, 5.025f, false);

    auto* plate = Add<TCube>(base, QStringLiteral("Copper"));
    plate->SetSize(0.05f, 10, 10);
    plate->SetParts(TCube::All & ~TCube::Left);
    plate->SetPosition(5, 0, 0);
    ProxyOf(base, plate, false)->SetTurnAngle(180);

    auto* shiny = Add<TPlane>(base);
    shiny->SetSize(10, 10);
    shiny->SetTurnAngle(-90);
    shiny->SetPosition(4.975f, 0, 0);
    const QString chrome = ContentFile(TexturesFolder, QStringLiteral("Chrome.bmp"));
    if (!chrome.isEmpty()) {
        TMaterial& m = shiny->Material();
        if (m.LoadTexture(chrome)) {
            m.TextureMode = TTextureMode::Modulate;
            m.SphereMapped = true;
            m.Ambient = m.Diffuse = m.Emission = {0.72f, 0.45f, 0.2f, 1};
        }
    }
    auto* black = Add<TPlane>(base, QStringLiteral("VDarkGray"));
    black->SetSize(10, 10);
    black->SetTurnAngle(90);
    black->SetPosition(-4.975f, 0, 0);

    auto* foot = Add<TCube>(base, QStringLiteral("Blue"));
    foot->SetSize(4, 0.5f, 10);
    foot->SetParts(TCube::All & ~TCube::Left);
    foot->SetPosition(7.025f, -4.75f, 0);
    ProxyOf(base, foot, false)->SetTurnAngle(180);

    auto* board = Add<TCube>(base, QStringLiteral("Cream"));
    board->SetSize(25, 0.1f, 25);
    board->SetParts(TCube::All & ~TCube::Top);
    board->SetPosition(0, -5.025f, 0);
    WoodTop(board, 25, 25, 5, 5);
}

void UpdateRadiationModel(TSceneObject* base, float position) {
    if (base->Count() < 4)
        return;
    const TRadiationPose pose = RadiationPose(position);
    TSceneObject* pin = base->Child(0);
    pin->SetPosition(pose.PinPosition);
    pin->SetRollAngle(pose.PinRoll);
    base->Child(3)->Material().Diffuse.setW(pose.WaxAlpha);
}

void SetHeaterGlow(TSceneObject* base, const QVector4D& colour) {
    if (base->Count() < 3 || base->Child(2)->Count() < 1)
        return;
    base->Child(2)->Child(0)->Material().Emission = colour;
}

// ---------------------------------------------------------------- particles

bool& HeatingPass() {
    static bool heating = true;
    return heating;
}

QVector4D LayerColour(int layer, float position) {
    const int n = int(Div(Trunc(position), 50));
    const float f = float(Frac(position * 0.02f));
    if (layer < n)
        return kHotBall;
    if (layer > n)
        return kColdBall;
    return {0.56f + 0.46f * f, 0.56f - 0.31f * f, 0.74f - 0.74f * f, 1};
}

QVector3D LatticePoint(int ball) {
    const int layer = ball / 25, z = ball % 25 / 5, y = ball % 5;
    return {float(layer - 10), float(y), float(z)};
}

TSceneObject* Ball(TSceneObject* base, int ball) {
    // The bar holds, layer by layer, the master (y = z = 0) then its proxies z by z, y by y,
    // which is ball order.
    return base->Child(0)->Child(ball);
}

QVector4D LayerAmbient(TSceneObject* base, int layer) { return Ball(base, 25 * layer)->Material().Ambient; }

void BuildParticleConductionModel(TSceneObject* base) {
    auto* bar = base->AddNew<TDummyCube>();
    bar->SetPosition(0, -2, -2);
    for (int layer = 0; layer < kLayers; ++layer) {
        auto* master = bar->AddNew<TSphere>();
        master->SetRadius(0.4f);
        master->SetSlices(10);
        master->SetStacks(10);
        TMaterial& m = master->Material();
        m.Ambient = kColdBall;
        m.Diffuse = {0.5f, 0.5f, 0.5f, 1};
        m.Specular = {0.8f, 0.8f, 0.8f, 1};
        m.Shininess = 100;
        master->SetPosition(LatticePoint(25 * layer));
        for (int k = 1; k < 25; ++k)
            ProxyOf(bar, master, true)->SetPosition(LatticePoint(25 * layer + k));
    }
    auto box = [](TSceneObject* parent, std::vector<QVector3D> nodes) {
        auto* lines = parent->AddNew<TLines>();
        lines->LineColor = Qt::white;
        lines->Antialiased = true;
        lines->ShowNodes = false;
        lines->SetNodes(std::move(nodes));
        return lines;
    };
    auto* side = box(base, {{-10.5f, 2.5f, 2.5f}, {10.5f, 2.5f, 2.5f}, {10.5f, -2.5f, 2.5f},
                            {-10.5f, -2.5f, 2.5f}, {-10.5f, 2.5f, 2.5f}});
    ProxyOf(base, side, false)->SetPosition(0, 0, -5);
    auto* edge = box(base, {{-10.5f, 2.5f, -2.5f}, {-10.5f, 2.5f, 2.5f}});
    for (const QVector3D& at : {QVector3D(21, 0, 0), QVector3D(0, -5, 0), QVector3D(21, -5, 0)})
        ProxyOf(base, edge, false)->SetPosition(at);
}

void UpdateParticleConductionModel(TSceneObject* base, float position) {
    if (base->Count() < 1 || base->Child(0)->Count() < 25 * kLayers)
        return;
    int jiggling = kLayers;
    if (HeatingPass()) {
        for (int layer = 0; layer < kLayers; ++layer)
            Ball(base, 25 * layer)->Material().Ambient = LayerColour(layer, position);
        const int n = int(Div(Trunc(position), 50));
        jiggling = n >= 0 && n < kLayers ? n + 1 : 0;
    }
    for (int ball = 0; ball < 25 * jiggling; ++ball) {
        const float d = float((0.5 - SharedRandom().RandomReal()) * 0.2);
        Ball(base, ball)->SetPosition(LatticePoint(ball) + QVector3D(d, d, d));
    }
}

void ResetParticleConductionModel(TSceneObject* base) {
    if (base->Count() < 1 || base->Child(0)->Count() < 25 * kLayers)
        return;
    for (int ball = 0; ball < 25 * kLayers; ++ball) {
        Ball(base, ball)->SetPosition(LatticePoint(ball));
        if (ball % 25 == 0)
            Ball(base, ball)->Material().Ambient = kColdBall;
    }
    HeatingPass() = true;
}

void EndHeatingPass(TSceneObject* base, bool heating) {
    if (heating == HeatingPass())
        return;
    HeatingPass() = heating;
    if (base->Count() < 1 || base->Child(0)->Count() < 25 * kLayers)
        return;
    for (int layer = 0; layer < kLayers; ++layer)
        Ball(base, 25 * layer)->Material().Ambient = kHotBall;
}

// ---------------------------------------------------------------- host models

void TConductionModel::Build() {
    BuildConductionModel(Host.SceneBase, Host.MatLib);
    // The rod shows the metal the list keeps, as the pins drop for it.
    SetConductionMetal(Host.SceneBase, Host.MatLib, Host.C.Metal ? Host.C.Metal->currentIndex() : 0);
}
void TConductionModel::UpdateMetal(int metal, float position) { UpdateConductionModel(Host.SceneBase, metal, position); }
void TConductionModel::ChooseMetal(int index) { SetConductionMetal(Host.SceneBase, Host.MatLib, index); }
void TConductionModel::StartHook(bool on) { ShowBunsenFlame(Host.SceneBase, on); }

void TRadiationModel::Build() { BuildRadiationModel(Host.SceneBase, Host.MatLib); }
void TRadiationModel::Update(float position) { UpdateRadiationModel(Host.SceneBase, position); }
void TRadiationModel::HeaterColour(bool red) {
    SetHeaterGlow(Host.SceneBase, red ? QVector4D(1, 0, 0, 1) : QVector4D(0.2f, 0.2f, 0.2f, 1));
}

void TParticleConductionModel::Build() {
    BuildParticleConductionModel(Host.SceneBase);
    // A fresh build shows cold, still layers: the heat front runs again on Start.
    HeatingPass() = true;
}
void TParticleConductionModel::Update(float position) { UpdateParticleConductionModel(Host.SceneBase, position); }
void TParticleConductionModel::Reset() { ResetParticleConductionModel(Host.SceneBase); }
void TParticleConductionModel::WrapNotice() { EndHeatingPass(Host.SceneBase, false); }

void RegisterHeatModels() {
    RegisterTopicModel(13, [](THost& host, std::int32_t id) { return std::make_unique<TConductionModel>(host, id); });
    RegisterTopicModel(14, [](THost& host, std::int32_t id) { return std::make_unique<TRadiationModel>(host, id); });
    RegisterTopicModel(15, [](THost& host, std::int32_t id) {
        return std::make_unique<TParticleConductionModel>(host, id);
    });
}

} // namespace quarvel
