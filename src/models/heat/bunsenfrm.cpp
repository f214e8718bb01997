#include "models/heat/bunsenfrm.h"

#include "common/contentpath.h"
#include "host/globals.h"
#include "widgets/picturebox.h"
#include "widgets/datamod.h"
#include "widgets/dock.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace quarvel {

namespace {
constexpr int kOpenImage = 44, kCloseImage = 45, kLightImage = 43;
constexpr int kStartImage = 4, kStopImage = 5, kTimeImage = 29;

QAction* Button(TDockToolbar* bar, const char* name, const QString& caption, const QString& hint, int image) {
    QAction* a = bar->addAction(TDataMod::Instance()->Images24().Icon(image), caption);
    a->setObjectName(QLatin1String(name));
    a->setToolTip(hint);
    a->setStatusTip(hint);
    a->setProperty("image", image);
    return a;
}

QScrollBar* Slider(QWidget* parent, const char* name, const QString& hint, int low, int high, int value) {
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(QLatin1String(name));
    bar->setRange(low, high);
    bar->setValue(value);
    bar->setToolTip(hint);
    bar->setStatusTip(hint);
    return bar;
}

QFont Scaled(const QFont& base, int percent) {
    QFont f = base;
    f.setPointSizeF(base.pointSizeF() * percent / 100.0);
    return f;
}

void SetImages(TDockToolbar* bar, bool large) {
    const TImageList& images = TDataMod::Instance()->Images(large);
    for (QAction* a : bar->actions())
        if (a->property("image").isValid())
            a->setIcon(images.Icon(a->property("image").toInt()));
    bar->setIconSize(QSize(images.Size(), images.Size()));
}

TPictureBox* AddPic(QWidget* owner) {
    auto* layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* pic = new TPictureBox(QStringLiteral("Pic"), owner);
    pic->setMinimumSize(10, 10);
    layout->addWidget(pic);
    return pic;
}
} // namespace

// ---------------------------------------------------------------- Bunsen

TBunsenFrm::TBunsenFrm(QWidget* parent) : TPanel(parent) {
    setObjectName(QStringLiteral("BunsenFrm"));
    m_toolbar = new TDockToolbar(QStringLiteral("Toolbar"), QStringLiteral("Bunsen burner"), this);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toolbar->setIconSize(QSize(24, 24));
    LowBtn = Button(m_toolbar, "LowBtn", QStringLiteral("Close"), QStringLiteral("Close airhole (yellow flame)"),
                    kCloseImage);
    HighBtn = Button(m_toolbar, "HighBtn", QStringLiteral("Open"), QStringLiteral("Open the airhole (blue flame)"),
                     kOpenImage);
    auto* group = new QActionGroup(this);
    for (QAction* a : {LowBtn, HighBtn}) {
        a->setCheckable(true);
        group->addAction(a);
    }
    HighBtn->setChecked(true);
    if (QWidget* w = m_toolbar->widgetForAction(LowBtn))
        w->setMinimumWidth(44);
    LightBtn = Button(m_toolbar, "LightBtn", QStringLiteral("Light"), QStringLiteral("Light the bunsen"), kLightImage);
    LightBtn->setCheckable(true);
    connect(LowBtn, &QAction::triggered, this, [this] { LowBtnClick(true); });
    connect(HighBtn, &QAction::triggered, this, [this] { LowBtnClick(false); });
    connect(LightBtn, &QAction::triggered, this, &TBunsenFrm::LightBtnClick);

    TimeLabel = new QLabel(QStringLiteral(" Time "), m_toolbar);
    TimeLabel->setObjectName(QStringLiteral("TimeLabel"));
    TimeHsb = Slider(m_toolbar, "TimeHsb", QStringLiteral("Set the time"), 0, TBunsenModel::kMaxTime, 0);
    TimeHsb->setPageStep(60);
    WaterLabel = new QLabel(QStringLiteral(" Volume of water "), m_toolbar);
    WaterLabel->setObjectName(QStringLiteral("WaterLabel"));
    WaterHsb = Slider(m_toolbar, "WaterHsb", QStringLiteral("Set the volume of water"), 50, 300, 150);
    m_toolbar->addWidget(TimeLabel);
    m_toolbar->addWidget(TimeHsb);
    m_toolbar->addWidget(WaterLabel);
    m_toolbar->addWidget(WaterHsb);
    connect(TimeHsb, &QScrollBar::valueChanged, this, &TBunsenFrm::TimeHsbScroll);
    connect(WaterHsb, &QScrollBar::valueChanged, this, &TBunsenFrm::WaterHsbScroll);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &TBunsenFrm::Redraw);

    Pic = AddPic(this);
    Pic->Resized = [this](QSize) { Redraw(); };
    SetLargeButtons(false);
}

