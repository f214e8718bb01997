#include "host/topichost.h"

#include "host/globals.h"
#include "host/host.h"
#include "host/panel.h"
#include "widgets/dock.h"

#include <QAction>
#include <QWidget>

namespace quarvel {

TTopicHost::TTopicHost(TFrameState& state, THost& host, THostPanes& panes, QObject* parent)
    : QObject(parent), S(state), m_host(host), m_panes(panes) {}

void TTopicHost::ShowPaneForTopic(std::int32_t id) {
    m_panes.ViewPane()->setVisible(id < 1000);
    m_panes.PanelContainer()->setVisible(id >= 2000);
    m_panes.MoviePane()->setVisible(id >= 1000 && id < 2000);
}

void TTopicHost::SelectTopic(std::int32_t id) {
    if (S.Busy)
        return;
    S.Busy = true;
    m_panes.BeforeTopic(id);
    if (id != S.CurrentTopicId) {
        S.AnimPosition = 0;
        AbortLoops = true;
        S.CurrentTopicId = id;
        ShowPaneForTopic(id);
        if (m_host.C.Start)
            m_host.C.Start->setEnabled(true);
        if (m_host.C.Stop)
            m_host.C.Stop->setEnabled(false);
        ReleasePanel();
        m_panes.ToolbarsForTopic(id);
        if (id < 1000) {
            m_host.BuildTopic(id);
        } else {
            m_host.TearDown();
            if (id >= 2000)
                CreatePanel(id);
        }
        emit TopicSelected(id);
    }
    S.Busy = false;
}

void TTopicHost::ReleasePanel() {
    // Freed once the events it is handling are done; its toolbar goes with it.
    if (m_panelToolbar)
        m_panelToolbar->deleteLater();
    for (QWidget* w : m_panes.PanelContainer()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (qobject_cast<TPanel*>(w))
            w->deleteLater();
    m_panel = nullptr;
    m_panelToolbar = nullptr;
}

void TTopicHost::CreatePanel(std::int32_t id) {
    const TPanelInfo* info = PanelInfo(id);
    if (!info)
        return; // an id without a panel leaves the container empty
    QWidget* container = m_panes.PanelContainer();
    TPanel* panel = info->Create(container->window());
    panel->hide();
    panel->setParent(container, Qt::Widget);
    panel->setGeometry(container->rect());
    panel->setFont(container->font());
    m_panel = panel;
    panel->ToolbarDocker = [this](TDockToolbar* bar) { DockPanelToolbar(bar); };
    if (info->DockedToolbar)
        if (TDockToolbar* bar = panel->Toolbar())
            DockPanelToolbar(bar);
    if (info->ExtraSetup)
        info->ExtraSetup(panel);
    if (info->LargeButtons)
        panel->SetLargeButtons(m_panes.LargeButtons());
    panel->show();
}

void TTopicHost::DockPanelToolbar(TDockToolbar* bar) {
    if (!bar || !m_panel)
        return;
    bar->setUpdatesEnabled(false);
    m_panes.ToolbarDock()->Insert(bar, 1, 0);
    bar->SetDropDocks(m_panes.Docks());
    bar->setVisible(m_panes.PanelToolbarShown());
    bar->setUpdatesEnabled(true);
    m_panelToolbar = bar;
}

void TTopicHost::FollowToolbarDock() {
    if (!m_panelToolbar)
        return;
    if (m_panelToolbar->IsFloating())
        m_panelToolbar->SetDropDocks(m_panes.Docks()); // it goes back to the dock chosen now
    else
        m_panes.ToolbarDock()->Insert(m_panelToolbar, m_panelToolbar->DockRow(), m_panelToolbar->DockPos());
}

void TTopicHost::ShowPanelToolbar(bool shown) {
    if (m_panelToolbar)
        m_panelToolbar->setVisible(shown);
}

void TTopicHost::SetPanelLargeButtons(bool large) {
    if (S.CurrentTopicId < 2000 || !m_panel)
        return;
    const TPanelInfo* info = PanelInfo(S.CurrentTopicId);
    if (!info || info->LargeButtons)
        m_panel->SetLargeButtons(large);
}

bool TTopicHost::RunPanelOperation(const QString& name, const QVariantList& args) {
    return m_panel && m_panel->RunOperation(name, args);
}

void TTopicHost::ContainerResized() {
    if (m_panel)
        m_panel->setGeometry(m_panes.PanelContainer()->rect());
}

} // namespace quarvel
