#include "models/forces/springfrm.h"

#include "common/contentpath.h"
#include "common/rounding.h"
#include "host/globals.h"
#include "models/forces/itemfont.h"
#include "widgets/picturebox.h"
#include "widgets/datamod.h"
#include "widgets/dock.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QSpinBox>
#include <QWheelEvent>
#include <algorithm>

namespace quarvel {

namespace {
constexpr int kResetImage = 18; // undo3
constexpr int kZoomImage = 42;  // zoom-scale

void SetHint(QAction* a, const QString& hint) {
    a->setToolTip(hint);
    a->setStatusTip(hint);
}

void SetHint(QWidget* w, const QString& hint) {
    w->setToolTip(hint);
    w->setStatusTip(hint);
}

QImage LoadHook() {
    if (TexturesFolder.isEmpty())
        return {};
    const QString path = ResolveContentPath(TexturesFolder, QStringLiteral("Hook.png"));
    return path.isEmpty() ? QImage() : QImage(path);
}
} // namespace

TSpringFrm::TSpringFrm(QWidget* parent) : TPanel(parent) {
    setObjectName(QStringLiteral("SpringFrm"));
    setFocusPolicy(Qt::StrongFocus);

    m_toolbar = new TDockToolbar(QStringLiteral("Toolbar"), QStringLiteral("Spring"), this);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const TImageList& images = TDataMod::Instance()->Images24();
    m_toolbar->setIconSize(QSize(24, 24));
    ResetBtn = m_toolbar->addAction(images.Icon(kResetImage), QStringLiteral("Reset"));
    ResetBtn->setObjectName(QStringLiteral("ResetBtn"));
    SetHint(ResetBtn, QStringLiteral("Remove all  weights"));
    connect(ResetBtn, &QAction::triggered, this, &TSpringFrm::ResetBtnClick);
    ZoomBtn = m_toolbar->addAction(images.Icon(kZoomImage), QStringLiteral("Zoom"));
    ZoomBtn->setObjectName(QStringLiteral("ZoomBtn"));
    ZoomBtn->setCheckable(true);
    ZoomBtn->setChecked(true);
    connect(ZoomBtn, &QAction::toggled, this, &TSpringFrm::ZoomBtnClick);
    m_toolbar->addSeparator();
    Label1 = new QLabel(QStringLiteral("Total mass (g)"), m_toolbar);
    Label1->setObjectName(QStringLiteral("Label1"));
    m_toolbar->addWidget(Label1);
    WeightSpinEdit = new QSpinBox(m_toolbar);
    WeightSpinEdit->setObjectName(QStringLiteral("WeightSpinEdit"));
    WeightSpinEdit->setRange(0, TSpring::kMaxTotalMass);
    WeightSpinEdit->setSingleStep(100);
    // A typed value is taken when it is complete, not digit by digit.
    WeightSpinEdit->setKeyboardTracking(false);
    SetHint(WeightSpinEdit, QStringLiteral("Set the number of weights on the spring"));
    m_toolbar->addWidget(WeightSpinEdit);
    connect(WeightSpinEdit, &QSpinBox::valueChanged, this, &TSpringFrm::WeightSpinEditChange);
    m_toolbar->addSeparator();
    SpringCB = new QComboBox(m_toolbar);
    SpringCB->setObjectName(QStringLiteral("SpringCB"));
    SpringCB->addItems({QStringLiteral("Spring"), QStringLiteral("Parallel springs"), QStringLiteral("Elastic band")});
    SpringCB->setCurrentIndex(0);
    m_toolbar->addWidget(SpringCB);
    connect(SpringCB, &QComboBox::currentIndexChanged, this, &TSpringFrm::SpringCBChange);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Pic = new TPictureBox(QStringLiteral("Pic"), this);
    Pic->setFixedWidth(250);
    Pic->setMinimumHeight(100);
    Pic->setCursor(Qt::CrossCursor);
    SetHint(Pic, QStringLiteral("Click and drag to show a marker"));
    Pic->installEventFilter(this);
    layout->addWidget(Pic);
    SpScroll = new QScrollBar(Qt::Vertical, this);
    SpScroll->setObjectName(QStringLiteral("SpScroll"));
    SpScroll->setRange(0, TSpring::kMaxScroll);
    SpScroll->setSingleStep(10);
    SpScroll->setPageStep(200);
    layout->addWidget(SpScroll);
    layout->addStretch(1);
    connect(SpScroll, &QScrollBar::valueChanged, this, &TSpringFrm::SpScrollChange);
    // Over the picture and over the bar, a notch of the wheel is 10 pixels.
    SpScroll->installEventFilter(this);

    Spring = std::make_unique<TSpring>(TSpring::kMinHeight, 250);
    Spring->Hook = LoadHook();
    Pic->Overlay = [this](QPainter& p) {
        if (!Marking)
            return;
        p.setPen(QPen(QColor(0, 128, 0), 1));
        p.drawLine(0, MarkerY, MarkerX, MarkerY);
    };
    Pic->MouseDown = [this](QMouseEvent* e) {
        if (e->button() == Qt::LeftButton)
            PicMouseDown(e->position().toPoint());
    };
    Pic->MouseMove = [this](QMouseEvent* e) { PicMouseMove(e->position().toPoint()); };
    Pic->MouseUp = [this](QMouseEvent*) { PicMouseUp(); };
    Pic->Resized = [this](QSize s) {
        Spring->SetSize(s.width(), s.height());
        Pic->SetPicture(Spring->Picture());
    };
    Redraw();
}

TSpringFrm::~TSpringFrm() = default;

void TSpringFrm::Redraw() {
    Spring->Draw();
    Pic->SetPicture(Spring->Picture());
}

void TSpringFrm::ResetBtnClick() {
    Spring->Reset();
    const QSignalBlocker blockSpin(WeightSpinEdit), blockScroll(SpScroll);
    WeightSpinEdit->setValue(0);
    // The picture went back to the top of the ruler, and so does the bar.
    SpScroll->setValue(0);
    Pic->SetPicture(Spring->Picture());
}

void TSpringFrm::ZoomBtnClick(bool checked) {
    Spring->Zoomed = checked;
    SpScroll->setVisible(checked);
    Redraw();
}

void TSpringFrm::WeightSpinEditChange(int grams) {
    const int target = std::clamp(int(RoundHalfEven(grams / 100.0)) * 100, 0, TSpring::kMaxTotalMass);
    while (Spring->TotalMass() < target) {
        const int before = Spring->TotalMass();
        Spring->AddWeight(100);
        if (Spring->TotalMass() == before)
            break;
    }
    while (Spring->TotalMass() > target && !Spring->Weights.empty())
        Spring->RemoveWeight();
    if (WeightSpinEdit->value() != Spring->TotalMass()) {
        const QSignalBlocker block(WeightSpinEdit);
        WeightSpinEdit->setValue(Spring->TotalMass());
    }
    Redraw();
}

void TSpringFrm::SpringCBChange(int index) {
    Spring->SetKind(index);
    Redraw();
}

void TSpringFrm::SpScrollChange(int position) {
    Spring->ScrollOffset = position;
    Redraw();
}

void TSpringFrm::Wheel(int notches) {
    const int offset = std::clamp(Spring->ScrollOffset + 10 * notches, 0, TSpring::kMaxScroll);
    if (offset == Spring->ScrollOffset)
        return;
    SpScroll->setValue(offset); // redraws through the bar's change
}

void TSpringFrm::wheelEvent(QWheelEvent* e) {
    const int notches = -e->angleDelta().y() / 120;
    if (notches != 0)
        Wheel(notches);
    e->accept();
}

bool TSpringFrm::eventFilter(QObject* watched, QEvent* e) {
    if ((watched == SpScroll || watched == Pic) && e->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent*>(e));
        return true;
    }
    return TPanel::eventFilter(watched, e);
}

