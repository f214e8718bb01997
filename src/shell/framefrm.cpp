#include "shell/framefrm.h"

#include "common/contentpath.h"
#include "common/inifile.h"
#include "common/lestream.h"
#include "common/version.h"
#include "browser/coursescheme.h"
#include "browser/courseview.h"
#include "browser/navigation.h"
#include "browser/pageprinter.h"
#include "shell/bigpicfrm.h"
#include "widgets/cursors.h"
#include "widgets/datamod.h"
#include "widgets/dialogs.h"
#include "widgets/dock.h"
#include "host/globals.h"
#include "host/host.h"
#include "questions/testfrm.h"
#include "host/panel.h"
#include "models/electromagnetism/area.h"
#include "models/forces/area.h"
#include "models/heat/area.h"
#include "models/light/area.h"
#include "models/space/area.h"
#include "scene/viewer.h"
#include "widgets/lanczos.h"
#include "shell/placement.h"
#include "widgets/skins.h"
#include "widgets/splashfrm.h"

#include <QActionGroup>
#include <cstdio>
#include <QClipboard>
#include <QDesktopServices>
#include <QPrintDialog>
#include <QPrinter>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineHistory>
#include <QWebEngineProfile>
#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitterHandle>
#include <QStatusBar>
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

QFont ScaledFont(QFont f, int basePt, int percent) {
    f.setPointSizeF(basePt * percent / 100.0);
    return f;
}
} // namespace

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
    SetPagePaths(QuestionFolder + QStringLiteral("images/"), QuestionFolder + QStringLiteral("css/qstyle.css"));

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

QAction* TFrameFrm::AddItem(TDockToolbar* bar, const QString& name, const QString& caption,
                            const QString& hint, int image) {
    auto* a = new QAction(caption, this);
    a->setObjectName(name);
    a->setToolTip(hint.isEmpty() ? QString() : hint);
    a->setStatusTip(hint);
    if (image >= 0) {
        a->setIcon(TDataMod::Instance()->Images24().Icon(image));
        m_itemImages.insert(a, image);
    }
    bar->addAction(a);
    if (auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(a)))
        b->setObjectName(name);
    m_items.insert(name, a);
    return a;
}

QAction* TFrameFrm::AddDropDown(TDockToolbar* bar, const QString& name, const QString& caption,
                                const QString& hint, int image, QMenu* menu) {
    QAction* a = AddItem(bar, name, caption, hint, image);
    a->setMenu(menu);
    if (auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(a)))
        b->setPopupMode(QToolButton::InstantPopup);
    return a;
}

