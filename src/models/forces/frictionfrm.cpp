#include "models/forces/frictionfrm.h"

#include "models/forces/itemfont.h"
#include "widgets/picturebox.h"
#include "widgets/datamod.h"
#include "widgets/dock.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace quarvel {

namespace {
constexpr int kResetImage = 18;   // undo3
constexpr int kSurfaceImage = 44; // Friction1

template <class T> void SetHint(T* item, const QString& hint) {
    item->setToolTip(hint);
    item->setStatusTip(hint);
}

// Arrows only: the value cannot be typed.
QSpinBox* ArrowSpin(const QString& name, int low, int high, int step, int value, QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(low, high);
    spin->setSingleStep(step);
    spin->setValue(value);
    spin->findChild<QLineEdit*>()->setReadOnly(true);
    return spin;
}
} // namespace

TFrictionFrm::TFrictionFrm(QWidget* parent) : TPanel(parent) {
    setObjectName(QStringLiteral("FrictionFrm"));
    m_toolbar = new TDockToolbar(QStringLiteral("Toolbar"), QStringLiteral("Friction"), this);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toolbar->setIconSize(QSize(24, 24));
    const TImageList& images = TDataMod::Instance()->Images24();

    ResetBtn = m_toolbar->addAction(images.Icon(kResetImage), QStringLiteral("Reset"));
    ResetBtn->setObjectName(QStringLiteral("ResetBtn"));
    SetHint(ResetBtn, QStringLiteral("Reset the experiment"));
    connect(ResetBtn, &QAction::triggered, this, &TFrictionFrm::ResetBtnClick);

    auto* menu = new QMenu(this);
    auto* group = new QActionGroup(menu);
    const char* names[] = {"Smooth surface", "Medium surface", "Rough surface"};
    QAction** items[] = {&Surface1, &Surface2, &Surface3};
    for (int i = 0; i < 3; ++i) {
        QAction* a = menu->addAction(QLatin1String(names[i]));
        a->setObjectName(QStringLiteral("Surface%1").arg(i + 1));
        a->setCheckable(true);
        group->addAction(a);
        *items[i] = a;
        connect(a, &QAction::triggered, this, [this, i] { ChooseSurface(i); });
    }
    Surface2->setChecked(true);
    SurfaceBtn = new QAction(images.Icon(kSurfaceImage), QStringLiteral("Medium surface"), this);
    SurfaceBtn->setObjectName(QStringLiteral("SurfaceBtn"));
    SetHint(SurfaceBtn, QStringLiteral("Choose a type of surface"));
    SurfaceBtn->setMenu(menu);
    m_toolbar->addAction(SurfaceBtn);
    m_surfaceButton = qobject_cast<QToolButton*>(m_toolbar->widgetForAction(SurfaceBtn));
    if (m_surfaceButton)
        m_surfaceButton->setPopupMode(QToolButton::InstantPopup);
    m_toolbar->addSeparator();

    Label1 = new QLabel(QStringLiteral("Added weight "), m_toolbar);
    Label1->setObjectName(QStringLiteral("Label1"));
    m_toolbar->addWidget(Label1);
    WtsSpinEd = ArrowSpin(QStringLiteral("WtsSpinEd"), 0, 10, 1, 3, m_toolbar);
    SetHint(WtsSpinEd, QStringLiteral("Set the number of weights"));
    m_toolbar->addWidget(WtsSpinEd);
    connect(WtsSpinEd, &QSpinBox::valueChanged, this, &TFrictionFrm::WtsSpinEdChange);
    Label2 = new QLabel(QStringLiteral("Surface area "), m_toolbar);
    Label2->setObjectName(QStringLiteral("Label2"));
    m_toolbar->addWidget(Label2);
    AreaSpinEd = ArrowSpin(QStringLiteral("AreaSpinEd"), 50, 100, 10, 50, m_toolbar);
    SetHint(AreaSpinEd, QStringLiteral("Set the surface area of the block"));
    m_toolbar->addWidget(AreaSpinEd);
    connect(AreaSpinEd, &QSpinBox::valueChanged, this, &TFrictionFrm::AreaSpinEdChange);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Pic = new TPictureBox(QStringLiteral("Pic"), this);
    Pic->setMinimumSize(100, 80);
    Pic->Resized = [this](QSize) { Redraw(); };
    layout->addWidget(Pic, 1);
    ForceHsb = new QScrollBar(Qt::Horizontal, this);
    ForceHsb->setObjectName(QStringLiteral("ForceHsb"));
    ForceHsb->setRange(0, TFrictionModel::kMaxPull);
    ForceHsb->setSingleStep(1);
    ForceHsb->setPageStep(1);
    SetHint(ForceHsb, QStringLiteral("Apply a force by pulling the spring balance"));
    layout->addWidget(ForceHsb);
    connect(ForceHsb, &QScrollBar::valueChanged, this, &TFrictionFrm::ForceHsbChange);
    Redraw();
}

TFrictionFrm::~TFrictionFrm() = default;

void TFrictionFrm::Redraw() { Pic->SetPicture(Model.Draw(Pic->size())); }

void TFrictionFrm::ResetBtnClick() {
    Model.Reset();
    {
        const QSignalBlocker block(ForceHsb);
        ForceHsb->setValue(0);
    }
    Redraw();
}

void TFrictionFrm::ChooseSurface(int surface) {
    QAction* items[] = {Surface1, Surface2, Surface3};
    items[surface]->setChecked(true);
    if (Model.Surface() == surface)
        return;
    Model.SetSurface(surface);
    Redraw();
}

void TFrictionFrm::WtsSpinEdChange(int value) {
    const int before = Model.AddedWeight;
    Model.SetAddedWeight(value);
    if (Model.AddedWeight != before)
        Redraw();
}

void TFrictionFrm::AreaSpinEdChange(int value) {
    const float before = Model.BlockLength;
    Model.SetArea(value);
    if (Model.BlockLength != before)
        Redraw();
}

void TFrictionFrm::ForceHsbChange(int position) {
    const int shown = Model.Pull(position);
    if (shown != position) {
        const QSignalBlocker block(ForceHsb);
        ForceHsb->setValue(shown);
    }
    Redraw();
}

void TFrictionFrm::SetLargeButtons(bool large) {
    LargeButtons = large;
    m_toolbar->setUpdatesEnabled(false);
    const TImageList& images = TDataMod::Instance()->Images(large);
    ResetBtn->setIcon(images.Icon(kResetImage));
    SurfaceBtn->setIcon(images.Icon(kSurfaceImage));
    m_toolbar->setIconSize(QSize(images.Size(), images.Size()));
    const QFont f = ScaledItemFont(font(), large ? 150 : 100);
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, WtsSpinEd, Label2, AreaSpinEd})
        SetItemFont(w, f);
    m_toolbar->setUpdatesEnabled(true);
}

void RegisterFrictionPanel() {
    TPanelInfo info;
    info.Create = [](QWidget* owner) { return new TFrictionFrm(owner); };
    RegisterPanel(2020, info);
}

} // namespace quarvel
