// Topic selection and the panel host, without a main window: a small
// stand-in lends the panes and the docks.

#include "../testmain.h"
#include "host/globals.h"
#include "host/host.h"
#include "host/panel.h"
#include "host/topichost.h"
#include "widgets/dock.h"

#include <QAction>
#include <QComboBox>
#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QVBoxLayout>

using namespace quarvel;

namespace {
// The window around the host: three panes, two docks and a record of the
// window's own steps.
class TStandInPanes : public QWidget, public THostPanes {
public:
    TStandInPanes() {
        auto* layout = new QVBoxLayout(this);
        Top = new TDock(QStringLiteral("TopDock"), this);
        View = new QWidget(this);
        Movie = new QWidget(this);
        Container = new QWidget(this);
        Bottom = new TDock(QStringLiteral("BottomDock"), this);
        for (QWidget* w : {static_cast<QWidget*>(Top), View, Movie, Container, static_cast<QWidget*>(Bottom)})
            layout->addWidget(w);
        resize(800, 600);
    }
    TDock *Top, *Bottom;
    QWidget *View, *Movie, *Container;
    bool AtBottom = false, Shown = true, Large = false;
    QStringList Steps;

    QWidget* ViewPane() override { return View; }
    QWidget* MoviePane() override { return Movie; }
    QWidget* PanelContainer() override { return Container; }
    TDock* ToolbarDock() override { return AtBottom ? Bottom : Top; }
    QList<TDock*> Docks() override { return {Top, Bottom}; }
    bool PanelToolbarShown() override { return Shown; }
    bool LargeButtons() override { return Large; }
    void BeforeTopic(std::int32_t id) override { Steps << QStringLiteral("before %1").arg(id); }
    void ToolbarsForTopic(std::int32_t id) override { Steps << QStringLiteral("toolbars %1").arg(id); }
};

// A panel with a toolbar, docked by the host or by its own set-up.
class TTestPanel : public TPanel {
public:
    explicit TTestPanel(QWidget* owner) : TPanel(owner) {
        Bar = new TDockToolbar(QStringLiteral("Toolbar"), QStringLiteral("Test"), this);
        Bar->addAction(QStringLiteral("Go"));
    }
    TDockToolbar* Toolbar() const override { return Bar; }
    void SetLargeButtons(bool large) override { LargeCalls << large; }
    bool RunOperation(const QString& name, const QVariantList&) override {
        Operations << name;
        return name == QLatin1String("Mine");
    }
    TDockToolbar* Bar;
    QList<bool> LargeCalls;
    QStringList Operations;
};
} // namespace

class TestTopicHost : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void selectionShowsTheTopicsPane_data();
    void selectionShowsTheTopicsPane();
    void selectionWhileBusyIsIgnored();
    void panelIsHostedAndReleased();
    void panelThatDocksItsOwnToolbar();
    void idWithoutPanelLeavesTheContainerEmpty();

private:
    TFrameState m_state;
    std::unique_ptr<TStandInPanes> m_panes;
    THost* m_host = nullptr;
    TTopicHost* m_topics = nullptr;
};

void TestTopicHost::init() {
    m_state = TFrameState();
    m_state.Busy = false;
    AbortLoops = false;
    m_panes = std::make_unique<TStandInPanes>();
    THostControls c;
    c.ViewParent = m_panes->View;
    c.Bar = new QScrollBar(Qt::Horizontal, m_panes->View);
    auto action = [this] { return new QAction(m_panes.get()); };
    c.Start = action();
    c.Stop = action();
    c.Reset = action();
    c.Scale = action();
    c.Switch = action();
    c.Current = action();
    c.Field = action();
    c.Markers = action();
    c.Slit1 = action();
    c.Slit3 = action();
    c.RectBlock = action();
    c.DBlock = action();
    c.Prism = action();
    c.Metal = new QComboBox(m_panes.get());
    c.ScreenWidth = [] { return 1152; };
    m_host = new THost(m_state, c, m_panes.get());
    m_topics = new TTopicHost(m_state, *m_host, *m_panes, m_panes.get());
    m_panes->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_panes.get()));

    TPanelInfo docked;
    docked.Create = [](QWidget* owner) { return new TTestPanel(owner); };
    RegisterPanel(2090, docked);
    TPanelInfo selfDocked;
    selfDocked.Create = [](QWidget* owner) { return new TTestPanel(owner); };
    selfDocked.DockedToolbar = false;
    selfDocked.ExtraSetup = [](TPanel* p) { p->DockToolbar(static_cast<TTestPanel*>(p)->Bar); };
    RegisterPanel(2091, selfDocked);
}

void TestTopicHost::cleanup() {
    delete m_topics;
    delete m_host;
    m_panes.reset();
}

void TestTopicHost::selectionShowsTheTopicsPane_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("view");
    QTest::addColumn<bool>("movie");
    QTest::addColumn<bool>("panels");
    QTest::newRow("3D model") << 5 << true << false << false;
    QTest::newRow("movie") << 1004 << false << true << false;
    QTest::newRow("panel") << 2090 << false << false << true;
}

