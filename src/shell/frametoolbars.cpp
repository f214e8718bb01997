// The main window's toolbars and menus, built from their tables.

#include "shell/framefrm.h"

#include "browser/courseview.h"
#include "common/version.h"
#include "host/globals.h"
#include "host/host.h"
#include "widgets/datamod.h"
#include "widgets/dialogs.h"
#include "widgets/dock.h"
#include "widgets/skins.h"

#include <QActionGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QSpinBox>
#include <QToolButton>

namespace quarvel {

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

} // namespace quarvel
