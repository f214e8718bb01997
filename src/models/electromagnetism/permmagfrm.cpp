#include "models/electromagnetism/permmagfrm.h"

#include "widgets/datamod.h"
#include "widgets/dock.h"

#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace quarvel {

namespace {
// The drawing: shows the panel's picture and hands the mouse to it.
class TFieldPic : public QWidget {
public:
    explicit TFieldPic(Tem_PermMagFrm* form) : QWidget(nullptr), m_form(form) {
        setObjectName(QStringLiteral("FieldPic"));
        setCursor(Qt::PointingHandCursor);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QImage& picture = m_form->Picture();
        p.drawImage(0, 0, picture);
        // The box is a pixel wider and taller than the drawing: that edge is
        // the drawing's white, not whatever was on the screen before.
        const QRegion rest = QRegion(rect()) - QRegion(picture.rect());
        for (const QRect& r : rest)
            p.fillRect(r, Qt::white);
    }
    void mousePressEvent(QMouseEvent* e) override { m_form->FieldPicMouseDown(e->position().toPoint()); }
    void mouseMoveEvent(QMouseEvent* e) override { m_form->FieldPicMouseMove(e->position().toPoint()); }
    void mouseReleaseEvent(QMouseEvent*) override { m_form->FieldPicMouseUp(); }

private:
    Tem_PermMagFrm* m_form;
};

// Re-centres the drawing whenever the scroll box changes size.
class TFieldScrollBox : public QScrollArea {
public:
    explicit TFieldScrollBox(Tem_PermMagFrm* form) : QScrollArea(form), m_form(form) {}

protected:
    void resizeEvent(QResizeEvent* e) override {
        QScrollArea::resizeEvent(e);
        m_form->CentreScrollBars();
    }

private:
    Tem_PermMagFrm* m_form;
};
} // namespace

Tem_PermMagFrm::Tem_PermMagFrm(QWidget* parent, int screenWidth) : TPanel(parent) {
    setObjectName(QStringLiteral("em_PermMagFrm"));
    if (screenWidth < 0) {
        QScreen* screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
        screenWidth = screen ? screen->size().width() : 1024;
    }
    // Small screens get a smaller grid, so the whole drawing fits.
    Plotter = std::make_unique<TFieldPlot>(screenWidth > 800 ? 16 : 12);
    Plotter->ShowGrid = true;

    m_toolbar = new TDockToolbar(QStringLiteral("Toolbar"), QStringLiteral("Magnets"), this);
    m_toolbar->setIconSize(QSize(24, 24));
    const TImageList& images = TDataMod::Instance()->Images24();
    ArwBtn = m_toolbar->addAction(images.Icon(27), QString());
    ArwBtn->setObjectName(QStringLiteral("ArwBtn"));
    FGridBtn = m_toolbar->addAction(images.Icon(26), QString());
    FGridBtn->setObjectName(QStringLiteral("FGridBtn"));
    for (auto [button, hint] : {std::pair{ArwBtn, "Show arrows on the field lines"}, std::pair{FGridBtn, "Show a grid"}}) {
        button->setCheckable(true);
        button->setChecked(true);
        button->setToolTip(QLatin1String(hint));
        button->setStatusTip(QLatin1String(hint));
    }
    connect(ArwBtn, &QAction::triggered, this, [this](bool on) {
        Plotter->ShowArrows = on;
        Redraw();
    });
    connect(FGridBtn, &QAction::triggered, this, [this](bool on) {
        Plotter->ShowGrid = on;
        Redraw();
    });
    m_toolbar->addSeparator();
    MagnetCB = new QComboBox(m_toolbar);
    MagnetCB->setObjectName(QStringLiteral("MagnetCB"));
    MagnetCB->addItems({QStringLiteral("Single bar magnet"), QStringLiteral("Two magnets N-S  N-S"),
                        QStringLiteral("Two magnets S-N  S-N"), QStringLiteral("Two magnets S-N  N-S"),
                        QStringLiteral("Two magnets N-S  S-N")});
    MagnetCB->setFixedWidth(145);
    m_toolbar->addWidget(MagnetCB);
    connect(MagnetCB, &QComboBox::activated, this, &Tem_PermMagFrm::ChooseArrangement);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    FieldSB = new TFieldScrollBox(this);
    FieldSB->setObjectName(QStringLiteral("FieldSB"));
    FieldSB->setFrameShape(QFrame::NoFrame);
    FieldSB->setAlignment(Qt::AlignLeft | Qt::AlignTop); // the drawing starts at the box's corner
    FieldSB->setBackgroundRole(QPalette::Base);
    auto* pic = new TFieldPic(this);
    pic->setFixedSize(Plotter->GetPlotRect().size());
    FieldSB->setWidget(pic);
    FieldPic = pic;
    layout->addWidget(FieldSB);
    SetSingleMagnet();
    MagnetCB->setCurrentIndex(0);
    LargeButtons = false;
    CentreScrollBars();
}