void TFrameFrm::CreateHTMLToolbar() {
    HTMLToolbar = new TDockToolbar(QStringLiteral("HTMLToolbar"), QStringLiteral("Page"), this);
    HTMLToolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    HTMLToolbar->setIconSize(QSize(24, 24));
    AddItem(HTMLToolbar, QStringLiteral("IndexBtn"), QStringLiteral("Index"), QStringLiteral("Main index"), 0);
    AddItem(HTMLToolbar, QStringLiteral("FwdBtn"), QStringLiteral("Forward"), QStringLiteral("Move forward"), 1);
    AddItem(HTMLToolbar, QStringLiteral("BackBtn"), QStringLiteral("Back"), QStringLiteral("Move back"), 2);

    auto* fontMenu = new QMenu(this);
    auto* fontGroup = new QActionGroup(this);
    const QStringList sizes = {QStringLiteral("Smallest"), QStringLiteral("Small"),
                               QStringLiteral("Medium"), QStringLiteral("Large"),
                               QStringLiteral("Largest")};
    for (int i = 0; i < sizes.size(); ++i) {
        QAction* s = fontMenu->addAction(sizes[i]);
        s->setObjectName(QStringLiteral("Size%1").arg(i));
        s->setData(i); // tag
        s->setCheckable(true);
        fontGroup->addAction(s);
        m_items.insert(s->objectName(), s);
    }
    AddDropDown(HTMLToolbar, QStringLiteral("FontBtn"), QStringLiteral("Font"),
                QStringLiteral("Set the font size"), 6, fontMenu);

    auto* colMenu = new QMenu(this);
    for (auto [name, caption] : {std::pair{"BColWhite", "White"}, std::pair{"BColBlue", "Pale blue"},
                                 std::pair{"BColYellow", "Pale yellow"}}) {
        QAction* c = colMenu->addAction(QLatin1String(caption));
        c->setObjectName(QLatin1String(name));
        m_items.insert(c->objectName(), c);
    }
    AddDropDown(HTMLToolbar, QStringLiteral("TextBackColorBtn"), QStringLiteral("Colour"),
                QStringLiteral("Text background colour"), 7, colMenu);

    auto* optMenu = new QMenu(this);
    for (auto [name, caption] :
         {std::pair{"AllowAllExpanded1", "Allow all expanded"}, std::pair{"ExpandAll1", "Expand all"},
          std::pair{"CollapseAll1", "Collapse all"}}) {
        QAction* o = optMenu->addAction(QLatin1String(caption));
        o->setObjectName(QLatin1String(name));
        m_items.insert(o->objectName(), o);
    }
    m_items.value(QStringLiteral("AllowAllExpanded1"))->setCheckable(true);
    AddDropDown(HTMLToolbar, QStringLiteral("IndexOptBtns"), QStringLiteral("Options"),
                QStringLiteral("Index options"), 8, optMenu);

    AddItem(HTMLToolbar, QStringLiteral("CopyBtn"), QString(), QString(), 3);
    AddItem(HTMLToolbar, QStringLiteral("PrintBtn"), QString(), QString(), 9);
    for (QMenu* m : {fontMenu, colMenu, optMenu})
        m_scaledWidgets.append(m);

    connect(Item(QStringLiteral("IndexBtn")), &QAction::triggered, this,
            [this] { OpenPage(QStringLiteral("index.html")); });
    connect(Item(QStringLiteral("FwdBtn")), &QAction::triggered, this, [this] {
        BackForwardPending = true;
        EWB->forward();
    });
    connect(Item(QStringLiteral("BackBtn")), &QAction::triggered, this, [this] {
        BackForwardPending = true;
        EWB->back();
    });
    connect(fontMenu, &QMenu::aboutToShow, this, [this] {
        if (QAction* a = Item(QStringLiteral("Size%1").arg(FontSizeIndex)))
            a->setChecked(true);
    });
    for (int i = 0; i < sizes.size(); ++i)
        connect(Item(QStringLiteral("Size%1").arg(i)), &QAction::triggered, this,
                [this, i] { SetFontSizeIndex(i); });
    for (QAction* c : colMenu->actions())
        c->setCheckable(true);
    connect(colMenu, &QMenu::aboutToShow, this, [this] {
        Item(QStringLiteral("BColWhite"))->setChecked(TextBackColour == QLatin1String("#FFFFFF"));
        Item(QStringLiteral("BColBlue"))->setChecked(TextBackColour == QLatin1String("#D9EAFF"));
        Item(QStringLiteral("BColYellow"))->setChecked(TextBackColour == QLatin1String("#FFFFE0"));
    });
    connect(Item(QStringLiteral("BColWhite")), &QAction::triggered, this,
            [this] { SetTextBackColour(QStringLiteral("#FFFFFF")); });
    connect(Item(QStringLiteral("BColBlue")), &QAction::triggered, this,
            [this] { SetTextBackColour(QStringLiteral("#D9EAFF")); });
    connect(Item(QStringLiteral("BColYellow")), &QAction::triggered, this,
            [this] { SetTextBackColour(QStringLiteral("#FFFFE0")); });
    connect(optMenu, &QMenu::aboutToShow, this, [this] {
        Item(QStringLiteral("AllowAllExpanded1"))->setChecked(!TopicIndex.SingleExpanded);
    });
    connect(Item(QStringLiteral("AllowAllExpanded1")), &QAction::triggered, this,
            [this] { TopicIndex.SingleExpanded = !TopicIndex.SingleExpanded; });
    connect(Item(QStringLiteral("ExpandAll1")), &QAction::triggered, this, [this] {
        TopicIndex.ExpandAll();
        RefreshIndexPanel();
    });
    connect(Item(QStringLiteral("CollapseAll1")), &QAction::triggered, this, [this] {
        TopicIndex.CollapseAll();
        RefreshIndexPanel();
    });
    QAction* copy = Item(QStringLiteral("CopyBtn"));
    copy->setEnabled(false);
    connect(copy, &QAction::triggered, this, [this] { EWB->triggerPageAction(QWebEnginePage::Copy); });
    connect(Item(QStringLiteral("PrintBtn")), &QAction::triggered, this, &TFrameFrm::PrintTopic);
}

