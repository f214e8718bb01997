#include "models/forces/area.h"

#include "host/panel.h"
#include "models/forces/frictionfrm.h"
#include "models/forces/momentsfrm.h"
#include "models/forces/rfqfrm.h"
#include "models/forces/springfrm.h"
#include "models/forces/trolleymodel.h"

namespace quarvel {

void RegisterForcesTopics() {
    RegisterMomentsPanel();
    RegisterFrictionPanel();
    RegisterSpringPanel();
    RegisterTrolleyModel();
    // FORCEEFFECTS's "+test" opens the resultant-force questions.
    RegisterPageStep(QStringLiteral("ResultantForceTest"), [](QWidget* window, const QVariantList&) {
        ShowResultantForceTest(window);
    });
}

} // namespace quarvel
