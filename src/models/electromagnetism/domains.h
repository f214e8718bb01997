#pragma once
// The magnetic domains (topic 21, DOMAIN page): a transparent bar holding a
// 10 x 5 x 4 lattice of small arrows. The scroll bar takes them from random
// directions (spread 360) to all along the bar (spread 0); "+mag" aligns
// them at once.

#include "host/model.h"

namespace quarvel {

class TMaterialLibrary;
class TSceneObject;

void BuildDomains(TSceneObject* sceneBase, const TMaterialLibrary* lib);
// Reseeds the shared generator with 1 on every call, so a spread always
// gives the same pattern; spread 0 lines every arrow up along +x.
void SetDomainSpread(TSceneObject* sceneBase, float spread);

class TDomainModel : public TDomainTopic {
public:
    using TDomainTopic::TDomainTopic;
    void Build() override;
    void Update(float position) override;
};

void RegisterDomainsModel();

} // namespace quarvel