void TFrameFrm::CreateMainToolbar() {
    MainToolbar = new TDockToolbar(QStringLiteral("MainToolbar"), QStringLiteral("Animation"), this);
    MainToolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    MainToolbar->setIconSize(QSize(24, 24));
    AddItem(MainToolbar, QStringLiteral("StartBtn"), QString(), QStringLiteral("Start the animation"), 4);
    AddItem(MainToolbar, QStringLiteral("StopBtn"), QString(), QStringLiteral("Stop the animation"), 5)
        ->setEnabled(false);
    AddItem(MainToolbar, QStringLiteral("ResetBtn"), QStringLiteral("Reset"), QStringLiteral("Reset the animation"), 18);
    AddItem(MainToolbar, QStringLiteral("ZoomInBtn"), QString(), QStringLiteral("Zoom in"), 11);
    AddItem(MainToolbar, QStringLiteral("ZoomOutBtn"), QString(), QStringLiteral("Zoom out"), 10);
    AddItem(MainToolbar, QStringLiteral("SwitchBtn"), QStringLiteral("Switch"), QStringLiteral("Switch on or off"), 15)
        ->setCheckable(true);
    AddItem(MainToolbar, QStringLiteral("moCurrentBtn"), QStringLiteral("Current"),
            QStringLiteral("Change the current direction"), 17);
    AddItem(MainToolbar, QStringLiteral("moFieldBtn"), QStringLiteral("Field"),
            QStringLiteral("Change the magnetic field direction"), 16);

    auto* scaleMenu = new QMenu(this);
    for (auto [name, caption] : {std::pair{"Orbits1", "Show orbits to scale"},
                                 std::pair{"Planets1", "Show planets to scale"}}) {
        QAction* s = scaleMenu->addAction(QLatin1String(caption));
        s->setObjectName(QLatin1String(name));
        m_items.insert(s->objectName(), s);
    }
    AddDropDown(MainToolbar, QStringLiteral("SSViewBtn"), QStringLiteral("Scale"), QStringLiteral("Scale options"), 21,
                scaleMenu);
    AddItem(MainToolbar, QStringLiteral("ssPlanetNamesBtn"), QStringLiteral("Names"),
            QStringLiteral("Show planet names"), 28)
        ->setCheckable(true);

    metalCB = new QComboBox(MainToolbar);
    metalCB->setObjectName(QStringLiteral("metalCB"));
    metalCB->addItems({QStringLiteral("Aluminium"), QStringLiteral("Copper"), QStringLiteral("Iron")});
    metalCB->setCurrentIndex(0);
    m_items.insert(QStringLiteral("metalCB"), MainToolbar->addWidget(metalCB));

    auto* slitMenu = new QMenu(this);
    auto* slitGroup = new QActionGroup(this);
    for (auto [name, caption] : {std::pair{"slit1", "Single slit"}, std::pair{"slit3", "Three slits"}}) {
        QAction* s = slitMenu->addAction(QLatin1String(caption));
        s->setObjectName(QLatin1String(name));
        s->setCheckable(true);
        slitGroup->addAction(s);
        m_items.insert(s->objectName(), s);
    }
    m_items.value(QStringLiteral("slit3"))->setChecked(true);
    AddDropDown(MainToolbar, QStringLiteral("SlitBtn"), QStringLiteral("Number of slits"), QString(), -1,
                slitMenu);
    AddItem(MainToolbar, QStringLiteral("ProtractorBtn"), QStringLiteral("Measure angles"), QString(), 24);

    auto* blocks = new QActionGroup(this);
    for (auto [name, caption, hint, image] :
         {std::tuple{"RectBlockBtn", "Rect", "Use a rectangular block", 22},
          std::tuple{"DBlockBtn", "DShape", "Use a D shaped block", 23},
          std::tuple{"PrismBtn", "Prism", "Use a triangular block", 25}}) {
        QAction* b = AddItem(MainToolbar, QLatin1String(name), QLatin1String(caption), QLatin1String(hint), image);
        b->setCheckable(true);
        blocks->addAction(b);
    }
    m_items.value(QStringLiteral("RectBlockBtn"))->setChecked(true);

    auto addSpin = [&](const char* labelName, const char* labelText, const char* spinName,
                       const char* hint, int lo, int hi, int value) {
        auto* label = new QLabel(QLatin1String(labelText), MainToolbar);
        label->setObjectName(QLatin1String(labelName));
        m_items.insert(label->objectName(), MainToolbar->addWidget(label));
        auto* spin = new QSpinBox(MainToolbar);
        spin->setObjectName(QLatin1String(spinName));
        spin->setRange(lo, hi);
        spin->setValue(value);
        spin->findChild<QLineEdit*>()->setReadOnly(true); // changed with the arrows only
        spin->setToolTip(QLatin1String(hint));
        spin->setStatusTip(QLatin1String(hint));
        m_items.insert(spin->objectName(), MainToolbar->addWidget(spin));
        m_scaledWidgets.append(label);
        return spin;
    };
    LightGateSE = addSpin("LightGateLabel", " Light gate", "LightGateSE", "Set light gate position", 5, 200, 100);
    RampUpDn = addSpin("RampAngleLabel", " Angle ", "RampUpDn", "Change the angle of the ramp", 1, 20, 10);
    TrolleyMassUpDn =
        addSpin("TrolleyMassLabel", " Mass ", "TrolleyMassUpDn", "Change the mass of the trolley", 1, 3, 1);
    m_scaledWidgets.append(RampUpDn);
    m_scaledWidgets.append(TrolleyMassUpDn);

    AddItem(MainToolbar, QStringLiteral("NightDayMarker"), QStringLiteral("D"), QStringLiteral("Show coloured markers"),
            30)
        ->setCheckable(true);
    m_scaledWidgets.append(scaleMenu);
    m_scaledWidgets.append(slitMenu);
    for (const char* n : {"SlitBtn", "ProtractorBtn"})
        m_scaledWidgets.append(MainToolbar->widgetForAction(Item(QLatin1String(n))));
}

void TFrameFrm::CreateCircuitToolbar() {
    CircuitToolbar = new TDockToolbar(QStringLiteral("CircuitToolbar"), QStringLiteral("Circuit"), this);
    CircuitToolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    CircuitToolbar->setIconSize(QSize(24, 24));
    auto* cells = new QLabel(QStringLiteral("Cells "), CircuitToolbar);
    cells->setObjectName(QStringLiteral("CellLabel"));
    m_items.insert(cells->objectName(), CircuitToolbar->addWidget(cells));
    CellSpinEd = new QSpinBox(CircuitToolbar);
    CellSpinEd->setObjectName(QStringLiteral("CellSpinEd"));
    CellSpinEd->setRange(1, 5);
    CellSpinEd->setValue(1);
    CellSpinEd->findChild<QLineEdit*>()->setReadOnly(true);
    CellSpinEd->setToolTip(QStringLiteral("Change the number of cells"));
    CellSpinEd->setStatusTip(CellSpinEd->toolTip());
    m_items.insert(CellSpinEd->objectName(), CircuitToolbar->addWidget(CellSpinEd));
    AddItem(CircuitToolbar, QStringLiteral("AmmeterBtn"), QStringLiteral("Ammeter"), QStringLiteral("Add ammeters"), 32)
        ->setCheckable(true);
    AddItem(CircuitToolbar, QStringLiteral("VoltmeterBtn"), QStringLiteral("Voltmeter"),
            QStringLiteral("Add voltmeters"), 31)
        ->setCheckable(true);
    auto* circuit = new QLabel(QStringLiteral("Circuit "), CircuitToolbar);
    circuit->setObjectName(QStringLiteral("CircuitLabel"));
    m_items.insert(circuit->objectName(), CircuitToolbar->addWidget(circuit));
    CircuitCB = new QComboBox(CircuitToolbar);
    CircuitCB->setObjectName(QStringLiteral("CircuitCB"));
    CircuitCB->addItems({QStringLiteral("Single bulb "), QStringLiteral("Two bulbs in series"),
                         QStringLiteral("Two bulbs in parallel")});
    m_items.insert(CircuitCB->objectName(), CircuitToolbar->addWidget(CircuitCB));
    m_scaledWidgets << cells << circuit << CellSpinEd;
}

