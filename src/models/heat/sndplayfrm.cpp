#include "models/heat/sndplayfrm.h"

#include "common/rounding.h"
#include "widgets/picturebox.h"
#include "models/heat/toneplayer.h"
#include "widgets/dock.h"

#include <QBuffer>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSpinBox>

namespace quarvel {

namespace {
constexpr int kSndPicHeight = 171;
constexpr int kKeyPicHeight = 126;
const QColor kGrey(127, 127, 127);

TSndPlayFrm::TPlayerFactory& Factory() {
    static TSndPlayFrm::TPlayerFactory factory;
    return factory;
}

// Under the program's style sheet a spin box's edit needs the font too.
void SetItemFont(QWidget* w, const QFont& base, int percent) {
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

void TSndPlayFrm::SetPlayerFactory(TPlayerFactory factory) { Factory() = std::move(factory); }

TSndPlayFrm::TSndPlayFrm(QWidget* parent) : TPanel(parent) {
    setObjectName(QStringLiteral("SndPlayFrm"));
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(11);
    setFont(arial);

    m_toolbar = new TDockToolbar(QStringLiteral("Toolbar"), QStringLiteral("Sound"), this);
    TBXLabel1 = new QLabel(QStringLiteral("Amplitude"), m_toolbar);
    TBXLabel1->setObjectName(QStringLiteral("TBXLabel1"));
    m_toolbar->addWidget(TBXLabel1);
    auto addSpin = [this](int i, const QString& hint) {
        auto* spin = new QSpinBox(m_toolbar);
        spin->setObjectName(QStringLiteral("Amp%1").arg(i));
        spin->setRange(0, 32);
        spin->setValue(int(Amplitudes[i]));
        spin->findChild<QLineEdit*>()->setReadOnly(true);
        spin->setFixedWidth(40);
        spin->setToolTip(hint);
        spin->setStatusTip(hint);
        m_toolbar->addWidget(spin);
        connect(spin, &QSpinBox::valueChanged, this, &TSndPlayFrm::Amp0ValueChanged);
        Amp[i] = spin;
    };
    addSpin(0, QStringLiteral("Set the amplitude"));
    m_toolbar->addSeparator();
    TBXLabel2 = new QLabel(QStringLiteral("Harmonics"), m_toolbar);
    TBXLabel2->setObjectName(QStringLiteral("TBXLabel2"));
    m_toolbar->addWidget(TBXLabel2);
    for (int i = 1; i <= 4; ++i)
        addSpin(i, QStringLiteral("Add harmonics (%1f)").arg(i + 1));

    SndPic = new TPictureBox(QStringLiteral("SndPic"), this);
    SndPic->CanvasColour = QColor(Qt::black);
    SndPic->setMouseTracking(false);
    SndPic->Resized = [this](QSize) { DrawWave(Frequency); };
    KeyPic = new TPictureBox(QStringLiteral("KeyPic"), this);
    KeyPic->CanvasColour = QColor(Qt::black);
    KeyPic->setMouseTracking(false);
    KeyPic->setCursor(Qt::PointingHandCursor);
    KeyPic->Resized = [this](QSize) { DrawKeyboard(); };
    KeyPic->MouseDown = [this](QMouseEvent* e) { KeyPicMouseDown(e->position().toPoint()); };
    KeyPic->MouseMove = [this](QMouseEvent* e) { KeyPicMouseMove(e->position().toPoint()); };
    KeyPic->MouseUp = [this](QMouseEvent*) { KeyPicMouseUp(); };
    SndPic->setGeometry(5, 3, 420, kSndPicHeight);
    KeyPic->setGeometry(5, 178, 419, kKeyPicHeight);
    resize(430, 310);
}

TSndPlayFrm::~TSndPlayFrm() { StopSound(); }

void TSndPlayFrm::resizeEvent(QResizeEvent*) {
    const int w = std::max(1, width() - 10);
    SndPic->setGeometry(5, 3, w, kSndPicHeight);
    KeyPic->setGeometry(5, 178, w, kKeyPicHeight);
}

void TSndPlayFrm::DrawWave(float f) {
    QImage& bmp = SndPic->Picture();
    if (bmp.isNull())
        return;
    const int W = bmp.width(), H = bmp.height(), d = H / 2;
    QPainter p(&bmp);
    p.fillRect(bmp.rect(), Qt::white);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13); // 10 pt on a 96-dpi screen
    p.setFont(font);
    const QFontMetrics fm(font);
    p.setPen(Qt::black);
    p.drawLine(0, d, W, d);
    for (int i = 0; i <= 360; i += 24) {
        const int x = WaveStepX(W, i);
        p.drawLine(x, d, x, d + 4);
        if (i % 48 == 0) {
            const QString label = QString::number(i / 48);
            p.drawText(x - fm.horizontalAdvance(label) / 2, d + 5 + fm.ascent(), label);
        }
    }
    const QString axis = QStringLiteral("time (ms)");
    p.drawText(W - 10 - fm.horizontalAdvance(axis), d - fm.descent(), axis);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 255), 1));
    p.drawPolyline(WavePoints(W, H, f, Amplitudes));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::black);
    p.drawText(5, 5 + fm.ascent(), QStringLiteral("Frequency %1 Hz").arg(Trunc(f)));
    p.setPen(kGrey);
    p.drawRect(0, 0, W - 1, H - 1);
    p.end();
    SndPic->Present();
}

