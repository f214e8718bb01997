#include "models/heat/area.h"

#include "models/heat/bunsenfrm.h"
#include "models/heat/heatmodels.h"
#include "models/heat/sndplayfrm.h"
#include "models/heat/sndwavefrm.h"
#include "models/heat/ktfrm.h"
#include "models/heat/tempscalefrm.h"
#include "models/heat/thermometerfrm.h"

namespace quarvel {

void RegisterHeatTopics() {
    RegisterSoundWavePanel();
    RegisterSoundPlayPanel();
    RegisterThermometerPanel();
    RegisterTempScalePanel();
    RegisterKineticPanels();
    RegisterBunsenPanels();
    RegisterHeatModels();
}

} // namespace quarvel
