#pragma once
// Values the whole of Vantrel shares for the life of the process.

#include <QString>

namespace quarvel {

// Set by Stop, by closing the window and by topic changes; long step loops
// and turn animations end when they see it.
extern bool AbortLoops;

// Content folders the models read their textures and meshes from, each
// ending in "/"; set once when the main window is created.
extern QString TexturesFolder;
extern QString MeshFolder;

// Whether the OpenGL driver offers multisampling; the viewer reports it once
// its context exists.
extern bool MultisampleSupported;

} // namespace quarvel
