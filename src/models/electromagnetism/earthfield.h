#pragma once
// The Earth's field (topic 17, EARTHFIELD page): a textured globe with its
// axis, and the field lines of a magnet inside it in eight meridian planes,
// with small arrowheads. Nothing moves.
//
// The magnet is a unit positive pole at (0, 0.8) and a unit negative pole at
// (0, -0.8); x is the distance from the axis, y the height. Single precision.

#include "host/model.h"

#include <QVector3D>
#include <vector>

namespace quarvel {

class TMaterialLibrary;
class TSceneObject;

struct TEarthField {
    float Bx = 0, By = 0, Magnitude = 0;
};
TEarthField EarthFieldAt(float x, float y);

struct TEarthLine {
    std::vector<QVector3D> Nodes;
    float XMax = 0;
};
// A line from (x0, y0) along the field with step h, at most n steps; it ends
// where x falls below x0 again.
TEarthLine TraceEarthLine(float x0, float y0, float h, int n);

void BuildEarthField(TSceneObject* sceneBase, const TMaterialLibrary* lib);

class TEarthFieldModel : public TCommonTopic {
public:
    using TCommonTopic::TCommonTopic;
    void Build() override;
    void Update(float) override {}
};

void RegisterEarthFieldModel();

} // namespace quarvel
