#include "models/electromagnetism/emagnetfrm.h"

#include "models/electromagnetism/layeredpic.h"
#include "widgets/datamod.h"
#include "widgets/dock.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace quarvel {

namespace {
constexpr int kAddImage = 50, kCountImage = 49, kResetImage = 18;

void SetHint(QObject* o, const QString& hint) {
    if (auto* a = qobject_cast<QAction*>(o)) {
        a->setToolTip(hint);
        a->setStatusTip(hint);
    } else if (auto* w = qobject_cast<QWidget*>(o)) {
        w->setToolTip(hint);
        w->setStatusTip(hint);
    }
}

// A spin box changed by its arrows only.
QSpinBox* NewSpin(QWidget* parent, const QString& name, int lo, int hi, int value, int width) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(lo, hi);
    spin->setValue(value);
    spin->setFixedWidth(width);
    if (auto* edit = spin->findChild<QLineEdit*>())
        edit->setReadOnly(true);
    return spin;
}

void ScaleFont(QWidget* w, const QFont& base, int percent) {
    QFont f = base;
    f.setPointSizeF(base.pointSizeF() * percent / 100.0);
    w->setFont(f);
    for (QLineEdit* edit : w->findChildren<QLineEdit*>())
        edit->setFont(f);
}
} // namespace

TEMagnetFrm::TEMagnetFrm(QWidget* parent) : TPanel(parent) {
    setObjectName(QStringLiteral("EMagnetFrm"));
    m_toolbar = new TDockToolbar(QStringLiteral("Toolbar"), QStringLiteral("Electromagnet"), this);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toolbar->setIconSize(QSize(24, 24));
    const TImageList& images = TDataMod::Instance()->Images24();
    auto button = [&](const char* name, const char* caption, const char* hint, int image) {
        QAction* a = m_toolbar->addAction(images.Icon(image), QLatin1String(caption));
        a->setObjectName(QLatin1String(name));
        SetHint(a, QLatin1String(hint));
        connect(a, &QAction::triggered, this, [this, a] { NailAddBtnClick(a); });
        return a;
    };
    AddBtn = button("AddBtn", "Add", "Add nails to the electromagnet", kAddImage);
    CountBtn = button("CountBtn", "Count", "Count the nails", kCountImage);
    ResetBtn = button("ResetBtn", "Reset", "Reset the experiment", kResetImage);
    m_toolbar->addSeparator();
    TurnsLabel = new QLabel(QStringLiteral("Turns"), m_toolbar);
    TurnsLabel->setObjectName(QStringLiteral("TurnsLabel"));
    m_toolbar->addWidget(TurnsLabel);
    Coils = NewSpin(m_toolbar, QStringLiteral("Coils"), 3, 100, 50, 50);
    SetHint(Coils, QStringLiteral("Change the number of coils"));
    m_toolbar->addWidget(Coils);
    m_toolbar->addSeparator();
    VoltageLabel = new QLabel(QStringLiteral("Supply voltage"), m_toolbar);
    VoltageLabel->setObjectName(QStringLiteral("VoltageLabel"));
    m_toolbar->addWidget(VoltageLabel);
    Current = NewSpin(m_toolbar, QStringLiteral("Current"), 0, 12, 2, 50);
    SetHint(Current, QStringLiteral("Change the supply voltage"));
    m_toolbar->addWidget(Current);
    connect(Coils, &QSpinBox::valueChanged, this, &TEMagnetFrm::CoilsValueChanged);
    connect(Current, &QSpinBox::valueChanged, this, &TEMagnetFrm::CurrentValueChanged);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Pic = new TLayeredPic(QStringLiteral("Pic"), this);
    layout->addWidget(Pic);
    Pic->Resized = [this](QSize) { Redraw(); };
    Magnet.Frame = [this] {
        // Each frame of the lift is on the screen before the next is drawn.
        ++LiftFrames;
        Redraw();
        Pic->repaint();
    };
    ShowControls();
}

TEMagnetFrm::~TEMagnetFrm() = default;

void TEMagnetFrm::ShowControls() {
    AddBtn->setEnabled(Magnet.Controls.Add);
    CountBtn->setEnabled(Magnet.Controls.Count);
    ResetBtn->setEnabled(Magnet.Controls.Reset);
    Coils->setEnabled(Magnet.Controls.Coils);
    Current->setEnabled(Magnet.Controls.Current);
}

void TEMagnetFrm::Redraw() {
    Magnet.Scale = Magnet.ScaleFor(Pic->width(), Pic->height());
    const QImage picture = Magnet.Draw(Pic->width(), Pic->height());
    if (picture.isNull())
        return;
    Pic->SetPicture(picture);
}

void TEMagnetFrm::NailAddBtnClick(QAction* button) {
    if (button == AddBtn && AddBtn->isEnabled())
        Magnet.Add();
    else if (button == CountBtn && CountBtn->isEnabled())
        Magnet.Count();
    else if (button == ResetBtn && ResetBtn->isEnabled())
        Magnet.Reset();
    else
        return;
    ShowControls();
    Redraw();
}

void TEMagnetFrm::CoilsValueChanged(int value) {
    Magnet.SetTurns(value);
    Redraw();
}

void TEMagnetFrm::CurrentValueChanged(int value) {
    Magnet.SetVoltage(value);
    Redraw();
}

void TEMagnetFrm::SetLargeButtons(bool large) {
    LargeButtons = large;
    m_toolbar->setUpdatesEnabled(false);
    const QFont base = font();
    for (QWidget* w : std::initializer_list<QWidget*>{Coils, Current, TurnsLabel, VoltageLabel})
        ScaleFont(w, base, large ? 150 : 100);
    m_toolbar->setUpdatesEnabled(true);
}

void RegisterEMagnetPanel() {
    TPanelInfo info;
    info.Create = [](QWidget* owner) { return new TEMagnetFrm(owner); };
    RegisterPanel(2004, info);
}

} // namespace quarvel
