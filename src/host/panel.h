#pragma once
// Experiment panels: widgets the main window hosts in its left pane for
// topic ids 2002..2028. A panel may have a toolbar the host docks beside
// the main window's own, follows "Use large buttons", and carries out the
// page commands of its topic.

#include <QVariantList>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

namespace quarvel {

class TDockToolbar;

class TPanel : public QWidget {
    Q_OBJECT
public:
    explicit TPanel(QWidget* parent = nullptr) : QWidget(parent) {}
    // The toolbar the host docks, or nullptr.
    virtual TDockToolbar* Toolbar() const { return nullptr; }
    virtual void SetLargeButtons(bool /*large*/) {}
    // A page command's step for this panel; false when it is not the panel's.
    virtual bool RunOperation(const QString& /*name*/, const QVariantList& /*args*/) { return false; }

    // For a panel whose own set-up docks its toolbar (the kinetic panels):
    // puts `bar` beside the window's toolbars, where the host keeps it with
    // the docks and the split buttons and releases it with the panel.
    void DockToolbar(TDockToolbar* bar) {
        if (ToolbarDocker)
            ToolbarDocker(bar);
    }
    // Set by the host that shows the panel.
    std::function<void(TDockToolbar*)> ToolbarDocker;
};

// How the host makes and sets up the panel of a topic.
struct TPanelInfo {
    std::function<TPanel*(QWidget* owner)> Create;
    bool DockedToolbar = true;                // false: none, or the panel docks it itself
    bool LargeButtons = true;                 // false: no large-button call (the lens panel)
    std::function<void(TPanel*)> ExtraSetup;  // before the large-button call
};

void RegisterPanel(std::int32_t id, TPanelInfo info);
// The panel row of a topic, or nullptr (no panel: the container stays empty).
const TPanelInfo* PanelInfo(std::int32_t id);

// A page command's step that a course area carries out itself (a dialog of
// its own, say), given the main window to open it over. The host registers
// these with its own steps; a step of the host's keeps its name.
using TPageStep = std::function<void(QWidget* window, const QVariantList& args)>;
void RegisterPageStep(const QString& name, TPageStep step);
void ForEachPageStep(const std::function<void(const QString&, const TPageStep&)>& visit);

} // namespace quarvel
