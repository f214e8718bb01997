#include "models/electromagnetism/solenoidfrm.h"

#include "models/electromagnetism/layeredpic.h"
#include "widgets/datamod.h"
#include "widgets/dock.h"

#include <QAction>
#include <QCloseEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>
#include <tuple>

namespace quarvel {

namespace {
constexpr int kRevImage = 17, kGridImage = 26, kMeasureImage = 21;

void SetHint(QAction* a, const QString& hint) {
    a->setToolTip(hint);
    a->setStatusTip(hint);
}
} // namespace

TSolenoidFrm::TSolenoidFrm(QWidget* parent) : TPanel(parent) {
    setObjectName(QStringLiteral("SolenoidFrm"));
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(font().pointSizeF());
    setFont(arial);

    m_toolbar = new TDockToolbar(QStringLiteral("Toolbar"), QStringLiteral("Solenoid"), this);
    m_toolbar->setIconSize(QSize(24, 24));
    const TImageList& images = TDataMod::Instance()->Images24();
    auto toggle = [&](const char* name, const char* hint, int image, bool checked) {
        QAction* a = m_toolbar->addAction(images.Icon(image), QString());
        a->setObjectName(QLatin1String(name));
        a->setCheckable(true);
        a->setChecked(checked);
        SetHint(a, QLatin1String(hint));
        return a;
    };
    RevCurrentBtn = toggle("RevCurrentBtn", "Reverse the current direction", kRevImage, false);
    GridBtn = toggle("GridBtn", "Show a grid", kGridImage, true);
    Measure1 = toggle("Measure1", "Measure field strength and position", kMeasureImage, false);
    connect(RevCurrentBtn, &QAction::triggered, this, [this] {
        Solenoid.CurrentDir = RevCurrentBtn->isChecked() ? -1 : 1;
        Redraw();
    });
    connect(GridBtn, &QAction::triggered, this, [this] { Redraw(); });
    connect(Measure1, &QAction::triggered, this, [this] { Pic->SetLayerVisible(ReadoutLayer, Measure1->isChecked()); });
    auto spin = [&](const char* name, const char* prefix, int lo, int hi, int value, int width, bool typable) {
        auto* s = new QSpinBox(m_toolbar);
        s->setObjectName(QLatin1String(name));
        s->setRange(lo, hi);
        s->setValue(value);
        s->setPrefix(QLatin1String(prefix));
        s->setFixedWidth(width);
        s->setKeyboardTracking(false);
        if (!typable)
            if (auto* edit = s->findChild<QLineEdit*>())
                edit->setReadOnly(true);
        m_toolbar->addSeparator();
        m_toolbar->addWidget(s);
        return s;
    };
    RadiusSE = spin("RadiusSE", "Radius ", 10, 50, 20, 90, false);
    RadiusSE->setToolTip(QStringLiteral("Set the radius of the coils"));
    TurnsSE = spin("TurnsSE", "Turns ", 1, 20, 5, 70, false);
    TurnsSE->setToolTip(QStringLiteral("Set the number of turns"));
    SpacingSE = spin("SpacingSE", "Spacing ", 5, 50, 10, 100, true);
    connect(RadiusSE, &QSpinBox::valueChanged, this, [this](int v) {
        if (v == Solenoid.Radius)
            return;
        Solenoid.Radius = float(v);
        Solenoid.BuildCoil();
        Redraw();
    });
    connect(TurnsSE, &QSpinBox::valueChanged, this, [this](int v) {
        if (v == Solenoid.Turns)
            return;
        Solenoid.Turns = v;
        Redraw();
    });
    connect(SpacingSE, &QSpinBox::valueChanged, this, [this](int v) {
        if (v == Solenoid.Spacing)
            return;
        Solenoid.Spacing = float(v);
        Redraw();
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Pic = new TLayeredPic(QStringLiteral("Pic"), this);
    Pic->setCursor(Qt::CrossCursor);
    Pic->setMouseTracking(true);
    Pic->setFocusPolicy(Qt::StrongFocus);
    layout->addWidget(Pic);
    Pic->Layers.resize(2);
    Pic->Layers[ReadoutLayer].Paint = [this](QPainter& p, const QRectF& box) {
        TSolenoid::PaintReadout(p, box, Probe(), Scale);
    };
    Pic->Layers[CompassLayer].Paint = [this](QPainter& p, const QRectF& box) {
        TSolenoid::PaintCompass(p, box, Probe().Angle);
    };
    Pic->MouseDown = [this](QMouseEvent* e) { PicMouseDown(e->position()); };
    Pic->MouseMove = [this](QMouseEvent* e) { PicMouseMove(e->position(), e->buttons() & Qt::LeftButton); };
    Pic->MouseUp = [this](QMouseEvent*) { PicMouseUp(); };
    Pic->MouseEnter = [this] { Pic->setFocus(); };
}

TSolenoidFrm::~TSolenoidFrm() { Closing = true; }

void TSolenoidFrm::resizeEvent(QResizeEvent* e) {
    TPanel::resizeEvent(e);
    Scale = 0.0025 * std::min(width(), height());
    Pic->Layers[ReadoutLayer].Rect = QRectF(10 * Scale, 10 * Scale, 110 * Scale, 30 * Scale);
    const QPointF c = Pic->Layers[CompassLayer].Rect.center();
    Pic->Layers[CompassLayer].Rect = QRectF(0, 0, 25 * Scale, 25 * Scale);
    if (Pic->Layers[CompassLayer].Visible)
        Pic->Layers[CompassLayer].Rect.moveCenter(c);
    // The picture follows the panel's size, not the box's, which is laid out later.
    Pic->resize(size());
    Redraw();
}

void TSolenoidFrm::closeEvent(QCloseEvent* e) {
    Closing = true;
    e->accept();
}

void TSolenoidFrm::Redraw() {
    if (Closing || Pic->size().isEmpty() || Scale <= 0)
        return;
    Solenoid.ShowGrid = GridBtn->isChecked();
    Pic->SetPicture(Solenoid.Draw(Pic->size(), Scale));
    ++Redraws;
}

TProbeValue TSolenoidFrm::Probe() const { return Solenoid.ProbeField(MouseX, MouseY, Pic->size(), Scale); }

void TSolenoidFrm::PlaceCompass(QPointF p) {
    QRectF r = Pic->Layers[CompassLayer].Rect;
    r.moveCenter(p);
    Pic->MoveLayer(CompassLayer, r);
    Pic->SetLayerVisible(CompassLayer, true);
}

void TSolenoidFrm::PicMouseDown(QPointF p) {
    // The needle is for the point pressed, even when no move came first.
    MouseX = p.x();
    MouseY = p.y();
    Pic->RepaintLayer(ReadoutLayer);
    PlaceCompass(p);
}

void TSolenoidFrm::PicMouseMove(QPointF p, bool leftHeld) {
    MouseX = p.x();
    MouseY = p.y();
    if (Pic->Layers[ReadoutLayer].Visible)
        Pic->RepaintLayer(ReadoutLayer);
    if (leftHeld)
        PlaceCompass(p);
}

void TSolenoidFrm::PicMouseUp() { Pic->SetLayerVisible(CompassLayer, false); }

void TSolenoidFrm::SetMeasure(bool on) {
    Measure1->setChecked(on);
    Pic->SetLayerVisible(ReadoutLayer, on);
}

bool TSolenoidFrm::RunOperation(const QString& name, const QVariantList& args) {
    if (name != QLatin1String("SolenoidField"))
        return false;
    SetMeasure(args.value(0, true).toBool());
    return true;
}

void TSolenoidFrm::SetLargeButtons(bool large) {
    LargeButtons = large;
    m_toolbar->setUpdatesEnabled(false);
    const TImageList& images = TDataMod::Instance()->Images(large);
    RevCurrentBtn->setIcon(images.Icon(kRevImage));
    GridBtn->setIcon(images.Icon(kGridImage));
    Measure1->setIcon(images.Icon(kMeasureImage));
    m_toolbar->setIconSize(QSize(images.Size(), images.Size()));
    const QFont base = font();
    for (auto [spin, big, normal] : std::initializer_list<std::tuple<QSpinBox*, int, int>>{
             {TurnsSE, 100, 70}, {RadiusSE, 140, 90}, {SpacingSE, 150, 100}}) {
        QFont f = base;
        f.setPointSizeF(base.pointSizeF() * (large ? 1.5 : 1.0));
        spin->setFont(f);
        for (QLineEdit* edit : spin->findChildren<QLineEdit*>())
            edit->setFont(f);
        spin->setFixedWidth(large ? big : normal);
    }
    m_toolbar->setUpdatesEnabled(true);
}

void RegisterSolenoidPanel() {
    TPanelInfo info;
    info.Create = [](QWidget* owner) { return new TSolenoidFrm(owner); };
    RegisterPanel(2003, info);
}

} // namespace quarvel
