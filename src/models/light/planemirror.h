#pragma once
// Topic 18: a ray box shining one or three narrow beams at a long plane
// mirror, with a protractor on the board; topic 22: a pawn and the letters
// A, B and C in front of a mirror that shows their images.

#include "host/model.h"

namespace quarvel {

class TSceneObject;
class TMaterialLibrary;

// The angle between the incident ray and the mirror line, in degrees; -1
// while the ray box stands behind the mirror. The "Measure angles" panel reads it.
extern float MirrorAngle;

void BuildMirrorBox(TSceneObject& sceneBase, const TMaterialLibrary& lib);
void UpdateMirrorRays(TSceneObject& sceneBase);
void ShowSlits(TSceneObject& sceneBase, bool single);
void BuildMirrorObjects(TSceneObject& sceneBase, const TMaterialLibrary& lib);

class TPlaneMirrorModel : public TPlaneMirrorTopic {
public:
    using TPlaneMirrorTopic::TPlaneMirrorTopic;
    void Build() override;
    void Drag(int block = 0) override;
    void SetSlit(bool single) override;
    float ReflectionAngle() const override { return MirrorAngle; }
};

class TMirrorObjectsModel : public TCommonTopic {
public:
    using TCommonTopic::TCommonTopic;
    void Build() override;
    void Update(float) override {} // nothing moves but what the pupil drags
};

void RegisterPlaneMirrorModels();

} // namespace quarvel