TBunsenFrm::~TBunsenFrm() = default;

void TBunsenFrm::Redraw() {
    QImage image(Pic->size().expandedTo(QSize(10, 10)), QImage::Format_ARGB32_Premultiplied);
    Model.Draw(image);
    Pic->SetPicture(image);
}

void TBunsenFrm::UpdateTimer() {
    if (Model.TimerRuns())
        Timer1->start();
    else
        Timer1->stop();
}

void TBunsenFrm::LowBtnClick(bool closed) {
    (closed ? LowBtn : HighBtn)->setChecked(true);
    Model.AirHoleOpen = !closed;
    Redraw();
    UpdateTimer();
}

void TBunsenFrm::LightBtnClick() {
    Model.SetLit(LightBtn->isChecked());
    if (!Model.Lit) {
        const QSignalBlocker block(TimeHsb);
        TimeHsb->setValue(0);
    }
    UpdateTimer();
    Redraw();
}

void TBunsenFrm::TimeHsbScroll(int position) {
    if (!Model.SetTime(position)) {
        const QSignalBlocker block(TimeHsb);
        TimeHsb->setValue(Model.HeatingTime);
        return;
    }
    UpdateTimer();
    Redraw();
}

void TBunsenFrm::WaterHsbScroll(int position) {
    Model.Volume = position;
    UpdateTimer();
    Redraw();
}

void TBunsenFrm::SetLargeButtons(bool large) {
    // Only the scroll bars grow; the buttons keep their 24-pixel pictures.
    m_toolbar->setUpdatesEnabled(false);
    for (QScrollBar* bar : {TimeHsb, WaterHsb})
        bar->setFixedSize(large ? QSize(125, 20) : QSize(95, bar == TimeHsb ? 15 : 14));
    m_toolbar->setUpdatesEnabled(true);
}

// ---------------------------------------------------------------- Cooling

