#include "models/heat/area.h"

#include "models/heat/ktfrm.h"
#include "models/heat/tempscalefrm.h"
#include "models/heat/thermometerfrm.h"

namespace quarvel {

void RegisterHeatTopics() {
    RegisterThermometerPanel();
    RegisterTempScalePanel();
    RegisterKineticPanels();
}

} // namespace quarvel
