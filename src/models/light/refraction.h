#pragma once
// Topic 19: a ray box shining at a glass block chosen on the toolbar (a
// rectangular block, a D-shaped block or a right-angled prism). The scenes
// are rebuilt on each choice; every update recomputes the rays from the
// ray box's position alone.

#include "host/model.h"

namespace quarvel {

class TSceneObject;
class TMaterialLibrary;

void BuildRectBlock(TSceneObject& sceneBase, const TMaterialLibrary& lib);
void UpdateRectBlock(TSceneObject& sceneBase);
void BuildDBlock(TSceneObject& sceneBase, const TMaterialLibrary& lib);
void UpdateDBlock(TSceneObject& sceneBase);
void BuildPrism(TSceneObject& sceneBase, const TMaterialLibrary& lib);
void UpdatePrism(TSceneObject& sceneBase);

class TRefractionModel : public TRefractionTopic {
public:
    using TRefractionTopic::TRefractionTopic;
    void BuildBlock(int block) override;
    void Drag(int block = 0) override;
};

void RegisterRefractionModel();

} // namespace quarvel
