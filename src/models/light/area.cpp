#include "models/light/area.h"

namespace quarvel {

void RegisterLightTopics() {
    // The area's models and panels register here as they are built.
}

} // namespace quarvel
