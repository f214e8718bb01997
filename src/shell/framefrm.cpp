// The main window: its construction, layout, start picture, events and
// the host it creates.

#include "shell/framefrm.h"

#include "widgets/datamod.h"
#include "questions/questions.h"
#include "shell/placement.h"
#include "browser/courseview.h"
#include "common/contentpath.h"
#include "common/inifile.h"
#include "host/globals.h"
#include "host/host.h"
#include "scene/viewer.h"
#include "widgets/cursors.h"
#include "widgets/dialogs.h"
#include "widgets/dock.h"
#include "widgets/lanczos.h"
#include "widgets/splashfrm.h"

#include <QSpinBox>
#include <QStatusBar>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QSplitterHandle>
#include <QStatusTipEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace quarvel {

namespace {
TFrameFrm* g_frame = nullptr;

// Fills its parent with each visible child, one above the other.
class TFillPane : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void resizeEvent(QResizeEvent* e) override {
        QWidget::resizeEvent(e);
        for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (!w->isWindow())
                w->setGeometry(rect());
    }
};

// The grip between the panes, refusing to make the left pane 50 pixels or narrower.
class TSplitterHandle : public QSplitterHandle {
public:
    TSplitterHandle(Qt::Orientation o, QSplitter* parent) : QSplitterHandle(o, parent) {
        const QString hint = QStringLiteral("Drag to resize the left and right panes");
        setToolTip(hint);
        setStatusTip(hint);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton)
            m_offset = e->position().toPoint().x();
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (!(e->buttons() & Qt::LeftButton))
            return;
        const int x = parentWidget()->mapFromGlobal(e->globalPosition().toPoint()).x() - m_offset;
        static_cast<TSplitter*>(splitter())->MoveLeftPaneTo(x);
    }
    void mouseReleaseEvent(QMouseEvent*) override {}

private:
    int m_offset = 0;
};
} // namespace

QFont ScaledFont(QFont f, int basePt, int percent) {
    f.setPointSizeF(basePt * percent / 100.0);
    return f;
}

TSplitter::TSplitter(QWidget* parent) : QSplitter(Qt::Horizontal, parent) {
    setObjectName(QStringLiteral("Splitter"));
    setHandleWidth(5);
    setOpaqueResize(true);
    setChildrenCollapsible(false);
}

QSplitterHandle* TSplitter::createHandle() { return new TSplitterHandle(orientation(), this); }

bool TSplitter::MoveLeftPaneTo(int width) {
    if (!SplitterAccepts(width) || count() < 2)
        return false;
    const QList<int> old = sizes();
    const int total = old.value(0) + old.value(1);
    if (width >= total)
        return false;
    setSizes({width, total - width});
    return true;
}

TFrameFrm* TFrameFrm::Instance() { return g_frame; }

