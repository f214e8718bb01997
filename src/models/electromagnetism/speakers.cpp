#include "models/electromagnetism/speakers.h"

#include "common/rounding.h"
#include "host/host.h"
#include "models/electromagnetism/embuild.h"
#include "models/electromagnetism/emgeometry.h"

#include <cmath>

namespace quarvel {

using namespace embuild;
using emgeom::Pi;
using emgeom::Rad;

TSpeakerMagnet::TSpeakerMagnet() {
    // The rim lines of the missing quarter, white and unlit.
    auto* lines = AddNew<TLines>();
    lines->LineColor = Qt::white;
    lines->Antialiased = true;
    lines->Mode = TLines::TMode::Segments;
    Geometry(); // the lines are there before the first drawing
}

int TSpeakerMagnet::DrawnSteps() const {
    return std::clamp(int(RoundHalfEven(double(Segments) * SweepAngle / 360.0)), 0, std::max(1, Segments));
}

void TSpeakerMagnet::BuildGeometry(TMesh& mesh) {
    const int n = std::max(3, Segments), k = DrawnSteps();
    const float ro = OuterRadius, ri = InnerRadius, rp = PoleRadius, h = PotHeight, zb = -0.1f;
    auto ang = [n](int i) { return Rad(360.f * float(i) / float(n)); };
    auto P = [](float a, float r, float z) { return QVector3D(r * std::cos(a), r * std::sin(a), z); };
    auto radial = [](float a) { return QVector3D(std::cos(a), std::sin(a), 0); };
    for (int i = 0; i < n; ++i) {
        const float a0 = ang(i), a1 = ang(i + 1);
        // The centre pole all round, with its top cap.
        emgeom::Quad(mesh, P(a0, rp, zb), P(a1, rp, zb), P(a1, rp, h), P(a0, rp, h), radial((a0 + a1) / 2));
        mesh.Triangle(mesh.Add({0, 0, h}, {0, 0, 1}), mesh.Add(P(a0, rp, h), {0, 0, 1}), mesh.Add(P(a1, rp, h), {0, 0, 1}));
        auto q = [&](float r0, float r1, float z, const QVector3D& nr) {
                if (nr.z() > 0)
                    emgeom::Quad(mesh, P(a0, r0, z), P(a0, r1, z), P(a1, r1, z), P(a1, r0, z), nr);
                else
                    emgeom::Quad(mesh, P(a0, r0, z), P(a1, r0, z), P(a1, r1, z), P(a0, r1, z), nr);
        };
        if (i < k) {
            emgeom::Quad(mesh, P(a0, ro, zb), P(a1, ro, zb), P(a1, ro, h), P(a0, ro, h), radial((a0 + a1) / 2));
            emgeom::Quad(mesh, P(a1, ri, 0), P(a0, ri, 0), P(a0, ri, h), P(a1, ri, h), -radial((a0 + a1) / 2));
            q(ri, ro, h, {0, 0, 1});  // the rim
            q(rp, ri, 0, {0, 0, 1});  // the base plate's top inside the pot
            q(0, ro, zb, {0, 0, -1}); // the bottom
        } else {
            q(0, rp, zb, {0, 0, -1}); // under the missing quarter: only the pole's bottom
        }
    }
    // The cut faces at 0 and at the sweep's end: wall and base.
    for (int e : {0, k}) {
        const float a = ang(e);
        const QVector3D nrm = e == 0 ? QVector3D(0, -1, 0) : QVector3D(-std::sin(a), std::cos(a), 0);
        emgeom::Quad(mesh, P(a, ri, 0), P(a, ro, 0), P(a, ro, h), P(a, ri, h), nrm);
        emgeom::Quad(mesh, P(a, rp, zb), P(a, ro, zb), P(a, ro, 0), P(a, rp, 0), nrm);
    }
    // The white rim lines of the missing quarter.
    if (auto* lines = dynamic_cast<TLines*>(Count() > 0 ? Child(0) : nullptr)) {
        std::vector<QVector3D> nodes;
        for (float z : {h - 0.05f, zb})
            for (int i = k; i < n; ++i) {
                nodes.push_back(P(ang(i), ro, z));
                nodes.push_back(P(ang(i + 1), ro, z));
            }
        lines->SetNodes(std::move(nodes));
    }
}

float SpeakerScale(float position) { return 1 + 0.1f * std::sin(position * Pi / 180.f); }

void BuildSpeaker(TSceneObject* base, TMaterialLibrary&) {
    const QString navy = QStringLiteral("Navy"), metal = QStringLiteral("Metal");
    auto* cone = Add<TRevolutionSolid>(base, {0, 0, 0}, navy);                      // 0
    cone->SetProfile({{0.2f, -0.312f}, {0.22f, -0.3f}, {0.24f, -0.3f}, {0.26f, -0.288f}, {0.28f, -0.288f},
                      {0.3f, -0.276f}, {0.32f, -0.276f}, {1.12f, -0.036f}, {1.14f, -0.036f}, {1.16f, -0.024f},
                      {1.18f, -0.024f}, {1.2f, -0.012f}, {1.22f, -0.012f}, {1.24f, 0}, {1.26f, 0}});
    cone->SetSlices(32);
    cone->SetParts(TRevolutionSolid::Outer | TRevolutionSolid::InnerFaces);
    cone->SetRollAngle(-90);

    auto* coil = Add<TDummyCube>(base, {-0.312f, 0, 0});                            // 1
    for (bool inward : {false, true}) {
        auto* former = Add<TCylinder>(coil, {-0.21f, 0, 0}, navy);
        former->SetRadius(0.2f);
        former->SetHeight(0.42f);
        former->SetParts(TCylinder::Sides);
        former->SetSlices(32);
        former->SetNormalsInward(inward);
        former->SetRollAngle(-90);
    }
    std::vector<QVector3D> winding = {{0.3f, -0.5f, 0.1f}, {0.4f, -0.5f, 0.1f}, {0.4f, 0, 0.22f}};
    for (int j = 0; j <= 216; ++j)
        winding.push_back({0.00125f * float(j), 0.22f * std::sin(float(j) * Pi / 8), 0.22f * std::cos(float(j) * Pi / 8)});
    winding.push_back({0.4f, 0, -0.22f});
    winding.push_back({0.4f, -0.5f, -0.1f});
    winding.push_back({0.3f, -0.5f, -0.1f});
    AddPolyline(coil, {-0.4f, 0, 0}, std::move(winding));

    auto* magnet = Add<TSpeakerMagnet>(base, {-0.782f, 0, 0});                      // 2
    magnet->SetTurnAngle(90);
    magnet->SetRollAngle(-135);

    auto* back = Add<TRevolutionSolid>(base, {-0.392f, 0, 0}, metal);               // 3
    back->SetProfile({{0.43f, 0.02f}, {0.43f, 0.05f}, {0.45f, 0.05f}, {0.45f, 0}, {0.25f, 0}, {0.25f, 0.02f},
                      {0.43f, 0.02f}});
    back->SetSlices(32);
    back->SetRollAngle(-90);
    auto* rim = Add<TRevolutionSolid>(base, {-0.1f, 0, 0}, metal);                  // 4
    rim->SetProfile({{1.26f, 0.05f}, {1.26f, 0.1f}, {1.28f, 0.1f}, {1.28f, 0.04f}, {1.16f, -0.02f}, {1.26f, 0.05f},
                     {1.26f, 0.1f}});
    rim->SetSlices(50);
    rim->SetRollAngle(-90);
    auto* strut = Add<TCube>(base, {-0.232f, 0.8f, 0}, metal);                      // 5
    strut->SetSize(0.02f, std::sqrt(0.242f * 0.242f + 0.72f * 0.72f), 0.2f);
    strut->SetRollAngle(-19);
    AddProxy(base, strut, {0, 0, 0}, false)->SetPitchAngle(120);                    // 6
    AddProxy(base, strut, {0, 0, 0}, false)->SetPitchAngle(240);                    // 7
    Add<TCube>(base, {-0.392f, -0.5f, 0})->SetSize(0.02f, 0.2f, 0.3f);               // 8
    auto* lead = AddTube(base, {-0.4f, -0.5f, 0.1f}, {{0, 0, 0}, {-0.4f, -0.1f, 0}, {-0.5f, -0.5f, 0}},
                         QStringLiteral("Red"));                                    // 9
    lead->SetSpline(true);
    AddProxy(base, lead, {0, 0, -0.2f}, false);                                     // 10
}

void UpdateSpeaker(TSceneObject* base, float position) {
    if (!base || base->Count() < 2)
        return;
    const float a = SpeakerScale(position);
    base->Child(0)->SetScale(QVector3D(1, a, 1));
    TSceneObject* coil = base->Child(1);
    const QVector3D p = coil->Position();
    coil->SetPosition(-0.312f * a, p.y(), p.z());
}

void TSpeakerModel::Build() { BuildSpeaker(Host.SceneBase, Host.MatLib); }
void TSpeakerModel::Update(float position) { UpdateSpeaker(Host.SceneBase, position); }

void RegisterSpeakerModel() {
    RegisterTopicModel(12, [](THost& host, std::int32_t id) { return std::make_unique<TSpeakerModel>(host, id); });
}

} // namespace quarvel