void TSndPlayFrm::DrawKeyboard() {
    QImage& bmp = KeyPic->Picture();
    if (bmp.isNull())
        return;
    const int W = bmp.width(), H = bmp.height();
    Keys.Layout(W, H);
    const int h = Keys.KeyTop;
    QPainter p(&bmp);
    p.fillRect(bmp.rect(), Qt::white);
    p.fillRect(QRect(0, 0, W, 2 * h), QColor(255, 255, 224));
    p.setPen(Qt::black);
    p.drawRect(0, 0, W - 1, 2 * h - 1);
    for (int k = 0; k < kKeyCount; ++k) {
        const QRect& r = Keys.KeyRects[k];
        if (IsBlackKey(k))
            p.fillRect(r, Qt::black);
        else
            p.drawLine(r.left(), 0, r.left(), 2 * h - 1);
    }
    p.fillRect(Keys.ExtraBlack, Qt::black);
    p.setPen(kGrey);
    p.drawRect(0, 0, W - 1, H - 1);
    p.end();
    KeyPic->Present();
}

void TSndPlayFrm::SoundTone(float frequency) {
    if (!m_player)
        m_player = Factory() ? Factory()() : std::make_unique<TAudioTonePlayer>();
    auto next = std::make_unique<QBuffer>();
    if (!MakeTone(next.get(), Amplitudes, frequency, m_player.get()))
        return;
    // The player reads the new image now; the old one may go.
    SoundStream = std::move(next);
}

void TSndPlayFrm::StopSound() {
    if (m_player)
        m_player->Stop();
    SoundStream.reset();
}

void TSndPlayFrm::KeyPicMouseDown(QPoint p) {
    const TKeyHit hit = KeyAt(p);
    CurrentKey = hit.Key;
    if (hit.Key < 0)
        return; // off the keys: the last pitch stays shown
    Frequency = hit.Frequency;
    DrawWave(Frequency);
    SoundTone(Frequency);
    KeyPressed = true;
}

void TSndPlayFrm::KeyPicMouseMove(QPoint p) {
    if (!KeyPressed)
        return;
    const TKeyHit hit = KeyAt(p);
    if (hit.Key < 0 || hit.Key == CurrentKey)
        return; // off the keys the last tone sounds on
    CurrentKey = hit.Key;
    Frequency = hit.Frequency;
    DrawWave(Frequency);
    SoundTone(Frequency);
}

void TSndPlayFrm::KeyPicMouseUp() {
    StopSound();
    KeyPressed = false;
    CurrentKey = -1;
}

void TSndPlayFrm::Amp0ValueChanged() {
    for (int i = 0; i < 5; ++i)
        Amplitudes[i] = float(Amp[i]->value());
    DrawWave(Frequency); // a tone already sounding keeps its sound
}

void TSndPlayFrm::PlayExample(int a0, int a1, int a2, int a3, int a4) {
    const int values[5] = {a0, a1, a2, a3, a4};
    for (int i = 0; i < 5; ++i) {
        Amplitudes[i] = float(values[i]);
        const QSignalBlocker block(Amp[i]);
        Amp[i]->setValue(values[i]);
    }
    DrawWave(Frequency);
}

bool TSndPlayFrm::RunOperation(const QString& name, const QVariantList& args) {
    if (name != QLatin1String("SoundPlayExample") || args.size() != 5)
        return false;
    PlayExample(args[0].toInt(), args[1].toInt(), args[2].toInt(), args[3].toInt(), args[4].toInt());
    return true;
}

void TSndPlayFrm::SetLargeButtons(bool large) {
    LargeButtons = large;
    if (!m_toolbar)
        return;
    m_toolbar->setUpdatesEnabled(false);
    const int percent = large ? 150 : 100;
    for (QSpinBox* spin : Amp) {
        spin->setFixedWidth(large ? 50 : 40);
        SetItemFont(spin, font(), percent);
    }
    SetItemFont(TBXLabel1, font(), percent);
    SetItemFont(TBXLabel2, font(), percent);
    m_toolbar->setUpdatesEnabled(true);
}

void RegisterSoundPlayPanel() {
    TPanelInfo info;
    info.Create = [](QWidget* owner) { return new TSndPlayFrm(owner); };
    RegisterPanel(2019, info);
}

} // namespace quarvel