TFrameFrm::TFrameFrm(const QString& contentRoot, QWidget* parent) : QMainWindow(parent) {
    g_frame = this;
    setObjectName(QStringLiteral("FrameFrm"));
    ContentRoot = QDir(contentRoot).absolutePath();
    m_baseFontPt = std::max(8, QApplication::font().pointSize());

    // The order below matters: later steps read what earlier ones set.
    FontSizeIndex = 2;
    Busy = true;
    TextBackColour = QStringLiteral("#FFFFFF");
    // The window font stays the desktop's; errors reach the application's handler.
    setWindowTitle(QStringLiteral("Quarvel"));
    TopicRates = BuiltInTopicRates();

    CreateLayout();
    CreateMenus();
    CreateHost();
    SetLargeButtons(false); // the normal sizes of the toolbar items

    // Initial layout of panes and toolbars.
    GLToolwin->hide();
    FlashPanel->hide();
    ContainerTW->show();
    MainToolbar->hide();
    CircuitToolbar->hide();
    Moonpic->hide();
    TopDock->Insert(MainToolbar, 1, 0);
    TopDock->Insert(CircuitToolbar, 1, 0);
    TopDock->Insert(HTMLToolbar, 1, LeftPaneWidth());

    // The status label shows the hint of whatever is under the pointer.
    HtmlFolder = JoinPath(ContentRoot, QStringLiteral("HTML"), true);
    VideoFolder = JoinPath(ContentRoot, QStringLiteral("Video"), true);
    if (const QString found = ResolveContentPath(ContentRoot, QStringLiteral("HTML")); !found.isEmpty())
        HtmlFolder = JoinPath(found, QString(), true);
    if (const QString found = ResolveContentPath(ContentRoot, QStringLiteral("Video")); !found.isEmpty())
        VideoFolder = JoinPath(found, QString(), true);

    // A rejected index file ends the start-up in the application's error handler.
    if (const QString ux = ResolveContentPath(ContentRoot, QStringLiteral("HTML/index.ux")); !ux.isEmpty())
        TopicIndex.LoadFromFile(ux);
    OpenPage(QStringLiteral("index.html"));

    TexturesFolder = JoinPath(ContentRoot, QStringLiteral("Textures"), true);
    MeshFolder = JoinPath(ContentRoot, QStringLiteral("3DS"), true);
    if (const QString f = ResolveContentPath(ContentRoot, QStringLiteral("Textures")); !f.isEmpty())
        TexturesFolder = JoinPath(f, QString(), true);
    if (const QString f = ResolveContentPath(ContentRoot, QStringLiteral("3DS")); !f.isEmpty())
        MeshFolder = JoinPath(f, QString(), true);

    CreateStartPicture();
    RegisterZoomCursor();
    BuildTestMenu();
    EditMenu->menuAction()->setVisible(false);
    AnimationMenu->menuAction()->setVisible(false);
    Host->LoadPlanetMaterials(TexturesFolder);

    const TVantrelIni ini = ReadVantrelIni(ContentRoot);
    TestFilePath = ini.TestFilePath;
    QuestionFolder = ini.QuestionFolder;
    TrolleyErrorFlag = ini.TrolleyErrorFlag;
    const TPagePaths pages = PagePathsOf(QuestionFolder);
    SetPagePaths(pages.Images, pages.StyleSheet);

    Item(QStringLiteral("FwdBtn"))->setEnabled(false);
    Item(QStringLiteral("BackBtn"))->setEnabled(false);

    MultisampleSupported = ProbeMultisampling();
    AntialiasingItem->setChecked(MultisampleSupported);
    AntialiasingItem->setEnabled(MultisampleSupported);

    CellCount = 1;
    CircuitCB->setCurrentIndex(0);
    Item(QStringLiteral("IndexOptBtns"))->setEnabled(!Item(QStringLiteral("IndexBtn"))->isEnabled());

    LoadSettings();
    if (m_positionRestored) {
        m_startLeftWidth = width() / 2;
        Splitter->MoveLeftPaneTo(m_startLeftWidth);
        HTMLToolbar->SetDockPos(m_startLeftWidth);
    } else {
        PlaceWindowByDefault();
    }

    // Our own movie control needs no system player: it reports version 10.
    FlashMajorVersion = 10;
}

TFrameFrm::~TFrameFrm() {
    // No application-wide events reach a window that is being taken apart.
    qApp->removeEventFilter(this);
    SaveSettings(); // a window deleted without closing (a scripted run) still keeps them
    // The host owns the 3D view: both go while the panes they sit in are whole.
    delete Topics;
    Topics = nullptr;
    delete Host;
    Host = nullptr;
    // The page goes before its profile.
    delete EWB;
    EWB = nullptr;
    delete m_page;
    m_page = nullptr;
    delete StartPicture;
    StartPicture = nullptr;
    if (g_frame == this)
        g_frame = nullptr;
}

QAction* TFrameFrm::Item(const QString& name) const {
    if (QAction* item = m_items.value(name))
        return item;
    // Menu items carry their names too (TestAll1, Exit1, ...).
    return name.isEmpty() ? nullptr : findChild<QAction*>(name);
}

int TFrameFrm::LeftPaneWidth() const { return LeftToolwin->isVisible() || !isVisible() ? Splitter->sizes().value(0) : 0; }

