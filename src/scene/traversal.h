#pragma once
// Walks a scene into a flat list of what is drawn where, with proxies
// expanded: the renderer draws the list and picking casts rays against it.

#include "scene/sceneobject.h"

#include <vector>

namespace quarvel {

class TMaterial;
class TMaterialLibrary;

struct TDrawItem {
    TSceneObject* Object;     // whose geometry is drawn
    QMatrix4x4 Matrix;        // object to world
    TSceneObject* PickTarget; // what a hit reports: the object, or the proxy showing it
    const TMaterial* Material;
};

// The material an object is drawn with: the library's material of its
// MaterialName (the default when the library lacks it), else its own.
const TMaterial& ResolveMaterial(const TSceneObject& object, const TMaterialLibrary* library);

// Appends every visible renderable object under `root` (root included).
void CollectDrawItems(TSceneObject* root, const TMaterialLibrary* library, std::vector<TDrawItem>& out);

} // namespace quarvel
