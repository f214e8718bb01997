#include "models/heat/sndwavefrm.h"

#include "widgets/picturebox.h"
#include "widgets/datamod.h"
#include "widgets/dock.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

namespace quarvel {

namespace {
constexpr int kStartImage = 4;  // Rnd_Play
constexpr int kStopImage = 5;   // Rnd_Pause
constexpr int kMarkerImage = 46; // rb-stripes
constexpr int kPicHeight = 162;
constexpr int kHsbHeight = 20;
const QColor kGrey(127, 127, 127);

template <class T> void SetHint(T* item, const QString& hint) {
    item->setToolTip(hint);
    item->setStatusTip(hint);
}

void SetItemFont(QWidget* w, const QFont& base, int percent) {
    if (!w)
        return;
    QFont f = base;
    if (base.pointSizeF() > 0)
        f.setPointSizeF(base.pointSizeF() * percent / 100.0);
    else
        f.setPixelSize(base.pixelSize() * percent / 100);
    w->setFont(f);
    for (QLineEdit* edit : w->findChildren<QLineEdit*>())
        edit->setFont(f);
}
} // namespace

TSndWaveFrm::TSndWaveFrm(QWidget* parent) : TPanel(parent) {
    setObjectName(QStringLiteral("SndWaveFrm"));
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(11);
    setFont(arial);

    m_toolbar = new TDockToolbar(QStringLiteral("Toolbar"), QStringLiteral("Sound wave"), this);
    m_toolbar->setIconSize(QSize(24, 24));
    const TImageList& images = TDataMod::Instance()->Images24();
    StartBtn = m_toolbar->addAction(images.Icon(kStartImage), QStringLiteral("Start"));
    StartBtn->setObjectName(QStringLiteral("StartBtn"));
    SetHint(StartBtn, QStringLiteral("Start the animation"));
    connect(StartBtn, &QAction::triggered, this, &TSndWaveFrm::StartBtnClick);
    StopBtn = m_toolbar->addAction(images.Icon(kStopImage), QStringLiteral("Stop"));
    StopBtn->setObjectName(QStringLiteral("StopBtn"));
    SetHint(StopBtn, QStringLiteral("Stop the animation"));
    StopBtn->setEnabled(false);
    connect(StopBtn, &QAction::triggered, this, &TSndWaveFrm::StopBtnClick);
    Label1 = new QLabel(QStringLiteral("  amplitude  "), m_toolbar);
    Label1->setObjectName(QStringLiteral("Label1"));
    m_toolbar->addWidget(Label1);
    AmplitudeSE = new QSpinBox(m_toolbar);
    AmplitudeSE->setObjectName(QStringLiteral("AmplitudeSE"));
    AmplitudeSE->setRange(0, 10);
    AmplitudeSE->setValue(5);
    m_toolbar->addWidget(AmplitudeSE);
    connect(AmplitudeSE, &QSpinBox::valueChanged, this, &TSndWaveFrm::AmplitudeSEValueChange);
    SingleChk = m_toolbar->addAction(images.Icon(kMarkerImage), QStringLiteral("Marker"));
    SingleChk->setObjectName(QStringLiteral("SingleChk"));
    SingleChk->setCheckable(true);
    SetHint(SingleChk, QStringLiteral("Show a marker"));
    connect(SingleChk, &QAction::triggered, this, &TSndWaveFrm::SingleChkClick);

    Pic = new TPictureBox(QStringLiteral("Pic"), this);
    Pic->CanvasColour = QColor(Qt::black);
    Pic->setMouseTracking(false);
    Pic->Resized = [this](QSize) {
        if (!Running())
            DrawSoundWave();
    };
    PhaseHsb = new QScrollBar(Qt::Horizontal, this);
    PhaseHsb->setObjectName(QStringLiteral("PhaseHsb"));
    PhaseHsb->setRange(0, kMaxPhase);
    PhaseHsb->setPageStep(10);
    SetHint(PhaseHsb, QStringLiteral("Scroll through the animation one frame at a time"));
    connect(PhaseHsb, &QScrollBar::valueChanged, this, &TSndWaveFrm::PhaseHsbScroll);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, &TSndWaveFrm::Timer1Timer);
    resize(490, kPicHeight + kHsbHeight);
}

TSndWaveFrm::~TSndWaveFrm() { Timer1->stop(); }