void TFrameFrm::CreateLayout() {
    resize(658, 603);
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    auto* v = new QVBoxLayout(central);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);

    TopDock = new TDock(QStringLiteral("TopDock"), central);
    BottomDock = new TDock(QStringLiteral("BottomDock"), central);

    Splitter = new TSplitter(central);
    LeftToolwin = new TFillPane(Splitter);
    LeftToolwin->setObjectName(QStringLiteral("LeftToolwin"));
    LeftToolwin->setMinimumWidth(0);

    GLToolwin = new QWidget(LeftToolwin);
    GLToolwin->setObjectName(QStringLiteral("GLToolwin"));
    auto* gl = new QVBoxLayout(GLToolwin);
    gl->setContentsMargins(0, 0, 0, 0);
    gl->setSpacing(0);
    Moonpic = new QLabel(GLToolwin);
    Moonpic->setObjectName(QStringLiteral("Moonpic"));
    Moonpic->setFixedHeight(130);
    GLViewer = new QWidget(GLToolwin);
    GLViewer->setObjectName(QStringLiteral("GLViewer"));
    GLViewer->setAutoFillBackground(true);
    const QString viewHint =
        QStringLiteral("Use the left mouse button to rotate and the right button to pan.");
    GLViewer->setToolTip(viewHint);
    GLViewer->setStatusTip(viewHint);
    GLHsb = new QScrollBar(Qt::Horizontal, GLToolwin);
    GLHsb->setObjectName(QStringLiteral("GLHsb"));
    GLHsb->setRange(0, 360);
    GLHsb->setFixedHeight(20);
    GLHsb->setToolTip(QStringLiteral("Scroll through the animation"));
    GLHsb->setStatusTip(GLHsb->toolTip());
    gl->addWidget(Moonpic);
    gl->addWidget(GLViewer, 1);
    gl->addWidget(GLHsb);

    ContainerTW = new QWidget(LeftToolwin);
    ContainerTW->setObjectName(QStringLiteral("ContainerTW"));
    ContainerTW->installEventFilter(this);
    qApp->installEventFilter(this);
    FlashPanel = new QWidget(LeftToolwin);
    FlashPanel->setObjectName(QStringLiteral("FlashPanel"));

    auto* right = new QFrame(Splitter);
    right->setObjectName(QStringLiteral("RightPanel"));
    right->setFrameShape(QFrame::StyledPanel);
    right->setAutoFillBackground(true);
    QPalette white = right->palette();
    white.setColor(QPalette::Window, Qt::white);
    right->setPalette(white);
    RightPanel = right;
    auto* rl = new QVBoxLayout(right);
    rl->setContentsMargins(1, 1, 1, 1);
    CreateBrowser(right);
    rl->addWidget(EWB);

    Splitter->addWidget(LeftToolwin);
    Splitter->addWidget(RightPanel);
    Splitter->setStretchFactor(0, 0);
    Splitter->setStretchFactor(1, 1);
    Splitter->setSizes({329, 329});

    v->addWidget(TopDock);
    v->addWidget(Splitter, 1);
    v->addWidget(BottomDock);
    setCentralWidget(central);

    CreateHTMLToolbar();
    CreateMainToolbar();
    CreateCircuitToolbar();
    for (TDockToolbar* bar : {HTMLToolbar, MainToolbar, CircuitToolbar})
        bar->SetDropDocks({TopDock, BottomDock});

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar"));
    status->setSizeGripEnabled(true);
    auto makeSplit = [&](const char* name, const char* hint, const char* icon) {
        auto* b = new QToolButton(status);
        b->setObjectName(QLatin1String(name));
        b->setCheckable(true);
        b->setAutoExclusive(true);
        b->setAutoRaise(true);
        b->setIcon(RenderIcon(QLatin1String(icon), 16));
        b->setIconSize(QSize(16, 16));
        b->setToolTip(QLatin1String(hint));
        b->setStatusTip(QLatin1String(hint));
        connect(b, &QToolButton::clicked, this, [this, b] { SplitBtnClick(b); });
        status->addWidget(b);
        return b;
    };
    MaxRightBtn = makeSplit("MaxRightBtn", "Maximize the right pane", "split_maxright");
    NormalSplitBtn = makeSplit("NormalSplitBtn", "Normal window split", "split_normal");
    MaxLeftBtn = makeSplit("MaxLeftBtn", "Maximize the left pane", "split_maxleft");
    NormalSplitBtn->setChecked(true);
    StatusLabel = new QLabel(status);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    StatusLabel->setContentsMargins(6, 0, 0, 0);
    status->addWidget(StatusLabel, 1);
    setStatusBar(status);
}

