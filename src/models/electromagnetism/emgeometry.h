#pragma once
// Small helpers for the circuit models' hand-made geometry: flat quads and
// triangles with one normal each, convex prisms and ribbons along a path.

#include "scene/sceneobject.h"

#include <QVector2D>
#include <vector>

namespace quarvel::emgeom {

constexpr float Pi = 3.14159265358979f;
inline float Rad(float degrees) { return degrees * Pi / 180.f; }

// A flat quad a-b-c-d (counter-clockwise seen from where `n` points).
void Quad(TMesh& mesh, const QVector3D& a, const QVector3D& b, const QVector3D& c, const QVector3D& d,
          const QVector3D& n, const QVector2D& ta = {}, const QVector2D& tb = {}, const QVector2D& tc = {},
          const QVector2D& td = {});
// A quad whose normal comes from its corners.
void FlatQuad(TMesh& mesh, const QVector3D& a, const QVector3D& b, const QVector3D& c, const QVector3D& d);
void FlatTriangle(TMesh& mesh, const QVector3D& a, const QVector3D& b, const QVector3D& c);
// A convex polygon (counter-clockwise in x-y) pushed from z0 to z1: both
// end faces and the side walls with flat normals.
void ConvexPrism(TMesh& mesh, const std::vector<QVector2D>& polygon, float z0, float z1);
// A flat strip along a centre line in the x-y plane: `thickness` across the
// line in that plane, `width` along z, with both ends closed.
void Ribbon(TMesh& mesh, const std::vector<QVector2D>& line, float thickness, float width);

} // namespace quarvel::emgeom
