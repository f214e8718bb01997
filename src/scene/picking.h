#pragma once
// What lies under the pointer, and where screen points land in the scene:
// rays are cast on the CPU against the generated triangles, so picking needs
// no drawing and can be tested without a display.

#include "scene/traversal.h"

#include <QPointF>
#include <QSize>
#include <optional>

namespace quarvel {

class TCamera;

struct TRay {
    QVector3D Origin;
    QVector3D Direction; // normalised
};

// The view a camera gives in a viewport of `size` pixels.
struct TViewport {
    const TCamera* Camera = nullptr;
    QSize Size;
    float FieldOfView = 76.26f;

    // The ray from the eye through a pixel (x right, y down from the top-left).
    TRay ScreenRay(QPointF pixel) const;
    // Where a scene point appears (from the top-left); empty when behind the eye.
    std::optional<QPointF> Project(const QVector3D& world) const;
};

// The point where `ray` meets the horizontal plane y = planeY, if ahead of it.
std::optional<QVector3D> IntersectHorizontalPlane(const TRay& ray, float planeY);

// Distance along the ray to the nearest triangle of `item` (its run of
// the mesh), if hit. Tests every triangle: the plain answer picking keeps to.
std::optional<float> RayHitsItem(const TRay& ray, const TDrawItem& item);

struct TPickResult {
    TSceneObject* Object = nullptr; // the object hit (a proxy when hit through one)
    float Distance = 0;
    QVector3D Point;
    // What it took: objects whose bounding volume a ray of the square
    // passed, and how many of them had their triangles tested.
    int Candidates = 0;
    int Examined = 0;
};

// No more objects than this have their triangles tested by one pick.
constexpr int kMaxPickCandidates = 64;

// The nearest object hit within a `square` x `square` pixel square round
// `pixel`, among the visible objects under `root`; transparent ones count.
// An object hit in any of its face groups is reported as itself. Bounding
// volumes come first: objects no ray passes near are never looked at, the
// rest are tested nearest first and no further once a nearer hit is known,
// at most kMaxPickCandidates of them.
TPickResult Pick(TSceneObject* root, const TMaterialLibrary* library, const TViewport& view, QPointF pixel,
                 int square = 3);

} // namespace quarvel
