#pragma once
// Topic selection and the experiment-panel host. A topic id chooses what the
// left pane shows: the 3D view with the topic's model (ids below 1000), a
// movie (1000..1999) or an experiment panel (2000 and up). Selecting a topic
// stops what ran, releases the panel, empties the scene and builds the new
// content; the window that shows the panes only lends them through
// THostPanes and sets up its own toolbars when asked.

#include "host/framestate.h"
#include "host/panel.h"
#include "widgets/dock.h"

#include <QObject>
#include <QPointer>
#include <QVariantList>
#include <cstdint>

class QWidget;

namespace quarvel {

class THost;

// What the host needs of the window around it. Vantrel's main window gives
// it; the host's tests give a small stand-in.
class THostPanes {
public:
    virtual ~THostPanes() = default;
    // The three panes of the left side, one shown at a time.
    virtual QWidget* ViewPane() = 0;
    virtual QWidget* MoviePane() = 0;
    virtual QWidget* PanelContainer() = 0;
    // The dock the toolbars sit in ("Toolbars at top" or "at bottom"), and both.
    virtual TDock* ToolbarDock() = 0;
    virtual QList<TDock*> Docks() = 0;
    // False while the right pane fills the window: panel toolbars hide then.
    virtual bool PanelToolbarShown() = 0;
    virtual bool LargeButtons() = 0;
    // The window's own steps of a selection: before anything else, and, when
    // the topic changed, its toolbars and menus for `id` before the content
    // is built.
    virtual void BeforeTopic(std::int32_t id) = 0;
    virtual void ToolbarsForTopic(std::int32_t id) = 0;
};

class TTopicHost : public QObject {
    Q_OBJECT
public:
    TTopicHost(TFrameState& state, THost& host, THostPanes& panes, QObject* parent = nullptr);

    // Selects topic `id` (ignored while Busy).
    void SelectTopic(std::int32_t id);
    void ShowPaneForTopic(std::int32_t id);

    // --- the panel host ---
    // The panel on show, or nullptr.
    TPanel* HostedPanel() const { return m_panel; }
    // The hosted panel's docked toolbar, or nullptr.
    TDockToolbar* PanelToolbar() const { return m_panelToolbar; }
    // "Toolbars at top/bottom": the panel's toolbar follows the window's.
    void FollowToolbarDock();
    // The pane split buttons show or hide the panel's toolbar.
    void ShowPanelToolbar(bool shown);
    // "Use large buttons" reaches the hosted panel.
    void SetPanelLargeButtons(bool large);
    // A page-command step nobody else carries out; false when no panel takes it.
    bool RunPanelOperation(const QString& name, const QVariantList& args);
    // The container was resized: the panel fills it.
    void ContainerResized();

signals:
    // A topic was selected and its content built.
    void TopicSelected(std::int32_t id);

private:
    void CreatePanel(std::int32_t id);
    void DockPanelToolbar(TDockToolbar* bar);
    void ReleasePanel();

    TFrameState& S;
    THost& m_host;
    THostPanes& m_panes;
    QPointer<TPanel> m_panel;
    QPointer<TDockToolbar> m_panelToolbar;
};

} // namespace quarvel
