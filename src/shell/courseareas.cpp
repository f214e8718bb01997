#include "shell/courseareas.h"

#include "models/electromagnetism/area.h"
#include "models/forces/area.h"
#include "models/heat/area.h"
#include "models/light/area.h"
#include "models/space/area.h"

namespace quarvel {

void RegisterCourseAreas() {
    RegisterSpaceTopics();
    RegisterElectromagnetismTopics();
    RegisterLightTopics();
    RegisterForcesTopics();
    RegisterHeatTopics();
}

} // namespace quarvel