Tem_PermMagFrm::~Tem_PermMagFrm() = default;

void Tem_PermMagFrm::Redraw() {
    m_picture = Plotter->Draw();
    FieldPic->update();
}

void Tem_PermMagFrm::SetSingleMagnet() {
    Plotter->Clear();
    const int s = Plotter->Spacing;
    int x = 30 * s, y = 19 * s;
    Plotter->AddCharge(x, y, 1);
    x = 34 * s;
    y = 19 * s;
    Plotter->AddCharge(x, y, -1);
    Plotter->Plot();
    Redraw();
}

void Tem_PermMagFrm::SetTwoMagnets(int sign, int q1, int q2, int q3, int q4) {
    Plotter->Clear();
    Plotter->TraceSign = sign;
    const int s = Plotter->Spacing;
    const int at[4] = {25, 29, 33, 37};
    const int q[4] = {q1, q2, q3, q4};
    for (int i = 0; i < 4; ++i) {
        int x = at[i] * s, y = 19 * s;
        Plotter->AddCharge(x, y, q[i]);
    }
    Plotter->Plot();
    Redraw();
}

void Tem_PermMagFrm::ChooseArrangement(int item) {
    switch (item) {
    case 0: SetSingleMagnet(); break;
    case 1: SetTwoMagnets(1, 1, -1, 1, -1); break;
    case 2: SetTwoMagnets(1, -1, 1, -1, 1); break;
    case 3: SetTwoMagnets(-1, -1, 1, 1, -1); break;
    case 4: SetTwoMagnets(1, 1, -1, -1, 1); break;
    default: return;
    }
    if (MagnetCB->currentIndex() != item)
        MagnetCB->setCurrentIndex(item);
}

void Tem_PermMagFrm::FieldPicMouseDown(QPoint p) {
    Probing = true;
    FieldPic->setCursor(Qt::BlankCursor);
    m_picture = Plotter->DrawProbe(p.x(), p.y());
    FieldPic->update();
}

void Tem_PermMagFrm::FieldPicMouseMove(QPoint p) {
    if (!Probing)
        return;
    m_picture = Plotter->DrawProbe(p.x(), p.y());
    FieldPic->update();
}

void Tem_PermMagFrm::FieldPicMouseUp() {
    Probing = false;
    FieldPic->setCursor(Qt::PointingHandCursor);
    Redraw();
}

void Tem_PermMagFrm::CentreScrollBars() {
    if (!FieldSB)
        return;
    for (QScrollBar* bar : {FieldSB->horizontalScrollBar(), FieldSB->verticalScrollBar()})
        if (bar->maximum() > 0)
            bar->setValue(bar->maximum() / 2);
}

void Tem_PermMagFrm::SetLargeButtons(bool large) {
    LargeButtons = large;
    m_toolbar->setUpdatesEnabled(false);
    const TImageList& images = TDataMod::Instance()->Images(large);
    ArwBtn->setIcon(images.Icon(27));
    FGridBtn->setIcon(images.Icon(26));
    m_toolbar->setIconSize(QSize(images.Size(), images.Size()));
    MagnetCB->setFixedWidth(large ? 210 : 150);
    m_toolbar->setUpdatesEnabled(true);
}

void RegisterMagnetsPanel() {
    TPanelInfo info;
    info.Create = [](QWidget* owner) { return new Tem_PermMagFrm(owner); };
    RegisterPanel(2002, info);
}

} // namespace quarvel
