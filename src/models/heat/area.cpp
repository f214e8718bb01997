#include "models/heat/area.h"

#include "models/heat/sndplayfrm.h"
#include "models/heat/sndwavefrm.h"

namespace quarvel {

void RegisterHeatTopics() {
    // The area's models and panels register here as they are built.
    RegisterSoundWavePanel();
    RegisterSoundPlayPanel();
}

} // namespace quarvel
