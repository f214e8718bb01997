#include "models/forces/area.h"

namespace quarvel {

void RegisterForcesTopics() {
    // The area's models and panels register here as they are built.
}

} // namespace quarvel