TCoolFrm::TCoolFrm(QWidget* parent) : TPanel(parent) {
    setObjectName(QStringLiteral("CoolFrm"));
    Ice = IcePicture();
    if (!TexturesFolder.isEmpty()) {
        const QString path = ResolveContentPath(TexturesFolder, QStringLiteral("icesalt.bmp"));
        if (!path.isEmpty())
            IceSalt = QImage(path);
    }
    m_toolbar = new TDockToolbar(QStringLiteral("Toolbar"), QStringLiteral("Cooling curve"), this);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toolbar->setIconSize(QSize(24, 24));
    StartBtn = Button(m_toolbar, "StartBtn", QStringLiteral("Start"), QStringLiteral("Auto run"), kStartImage);
    StopBtn = Button(m_toolbar, "StopBtn", QStringLiteral("Stop"), QStringLiteral("Stop"), kStopImage);
    StopBtn->setEnabled(false);
    connect(StartBtn, &QAction::triggered, this, [this] { StartBtnClick(true); });
    connect(StopBtn, &QAction::triggered, this, [this] { StartBtnClick(false); });

    auto* menu = new QMenu(this);
    auto* group = new QActionGroup(menu);
    RealTime1 = menu->addAction(QStringLiteral("Use real time"));
    RealTime1->setObjectName(QStringLiteral("RealTime1"));
    FastTime1 = menu->addAction(QStringLiteral("Use real time  x 10"));
    FastTime1->setObjectName(QStringLiteral("FastTime1"));
    for (QAction* a : {RealTime1, FastTime1}) {
        a->setCheckable(true);
        group->addAction(a);
    }
    RealTime1->setChecked(true);
    connect(RealTime1, &QAction::triggered, this, [this] { FastTime1Click(false); });
    connect(FastTime1, &QAction::triggered, this, [this] { FastTime1Click(true); });
    TimeBtn = Button(m_toolbar, "TimeBtn", QStringLiteral("Time"), QStringLiteral("Choose a timing mode"), kTimeImage);
    TimeBtn->setMenu(menu);
    if (auto* b = qobject_cast<QToolButton*>(m_toolbar->widgetForAction(TimeBtn)))
        b->setPopupMode(QToolButton::InstantPopup);

    TimeHsb = Slider(m_toolbar, "TimeHsb", QStringLiteral("Set the time elapsed manually"), 0, TCoolModel::kMaxTime, 0);
    TimeHsb->setPageStep(60);
    m_toolbar->addWidget(TimeHsb);
    connect(TimeHsb, &QScrollBar::valueChanged, this, &TCoolFrm::TimeHsbChange);

    StepTimer = new QTimer(this);
    StepTimer->setObjectName(QStringLiteral("StepTimer"));
    StepTimer->setInterval(1000);
    connect(StepTimer, &QTimer::timeout, this, &TCoolFrm::TimeStep);

    Pic = AddPic(this);
    Pic->Resized = [this](QSize) { Redraw(); };
    SetLargeButtons(false);
}

TCoolFrm::~TCoolFrm() { StepTimer->stop(); }

void TCoolFrm::hideEvent(QHideEvent* e) {
    StepTimer->stop();
    TPanel::hideEvent(e);
}

void TCoolFrm::Redraw() {
    Model.Time = TimeHsb->value();
    QImage image(Pic->size().expandedTo(QSize(10, 10)), QImage::Format_ARGB32_Premultiplied);
    Model.Draw(image, Ice, IceSalt);
    Pic->SetPicture(image);
}

void TCoolFrm::StartBtnClick(bool start) {
    StartBtn->setEnabled(!start);
    StopBtn->setEnabled(start);
    if (start) {
        StepTimer->setInterval(RealTime1->isChecked() ? 1000 : 100);
        StepTimer->start();
    } else {
        StepTimer->stop();
    }
}

void TCoolFrm::TimeStep() {
    if (TimeHsb->value() < TimeHsb->maximum()) {
        TimeHsb->setValue(TimeHsb->value() + 1);
        return;
    }
    StepTimer->stop();
    StartBtn->setEnabled(true);
    StopBtn->setEnabled(false);
}

void TCoolFrm::FastTime1Click(bool fast) {
    (fast ? FastTime1 : RealTime1)->setChecked(true);
    StepTimer->setInterval(fast ? 100 : 1000);
}

void TCoolFrm::TimeHsbChange() { Redraw(); }

void TCoolFrm::SetLargeButtons(bool large) {
    m_toolbar->setUpdatesEnabled(false);
    SetImages(m_toolbar, large);
    const QFont f = Scaled(font(), large ? 150 : 100);
    TimeBtn->setFont(f);
    if (QWidget* b = m_toolbar->widgetForAction(TimeBtn))
        b->setFont(f);
    RealTime1->setFont(f);
    FastTime1->setFont(f);
    TimeHsb->setFixedSize(127, large ? 20 : 14);
    m_toolbar->setUpdatesEnabled(true);
}

void RegisterBunsenPanels() {
    TPanelInfo bunsen;
    bunsen.Create = [](QWidget* owner) { return new TBunsenFrm(owner); };
    RegisterPanel(2024, bunsen);
    TPanelInfo cool;
    cool.Create = [](QWidget* owner) { return new TCoolFrm(owner); };
    RegisterPanel(2025, cool);
}

} // namespace quarvel
