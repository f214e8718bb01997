#include "models/light/area.h"

#include "models/light/camera.h"
#include "models/light/colmix.h"
#include "models/light/eye.h"
#include "models/light/lensexpt.h"
#include "models/light/planemirror.h"
#include "models/light/refraction.h"
#include "models/light/symdraw.h"

namespace quarvel {

void RegisterLightTopics() {
    RegisterLensPanel();
    RegisterEyePanel();
    RegisterColMixPanels();
    RegisterCameraPanel();
    RegisterSymDrawPanel();
    RegisterPlaneMirrorModels();
    RegisterRefractionModel();
}

} // namespace quarvel
