#include "scene/traversal.h"

#include "scene/material.h"

#include <algorithm>

namespace quarvel {

const TMaterial& ResolveMaterial(const TSceneObject& object, const TMaterialLibrary* library) {
    if (!object.MaterialName.isEmpty()) {
        const TMaterial* m = library ? library->Find(object.MaterialName) : nullptr;
        return m ? *m : TMaterialLibrary::Default();
    }
    return object.OwnMaterial ? *object.OwnMaterial : TMaterialLibrary::Default();
}

std::pair<std::uint32_t, std::uint32_t> TDrawItem::Range(const TMesh& mesh) const {
    const auto total = std::uint32_t(mesh.Indices.size());
    const std::uint32_t first = std::min(FirstIndex, total);
    return {first, std::min(IndexCount, total - first)};
}

bool TDrawItem::CoversWholeMesh(const TMesh& mesh) const {
    const auto [first, count] = Range(mesh);
    return first == 0 && count == mesh.Indices.size();
}

namespace {
constexpr int kMaxProxyDepth = 16; // a proxy of a proxy of ...; never a loop

void Visit(TSceneObject* obj, const QMatrix4x4& parent, TSceneObject* pickTarget, const TMaterial* forced,
           const TMaterialLibrary* lib, std::vector<TDrawItem>& out, int depth, bool applyLocal = true,
           bool asMaster = false) {
    // A master drawn through a proxy shows even when hidden itself.
    if (!obj->Visible && !asMaster)
        return;
    const QMatrix4x4 m = applyLocal ? parent * obj->LocalMatrix() : parent;
    TSceneObject* target = pickTarget ? pickTarget : obj;
    if (obj->IsRenderable()) {
        const TMaterial* base = forced ? forced : &ResolveMaterial(*obj, lib);
        const TMesh& mesh = obj->Geometry();
        if (mesh.Groups.empty()) {
            out.push_back({obj, m, target, base});
        } else {
            for (std::size_t g = 0; g < mesh.GroupCount(); ++g) {
                const auto [first, count] = mesh.GroupRange(g);
                if (count > 0)
                    out.push_back({obj, m, target, &obj->ResolveFaceMaterial(mesh.GroupMaterial(g), *base), first, count});
            }
        }
    }
    if (TSceneObject* master = obj->ProxyMaster(); master && depth < kMaxProxyDepth) {
        const TMaterial* material = obj->ProxyUsesMasterMaterial() ? forced : &ResolveMaterial(*obj, lib);
        Visit(master, m, target, material, lib, out, depth + 1, obj->ProxyAppliesMasterPlacement(), true);
    }
    for (int i = 0; i < obj->Count(); ++i)
        Visit(obj->Child(i), m, pickTarget, forced, lib, out, depth);
}
} // namespace

void CollectDrawItems(TSceneObject* root, const TMaterialLibrary* library, std::vector<TDrawItem>& out) {
    const QMatrix4x4 base = root->Parent() ? root->Parent()->AbsoluteMatrix() : QMatrix4x4();
    Visit(root, base, nullptr, nullptr, library, out, 0);
}

} // namespace quarvel
