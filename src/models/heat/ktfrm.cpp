#include "models/heat/ktfrm.h"

#include "host/cadencer.h"
#include "widgets/picturebox.h"
#include "widgets/datamod.h"
#include "widgets/dock.h"

#include <QAction>
#include <QActionGroup>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>

namespace quarvel {

namespace {
constexpr int kStartImage = 4, kStopImage = 5, kRemoveBarrierImage = 19, kResetImage = 20;
// Steps run at once after placing, so a still picture already looks alive.
constexpr int kPreSteps = 16;

int ScreenRadius() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return KineticRadius(screen ? screen->size().width() : 1024);
}

template <class T> void SetHint(T* item, const QString& hint) {
    item->setToolTip(hint);
    item->setStatusTip(hint);
}
} // namespace

TKTFrm::TKTFrm(QWidget* parent) : TPanel(parent), Model(ScreenRadius()) {
    setObjectName(QStringLiteral("KTFrm"));
    FirstPicture = ParticlePicture(2 * Model.Radius, false);
    SecondPicture = ParticlePicture(2 * Model.Radius, true);

    m_toolbar = new TDockToolbar(QStringLiteral("Toolbar"), QStringLiteral("Particles"), this);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toolbar->setIconSize(QSize(24, 24));
    const TImageList& images = TDataMod::Instance()->Images24();
    auto button = [&](const char* name, const QString& caption, const QString& hint, int image) {
        QAction* a = image >= 0 ? m_toolbar->addAction(images.Icon(image), caption)
                                : m_toolbar->addAction(caption);
        a->setObjectName(QLatin1String(name));
        a->setProperty("image", image);
        SetHint(a, hint);
        return a;
    };
    StartBtn = button("StartBtn", QStringLiteral("Start"), QStringLiteral("Start the animation"), kStartImage);
    StopBtn = button("StopBtn", QStringLiteral("Stop"), QStringLiteral("Stop the animation"), kStopImage);
    StopBtn->setEnabled(false);
    connect(StartBtn, &QAction::triggered, this, [this] { StartBtnClick(true); });
    connect(StopBtn, &QAction::triggered, this, [this] { StartBtnClick(false); });

    TemperatureTW = new QWidget(m_toolbar);
    TemperatureTW->setObjectName(QStringLiteral("TemperatureTW"));
    auto* tw = new QVBoxLayout(TemperatureTW);
    tw->setContentsMargins(4, 0, 4, 0);
    tw->setSpacing(0);
    TempLabel = new QLabel(QStringLiteral("Temperature"), TemperatureTW);
    TempLabel->setObjectName(QStringLiteral("TempLabel"));
    tw->addWidget(TempLabel);
    SpeedHsb = new QScrollBar(Qt::Horizontal, TemperatureTW);
    SpeedHsb->setObjectName(QStringLiteral("SpeedHsb"));
    SpeedHsb->setRange(TKineticModel::kMinTemperature, TKineticModel::kMaxTemperature);
    SpeedHsb->setValue(TKineticModel::kMinTemperature);
    SpeedHsb->setFixedSize(150, 14);
    SetHint(SpeedHsb, QStringLiteral("Set the temperature"));
    tw->addWidget(SpeedHsb);
    connect(SpeedHsb, &QScrollBar::valueChanged, this, &TKTFrm::SpeedHsbScroll);
    m_temperatureAction = new QWidgetAction(m_toolbar);
    m_temperatureAction->setDefaultWidget(TemperatureTW);
    m_toolbar->addAction(m_temperatureAction);

    BarrierBtn = button("BarrierBtn", QStringLiteral("Remove barrier"), QStringLiteral("Remove the barrier"),
                        kRemoveBarrierImage);
    connect(BarrierBtn, &QAction::triggered, this, &TKTFrm::BarrierBtnClick);

    auto* states = new QActionGroup(this);
    SolidBtn = button("SolidBtn", QStringLiteral("Solid"), QStringLiteral("Model for a solid"), -1);
    LiquidBtn = button("LiquidBtn", QStringLiteral("Liquid"), QStringLiteral("Model for a liquid"), -1);
    GasBtn = button("GasBtn", QStringLiteral("Gas"), QStringLiteral("Model for a gas"), -1);
    auto* volumes = new QActionGroup(this);
    LargeBtn = button("LargeBtn", QStringLiteral("Large volume"), QStringLiteral("Large volume"), -1);
    SmallBtn = button("SmallBtn", QStringLiteral("Small volume"), QStringLiteral("Small volume"), -1);
    int mode = 0;
    for (QAction* a : {SolidBtn, LiquidBtn, GasBtn, LargeBtn, SmallBtn}) {
        a->setCheckable(true);
        (mode < 3 ? states : volumes)->addAction(a);
        connect(a, &QAction::triggered, this, [this, mode] { ModeBtnClick(mode); });
        if (auto* b = qobject_cast<QToolButton*>(m_toolbar->widgetForAction(a)))
            b->setMinimumWidth(40);
        ++mode;
    }
    SolidBtn->setChecked(true);
    LargeBtn->setChecked(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Pic = new TPictureBox(QStringLiteral("Pic"), this);
    Pic->setMinimumSize(10, 10);
    Pic->Resized = [this](QSize) { PicResize(); };
    layout->addWidget(Pic);

    FrameTimer = new TNGLCadencer(this);
    FrameTimer->SetEnabled(false);
    // A stall (a dialog, a window drag) must not become one huge step that
    // throws every particle into the walls.
    FrameTimer->MaxDeltaTime = 0.1;
    connect(FrameTimer, &TNGLCadencer::OnProgress, this,
            [this](TNGLCadencer*, double delta, double) { FrameStep(delta); });
    SetKTMode(TKineticModel::kSolid);
}

TKTFrm::~TKTFrm() { FrameTimer->SetEnabled(false); }

bool TKTFrm::Running() const { return FrameTimer->Enabled(); }

void TKTFrm::SetKTMode(int mode) {
    Model.Mode = std::uint8_t(mode);
    DockToolbar(m_toolbar);
    const bool states = mode <= 2, volumes = mode == 3 || mode == 4, diffusion = mode == 5;
    for (QAction* a : {SolidBtn, LiquidBtn, GasBtn})
        a->setVisible(states);
    LargeBtn->setVisible(volumes);
    SmallBtn->setVisible(volumes);
    BarrierBtn->setVisible(diffusion);
    if (states)
        (mode == 0 ? SolidBtn : mode == 1 ? LiquidBtn : GasBtn)->setChecked(true);
    if (volumes)
        (mode == 3 ? LargeBtn : SmallBtn)->setChecked(true);
    if (diffusion) { // the temperature bar goes to the end of the toolbar
        m_toolbar->removeAction(m_temperatureAction);
        m_toolbar->addAction(m_temperatureAction);
        TemperatureTW->show();
        SetBtnImage(BarrierBtn, m_barrierImage);
    }
    PicResize();
}

void TKTFrm::SetBtnImage(QAction* a, int index) {
    a->setProperty("image", index);
    a->setIcon(TDataMod::Instance()->Images(LargeButtons).Icon(index));
}

void TKTFrm::StartBtnClick(bool start) {
    FrameTimer->SetEnabled(start);
    StartBtn->setEnabled(!start);
    StopBtn->setEnabled(start);
}

void TKTFrm::ModeBtnClick(int mode) {
    QAction* items[] = {SolidBtn, LiquidBtn, GasBtn, LargeBtn, SmallBtn};
    items[mode]->setChecked(true);
    if (Model.Mode == mode)
        return;
    Model.Mode = std::uint8_t(mode);
    Model.Box = Model.ContainerRect(mode);
    Model.PlaceParticles();
    if (!Running()) {
        for (int i = 0; i < kPreSteps; ++i)
            Model.StepParticles(1.0f);
        Draw();
    }
}

void TKTFrm::SpeedHsbScroll(int position) {
    Model.Temperature = position;
    if ((Model.Mode == TKineticModel::kLargeVolume || Model.Mode == TKineticModel::kSmallVolume) && !Running())
        Draw();
}

void TKTFrm::BarrierBtnClick() {
    Model.Barrier = !Model.Barrier;
    if (!Model.Barrier) { // the particles keep their places and velocities
        BarrierBtn->setText(QStringLiteral("Reset"));
        m_barrierImage = kResetImage;
        SetHint(BarrierBtn, QStringLiteral("Reset the animation"));
    } else {
        BarrierBtn->setText(QStringLiteral("Remove barrier"));
        m_barrierImage = kRemoveBarrierImage;
        SetHint(BarrierBtn, QStringLiteral("Remove the barrier"));
        Model.PlaceDiffusion();
        for (int i = 0; i < kPreSteps; ++i)
            Model.StepSeparated(1.0f);
    }
    SetBtnImage(BarrierBtn, m_barrierImage);
    if (!Running())
        Draw();
}

void TKTFrm::KTCommand(const QString& text) {
    if (text == QLatin1String("+go")) {
        if (StartBtn->isEnabled())
            StartBtnClick(true);
    } else if (text == QLatin1String("+barrier")) {
        if (BarrierBtn->isEnabled())
            BarrierBtnClick();
    } else if (text == QLatin1String("+dt")) {
        if (Model.Barrier) {
            BarrierBtnClick();
        } else { // separate the colours again; without a barrier they mix at once
            Model.PlaceDiffusion();
            for (int i = 0; i < kPreSteps; ++i)
                Model.StepSeparated(1.0f);
        }
        SpeedHsb->setValue(TKineticModel::kMaxTemperature);
        Model.Temperature = TKineticModel::kMaxTemperature;
        if (!Running())
            StartBtnClick(true);
        Draw();
    }
}

bool TKTFrm::RunOperation(const QString& name, const QVariantList& args) {
    if (name != QLatin1String("KineticCommand"))
        return false;
    KTCommand(args.value(0).toString());
    return true;
}

void TKTFrm::FrameStep(double seconds) {
    if (Model.Mode == TKineticModel::kDiffusion) {
        const float d = float(seconds * Model.Temperature);
        if (Model.Barrier)
            Model.StepSeparated(d);
        else
            Model.StepMixed(d);
    } else {
        // The pressure topic keeps the hidden Solid button checked, so its
        // gas moves a fixed distance per frame.
        const float d = SolidBtn->isChecked() ? Model.Temperature * 0.02f : float(seconds * Model.Temperature);
        Model.StepParticles(d);
    }
    Draw();
}

void TKTFrm::Draw() {
    QImage& img = Pic->Picture();
    if (img.size() != Model.DrawingSize())
        img = QImage(Model.DrawingSize(), QImage::Format_ARGB32_Premultiplied);
    if (Model.Mode == TKineticModel::kDiffusion)
        Model.DrawDiffusionInto(img, FirstPicture, SecondPicture);
    else
        Model.DrawParticlesInto(img, FirstPicture);
    Pic->Present();
}

void TKTFrm::PicResize() {
    const bool running = Running();
    FrameTimer->SetEnabled(false);
    Model.SetDrawingSize(Pic->size().expandedTo(QSize(10, 10)));
    if (Model.Mode == TKineticModel::kDiffusion) {
        Model.Box = Model.ContainerRect(TKineticModel::kDiffusion);
        Model.PlaceDiffusion();
        for (int i = 0; i < kPreSteps; ++i) {
            if (Model.Barrier)
                Model.StepSeparated(1.0f);
            else
                Model.StepMixed(1.0f);
        }
    } else {
        Model.Box = Model.ContainerRect(Model.Mode);
        Model.PlaceParticles();
        if (!running)
            for (int i = 0; i < kPreSteps; ++i)
                Model.StepParticles(1.0f);
    }
    Draw();
    FrameTimer->SetEnabled(running);
}

void TKTFrm::SetLargeButtons(bool large) {
    LargeButtons = large;
    m_toolbar->setUpdatesEnabled(false);
    const TImageList& images = TDataMod::Instance()->Images(large);
    for (QAction* a : m_toolbar->actions()) {
        const int image = a->property("image").isValid() ? a->property("image").toInt() : -1;
        if (image >= 0)
            a->setIcon(images.Icon(image));
    }
    m_toolbar->setIconSize(QSize(images.Size(), images.Size()));
    QFont f = font();
    f.setPointSizeF(font().pointSizeF() * (large ? 1.4 : 1.0));
    for (QAction* a : {BarrierBtn, SolidBtn, LiquidBtn, GasBtn, LargeBtn, SmallBtn}) {
        a->setFont(f);
        if (QWidget* w = m_toolbar->widgetForAction(a))
            w->setMinimumHeight(large ? 40 : 30);
    }
    SpeedHsb->setFixedHeight(large ? 20 : 14);
    QFont lf = TempLabel->font();
    lf.setPointSize(large ? 12 : 8);
    TempLabel->setFont(lf);
    m_toolbar->setUpdatesEnabled(true);
}

void RegisterKineticPanels() {
    const int modes[] = {TKineticModel::kSolid, TKineticModel::kLargeVolume, TKineticModel::kDiffusion};
    for (int i = 0; i < 3; ++i) {
        TPanelInfo info;
        info.Create = [](QWidget* owner) { return new TKTFrm(owner); };
        info.DockedToolbar = false; // the mode set-up docks it
        const int mode = modes[i];
        info.ExtraSetup = [mode](TPanel* panel) {
            if (auto* kt = qobject_cast<TKTFrm*>(panel))
                kt->SetKTMode(mode);
        };
        RegisterPanel(2026 + i, info);
    }
}

} // namespace quarvel
