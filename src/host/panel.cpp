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

namespace {
QHash<QString, TPageStep>& PageSteps() {
    static QHash<QString, TPageStep> steps;
    return steps;
}
} // namespace

void RegisterPageStep(const QString& name, TPageStep step) { PageSteps().insert(name, std::move(step)); }

void ForEachPageStep(const std::function<void(const QString&, const TPageStep&)>& visit) {
    for (auto it = PageSteps().cbegin(); it != PageSteps().cend(); ++it)
        visit(it.key(), it.value());
}

const TPanelInfo* PanelInfo(std::int32_t id) {
    const auto it = Panels().constFind(id);
    return it == Panels().constEnd() ? nullptr : &it.value();
}

} // namespace quarvel
