#include "models/electromagnetism/area.h"

#include "models/electromagnetism/permmagfrm.h"

namespace quarvel {

void RegisterElectromagnetismTopics() {
    RegisterMagnetsPanel();
}

} // namespace quarvel