void TFrameFrm::CreateMenus() {
    MenuToolbar = menuBar();
    MenuToolbar->setObjectName(QStringLiteral("MenuToolbar"));

    FileMenu = MenuToolbar->addMenu(QStringLiteral("&File"));
    QAction* print = FileMenu->addAction(QStringLiteral("Print topic text"));
    print->setObjectName(QStringLiteral("PrintTopicText"));
    connect(print, &QAction::triggered, this, &TFrameFrm::PrintTopic);
    FileMenu->addSeparator();
    QAction* exit = FileMenu->addAction(QStringLiteral("Exit"));
    exit->setObjectName(QStringLiteral("Exit1"));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    EditMenu = MenuToolbar->addMenu(QStringLiteral("&Edit"));
    QAction* copy = EditMenu->addAction(QStringLiteral("Copy topic text"));
    copy->setObjectName(QStringLiteral("CopyTopicText"));
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    connect(copy, &QAction::triggered, this, &TFrameFrm::CopyTopicText);

    ToolbarsMenu = MenuToolbar->addMenu(QStringLiteral("&Toolbars"));
    UseLargeButtonsItem = ToolbarsMenu->addAction(QStringLiteral("Use large buttons"));
    UseLargeButtonsItem->setObjectName(QStringLiteral("UseLargeButtons"));
    UseLargeButtonsItem->setCheckable(true);
    connect(UseLargeButtonsItem, &QAction::triggered, this, [this](bool on) { SetLargeButtons(on); });
    auto* dockGroup = new QActionGroup(this);
    ToolbarsAtTopItem = ToolbarsMenu->addAction(QStringLiteral("Toolbars at top"));
    ToolbarsAtBottomItem = ToolbarsMenu->addAction(QStringLiteral("Toolbars at bottom"));
    for (QAction* a : {ToolbarsAtTopItem, ToolbarsAtBottomItem}) {
        a->setCheckable(true);
        dockGroup->addAction(a);
    }
    ToolbarsAtTopItem->setChecked(true);
    connect(ToolbarsAtTopItem, &QAction::triggered, this, [this] { SetToolbarsAtBottom(false); });
    connect(ToolbarsAtBottomItem, &QAction::triggered, this, [this] { SetToolbarsAtBottom(true); });

    AnimationMenu = MenuToolbar->addMenu(QStringLiteral("&Animation"));
    QAction* speed = AnimationMenu->addAction(QStringLiteral("Speed"));
    speed->setObjectName(QStringLiteral("Speed1"));
    connect(speed, &QAction::triggered, this, [this] { Host->ShowSpeedDialog(); });
    QMenu* bg = AnimationMenu->addMenu(QStringLiteral("Back ground colour"));
    bg->setObjectName(QStringLiteral("BackGroundColour1"));
    auto* bgGroup = new QActionGroup(this);
    const std::pair<const char*, std::uint32_t> colours[] = {
        {"Black", 0x000000}, {"White", 0xFFFFFF}, {"Blue", 8666368}}; // blue: red 0, green 60, blue 132
    for (auto [caption, ref] : colours) {
        QAction* c = bg->addAction(QLatin1String(caption));
        c->setCheckable(true);
        c->setData(uint(ref));
        bgGroup->addAction(c);
        connect(c, &QAction::triggered, this, [this, ref = ref] { Host->SetBackground(ref); });
    }
    QAction* other = bg->addAction(QStringLiteral("Other"));
    other->setCheckable(true);
    bgGroup->addAction(other);
    connect(other, &QAction::triggered, this, [this] {
        int r, g, b;
        RgbFromColorRef(GLColor, r, g, b);
        const QColor c = QColorDialog::getColor(QColor(r, g, b), this);
        if (c.isValid())
            Host->SetBackground(ColorRefFromRgb(c.red(), c.green(), c.blue()));
    });
    connect(bg, &QMenu::aboutToShow, this, [this, bg, other] {
        bool matched = false;
        for (QAction* a : bg->actions())
            if (a != other && a->data().toUInt() == GLColor && !matched)
                a->setChecked(matched = true);
        if (!matched)
            other->setChecked(true);
    });
    AntialiasingItem = AnimationMenu->addAction(QStringLiteral("Antialiasing"));
    AntialiasingItem->setObjectName(QStringLiteral("Antialiasing1"));
    AntialiasingItem->setCheckable(true);
    connect(AntialiasingItem, &QAction::toggled, this, [this](bool on) { Host->SetAntialiasing(on); });
    connect(AnimationMenu, &QMenu::aboutToShow, this, [this, bg] {
        const bool view = CurrentTopicId > 0 && CurrentTopicId < 1000;
        bg->menuAction()->setVisible(view);
        AntialiasingItem->setVisible(view);
        AntialiasingItem->setEnabled(MultisampleSupported);
    });

    TestMenu = MenuToolbar->addMenu(QStringLiteral("&Test"));
    TestMenu->setObjectName(QStringLiteral("Test1"));
    QAction* all = TestMenu->addAction(QStringLiteral("All topics"));
    all->setObjectName(QStringLiteral("TestAll1"));
    connect(all, &QAction::triggered, this, [this] { StartTopicTest(TTopicSet()); });

    AppearanceMenu = MenuToolbar->addMenu(QStringLiteral("Appearance"));
    m_skinGroup = new QActionGroup(this);
    for (const QString& name : SkinNames()) {
        QAction* s = AppearanceMenu->addAction(name);
        s->setCheckable(true);
        m_skinGroup->addAction(s);
        connect(s, &QAction::triggered, this, [this, name] { ApplySkin(name); });
    }

    HelpMenu = MenuToolbar->addMenu(QStringLiteral("&Help"));
    QAction* contents = HelpMenu->addAction(QStringLiteral("Contents"));
    connect(contents, &QAction::triggered, this, [this] { emit HelpRequested(QString()); });
    QAction* search = HelpMenu->addAction(QStringLiteral("Search for help on"));
    connect(search, &QAction::triggered, this, [this] { emit HelpRequested(QStringLiteral("?")); });
    HelpMenu->addSeparator();
    OpenGLInfoItem = HelpMenu->addAction(QStringLiteral("OpenGL information"));
    QAction* glSeparator = HelpMenu->addSeparator();
    QAction* about = HelpMenu->addAction(QStringLiteral("About"));
    connect(about, &QAction::triggered, this, [this] {
        QMessageBox::about(this, QStringLiteral("About Quarvel"),
                           QStringLiteral("<b>Quarvel</b> %1<br>A science course for ages 11 to 16.")
                               .arg(VersionText()));
    });
    connect(HelpMenu, &QMenu::aboutToShow, this, [this, glSeparator] {
        const bool gl = CurrentTopicId > 0 && CurrentTopicId <= 16;
        OpenGLInfoItem->setVisible(gl);
        glSeparator->setVisible(gl);
    });
}

