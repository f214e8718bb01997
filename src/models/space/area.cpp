#include "models/space/area.h"

#include "models/space/solarsystem.h"

namespace quarvel {

void RegisterSpaceTopics() {
    RegisterSolarSystemModel();
}

} // namespace quarvel
