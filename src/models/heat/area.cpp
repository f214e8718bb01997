#include "models/heat/area.h"

namespace quarvel {

void RegisterHeatTopics() {
    // The area's models and panels register here as they are built.
}

} // namespace quarvel