void TFrameFrm::BuildTestMenu() {
    const QString path = ResolveContentPath(ContentRoot, QStringLiteral("questions/test-topics.txt"));
    if (path.isEmpty())
        return;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return;
    const QByteArray raw = f.readAll();
    const QString text = DecodeTextFile(raw);
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    for (int tag = 0; tag < lines.size() && tag < 256; ++tag) {
        const QString caption = QString(lines[tag]).remove(QLatin1Char('\r'));
        m_testTopics.append(caption);
        if (caption.trimmed().isEmpty())
            continue; // keeps the numbering of the lines after it
        QAction* a = TestMenu->addAction(caption);
        a->setData(tag);
        connect(a, &QAction::triggered, this, [this, tag] {
            TTopicSet set;
            set.set(std::size_t(tag));
            StartTopicTest(set);
        });
    }
}

void TFrameFrm::StartTopicTest(const TTopicSet& topics) {
    if (!QFile::exists(TestFilePath)) {
        ErrorBox(this, QStringLiteral("File of test questions not found."));
        return;
    }
    std::unique_ptr<TTestFrm> test;
    try {
        test = std::make_unique<TTestFrm>(TestFilePath, topics, this);
    } catch (const std::exception& e) {
        // A broken question file costs the pupil this test, not the course.
        ErrorBox(this, QString::fromUtf8(e.what()));
        return;
    }
    if (test->Questions.empty())
        ShowBox(this, TBoxKind::Information, QStringLiteral("No questions found"));
    // Over the left pane, where the content was.
    test->setGeometry(QRect(LeftToolwin->mapToGlobal(QPoint(0, 0)), LeftToolwin->size()));
    emit TopicTestRequested(test.get());
    test->exec();
}

QString TFrameFrm::HelpKeyword() const {
    return CurrentTopicId != 0 ? QStringLiteral("screen") : QStringLiteral("index");
}

void TFrameFrm::SetStatusText(const QString& text) { StatusLabel->setText(text); }

void TFrameFrm::SetSplash(TSplashFrm* splash) { m_splash = splash; }

void TFrameFrm::SplitBtnClick(QToolButton* button) {
    button->setChecked(true);
    const bool mainBar = CurrentTopicId < 1000;
    if (button == NormalSplitBtn) {
        LeftToolwin->show();
        RightPanel->show();
        Splitter->handle(1)->show();
        Splitter->MoveLeftPaneTo(width() / 2);
        HTMLToolbar->show();
        MainToolbar->setVisible(mainBar);
        CircuitToolbar->setVisible(CurrentTopicId == 1023);
        Topics->ShowPanelToolbar(true);
    } else if (button == MaxLeftBtn) {
        LeftToolwin->show();
        RightPanel->hide();
        HTMLToolbar->hide();
        MainToolbar->setVisible(mainBar);
        CircuitToolbar->setVisible(CurrentTopicId == 1023);
        Topics->ShowPanelToolbar(true);
    } else if (button == MaxRightBtn) {
        RightPanel->show();
        LeftToolwin->hide();
        HTMLToolbar->show();
        MainToolbar->hide();
        CircuitToolbar->hide();
        Topics->ShowPanelToolbar(false);
    }
}

void TFrameFrm::SetToolbarsAtBottom(bool bottom) {
    ToolbarsAtBottom = bottom;
    TDock* dock = ToolbarDock();
    // The circuit toolbar stays at the top.
    for (TDockToolbar* bar : {MainToolbar, HTMLToolbar})
        if (bar->IsFloating())
            bar->SetDropDocks(Docks());
        else
            dock->Insert(bar, bar->DockRow(), bar->DockPos());
    Topics->FollowToolbarDock();
    (bottom ? ToolbarsAtBottomItem : ToolbarsAtTopItem)->setChecked(true);
}

bool TFrameFrm::LargeButtons() { return UseLargeButtonsItem->isChecked(); }

bool TFrameFrm::PanelToolbarShown() { return !MaxRightBtn->isChecked(); }

void TFrameFrm::SetToolbarImages(bool large) {
    const TImageList& list = TDataMod::Instance()->Images(large);
    for (auto it = m_itemImages.cbegin(); it != m_itemImages.cend(); ++it)
        it.key()->setIcon(list.Icon(it.value()));
    const QSize size(list.Size(), list.Size());
    for (TDockToolbar* bar : {HTMLToolbar, MainToolbar, CircuitToolbar})
        bar->setIconSize(size);
}