QString TFrameFrm::HelpKeyword() const {
    return CurrentTopicId != 0 ? QStringLiteral("screen") : QStringLiteral("index");
}

void TFrameFrm::SetStatusText(const QString& text) { StatusLabel->setText(text); }

void TFrameFrm::SetSplash(TSplashFrm* splash) { m_splash = splash; }

void TFrameFrm::CreateStartPicture() {
    const QString path = ResolveContentPath(HtmlFolder, QStringLiteral("Images/Splash.png"));
    if (path.isEmpty() || !m_startImage.load(path))
        return;
    StartPicture = new QLabel(ContainerTW);
    StartPicture->setObjectName(QStringLiteral("StartPicture"));
    StartPicture->setPixmap(QPixmap::fromImage(m_startImage));
    StartPicture->adjustSize();
}

void TFrameFrm::LayoutStartPicture() {
    if (Busy || !StartPicture || m_startImage.isNull())
        return;
    const QRect r = StartPictureRect(ContainerTW->size(), m_startImage.size());
    if (r.size() != m_startImage.size() && !r.isEmpty())
        StartPicture->setPixmap(QPixmap::fromImage(LanczosScaled(m_startImage, r.size())));
    else
        StartPicture->setPixmap(QPixmap::fromImage(m_startImage));
    StartPicture->setGeometry(r);
}

