#pragma once
// Walks a scene into a flat list of what is drawn where, with proxies
// expanded: the renderer draws the list and picking casts rays against it.

#include "scene/sceneobject.h"

#include <vector>

namespace quarvel {

class TMaterial;
class TMaterialLibrary;

// One face group of one object at one place. An object with several face
// groups gives one item per group, one after the other, all with the same
// object, matrix and pick target.
struct TDrawItem {
    TSceneObject* Object;     // whose geometry is drawn
    QMatrix4x4 Matrix;        // object to world
    TSceneObject* PickTarget; // what a hit reports: the object, or the proxy showing it
    const TMaterial* Material;
    std::uint32_t FirstIndex = 0;          // the run of the mesh's indices drawn
    std::uint32_t IndexCount = kAllIndices; // (kAllIndices: to the end)

    static constexpr std::uint32_t kAllIndices = 0xFFFFFFFFu;
    // The run clamped to the mesh: [first, first + count).
    std::pair<std::uint32_t, std::uint32_t> Range(const TMesh& mesh) const;
    bool CoversWholeMesh(const TMesh& mesh) const;
};

// The material an object is drawn with: the library's material of its
// MaterialName (the default when the library lacks it), else its own.
const TMaterial& ResolveMaterial(const TSceneObject& object, const TMaterialLibrary* library);

// Appends every visible renderable object under `root` (root included),
// one item per face group.
void CollectDrawItems(TSceneObject* root, const TMaterialLibrary* library, std::vector<TDrawItem>& out);

} // namespace quarvel
