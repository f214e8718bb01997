#pragma once
// The camera and the lights.

#include "scene/sceneobject.h"

#include <QSize>

namespace quarvel {

class TCamera : public TSceneObject {
public:
    TSceneObject* TargetObject = nullptr; // aimed at; without one it looks along its direction
    float FocalLength = 100;
    float DepthOfView = 1000; // how far it sees beyond its target
    float NearPlane = 0.05f;

    QVector3D TargetPosition() const;
    float DistanceToTarget() const;
    // Multiplies the distance to the target, keeping the direction.
    void AdjustDistanceToTarget(float factor);
    // Orbits round the target: pitch about the camera's right axis, then
    // turn about its up axis (degrees).
    void MoveAroundTarget(float pitchDegrees, float turnDegrees);

    QMatrix4x4 ViewMatrix() const;
    // Perspective with `fieldOfView` degrees across the smaller side of the viewport.
    QMatrix4x4 ProjectionMatrix(QSize viewport, float fieldOfView) const;
};

// A light. A directional light shines from its SpotDirection (a vector
// pointing from the scene towards the light); an omni light from its
// position. Lights that are children of the camera move with it: their
// vectors are in the camera's view (x right, y up, z towards the viewer).
class TLight : public TSceneObject {
public:
    bool On = true;
    bool Directional = true;
    QVector4D Ambient{0, 0, 0, 1};
    QVector4D Diffuse{1, 1, 1, 1};
    QVector4D Specular{1, 1, 1, 1};
    QVector3D SpotDirection{0, 0, 1};
    float ConstantAttenuation = 1;
    bool MovesWithCamera() const;
};

} // namespace quarvel