void TFrameFrm::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (m_firstShown)
        return;
    m_firstShown = true;
    // The splitter learns its real width only now: give the left pane the
    // width the placement chose, in pixels the splitter will keep.
    if (m_startLeftWidth > 0)
        Splitter->setSizes({m_startLeftWidth, std::max(1, Splitter->width() - m_startLeftWidth - 5)});
    Busy = false;
    LayoutStartPicture();
    if (UseLargeButtonsItem->isChecked())
        SetLargeButtons(true);
    if (m_splash) {
        m_splash->close();
        m_splash->deleteLater();
    }
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void TFrameFrm::closeEvent(QCloseEvent* e) {
    if (!ConfirmBox(this, QStringLiteral("Close program?"))) {
        e->ignore();
        return;
    }
    AbortLoops = true;
    if (m_splash)
        m_splash->deleteLater();
    // Forms hosted in the left pane go with the window.
    for (QWidget* w : ContainerTW->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (w != StartPicture)
            w->deleteLater();
    // Now, not in the destructor: closing ends the event loop, and the window
    // is never deleted after that.
    SaveSettings();
    e->accept();
}

bool TFrameFrm::event(QEvent* e) {
    if (e->type() == QEvent::StatusTip) {
        SetStatusText(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

bool TFrameFrm::eventFilter(QObject* watched, QEvent* e) {
    // The window sees keys before its controls, the page included: F1 is
    // always help.
    if (e->type() == QEvent::KeyPress || e->type() == QEvent::ShortcutOverride) {
        auto* k = static_cast<QKeyEvent*>(e);
        auto* w = qobject_cast<QWidget*>(watched);
        if (k->key() == Qt::Key_F1 && k->modifiers() == Qt::NoModifier && w && w->window() == this) {
            if (e->type() == QEvent::KeyPress)
                emit HelpRequested(HelpKeyword());
            e->accept();
            return true;
        }
    }
    if (watched == ContainerTW && e->type() == QEvent::Resize) {
        LayoutStartPicture();
        if (Topics)
            Topics->ContainerResized();
    }
    return QMainWindow::eventFilter(watched, e);
}

void TFrameFrm::CreateHost() {
    THostControls c;
    c.ViewParent = GLToolwin;
    c.ViewPlaceholder = GLViewer;
    c.Moonpic = Moonpic;
    c.Bar = GLHsb;
    c.Start = Item(QStringLiteral("StartBtn"));
    c.Stop = Item(QStringLiteral("StopBtn"));
    c.Reset = Item(QStringLiteral("ResetBtn"));
    c.Scale = Item(QStringLiteral("SSViewBtn"));
    c.Names = Item(QStringLiteral("ssPlanetNamesBtn"));
    c.Orbits = Item(QStringLiteral("Orbits1"));
    c.Planets = Item(QStringLiteral("Planets1"));
    for (QAction* a : {c.Orbits, c.Planets})
        a->setCheckable(true);
    c.Switch = Item(QStringLiteral("SwitchBtn"));
    c.Current = Item(QStringLiteral("moCurrentBtn"));
    c.Field = Item(QStringLiteral("moFieldBtn"));
    c.Markers = Item(QStringLiteral("NightDayMarker"));
    c.Slit1 = Item(QStringLiteral("slit1"));
    c.Slit3 = Item(QStringLiteral("slit3"));
    c.Protractor = Item(QStringLiteral("ProtractorBtn"));
    c.RectBlock = Item(QStringLiteral("RectBlockBtn"));
    c.DBlock = Item(QStringLiteral("DBlockBtn"));
    c.Prism = Item(QStringLiteral("PrismBtn"));
    c.Metal = metalCB;
    c.LightGate = LightGateSE;
    c.RampAngle = RampUpDn;
    c.TrolleyMass = TrolleyMassUpDn;
    c.OpenPage = [this](const QString& page) { OpenPage(page); };
    c.ProtractorPlace = [this] {
        // Near the top right, just below the menu and the page toolbar.
        return mapToGlobal(QPoint(width() - 550, MenuToolbar->height() + HTMLToolbar->height() + 30));
    };
    c.ScreenWidth = [this] {
        QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        return screen ? screen->size().width() : 1152;
    };
    Host = new THost(*this, c, this);
    Topics = new TTopicHost(*this, *Host, *this, this);
    GLViewer = Host->GLViewer->ContainerWidget();
    Host->RegisterOperations(Operations);
    // Steps nobody else knows go to the panel on show.
    Operations.Fallback = [this](const QString& name, const QVariantList& args) {
        return Topics->RunPanelOperation(name, args);
    };

    connect(c.Start, &QAction::triggered, Host, &THost::Start);
    connect(c.Stop, &QAction::triggered, Host, &THost::Stop);
    connect(c.Reset, &QAction::triggered, Host, &THost::ResetClicked);
    connect(Item(QStringLiteral("ZoomInBtn")), &QAction::triggered, Host, [this] { Host->Zoom(true); });
    connect(Item(QStringLiteral("ZoomOutBtn")), &QAction::triggered, Host, [this] { Host->Zoom(false); });
    connect(c.Switch, &QAction::triggered, Host, &THost::SwitchClicked);
    connect(c.Field, &QAction::triggered, Host, [this] { Host->FieldOrCurrentClicked(true); });
    connect(c.Current, &QAction::triggered, Host, [this] { Host->FieldOrCurrentClicked(false); });
    connect(metalCB, &QComboBox::activated, Host, &THost::MetalChosen);
    connect(c.Markers, &QAction::triggered, Host, &THost::MarkersClicked);
    connect(c.Slit1, &QAction::triggered, Host, [this] { Host->SlitChosen(true); });
    connect(c.Slit3, &QAction::triggered, Host, [this] { Host->SlitChosen(false); });
    connect(c.Protractor, &QAction::triggered, Host, &THost::ShowProtractor);
    const char* pages[] = {"Refraction.htm", "Critical_angle.htm", "Dispersion.htm"};
    QAction* blocks[] = {c.RectBlock, c.DBlock, c.Prism};
    for (int b = 0; b < 3; ++b)
        connect(blocks[b], &QAction::triggered, Host, [this, b, page = QLatin1String(pages[b])] {
            if (Host->BlockChosen(b))
                OpenPage(page);
            else if (Host->Block() != b) // not the refraction topic: keep the buttons as they were
                Item(QStringLiteral("RectBlockBtn"))->setChecked(true);
        });
}

} // namespace quarvel
