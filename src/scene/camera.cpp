#include "scene/camera.h"

#include <QQuaternion>
#include <cmath>

namespace quarvel {

QVector3D TCamera::TargetPosition() const {
    return TargetObject ? TargetObject->AbsolutePosition() : AbsolutePosition() + AbsoluteDirection();
}

float TCamera::DistanceToTarget() const { return (AbsolutePosition() - TargetPosition()).length(); }

void TCamera::AdjustDistanceToTarget(float factor) {
    const QVector3D t = TargetPosition();
    SetAbsolutePosition(t + (AbsolutePosition() - t) * factor);
}

void TCamera::MoveAroundTarget(float pitchDegrees, float turnDegrees) {
    const QVector3D t = TargetPosition();
    QVector3D v = AbsolutePosition() - t;
    QVector3D up = AbsoluteUp();
    QVector3D right = QVector3D::crossProduct(up, v);
    if (right.lengthSquared() < 1e-12f)
        right = QVector3D::crossProduct(QVector3D(0, 0, 1), v);
    const QQuaternion pitch = QQuaternion::fromAxisAndAngle(right.normalized(), pitchDegrees);
    v = pitch.rotatedVector(v);
    up = pitch.rotatedVector(up);
    const QQuaternion turn = QQuaternion::fromAxisAndAngle(up.normalized(), turnDegrees);
    v = turn.rotatedVector(v);
    SetAbsolutePosition(t + v);
    // Keep the camera's own axes pointing at the target.
    const QMatrix4x4 toParent = Parent() ? Parent()->AbsoluteMatrix().inverted() : QMatrix4x4();
    SetUp(toParent.mapVector(up));
    SetDirection(toParent.mapVector(-v));
}

QMatrix4x4 TCamera::ViewMatrix() const {
    const QVector3D eye = AbsolutePosition(), centre = TargetPosition();
    QVector3D up = AbsoluteUp();
    const QVector3D forward = (centre - eye).normalized();
    if (QVector3D::crossProduct(forward, up).lengthSquared() < 1e-10f)
        up = std::abs(forward.y()) < 0.9f ? QVector3D(0, 1, 0) : QVector3D(0, 0, -1);
    QMatrix4x4 m;
    m.lookAt(eye, centre, up);
    return m;
}

QMatrix4x4 TCamera::ProjectionMatrix(QSize viewport, float fieldOfView) const {
    const float w = float(std::max(1, viewport.width())), h = float(std::max(1, viewport.height()));
    const float aspect = w / h;
    float vertical = fieldOfView;
    if (w < h) // the field of view spans the narrower side
        vertical = 2 * std::atan(std::tan(fieldOfView * 3.14159265f / 360) / aspect) * 180 / 3.14159265f;
    QMatrix4x4 m;
    m.perspective(vertical, aspect, NearPlane, DistanceToTarget() + DepthOfView);
    return m;
}

bool TLight::MovesWithCamera() const {
    for (TSceneObject* p = Parent(); p; p = p->Parent())
        if (dynamic_cast<TCamera*>(p))
            return true;
    return false;
}

} // namespace quarvel
