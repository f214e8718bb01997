#include "models/electromagnetism/earthfield.h"

#include "common/contentpath.h"
#include "host/globals.h"
#include "host/host.h"
#include "scene/primitives.h"
#include "scene/solids.h"

#include <cmath>

namespace quarvel {

TEarthField EarthFieldAt(float x, float y) {
    const float d1x = x, d1y = y - 0.8f, d2x = x, d2y = y + 0.8f;
    const float r1 = std::sqrt(d1x * d1x + d1y * d1y), r2 = std::sqrt(d2x * d2x + d2y * d2y);
    const float r13 = r1 * r1 * r1, r23 = r2 * r2 * r2;
    TEarthField b;
    b.Bx = d1x / r13 - d2x / r23;
    b.By = d1y / r13 - d2y / r23;
    b.Magnitude = std::max(std::sqrt(b.Bx * b.Bx + b.By * b.By), 1e-8f);
    return b;
}

TEarthLine TraceEarthLine(float x0, float y0, float h, int n) {
    TEarthLine line;
    float x = x0, y = y0;
    line.Nodes.emplace_back(x0, y0, 0);
    for (int i = 0; i < n; ++i) {
        const TEarthField b = EarthFieldAt(x, y);
        x = x + h * b.Bx / b.Magnitude;
        line.XMax = std::max(line.XMax, x);
        if (x < x0)
            break;
        y = y + h * b.By / b.Magnitude;
        line.Nodes.emplace_back(x, y, 0);
    }
    return line;
}

namespace {
TLines* AddLine(TSceneObject* parent, std::vector<QVector3D> nodes) {
    auto* line = parent->AddNew<TLines>();
    line->SetNodes(std::move(nodes));
    line->Antialiased = true;
    return line;
}

TCone* AddArrowCone(TSceneObject* parent) {
    auto* cone = parent->AddNew<TCone>();
    cone->SetHeight(0.1f);
    cone->SetBottomRadius(0.05f);
    cone->MaterialName = QStringLiteral("White");
    return cone;
}
} // namespace

void BuildEarthField(TSceneObject* base, const TMaterialLibrary*) {
    auto* earth = base->AddNew<TSphere>();
    earth->SetRadius(1);
    // The globe has a material of its own, so the planets' shared one is left alone.
    const QString map = TexturesFolder.isEmpty() ? QString()
                                                 : ResolveContentPath(TexturesFolder, QStringLiteral("EarthMap.jpg"));
    if (!map.isEmpty()) {
        TMaterial& m = earth->Material();
        if (m.LoadTexture(map)) {
            m.TextureMode = TTextureMode::Modulate;
            m.Mipmapped = true;
            m.Ambient = m.Diffuse = QVector4D(0.9f, 0.9f, 0.9f, 1);
        }
    }
    AddLine(base, {{0, 10, 0}, {0, -10, 0}});
    auto* north = AddArrowCone(base);
    north->SetPosition(0, 3, 0);
    north->SetPitchAngle(180);
    auto* south = base->AddNew<TProxy>();
    south->Master = north;
    south->SetPosition(0, -6, 0);

    auto* plane = base->AddNew<TDummyCube>();
    const float c = std::cos(40 * 3.14159265f / 180), s = std::sin(40 * 3.14159265f / 180);
    const TEarthLine outer = TraceEarthLine(0.01f * c, 0.8f + 0.01f * s, 0.3f, 51);
    AddLine(plane, outer.Nodes);
    AddArrowCone(plane)->SetPosition(outer.XMax, -0.01f, 0);
    const TEarthLine inner = TraceEarthLine(0.01f, 0.8f, 0.2f, 21);
    AddLine(plane, inner.Nodes);
    AddArrowCone(plane)->SetPosition(inner.XMax, -0.01f, 0);
    for (int i = 1; i <= 7; ++i) {
        auto* proxy = base->AddNew<TProxy>();
        proxy->Master = plane;
        proxy->SetTurnAngle(45.0f * float(i));
    }
}

void TEarthFieldModel::Build() { BuildEarthField(Host.SceneBase, &Host.MatLib); }

void RegisterEarthFieldModel() {
    RegisterTopicModel(17, [](THost& host, std::int32_t id) { return std::make_unique<TEarthFieldModel>(host, id); });
}

} // namespace quarvel
