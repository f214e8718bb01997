#include "models/heat/area.h"

#include "models/heat/ktfrm.h"

namespace quarvel {

void RegisterHeatTopics() {
    RegisterKineticPanels();
}

} // namespace quarvel
