#include "models/electromagnetism/domains.h"

#include "common/random.h"
#include "common/rounding.h"
#include "host/host.h"
#include "scene/primitives.h"
#include "scene/solids.h"

namespace quarvel {

void BuildDomains(TSceneObject* base, const TMaterialLibrary*) {
    auto* domains = base->AddNew<TDummyCube>();
    domains->SetPosition(-0.9f, -0.24f, -0.18f);
    auto* arrow = domains->AddNew<TArrowLine>();
    arrow->SetLength(0.16f);
    arrow->SetSlices(4);
    arrow->SetRadii(0.005f, 0.02f);
    arrow->SetHeadLength(0.08f);
    arrow->SetTurnAngle(90);
    arrow->MaterialName = QStringLiteral("Brass");
    for (int i = 1; i < 200; ++i) {
        auto* proxy = domains->AddNew<TProxy>();
        proxy->Master = arrow;
        proxy->SetPosition(float(i % 10) * 0.2f, float((i % 50) / 10) * 0.12f, float(i / 50) * 0.12f);
    }
    auto* bar = base->AddNew<TCube>();
    bar->SetSize(2.0f, 0.62f, 0.52f);
    bar->MaterialName = QStringLiteral("mtTransparent");
}

void SetDomainSpread(TSceneObject* base, float spread) {
    TRandom& rnd = SharedRandom();
    rnd.SetSeed(1);
    const auto s = std::int32_t(Trunc(spread));
    TSceneObject* domains = base->Child(0);
    TSceneObject* master = domains->Child(0);
    const float d = float(rnd.RandomInt(s));
    master->ResetRotations();
    master->SetPitchAngle(-d);
    master->SetTurnAngle(90 - d);
    master->SetRollAngle(-d);
    for (int j = 1; j < domains->Count(); ++j) {
        const float m = float(rnd.RandomInt(s));
        TSceneObject* proxy = domains->Child(j);
        proxy->ResetRotations();
        proxy->SetPitchAngle(-m);
        proxy->SetTurnAngle(-m);
        proxy->SetRollAngle(-m);
    }
}

void TDomainModel::Build() { BuildDomains(Host.SceneBase, &Host.MatLib); }

void TDomainModel::Update(float position) { SetDomainSpread(Host.SceneBase, position); }

void RegisterDomainsModel() {
    RegisterTopicModel(21, [](THost& host, std::int32_t id) { return std::make_unique<TDomainModel>(host, id); });
}

} // namespace quarvel
