#include "models/electromagnetism/area.h"

#include "models/electromagnetism/bell.h"
#include "models/electromagnetism/lhrule.h"
#include "models/electromagnetism/motors.h"
#include "models/electromagnetism/permmagfrm.h"
#include "models/electromagnetism/relay.h"
#include "models/electromagnetism/speakers.h"
#include "models/electromagnetism/domains.h"
#include "models/electromagnetism/earthfield.h"
#include "models/electromagnetism/emagnetfrm.h"
#include "models/electromagnetism/solenoidfrm.h"
#include "models/electromagnetism/stwire.h"

namespace quarvel {

void RegisterElectromagnetismTopics() {
    RegisterMagnetsPanel();
    RegisterMotorModel();
    RegisterBellModel();
    RegisterRelayModel();
    RegisterLeftHandModel();
    RegisterSpeakerModel();
    RegisterSolenoidPanel();
    RegisterEMagnetPanel();
    RegisterStraightWireModel();
    RegisterDomainsModel();
    RegisterEarthFieldModel();
}

} // namespace quarvel