void TestTopicHost::selectionShowsTheTopicsPane() {
    QFETCH(int, id);
    QFETCH(bool, view);
    QFETCH(bool, movie);
    QFETCH(bool, panels);
    QSignalSpy selected(m_topics, &TTopicHost::TopicSelected);
    m_state.AnimPosition = 12;
    m_topics->SelectTopic(id);
    QCOMPARE(m_state.CurrentTopicId, id);
    QCOMPARE(m_state.AnimPosition, 0.0f);
    QVERIFY(AbortLoops);
    QCOMPARE(m_panes->View->isVisible(), view);
    QCOMPARE(m_panes->Movie->isVisible(), movie);
    QCOMPARE(m_panes->Container->isVisible(), panels);
    QCOMPARE(m_panes->Steps, QStringList({QStringLiteral("before %1").arg(id), QStringLiteral("toolbars %1").arg(id)}));
    QCOMPARE(selected.size(), 1);
    QCOMPARE(m_topics->HostedPanel() != nullptr, panels);
    QVERIFY(!m_state.Busy);
    // The same topic again: the window's first step only; nothing is rebuilt.
    m_topics->SelectTopic(id);
    QCOMPARE(m_panes->Steps.size(), 3);
    QCOMPARE(selected.size(), 1);
}

void TestTopicHost::selectionWhileBusyIsIgnored() {
    m_state.Busy = true;
    m_topics->SelectTopic(5);
    QCOMPARE(m_state.CurrentTopicId, 0);
    QVERIFY(m_panes->Steps.isEmpty());
}

void TestTopicHost::panelIsHostedAndReleased() {
    m_panes->Large = true;
    m_topics->SelectTopic(2090);
    QPointer<TTestPanel> panel = static_cast<TTestPanel*>(m_topics->HostedPanel());
    QVERIFY(panel);
    QCOMPARE(panel->parentWidget(), m_panes->Container);
    QCOMPARE(panel->geometry(), m_panes->Container->rect());
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->LargeCalls, QList<bool>({true}));
    QPointer<TDockToolbar> bar = panel->Bar;
    QCOMPARE(m_topics->PanelToolbar(), bar.data());
    QCOMPARE(bar->Dock(), m_panes->Top);
    QCOMPARE(bar->DockPos(), 0);
    // Toolbars at bottom, the right pane maximised and back, large buttons off.
    m_panes->AtBottom = true;
    m_topics->FollowToolbarDock();
    QCOMPARE(bar->Dock(), m_panes->Bottom);
    m_topics->ShowPanelToolbar(false);
    QVERIFY(!bar->isVisible());
    m_topics->ShowPanelToolbar(true);
    QVERIFY(bar->isVisible());
    m_topics->SetPanelLargeButtons(false);
    QCOMPARE(panel->LargeCalls, QList<bool>({true, false}));
    // Page-command steps nobody else took go to the panel.
    QVERIFY(m_topics->RunPanelOperation("Mine", {}));
    QVERIFY(!m_topics->RunPanelOperation("Other", {}));
    QCOMPARE(panel->Operations, QStringList({"Mine", "Other"}));
    // Any other topic releases the panel and its toolbar.
    m_topics->SelectTopic(5);
    QVERIFY(!m_topics->HostedPanel());
    QVERIFY(!m_topics->RunPanelOperation("Mine", {}));
    QTRY_VERIFY(panel.isNull());
    QTRY_VERIFY(bar.isNull());
    QVERIFY(m_panes->Bottom->Toolbars().isEmpty());
}

void TestTopicHost::panelThatDocksItsOwnToolbar() {
    m_panes->AtBottom = true;
    m_panes->Shown = false;
    m_topics->SelectTopic(2091);
    auto* panel = static_cast<TTestPanel*>(m_topics->HostedPanel());
    QVERIFY(panel);
    QPointer<TDockToolbar> bar = panel->Bar;
    QCOMPARE(m_topics->PanelToolbar(), bar.data());
    QCOMPARE(bar->Dock(), m_panes->Bottom);
    QVERIFY(!bar->isVisible()); // the right pane fills the window
    m_topics->ShowPanelToolbar(true);
    QVERIFY(bar->isVisible());
    m_panes->AtBottom = false;
    m_topics->FollowToolbarDock();
    QCOMPARE(bar->Dock(), m_panes->Top);
    m_topics->SelectTopic(1004);
    QTRY_VERIFY(bar.isNull());
    QVERIFY(m_panes->Top->Toolbars().isEmpty());
}

void TestTopicHost::idWithoutPanelLeavesTheContainerEmpty() {
    m_topics->SelectTopic(2999);
    QVERIFY(m_panes->Container->isVisible());
    QVERIFY(!m_topics->HostedPanel());
    QVERIFY(m_panes->Container->findChildren<QWidget*>().isEmpty());
}

QUARVEL_GUI_TEST_MAIN(TestTopicHost)
#include "tst_topichost.moc"