bool TSndWaveFrm::Running() const { return Timer1 && Timer1->isActive(); }

void TSndWaveFrm::resizeEvent(QResizeEvent*) {
    Pic->setGeometry(0, 0, width(), kPicHeight);
    PhaseHsb->setGeometry(0, kPicHeight, std::max(1, width() - 20), kHsbHeight);
}

void TSndWaveFrm::closeEvent(QCloseEvent* e) {
    Timer1->stop();
    TPanel::closeEvent(e);
}

void TSndWaveFrm::DrawSoundWave() {
    QImage& bmp = Pic->Picture();
    if (bmp.isNull())
        return;
    const int W = bmp.width(), H = bmp.height(), bottom = H - 5;
    const QVector<int> x = Wave.LinePositions(W, AmplitudeSE->value());
    QPainter p(&bmp);
    p.fillRect(bmp.rect(), Qt::white);
    p.fillRect(QRect(QPoint(x[0] - 4, 5), QPoint(x[0] - 1, bottom)), kGrey);
    p.setPen(QColor(0, 0, 255));
    for (int xi : x)
        p.drawLine(xi, 5, xi, bottom);
    if (SingleChk->isChecked()) {
        p.setPen(QColor(255, 0, 0));
        const int marked = x[kWaveLineCount / 2];
        p.drawLine(marked, 5, marked, bottom);
    }
    p.setPen(kGrey);
    p.drawRect(0, 0, W - 1, H - 1);
    p.end();
    Pic->Present();
}

void TSndWaveFrm::StartBtnClick() {
    Wave.Phase = PhaseHsb->value();
    PhaseHsb->setEnabled(false);
    Timer1->start();
    StartBtn->setEnabled(false);
    StopBtn->setEnabled(true);
}

void TSndWaveFrm::StopBtnClick() {
    Timer1->stop();
    PhaseHsb->setEnabled(true);
    {
        // Only the bar follows; the picture already shows this phase.
        const QSignalBlocker block(PhaseHsb);
        PhaseHsb->setValue(Wave.Phase);
    }
    StartBtn->setEnabled(true);
    StopBtn->setEnabled(false);
}

void TSndWaveFrm::Timer1Timer() {
    Wave.Step();
    DrawSoundWave();
}

void TSndWaveFrm::PhaseHsbScroll(int position) {
    if (Running())
        return; // while running the bar neither moves nor responds
    Wave.Phase = position;
    DrawSoundWave();
}

void TSndWaveFrm::SingleChkClick() {
    if (!Running())
        DrawSoundWave();
}

void TSndWaveFrm::AmplitudeSEValueChange() {
    if (!Running())
        DrawSoundWave();
}

void TSndWaveFrm::ToggleMarker() {
    SingleChk->setChecked(!SingleChk->isChecked());
    if (!Running())
        DrawSoundWave();
}

bool TSndWaveFrm::RunOperation(const QString& name, const QVariantList&) {
    if (name == QLatin1String("SoundWaveStart")) {
        // "+go" presses Start; while running Start is disabled, so it does nothing.
        if (StartBtn->isEnabled())
            StartBtnClick();
        return true;
    }
    if (name == QLatin1String("SoundWaveHighlight")) {
        ToggleMarker();
        return true;
    }
    return false;
}

void TSndWaveFrm::SetLargeButtons(bool large) {
    LargeButtons = large;
    if (!m_toolbar)
        return;
    m_toolbar->setUpdatesEnabled(false);
    const TImageList& images = TDataMod::Instance()->Images(large);
    StartBtn->setIcon(images.Icon(kStartImage));
    StopBtn->setIcon(images.Icon(kStopImage));
    SingleChk->setIcon(images.Icon(kMarkerImage));
    m_toolbar->setIconSize(QSize(images.Size(), images.Size()));
    const int percent = large ? 150 : 100;
    SetItemFont(Label1, font(), percent);
    SetItemFont(AmplitudeSE, font(), percent);
    SetItemFont(m_toolbar->widgetForAction(SingleChk), font(), percent);
    m_toolbar->setUpdatesEnabled(true);
}

void RegisterSoundWavePanel() {
    TPanelInfo info;
    info.Create = [](QWidget* owner) { return new TSndWaveFrm(owner); };
    RegisterPanel(2018, info);
}

} // namespace quarvel
