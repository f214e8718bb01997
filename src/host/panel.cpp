#include "host/panel.h"

#include <QHash>

namespace quarvel {

namespace {
QHash<std::int32_t, TPanelInfo>& Panels() {
    static QHash<std::int32_t, TPanelInfo> panels;
    return panels;
}
} // namespace

void RegisterPanel(std::int32_t id, TPanelInfo info) { Panels().insert(id, std::move(info)); }

const TPanelInfo* PanelInfo(std::int32_t id) {
    const auto it = Panels().constFind(id);
    return it == Panels().constEnd() ? nullptr : &it.value();
}

} // namespace quarvel
