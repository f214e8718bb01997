#pragma once
// The moving-coil loudspeaker (topic 12): cone and coil move in and out
// with the animation position; the pot magnet has a quarter cut away.

#include "host/model.h"
#include "scene/sceneobject.h"

namespace quarvel {

class TMaterialLibrary;

// A pot magnet round z with a quarter cut away; white lines (a child)
// trace the missing quarter's rim.
class TSpeakerMagnet : public TCustomSceneObject {
public:
    TSpeakerMagnet();
    float OuterRadius = 0.4f, InnerRadius = 0.25f, PoleRadius = 0.17f, PotHeight = 0.4f;
    int Segments = 20;
    float SweepAngle = 270;
    // The steps drawn of the Segments round the circle.
    int DrawnSteps() const;

protected:
    void BuildGeometry(TMesh& mesh) override;
};

// The cone's depth scale for a position: 1 + 0.1 sin(position degrees).
float SpeakerScale(float position);

void BuildSpeaker(TSceneObject* sceneBase, TMaterialLibrary& matLib);
void UpdateSpeaker(TSceneObject* sceneBase, float position);

class TSpeakerModel : public TCommonTopic {
public:
    using TCommonTopic::TCommonTopic;
    void Build() override;
    void Update(float position) override;
};

void RegisterSpeakerModel();

} // namespace quarvel
