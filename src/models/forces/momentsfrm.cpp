#include "models/forces/momentsfrm.h"

#include "models/forces/itemfont.h"
#include "widgets/picturebox.h"
#include "widgets/datamod.h"
#include "widgets/dock.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <tuple>
#include <utility>

namespace quarvel {

namespace {
constexpr int kBalanceImage = 41; // balance
constexpr int kHoldersImage = 40; // weights

template <class T> void SetHint(T* item, const QString& hint) {
    item->setToolTip(hint);
    item->setStatusTip(hint);
}
} // namespace

TMomentsFrm::TMomentsFrm(QWidget* parent) : TPanel(parent) {
    setObjectName(QStringLiteral("MomentsFrm"));
    m_toolbar = new TDockToolbar(QStringLiteral("Toolbar"), QStringLiteral("Moments"), this);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toolbar->setIconSize(QSize(24, 24));
    const TImageList& images = TDataMod::Instance()->Images24();

    BalanceBtn = m_toolbar->addAction(images.Icon(kBalanceImage), QStringLiteral("Check balance"));
    BalanceBtn->setObjectName(QStringLiteral("BalanceBtn"));
    SetHint(BalanceBtn, QStringLiteral("Hold down the button to see if the beam balances"));
    if (QToolButton* b = BalanceButton()) {
        connect(b, &QToolButton::pressed, this, &TMomentsFrm::BalanceBtnDown);
        connect(b, &QToolButton::released, this, &TMomentsFrm::BalanceBtnUp);
        b->installEventFilter(this);
    }
    m_toolbar->addSeparator();

    auto* menu = new QMenu(this);
    auto* group = new QActionGroup(menu);
    holders2 = menu->addAction(QStringLiteral("2 weight holders"));
    holders2->setObjectName(QStringLiteral("holders2"));
    Holders3 = menu->addAction(QStringLiteral("3 weight holders"));
    Holders3->setObjectName(QStringLiteral("Holders3"));
    for (QAction* a : {holders2, Holders3}) {
        a->setCheckable(true);
        group->addAction(a);
    }
    holders2->setChecked(true);
    connect(holders2, &QAction::triggered, this, [this] { ChooseHolders(2); });
    connect(Holders3, &QAction::triggered, this, [this] { ChooseHolders(3); });
    WeightsBtn = new QAction(images.Icon(kHoldersImage), QStringLiteral("Holders"), this);
    WeightsBtn->setObjectName(QStringLiteral("WeightsBtn"));
    SetHint(WeightsBtn, QStringLiteral("Set the number of weight holders"));
    WeightsBtn->setMenu(menu);
    connect(WeightsBtn, &QAction::triggered, this, &TMomentsFrm::WeightsBtnClick);
    m_toolbar->addAction(WeightsBtn);
    if (auto* b = qobject_cast<QToolButton*>(m_toolbar->widgetForAction(WeightsBtn)))
        b->setPopupMode(QToolButton::MenuButtonPopup);
    m_toolbar->addSeparator();

    auto addHolder = [this](const QString& letter, QLabel*& label, QSpinBox*& spin) {
        label = new QLabel(letter, m_toolbar);
        label->setObjectName(letter + QStringLiteral("Label"));
        QAction* labelItem = m_toolbar->addWidget(label);
        spin = new QSpinBox(m_toolbar);
        spin->setObjectName(QStringLiteral("Weights") + letter);
        spin->setRange(0, 10);
        spin->setValue(5);
        SetHint(spin, QStringLiteral("Set the number of weights on holder %1").arg(letter));
        QAction* spinItem = m_toolbar->addWidget(spin);
        connect(spin, &QSpinBox::valueChanged, this, &TMomentsFrm::WeightsChange);
        return std::pair{labelItem, spinItem};
    };
    addHolder(QStringLiteral("A"), ALabel, WeightsA);
    addHolder(QStringLiteral("B"), BLabel, WeightsB);
    m_cSeparator = m_toolbar->addSeparator();
    std::tie(m_cLabelItem, m_cSpinItem) = addHolder(QStringLiteral("C"), CLabel, WeightsC);
    for (QAction* a : {m_cSeparator, m_cLabelItem, m_cSpinItem})
        a->setVisible(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Pic = new TPictureBox(QStringLiteral("Pic"), this);
    Pic->setMinimumSize(115, 60);
    layout->addWidget(Pic);
    Pic->Resized = [this](QSize s) {
        Unit = s.width() / 23.0;
        Redraw(0);
    };
    Pic->MouseDown = [this](QMouseEvent* e) { PicMouseDown(e->position().toPoint()); };
    Pic->MouseMove = [this](QMouseEvent* e) { PicMouseMove(e->position().toPoint(), e->buttons()); };
    Pic->MouseUp = [this](QMouseEvent*) { PicMouseUp(); };
    Redraw(0);
}

TMomentsFrm::~TMomentsFrm() = default;

QToolButton* TMomentsFrm::BalanceButton() const {
    return qobject_cast<QToolButton*>(m_toolbar->widgetForAction(BalanceBtn));
}

void TMomentsFrm::Redraw(int tilt) {
    if (Pic->width() > 0)
        Unit = Pic->width() / 23.0;
    Pic->SetPicture(Model.Draw(Pic->size(), tilt));
}

void TMomentsFrm::BalanceBtnDown() {
    Model.Checking = true;
    Redraw(Model.NetMoment());
}

void TMomentsFrm::BalanceBtnUp() {
    if (!Model.Checking)
        return;
    Model.Checking = false;
    Redraw(0);
}

bool TMomentsFrm::eventFilter(QObject* watched, QEvent* e) {
    // However the button is let go - over it, beside it, or after sliding
    // off - the check ends with the release.
    // The type is checked first: the toolbar may be going (its actions send
    // events as they are removed), and it is not to be asked anything then.
    if (e->type() == QEvent::MouseButtonRelease && watched == BalanceButton())
        BalanceBtnUp();
    return TPanel::eventFilter(watched, e);
}

void TMomentsFrm::WeightsBtnClick() {
    (Model.ThreeHolders() ? Holders3 : holders2)->setChecked(true);
    Redraw(0);
}

void TMomentsFrm::ChooseHolders(int count) {
    const bool three = count == 3;
    (three ? Holders3 : holders2)->setChecked(true);
    Model.SetThreeHolders(three);
    for (QAction* a : {m_cSeparator, m_cLabelItem, m_cSpinItem})
        a->setVisible(three);
    Redraw(0);
}

void TMomentsFrm::WeightsChange() {
    Model.Holders[0].Count = WeightsA->value();
    Model.Holders[1].Count = WeightsB->value();
    Model.Holders[2].Count = WeightsC->value();
    Redraw(0);
}

void TMomentsFrm::PicMouseDown(QPoint p) {
    if (Model.BeginDrag(p.x(), p.y(), Unit))
        Pic->setCursor(Qt::SizeHorCursor);
}

void TMomentsFrm::PicMouseMove(QPoint p, Qt::MouseButtons buttons) {
    if (buttons & Qt::LeftButton) {
        if (Model.DragIndex != TMomentsModel::kNone && Model.DragTo(p.x(), Pic->width(), Unit))
            Redraw(0);
        return;
    }
    const bool over = Model.HitTest(p.x(), p.y(), Unit) != TMomentsModel::kNone;
    Pic->setCursor(over ? Qt::SizeHorCursor : Qt::ArrowCursor);
}

void TMomentsFrm::PicMouseUp() {
    if (Model.DragIndex == TMomentsModel::kNone)
        return;
    Model.EndDrag();
    Redraw(0);
}

bool TMomentsFrm::RunOperation(const QString& name, const QVariantList& args) {
    if (name == QLatin1String("MomentsHolders")) {
        ChooseHolders(args.value(0).toInt() == 3 ? 3 : 2);
        return true;
    }
    return false;
}

void TMomentsFrm::SetLargeButtons(bool large) {
    LargeButtons = large;
    m_toolbar->setUpdatesEnabled(false);
    const TImageList& images = TDataMod::Instance()->Images(large);
    BalanceBtn->setIcon(images.Icon(kBalanceImage));
    WeightsBtn->setIcon(images.Icon(kHoldersImage));
    m_toolbar->setIconSize(QSize(images.Size(), images.Size()));
    const QFont f = ScaledItemFont(font(), large ? 150 : 100);
    for (QWidget* w : std::initializer_list<QWidget*>{ALabel, BLabel, CLabel, WeightsA, WeightsB, WeightsC})
        SetItemFont(w, f);
    for (QAction* a : {BalanceBtn, WeightsBtn})
        if (QWidget* button = m_toolbar->widgetForAction(a))
            SetItemFont(button, f);
    m_toolbar->setUpdatesEnabled(true);
}

void RegisterMomentsPanel() {
    TPanelInfo info;
    info.Create = [](QWidget* owner) { return new TMomentsFrm(owner); };
    RegisterPanel(2016, info);
}

} // namespace quarvel
