// The panes and toolbars the topic on show asks for: the split buttons,
// the docks, large buttons, skins and the main toolbar's items per topic.

#include "shell/framefrm.h"

#include "widgets/datamod.h"
#include "widgets/dock.h"
#include "widgets/skins.h"

#include <QMenu>
#include <QActionGroup>
#include <QSpinBox>
#include <QComboBox>
#include <QScrollBar>
#include <QToolButton>

namespace quarvel {

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
