#include "models/electromagnetism/area.h"

#include "models/electromagnetism/bell.h"
#include "models/electromagnetism/lhrule.h"
#include "models/electromagnetism/motors.h"
#include "models/electromagnetism/permmagfrm.h"
#include "models/electromagnetism/relay.h"
#include "models/electromagnetism/speakers.h"

namespace quarvel {

void RegisterElectromagnetismTopics() {
    RegisterMagnetsPanel();
    RegisterMotorModel();
    RegisterBellModel();
    RegisterRelayModel();
    RegisterLeftHandModel();
    RegisterSpeakerModel();
}

} // namespace quarvel