void TFrameFrm::SetLargeButtons(bool large) {
    UseLargeButtonsItem->setChecked(large);
    for (TDockToolbar* bar : {HTMLToolbar, MainToolbar, CircuitToolbar})
        bar->setUpdatesEnabled(false);
    SetToolbarImages(large);
    const int pct = large ? 150 : 100;
    for (QWidget* w : m_scaledWidgets)
        if (w)
            w->setFont(ScaledFont(font(), m_baseFontPt, pct));
    GLHsb->setFixedHeight(large ? 30 : 20);
    metalCB->setFont(ScaledFont(font(), large ? 12 : 8, 100));
    metalCB->setFixedWidth(large ? 110 : 70);
    LightGateSE->setFont(ScaledFont(font(), m_baseFontPt, large ? 300 : 175));
    RampUpDn->setFixedWidth(large ? 60 : 40);
    TrolleyMassUpDn->setFixedWidth(large ? 75 : 50);
    CircuitCB->setFont(ScaledFont(font(), large ? 12 : 8, 100));
    CircuitCB->setFixedWidth(large ? 190 : 120);
    if (large && CurrentTopicId == 16)
        HTMLToolbar->SetDockPos(MainToolbar->width() + 10);
    for (TDockToolbar* bar : {HTMLToolbar, MainToolbar, CircuitToolbar}) {
        bar->setUpdatesEnabled(true);
        bar->updateGeometry();
    }
    TopDock->Relayout();
    BottomDock->Relayout();
    Topics->SetPanelLargeButtons(large);
}

bool TFrameFrm::ApplySkin(const QString& name) {
    const TSkin* skin = FindSkin(name);
    if (!skin)
        return false;
    m_activeSkin = QString::fromLatin1(skin->Name);
    ApplySkinToApplication(*skin);
    for (QAction* a : m_skinGroup->actions())
        if (a->text() == m_activeSkin)
            a->setChecked(true);
    Splitter->update();
    return true;
}

void TFrameFrm::LoadSettings() {
    const TStoredSettings s = ReadStoredSettings();
    if (!s.KeyExists) {
        ApplySkin(DefaultSkinName());
        FontSizeIndex = 2;
        return;
    }
    if (s.TextBgnd)
        TextBackColour = *s.TextBgnd;
    if (s.Zoom)
        FontSizeIndex = *s.Zoom;
    if (auto* size = Item(QStringLiteral("Size%1").arg(FontSizeIndex)))
        size->setChecked(true);
    if (s.TBTop && !*s.TBTop)
        SetToolbarsAtBottom(true);
    if (!s.Skin || !ApplySkin(*s.Skin))
        ApplySkin(DefaultSkinName());
    if (s.GLColor)
        Host->SetBackground(*s.GLColor);
    if (s.Large && *s.Large)
        UseLargeButtonsItem->setChecked(true); // the switch itself happens on first show
    if (s.Position) {
        // A rectangle left on a screen that is gone would hide the window.
        for (QScreen* screen : QGuiApplication::screens())
            if (screen->availableGeometry().intersects(*s.Position)) {
                setGeometry(*s.Position);
                m_positionRestored = true;
                break;
            }
    }
    if (s.Speeds)
        ApplySpeeds(*s.Speeds, TopicRates);
}

TSettingsToSave TFrameFrm::CurrentSettings() const {
    TSettingsToSave v;
    v.Zoom = FontSizeIndex;
    v.TextBgnd = TextBackColour;
    v.TBTop = !ToolbarsAtBottom;
    v.Skin = m_activeSkin;
    v.Large = UseLargeButtonsItem->isChecked();
    v.GLColor = GLColor;
    v.Position = isMaximized() ? normalGeometry() : geometry();
    v.Speeds = TopicRates;
    return v;
}

void TFrameFrm::SaveSettings() {
    if (m_settingsSaved)
        return;
    m_settingsSaved = true;
    WriteSettings(CurrentSettings());
}

void TFrameFrm::PlaceWindowByDefault() {
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        showMaximized();
        return;
    }
    const TPlacement p = DefaultPlacement(screen->size(), screen->availableGeometry());
    if (p.Maximise) {
        setWindowState(Qt::WindowMaximized);
    } else {
        setGeometry(p.Bounds);
    }
    // The panes get their widths once the window has its size.
    resize(p.Maximise ? screen->size() : p.Bounds.size());
    centralWidget()->resize(size());
    Splitter->resize(width(), Splitter->height());
    Splitter->setSizes({p.LeftPaneWidth, std::max(1, width() - p.LeftPaneWidth - 5)});
    HTMLToolbar->SetDockPos(p.LeftPaneWidth);
    m_startLeftWidth = p.LeftPaneWidth;
}

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

