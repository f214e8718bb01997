#include "models/forces/area.h"

#include "models/forces/frictionfrm.h"
#include "models/forces/momentsfrm.h"
#include "models/forces/springfrm.h"
#include "models/forces/trolleymodel.h"

namespace quarvel {

void RegisterForcesTopics() {
    RegisterMomentsPanel();
    RegisterFrictionPanel();
    RegisterSpringPanel();
    RegisterTrolleyModel();
}

} // namespace quarvel
