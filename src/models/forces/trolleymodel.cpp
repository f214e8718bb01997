#include "models/forces/trolleymodel.h"

#include "common/contentpath.h"
#include "host/globals.h"
#include "host/host.h"
#include "scene/primitives.h"

#include <QFileInfo>
#include <QLabel>
#include <QPixmap>
#include <QSpinBox>
#include <cmath>

namespace quarvel {

namespace {

constexpr float kDegToRad = 3.14159265358979f / 180.f;
constexpr float kSupportReach = 24.1f;

TCube* AddBox(TSceneObject* parent, float w, float h, float d, const QVector3D& at, const char* material) {
    auto* box = parent->AddNew<TCube>();
    box->SetSize(w, h, d);
    box->SetPosition(at);
    if (material) {
        box->MaterialName = QLatin1String(material);
    } else {
        box->Material().Diffuse = {0.12f, 0.12f, 0.14f, 1};
        box->Material().Ambient = {0.1f, 0.1f, 0.1f, 1};
    }
    return box;
}

// A cylinder of `length` along the z axis.
TCylinder* AddRod(TSceneObject* parent, float radius, float length, const QVector3D& at, const char* material) {
    auto* rod = parent->AddNew<TCylinder>();
    rod->SetRadius(radius);
    rod->SetHeight(length);
    rod->SetSlices(16);
    rod->SetPitchAngle(90);
    rod->SetPosition(at);
    rod->MaterialName = QLatin1String(material);
    return rod;
}

void BuildTrolley(TSceneObject* ramp) {
    auto* trolley = AddBox(ramp, 2.4f, 0.4f, 0.8f, {kTrolleyStartX, 0.45f, 0}, "Brown");
    trolley->Name = QStringLiteral("trolley");
    // 0: the wheel assembly, turning about the axles' common line.
    auto* wheels = trolley->AddNew<TDummyCube>();
    wheels->SetPosition(0, -0.2f, 0);
    for (float x : {-0.85f, 0.85f}) {
        auto* axle = wheels->AddNew<TDummyCube>();
        axle->SetPosition(x, 0, 0);
        AddRod(axle, 0.04f, 1.0f, {0, 0, 0}, "Metal");
        for (float z : {-0.45f, 0.45f}) {
            AddRod(axle, kWheelRadius, 0.08f, {0, 0, z}, "Metal");
            // A spoke shows the wheel turning.
            AddBox(axle, 0.06f, 0.44f, 0.1f, {0, 0, z * 1.12f}, nullptr);
        }
    }
    // 1, 2: the buffers at the ends.
    AddBox(trolley, 0.1f, 0.25f, 0.6f, {-1.25f, 0, 0}, nullptr);
    AddBox(trolley, 0.1f, 0.25f, 0.6f, {1.25f, 0, 0}, nullptr);
    // 3..5: the slotted masses, stacked; the second and third hidden at first.
    for (int i = 0; i < 3; ++i) {
        auto* mass = trolley->AddNew<TCylinder>();
        mass->SetRadius(0.3f);
        mass->SetHeight(0.18f);
        mass->SetSlices(20);
        mass->SetPosition(0, 0.3f + 0.2f * float(i), 0);
        mass->MaterialName = QStringLiteral("Brass");
        mass->Visible = i == 0;
    }
}

void BuildGate(TSceneObject* ramp) {
    auto* gate = ramp->AddNew<TDummyCube>();
    gate->SetPosition(0.1f * 100 - 22.5f, 1.4f, 0);
    // 0: the beam, at the height of the trolley's body.
    auto* beam = AddRod(gate, 0.02f, 1.9f, {0, -0.95f, 0}, "Red");
    beam->MaterialName.clear();
    beam->Material().Diffuse = {1, 0, 0, 1};
    beam->Material().Emission = {1, 0.1f, 0.1f, 1};
    // The arch of tube over the track, with the sender and receiver.
    for (float z : {-1.0f, 1.0f}) {
        auto* post = gate->AddNew<TCylinder>();
        post->SetRadius(0.05f);
        post->SetHeight(2.0f);
        post->SetPosition(0, -0.4f, z);
        post->MaterialName = QStringLiteral("Metal");
        AddBox(gate, 0.2f, 0.3f, 0.15f, {0, -0.95f, z * 0.95f}, nullptr);
    }
    AddRod(gate, 0.05f, 2.1f, {0, 0.6f, 0}, "Metal");
}

} // namespace

void BuildTrolleyScene(TSceneObject* sceneBase, const QString& texturesFolder) {
    // 0: the ramp group.
    auto* ramp = sceneBase->AddNew<TDummyCube>();
    BuildTrolley(ramp);
    BuildGate(ramp);
    AddBox(ramp, 24, 0.05f, 2, {-12, -0.025f, 0}, "Teal");
    AddBox(ramp, 20, 0.3f, 0.05f, {-12.5f, 0.2f, -0.7f}, "Yellow");
    AddBox(ramp, 0.1f, 0.5f, 2, {-0.2f, 0.25f, 0}, "Cream");

    // 1: the support under the raised end, 0 its post.
    auto* support = sceneBase->AddNew<TDummyCube>();
    // The post's place is its top less 5; its rod reaches from the top down to the base.
    auto* post = support->AddNew<TDummyCube>();
    auto* rod = post->AddNew<TCylinder>();
    rod->SetRadius(0.12f);
    rod->SetSlices(12);
    rod->MaterialName = QStringLiteral("Metal");
    AddBox(post, 0.5f, 0.3f, 0.5f, {0, 4.85f, 0}, "Metal"); // the clamp under the ramp
    AddBox(support, 1.2f, 0.1f, 1.2f, {0, -0.05f, 0}, "Metal");

    AddBox(sceneBase, 30, 0.05f, 10, {-12, -0.125f, 0}, "Teal");
    auto* floor = sceneBase->AddNew<TPlane>();
    floor->SetSize(30, 10);
    floor->SetPitchAngle(90);
    floor->SetPosition(-12, -0.16f, 0);
    const QString wood = texturesFolder.isEmpty() ? QString()
                                                  : ResolveContentPath(texturesFolder, QStringLiteral("wood2.bmp"));
    if (!wood.isEmpty() && QFileInfo::exists(wood)) {
        floor->SetTiles(3, 1);
        floor->Material().LoadTexture(wood);
    }
}

TSceneObject* TrolleyObject(TSceneObject* sceneBase) {
    return sceneBase->Count() > 0 && sceneBase->Child(0)->Count() > 0 ? sceneBase->Child(0)->Child(0) : nullptr;
}

TSceneObject* GateObject(TSceneObject* sceneBase) {
    return sceneBase->Count() > 0 && sceneBase->Child(0)->Count() > 1 ? sceneBase->Child(0)->Child(1) : nullptr;
}

void PlaceRamp(TSceneObject* sceneBase, float angleDegrees) {
    if (sceneBase->Count() < 2)
        return;
    sceneBase->Child(0)->SetRollAngle(-angleDegrees);
    const float phi = angleDegrees * kDegToRad;
    TSceneObject* support = sceneBase->Child(1);
    support->SetPosition(-kSupportReach * std::cos(phi), support->Position().y(), support->Position().z());
    if (support->Count() > 0) {
        TSceneObject* post = support->Child(0);
        const float top = kSupportReach * std::sin(phi);
        post->SetPosition(post->Position().x(), top - 5, post->Position().z());
        if (auto* rod = post->Count() > 0 ? dynamic_cast<TCylinder*>(post->Child(0)) : nullptr) {
            const float length = top + 0.1f;
            rod->SetHeight(length);
            rod->SetPosition(0, 5 - length / 2, 0);
        }
    }
}

void PlaceGate(TSceneObject* sceneBase, float gate) {
    if (TSceneObject* g = GateObject(sceneBase))
        g->SetPosition(0.1f * gate - 22.5f, g->Position().y(), g->Position().z());
}

void ShowMasses(TSceneObject* sceneBase, int count) {
    TSceneObject* trolley = TrolleyObject(sceneBase);
    if (!trolley || trolley->Count() < 6)
        return;
    trolley->Child(4)->Visible = count > 1;
    trolley->Child(5)->Visible = count > 2;
}

void PlaceTrolley(TSceneObject* sceneBase, float distance, float wheelRoll, bool beamShown) {
    if (TSceneObject* trolley = TrolleyObject(sceneBase)) {
        trolley->SetPosition(kTrolleyStartX + distance, trolley->Position().y(), trolley->Position().z());
        if (trolley->Count() > 0)
            trolley->Child(0)->SetRollAngle(wheelRoll);
    }
    if (TSceneObject* g = GateObject(sceneBase); g && g->Count() > 0)
        g->Child(0)->Visible = beamShown;
}

// --- the model ---

TTrolleyModel::TTrolleyModel(THost& host, std::int32_t id) : TSpeedTopic(host, id), m_run(SharedRandom()) {}

void TTrolleyModel::Build() {
    // The toolbar's spins keep their values from one visit to the next, so
    // the model is built with them.
    const int angle = Host.C.RampAngle ? Host.C.RampAngle->value() : 10;
    const int gate = Host.C.LightGate ? Host.C.LightGate->value() : 100;
    const int masses = Host.C.TrolleyMass ? Host.C.TrolleyMass->value() : 1;
    m_run.ErrorFlag = Host.S.TrolleyErrorFlag;
    m_run.SetAngle(float(angle));
    m_run.SetGate(float(gate));
    m_run.Reset();
    BuildTrolleyScene(Host.SceneBase, TexturesFolder);
    PlaceRamp(Host.SceneBase, float(angle));
    PlaceGate(Host.SceneBase, float(gate));
    ShowMasses(Host.SceneBase, masses);
    if (Host.BitmapList[3].isNull())
        Host.BitmapList[3] = LightGatePicture();
    KeepRunState();
}

bool TTrolleyModel::Step(float position) {
    const TTrolleyStep s = m_run.Step(position);
    if (s.Kind != GateFlat)
        PlaceTrolley(Host.SceneBase, s.Distance, s.WheelRoll, s.BeamShown);
    KeepRunState();
    ShowGateTime(s.Kind);
    return s.Running;
}

void TTrolleyModel::InitRun() {
    m_run.ErrorFlag = Host.S.TrolleyErrorFlag;
    m_run.InitRun();
    KeepRunState();
}

void TTrolleyModel::ResetTrolley() {
    m_run.Reset();
    PlaceTrolley(Host.SceneBase, 0, 0, true);
    KeepRunState();
}

void TTrolleyModel::DrawGateStrip(int gate) {
    m_strip.Draw(float(gate), Host.BitmapList[3].isNull() ? LightGatePicture() : Host.BitmapList[3]);
    ShowStrip();
}

void TTrolleyModel::ShowGateTime(int kind) {
    m_strip.ShowTime(GateTimeText(kind, m_run.Live(), m_run.Expected()));
    ShowStrip();
}

void TTrolleyModel::SetRampAngle(int degrees) {
    m_run.ErrorFlag = Host.S.TrolleyErrorFlag;
    m_run.SetAngle(float(degrees));
    PlaceRamp(Host.SceneBase, float(degrees));
    KeepRunState();
}

void TTrolleyModel::SetGatePosition(int gate) {
    m_run.ErrorFlag = Host.S.TrolleyErrorFlag;
    m_run.SetGate(float(gate));
    PlaceGate(Host.SceneBase, float(gate));
    KeepRunState();
}

void TTrolleyModel::ShowTrolleyMasses(int count) { ShowMasses(Host.SceneBase, count); }

void TTrolleyModel::ShowStrip() {
    // Nothing is drawn while the strip has no picture.
    QLabel* label = Host.C.Moonpic;
    if (!label || label->pixmap().isNull())
        return;
    label->setPixmap(QPixmap::fromImage(m_strip.Image()));
}

void TTrolleyModel::KeepRunState() {
    Host.S.TrolleyRunState[0] = m_run.Expected();
    Host.S.TrolleyRunState[1] = m_run.Live();
}

void RegisterTrolleyModel() {
    RegisterTopicModel(16, [](THost& host, std::int32_t id) { return std::make_unique<TTrolleyModel>(host, id); });
}

} // namespace quarvel