void TSpringFrm::showEvent(QShowEvent* e) {
    TPanel::showEvent(e);
    setFocus();
}

void TSpringFrm::PicMouseDown(QPoint p) {
    setFocus();
    Marking = true;
    MarkerX = p.x();
    MarkerY = p.y();
    Pic->update();
}

void TSpringFrm::PicMouseMove(QPoint p) {
    if (!Marking)
        return;
    MarkerX = p.x();
    MarkerY = p.y();
    Pic->update();
}

void TSpringFrm::PicMouseUp() {
    if (!Marking)
        return;
    Marking = false;
    Pic->update();
}

void TSpringFrm::SetLargeButtons(bool large) {
    LargeButtons = large;
    m_toolbar->setUpdatesEnabled(false);
    const TImageList& images = TDataMod::Instance()->Images(large);
    ResetBtn->setIcon(images.Icon(kResetImage));
    ZoomBtn->setIcon(images.Icon(kZoomImage));
    m_toolbar->setIconSize(QSize(images.Size(), images.Size()));
    const QFont base = font();
    const QFont itemFont = ScaledItemFont(base, large ? 150 : 100);
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, WeightSpinEdit})
        SetItemFont(w, itemFont);
    QFont comboFont = base;
    comboFont.setPointSize(large ? 12 : 8);
    SpringCB->setFont(comboFont);
    SpringCB->setFixedWidth(large ? 150 : 100);
    m_toolbar->setUpdatesEnabled(true);
}

void RegisterSpringPanel() {
    TPanelInfo info;
    info.Create = [](QWidget* owner) { return new TSpringFrm(owner); };
    RegisterPanel(2021, info);
}

} // namespace quarvel
