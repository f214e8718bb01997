#include "models/space/area.h"

#include "models/space/satellites.h"
#include "models/space/solarsystem.h"
#include "models/space/sunearthmoon.h"

namespace quarvel {

void RegisterSpaceTopics() {
    RegisterSunEarthMoonModels();
    RegisterSolarSystemModel();
    RegisterSatelliteModels();
}

} // namespace quarvel
