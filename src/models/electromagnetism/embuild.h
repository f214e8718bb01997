#pragma once
// Scene-building shorthands shared by the circuit models.

#include "scene/primitives.h"
#include "scene/solids.h"

namespace quarvel::embuild {

template <class T> T* Add(TSceneObject* parent, const QVector3D& at, const QString& material = {}) {
    T* o = parent->AddNew<T>();
    o->SetPosition(at);
    o->MaterialName = material;
    return o;
}

inline TProxy* AddProxy(TSceneObject* parent, TSceneObject* master, const QVector3D& at, bool objectsOnly) {
    auto* p = Add<TProxy>(parent, at);
    p->Master = master;
    p->ObjectsOnly = objectsOnly;
    return p;
}

inline TPipe* AddTube(TSceneObject* parent, const QVector3D& at, std::vector<QVector3D> nodes,
                      const QString& material, float radius = 0.02f) {
    auto* t = Add<TPipe>(parent, at, material);
    t->SetRadius(radius);
    t->SetSlices(8);
    t->SetNodes(std::move(nodes));
    return t;
}

// A red, anti-aliased line through the nodes.
inline TLines* AddPolyline(TSceneObject* parent, const QVector3D& at, std::vector<QVector3D> nodes, float width = 1) {
    auto* l = Add<TLines>(parent, at);
    l->LineColor = QColor::fromRgbF(1, 0, 0, 1);
    l->Antialiased = true;
    l->LineWidth = width;
    l->SetNodes(std::move(nodes));
    return l;
}

// An arrow along local +z with the course's proportions.
inline TArrowLine* AddArrow(TSceneObject* parent, const QVector3D& at, float length, const QString& material) {
    auto* a = Add<TArrowLine>(parent, at, material);
    a->SetSlices(8);
    a->SetRadii(0.01f, 0.04f);
    a->SetHeadLength(0.08f);
    a->SetLength(length);
    return a;
}

} // namespace quarvel::embuild