void TFrameFrm::RegisterCourseModels() {
    RegisterSpaceTopics();
    RegisterElectromagnetismTopics();
    RegisterLightTopics();
    RegisterForcesTopics();
    RegisterHeatTopics();
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
    c.OpenPage = [this](const QString& page) { OpenPage(page); };
    c.ProtractorPlace = [this] {
        // Near the top right, just below the menu and the page toolbar.
        return mapToGlobal(QPoint(width() - 550, MenuToolbar->height() + HTMLToolbar->height() + 30));
    };
    c.ScreenWidth = [this] {
        QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        return screen ? screen->size().width() : 1152;
    };
    RegisterCourseModels();
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

void TFrameFrm::CreateBrowser(QWidget* parent) {
    // A profile of our own that keeps nothing on disk and serves the course.
    m_profile = new QWebEngineProfile(this);
    TCourseSchemeHandler::Install(m_profile, ContentRoot);
    m_page = new TCoursePage(m_profile, this);
    m_page->SetFilter([this](const QUrl& url) { return EWBBeforeNavigate2(url); });
    EWB = new TCourseView(parent);
    EWB->setObjectName(QStringLiteral("EWB"));
    EWB->setPage(m_page);
    EWB->ContextMenuHandler = [this](QContextMenuEvent* e) { return PageContextMenu(e); };
    connect(EWB, &QWebEngineView::loadFinished, this, &TFrameFrm::DocumentComplete);
    connect(EWB, &QWebEngineView::urlChanged, this, &TFrameFrm::UpdateNavigationButtons);
    connect(m_page, &QWebEnginePage::selectionChanged, this, [this] {
        Item(QStringLiteral("CopyBtn"))->setEnabled(!m_page->selectedText().isEmpty());
    });
    PictureOpener = [this](const QString& file) {
        TBigPicFrm pic(file, this);
        pic.exec();
    };
    ExternalOpener = [](const QUrl& url) { QDesktopServices::openUrl(url); };
}

bool TFrameFrm::OpenPage(const QString& name) {
    const QString file = ResolveContentPath(HtmlFolder, name);
    if (file.isEmpty())
        return false;
    EWB->load(CourseUrl(QDir(ContentRoot).relativeFilePath(file)));
    m_pageRequested = true;
    return true;
}

QString TFrameFrm::LocationName() const {
    const QString path = EWB->url().path();
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

bool TFrameFrm::EWBBeforeNavigate2(const QUrl& url) {
    const TNavDecision d =
        ClassifyNavigation(url.toString(), HtmlFolder, VideoFolder);
    switch (d.Kind) {
    case TNavKind::HeadingClick:
        TopicIndex.ToggleHeading(d.Heading);
        RefreshIndexPanel();
        break;
    case TNavKind::PassThrough:
    case TNavKind::Ignored:
        break;
    case TNavKind::Picture:
        if (!d.File.isEmpty() && PictureOpener)
            PictureOpener(d.File);
        break;
    case TNavKind::Video:
        if (!d.File.isEmpty())
            emit VideoRequested(d.File);
        break;
    case TNavKind::PageCommand:
        RunPageCommand(d.Segment);
        break;
    case TNavKind::External:
        if (ExternalOpener)
            ExternalOpener(url);
        break;
    case TNavKind::Page: {
        if (d.Segment != QLatin1String("index.html")) {
            const int heading = TopicIndex.HeadingOfPage(d.Segment);
            if (heading != -1)
                TopicIndex.ExpandHeading(heading);
            TopicIndex.SelectPage(d.Segment);
        }
        const std::int32_t id = TopicIdForPage(d.Segment, CurrentTopicId);
        if (id != CurrentTopicId)
            Topics->SelectTopic(id);
        break;
    }
    }
    return !d.Cancel;
}

void TFrameFrm::RunJavaScript(const QString& script) { m_page->runJavaScript(script); }

static QString JsString(const QString& s) {
    QString out = s;
    out.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    out.replace(QLatin1Char('\''), QLatin1String("\\'"));
    out.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    out.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    out.replace(QStringLiteral("</"), QStringLiteral("<\\/"));
    return QLatin1Char('\'') + out + QLatin1Char('\'');
}

void TFrameFrm::PaintPageBackground() {
    RunJavaScript(QStringLiteral("document.body&&(document.body.style.backgroundColor=%1);").arg(JsString(TextBackColour)));
}

void TFrameFrm::RefreshIndexPanel() {
    RunJavaScript(QStringLiteral("(function(){var e=document.getElementById('index');"
                                 "if(e)e.innerHTML=%1;})();")
                      .arg(JsString(TopicIndex.GetHTML())));
}

void TFrameFrm::DocumentComplete(bool ok) {
    if (!ok)
        return;
    if (TextBackColour != QLatin1String("#FFFFFF"))
        PaintPageBackground();
    const double zoom = ZoomFactorForSize(FontSizeIndex);
    if (!qFuzzyCompare(EWB->zoomFactor(), zoom))
        EWB->setZoomFactor(zoom);
    const QString location = LocationName();
    if (location == QLatin1String("index.html") || location == QLatin1String("index"))
        RefreshIndexPanel();
    if ((CurrentTopicId == 10 || CurrentTopicId == 2028) && FlashMajorVersion < 7)
        RunJavaScript(QStringLiteral("(function(){var e=document.getElementById('noflash');if(e)"
                                     "e.innerHTML='If the animation above is not visible, "
                                     "<a href=\"http://get.adobe.com/flashplayer/\">update</a> "
                                     "your version of Flash.';})();"));
    ApplyPageState(location);
    UpdateNavigationButtons();
}

void TFrameFrm::ApplyPageState(const QString& locationName) {
    if (!BackForwardPending)
        return;
    BackForwardPending = false;
    if (const auto step = PageStateFor(CurrentTopicId, locationName.toUpper()))
        Operations.Run({*step});
}

void TFrameFrm::UpdateNavigationButtons() {
    Item(QStringLiteral("FwdBtn"))->setEnabled(EWB->history()->canGoForward());
    Item(QStringLiteral("BackBtn"))->setEnabled(EWB->history()->canGoBack());
    const bool index = LocationName().compare(QLatin1String("index.html"), Qt::CaseInsensitive) != 0;
    Item(QStringLiteral("IndexBtn"))->setEnabled(index);
    Item(QStringLiteral("IndexOptBtns"))->setEnabled(!index);
}

bool TFrameFrm::RunPageCommand(const QString& word) {
    const bool panel = CurrentTopicId == 2007 || Topics->HostedPanel() != nullptr;
    const auto steps = RoutePageCommand(word, CurrentTopicId, Busy, panel);
    if (!steps)
        return false;
    Operations.Run(*steps);
    return true;
}

double ZoomFactorForSize(int index) {
    static const double factors[] = {0.8, 0.9, 1.0, 1.2, 1.4};
    return factors[std::clamp(index, 0, 4)];
}

void TFrameFrm::SetFontSizeIndex(int index) {
    FontSizeIndex = std::clamp(index, 0, 4);
    EWB->setZoomFactor(ZoomFactorForSize(FontSizeIndex));
    if (QAction* a = Item(QStringLiteral("Size%1").arg(FontSizeIndex)))
        a->setChecked(true);
}

void TFrameFrm::SetTextBackColour(const QString& colour) {
    if (EWB->url().isEmpty())
        return; // without a document nothing changes
    TextBackColour = colour;
    PaintPageBackground();
}

void TFrameFrm::CopyTopicText() {
    // The whole page's text, as selecting all and copying would give, but
    // without touching the pupil's selection or needing the page to have
    // the keyboard.
    m_page->runJavaScript(QStringLiteral("document.body ? document.body.innerText : ''"),
                          [](const QVariant& text) {
                              if (!text.toString().isEmpty())
                                  QApplication::clipboard()->setText(text.toString());
                          });
}

void TFrameFrm::PrintTopic() {
    if (EWB->url().isEmpty())
        return;
    auto* printer = new QPrinter(QPrinter::HighResolution);
    printer->setPageLayout(CoursePageLayout());
    QPrintDialog dialog(printer, this);
    if (dialog.exec() != QDialog::Accepted) {
        delete printer;
        return;
    }
    auto* job = new TPagePrinter(m_page, printer, this);
    connect(job, &TPagePrinter::finished, this, [job, printer](bool) {
        job->deleteLater();
        delete printer;
    });
    job->Start();
}

bool TFrameFrm::PageContextMenu(QContextMenuEvent* e) {
    QWebEngineContextMenuRequest* request = EWB->lastContextMenuRequest();
    if (!request)
        return true;
    if (request->mediaType() == QWebEngineContextMenuRequest::MediaTypeImage) {
        const QString file = CourseFileForUrl(ContentRoot, request->mediaUrl());
        if (file.isEmpty()) {
            ContextPicturePath.clear();
            return true;
        }
        ContextPicturePath = file;
        QMenu menu(this);
        menu.addAction(QStringLiteral("Copy picture to clipboard"), this, [this] {
            QImage image(ContextPicturePath);
            if (!image.isNull())
                QApplication::clipboard()->setImage(image);
        });
        menu.exec(e->globalPos());
        return true;
    }
    ContextPicturePath.clear();
    // Selected text gets the browser's own menu; anything else none.
    return request->selectedText().isEmpty();
}

void TFrameFrm::ShowMainToolbarItems(std::int32_t id) {
    MainToolbar->setUpdatesEnabled(false);
    auto show = [this](const char* name, bool on) {
        if (QAction* a = Item(QLatin1String(name)))
            a->setVisible(on);
    };
    auto in = [id](std::initializer_list<int> ids) { return std::find(ids.begin(), ids.end(), id) != ids.end(); };
    Moonpic->setVisible(in({1, 6, 16}));
    const bool animated = !in({10, 11, 17, 18, 19, 20, 21, 22});
    show("StartBtn", animated);
    show("StopBtn", animated);
    show("SSViewBtn", id == 5);
    Item(QStringLiteral("SSViewBtn"))->setEnabled(id == 5);
    show("ssPlanetNamesBtn", id == 5);
    show("moCurrentBtn", in({8, 11, 20}));
    show("moFieldBtn", in({8, 11}));
    show("SwitchBtn", in({10, 11}));
    show("metalCB", id == 13);
    show("NightDayMarker", id == 3);
    show("ResetBtn", in({15, 16}));
    Item(QStringLiteral("ResetBtn"))->setEnabled(false);
    show("SlitBtn", id == 18);
    show("ProtractorBtn", id == 18);
    for (const char* n : {"RectBlockBtn", "DBlockBtn", "PrismBtn"})
        show(n, id == 19);
    for (const char* n : {"LightGateLabel", "LightGateSE", "RampAngleLabel", "RampUpDn",
                          "TrolleyMassLabel", "TrolleyMassUpDn"})
        show(n, id == 16);
    MainToolbar->setUpdatesEnabled(true);
    TopDock->Relayout();
    BottomDock->Relayout();
}

void TFrameFrm::BeforeTopic(std::int32_t id) {
    delete StartPicture;
    StartPicture = nullptr;
    m_startImage = QImage();
    HTMLToolbar->show();
    AnimationMenu->menuAction()->setVisible(id < 16);
    EditMenu->menuAction()->setVisible(true);
}

void TFrameFrm::ToolbarsForTopic(std::int32_t id) {
    MainToolbar->setVisible(id < 1000);
    CircuitToolbar->setVisible(id == 1023);
    if (id < 1000)
        ShowMainToolbarItems(id);
    if (id == 1023) {
        Item(QStringLiteral("AmmeterBtn"))->setChecked(false);
        Item(QStringLiteral("VoltmeterBtn"))->setChecked(false);
        CircuitCB->setCurrentIndex(0);
        CellSpinEd->setValue(1);
    }
}

} // namespace quarvel
