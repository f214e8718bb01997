#include "host/globals.h"

namespace quarvel {
bool AbortLoops = false;
QString TexturesFolder;
QString MeshFolder;
bool MultisampleSupported = false;
} // namespace quarvel
