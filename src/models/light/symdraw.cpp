#include "models/light/symdraw.h"

#include "common/rounding.h"
#include "widgets/cursors.h"
#include "widgets/datamod.h"
#include "widgets/dock.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QSlider>
#include <QToolTip>
#include <QVBoxLayout>
#include <cmath>
#include <numbers>
#include <vector>

namespace quarvel {

int CopiesForAngleItem(int item) {
    static const int copies[6] = {2, 3, 4, 5, 6, 8};
    return item >= 0 && item < 6 ? copies[item] : 8;
}

QPointF RotateAboutCentre(QPointF p, int turns, int n) {
    const double a = turns * 2.0 * std::numbers::pi / n;
    const double c = std::cos(a), s = std::sin(a);
    const double dx = p.x() - 250.0, dy = p.y() - 250.0;
    return {250.0 + dx * c - dy * s, 250.0 + dx * s + dy * c};
}

int FloodFill(QImage& image, QPoint seed, QRgb colour) {
    if (!image.rect().contains(seed) || image.depth() != 32)
        return 0;
    const int w = image.width(), h = image.height();
    const QRgb target = reinterpret_cast<const QRgb*>(image.constScanLine(seed.y()))[seed.x()];
    if (target == colour)
        return 0; // nothing to change, and a fill of it would never end
    int count = 0;
    std::vector<QPoint> stack;
    stack.reserve(1024);
    stack.push_back(seed);
    while (!stack.empty()) {
        const QPoint q = stack.back();
        stack.pop_back();
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(q.y()));
        if (line[q.x()] != target)
            continue;
        int left = q.x(), right = q.x();
        while (left > 0 && line[left - 1] == target)
            --left;
        while (right + 1 < w && line[right + 1] == target)
            ++right;
        std::fill(line + left, line + right + 1, colour);
        count += right - left + 1;
        // One seed per run of the target colour above and below the span.
        for (int ny : {q.y() - 1, q.y() + 1}) {
            if (ny < 0 || ny >= h)
                continue;
            const auto* next = reinterpret_cast<const QRgb*>(image.constScanLine(ny));
            bool inRun = false;
            for (int x = left; x <= right; ++x) {
                if (next[x] == target) {
                    if (!inRun)
                        stack.emplace_back(x, ny);
                    inRun = true;
                } else {
                    inRun = false;
                }
            }
        }
    }
    return count;
}

TSymDrawing::TSymDrawing() : Image(Size, Size, QImage::Format_RGB32) { Clear(); }

void TSymDrawing::Clear() { Image.fill(0xFFFFFFFF); }

void TSymDrawing::Press(QPoint p) {
    Pressed = Inside(p);
    if (Pressed)
        LastPoint = p;
}

bool TSymDrawing::StrokeTo(QPoint p) {
    // Only a stroke begun by a press inside the drawing draws: a stale last
    // point would otherwise join up with a line across the drawing.
    if (!Pressed || !Inside(p))
        return false;
    const QPoint d = p - LastPoint;
    if (d.x() * d.x() + d.y() * d.y() < 10)
        return false;
    QPainter painter(&Image);
    painter.setRenderHint(QPainter::Antialiasing, PenWidth > 1);
    painter.setPen(QPen(QColor::fromRgba(PenColour), PenWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(QPointF(LastPoint), QPointF(p));
    for (int k = 1; k < Copies; ++k)
        painter.drawLine(RotateAboutCentre(LastPoint, k, Copies), RotateAboutCentre(p, k, Copies));
    LastPoint = p;
    return true;
}

int TSymDrawing::FillAt(QPoint p) {
    if (!Inside(p))
        return 0;
    const QRgb original = Image.pixel(p);
    int changed = FloodFill(Image, p, FillColour);
    for (int k = 1; k < Copies; ++k) {
        const QPointF r = RotateAboutCentre(p, k, Copies);
        const QPoint q(int(RoundHalfEven(r.x())), int(RoundHalfEven(r.y())));
        // A copy fills only what still shows the colour clicked on.
        if (Inside(q) && Image.pixel(q) == original)
            changed += FloodFill(Image, q, FillColour);
    }
    return changed;
}

const QVector<QRgb>& PaletteColours() {
    static const QVector<QRgb> colours = [] {
        const unsigned rgb[] = {
        0x000000, 0x504F4F, 0x70706F, 0x808080, 0x909090, 0xAFAFA0, 0xC0C0C0, 0xDFDFDF, 0xF0F0F0, 0xFFFFFF,
        0x300F70, 0x008FDF, 0x00904F, 0xFFFF00, 0xEF3F00, 0xEF2F70, 0xA04F70, 0xF08000, 0xFF9F9F, 0x70605F,
        0xBFB0D0, 0x9080B0, 0x6070B0, 0x705F9F, 0x7F7090, 0x4F507F, 0x504F5F, 0x606F80, 0x0070C0, 0x60BFF0,
        0x90AFBF, 0x708090, 0x5F6F6F, 0x40404F, 0x405F60, 0x2F706F, 0x507F7F, 0x209080, 0x20906F, 0x00AFC0,
        0x208FA0, 0x90AFA0, 0xAFDFCF, 0x60C0A0, 0x708F7F, 0x708F6F, 0x90B06F, 0x90B080, 0x6FC030, 0xAFDF7F,
        0xE1FFC0, 0x706F60, 0x90907F, 0x90906F, 0xC0C060, 0xFFFF70, 0xFFFF9F, 0xFFFFC0, 0xFFFFE1, 0xC0805F,
        0xC0A060, 0xF07F30, 0xFFA03F, 0xFFC060, 0xFFCF00, 0xFFCF8F, 0x70604F, 0x905F40, 0xC06F31, 0xF07F50,
        0xFF9F7F, 0xFFCFB0, 0x9F6F6F, 0xC06F60, 0xC06F70, 0xEF3F3F, 0xF07F6F, 0xF05F60, 0xC08080, 0x70505F,
        0x905F6F, 0xFF9FBF, 0xC0809F, 0x9F808F, 0xC0A0AF, 0xA06080, 0xC0508F, 0xC070A0, 0xA07F9F, 0xC08FBF,
        0x60505F, 0x80607F, 0x90609F, 0x9F2070, 0x804070, 0x70408F, 0x6F4F6F, 0xAB6363, 0x71582E, 0x29022F,
        };
        QVector<QRgb> out;
        for (unsigned c : rgb)
            out.append(0xFF000000u | c);
        return out;
    }();
    return colours;
}

QString PaletteHint(QRgb c) {
    return QStringLiteral("RGB(%1, %2, %3)\nHex: %4")
        .arg(qRed(c))
        .arg(qGreen(c))
        .arg(qBlue(c))
        .arg(QStringLiteral("%1").arg(c & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper());
}

QImage DrawPenPreview(QRgb pen, QRgb fill, int width, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(fill);
    QPainter p(&image);
    const int w = size.width(), h = size.height();
    if (width <= 1) {
        p.setPen(QColor::fromRgba(pen));
        p.drawLine(0, h / 2, w - 1, h / 2);
    } else {
        const int top = h / 2 - width / 2, bottom = h / 2 + width / 2;
        p.fillRect(QRect(QPoint(0, top), QPoint(w - 1, bottom)), QColor::fromRgba(pen));
    }
    p.setPen(QColor(0x3F, 0x3F, 0x3F));
    p.drawRect(0, 0, w - 1, h - 1);
    return image;
}

// ---------------------------------------------------------------- palette

TColourPalette::TColourPalette(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("mbColorPalette"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setMouseTracking(true);
}

int TColourPalette::Columns() const { return std::max(1, width() / 16); }

int TColourPalette::heightForWidth(int w) const {
    const int columns = std::max(1, w / 16);
    return (int(PaletteColours().size()) + columns - 1) / columns * 16;
}

QSize TColourPalette::sizeHint() const { return {25 * 16, 4 * 16}; }

QRect TColourPalette::CellRect(int index) const {
    const int columns = Columns();
    return {index % columns * 16, index / columns * 16, 16, 16};
}

int TColourPalette::CellAt(QPoint p) const {
    if (p.x() < 0 || p.y() < 0)
        return -1;
    const int columns = Columns();
    const int column = p.x() / 16;
    if (column >= columns)
        return -1;
    const int index = p.y() / 16 * columns + column;
    return index < PaletteColours().size() ? index : -1;
}

void TColourPalette::SetSelectedColour(QRgb c) {
    m_selected = c;
    update();
}

void TColourPalette::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const auto& colours = PaletteColours();
    for (int i = 0; i < colours.size(); ++i) {
        const QRect r = CellRect(i);
        p.fillRect(r.adjusted(1, 1, -1, -1), QColor::fromRgb(colours[i]));
        p.setPen(QColor(0xA0, 0xA0, 0xA0));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        if (colours[i] == m_selected) {
            p.setPen(QPen(qGray(colours[i]) < 128 ? Qt::white : Qt::black, 2));
            p.drawRect(r.adjusted(2, 2, -2, -2));
        }
    }
}

void TColourPalette::mousePressEvent(QMouseEvent* e) {
    const int cell = CellAt(e->position().toPoint());
    if (cell < 0)
        return;
    SetSelectedColour(PaletteColours()[cell]);
    emit ColourClicked(m_selected);
}

bool TColourPalette::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const int cell = CellAt(help->pos());
        if (cell >= 0)
            QToolTip::showText(help->globalPos(), PaletteHint(PaletteColours()[cell]), this, CellRect(cell));
        else
            QToolTip::showText(help->globalPos(), QStringLiteral("Click to pick a colour"), this);
        return true;
    }
    return QWidget::event(e);
}

// ---------------------------------------------------------------- cursors

void RegisterSymDrawCursors() {
    // The pencil: a yellow shaft with its point at the bottom left.
    QPixmap pencil(32, 32);
    pencil.fill(Qt::transparent);
    {
        QPainter p(&pencil);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(1, 31);
        p.rotate(-45);
        QPainterPath body;
        body.addRect(8, -4, 24, 8);
        p.fillPath(body, QColor(0xFF, 0xD8, 0x20));
        p.setPen(QPen(Qt::black, 1));
        p.drawPath(body);
        QPainterPath tip;
        tip.moveTo(0, 0);
        tip.lineTo(8, -4);
        tip.lineTo(8, 4);
        tip.closeSubpath();
        p.fillPath(tip, QColor(0xF0, 0xC8, 0x96));
        p.drawPath(tip);
        p.fillRect(QRectF(0, -1.2, 3, 2.4), Qt::black);
        p.fillRect(QRectF(28, -4, 4, 8), QColor(0xE0, 0x70, 0x80));
    }
    RegisterCursor(2, QCursor(pencil, 1, 30));
    // The paint pot: a tipped tin pouring a drop at the bottom left.
    QPixmap pot(32, 32);
    pot.fill(Qt::transparent);
    {
        QPainter p(&pot);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(18, 14);
        p.rotate(-35);
        p.setPen(QPen(Qt::black, 1.2));
        p.setBrush(QColor(0xC8, 0xC8, 0xD0));
        p.drawRoundedRect(QRectF(-8, -9, 16, 18), 2, 2);
        p.setBrush(QColor(0x30, 0x60, 0xE0));
        p.drawEllipse(QRectF(-8, -11, 16, 5));
        p.resetTransform();
        QPainterPath drop;
        drop.moveTo(2, 30);
        drop.cubicTo(0, 26, 3, 22, 6, 18);
        drop.cubicTo(9, 22, 10, 27, 6, 30);
        drop.closeSubpath();
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(0x30, 0x60, 0xE0));
        p.drawPath(drop);
    }
    RegisterCursor(3, QCursor(pot, 3, 30));
}

// ---------------------------------------------------------------- panel

namespace {
class TSymDrawPic : public QWidget {
public:
    explicit TSymDrawPic(TSymDrawFrm* form) : QWidget(nullptr), m_form(form) {
        setObjectName(QStringLiteral("pic"));
        setFixedSize(TSymDrawing::Size, TSymDrawing::Size);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(0, 0, m_form->Drawing.Image);
        // The guides mark the sectors; they are not part of the picture.
        const int n = m_form->Drawing.Copies;
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QColor(0x7F, 0x7F, 0x7F));
        for (int k = 0; k < n; ++k) {
            const double a = k * 2.0 * std::numbers::pi / n;
            p.drawLine(QPointF(250, 250), QPointF(250 + 353.5 * std::cos(a), 250 + 353.5 * std::sin(a)));
        }
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QColor(0x3F, 0x3F, 0x3F));
        p.setBrush(Qt::NoBrush);
        p.drawRect(0, 0, TSymDrawing::Size - 1, TSymDrawing::Size - 1);
    }
    void mousePressEvent(QMouseEvent* e) override { m_form->PicMouseDown(e->position().toPoint(), e->button()); }
    void mouseMoveEvent(QMouseEvent* e) override { m_form->PicMouseMove(e->position().toPoint(), e->buttons()); }
    void mouseReleaseEvent(QMouseEvent*) override { m_form->PicMouseUp(); }

private:
    TSymDrawFrm* m_form;
};

class TPreviewPic : public QWidget {
public:
    explicit TPreviewPic(TSymDrawFrm* form) : QWidget(form), m_form(form) {
        setObjectName(QStringLiteral("sdLinePic"));
        setFixedSize(50, 50);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, m_form->Preview()); }

private:
    TSymDrawFrm* m_form;
};
} // namespace

TSymDrawFrm::TSymDrawFrm(QWidget* parent) : TPanel(parent) {
    setObjectName(QStringLiteral("SymDrawFrm"));
    RegisterSymDrawCursors();

    m_toolbar = new TDockToolbar(QStringLiteral("Toolbar"), QStringLiteral("Kaleidoscope"), this);
    const TImageList& images = TDataMod::Instance()->Images24();
    m_toolbar->setIconSize(QSize(24, 24));
    auto* tools = new QActionGroup(this);
    sdPenBtn = m_toolbar->addAction(images.Icon(48), QStringLiteral("Pen"));
    sdPenBtn->setObjectName(QStringLiteral("sdPenBtn"));
    sdFillBtn = m_toolbar->addAction(images.Icon(47), QStringLiteral("Fill"));
    sdFillBtn->setObjectName(QStringLiteral("sdFillBtn"));
    for (QAction* a : {sdPenBtn, sdFillBtn}) {
        a->setCheckable(true);
        tools->addAction(a);
    }
    sdPenBtn->setChecked(true);
    m_toolbar->addSeparator();
    ClearBtn = m_toolbar->addAction(images.Icon(14), QStringLiteral("Clear"));
    ClearBtn->setObjectName(QStringLiteral("ClearBtn"));
    m_toolbar->addSeparator();
    AngleCB = new QComboBox(m_toolbar);
    AngleCB->setObjectName(QStringLiteral("AngleCB"));
    AngleCB->addItems({QStringLiteral("180 degrees"), QStringLiteral("120 degrees"), QStringLiteral("90 degrees"),
                       QStringLiteral("72 degrees"), QStringLiteral("60 degrees"), QStringLiteral("45 degrees")});
    AngleCB->setCurrentIndex(4);
    m_toolbar->addWidget(AngleCB);
    const std::pair<QAction*, const char*> hints[] = {
        {sdPenBtn, "Draw lines"}, {sdFillBtn, "Fill with colour"}, {ClearBtn, "Clear the drawing area"}};
    for (auto [a, hint] : hints) {
        a->setToolTip(QLatin1String(hint));
        a->setStatusTip(QLatin1String(hint));
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* rightPanel = new QWidget(this);
    rightPanel->setObjectName(QStringLiteral("RightPanel"));
    auto* row = new QHBoxLayout(rightPanel);
    row->setContentsMargins(4, 4, 4, 4);
    mbColorPalette = new TColourPalette(rightPanel);
    mbColorPalette->setToolTip(QStringLiteral("Click to pick a colour"));
    row->addWidget(mbColorPalette, 1);
    sdLinePic = new TPreviewPic(this);
    row->addWidget(sdLinePic);
    SDPenSizeTB = new QSlider(Qt::Vertical, rightPanel);
    SDPenSizeTB->setObjectName(QStringLiteral("SDPenSizeTB"));
    SDPenSizeTB->setRange(1, 20);
    SDPenSizeTB->setValue(2);
    SDPenSizeTB->setInvertedAppearance(true);
    SDPenSizeTB->setFixedHeight(56);
    SDPenSizeTB->setToolTip(QStringLiteral("Set line width"));
    row->addWidget(SDPenSizeTB);
    layout->addWidget(rightPanel);

    ViewBox = new QScrollArea(this);
    ViewBox->setObjectName(QStringLiteral("ViewBox"));
    ViewBox->setFrameShape(QFrame::NoFrame);
    ViewBox->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pic = new TSymDrawPic(this);
    pic->setCursor(ScreenCursor(2));
    ViewBox->setWidget(pic);
    layout->addWidget(ViewBox, 1);

    connect(mbColorPalette, &TColourPalette::ColourClicked, this, &TSymDrawFrm::PaletteClick);
    connect(SDPenSizeTB, &QSlider::valueChanged, this, [this](int v) {
        Drawing.PenWidth = v;
        SDPenSizeTB->setToolTip(QStringLiteral("Set line width (%1)").arg(v));
        sdLinePic->update();
    });
    connect(tools, &QActionGroup::triggered, this, [this] { pic->setCursor(ScreenCursor(PenChosen() ? 2 : 3)); });
    connect(ClearBtn, &QAction::triggered, this, [this] {
        Drawing.Clear();
        pic->update();
    });
    connect(AngleCB, &QComboBox::activated, this, &TSymDrawFrm::AngleChosen);
}

bool TSymDrawFrm::PenChosen() const { return sdPenBtn->isChecked(); }

void TSymDrawFrm::AngleChosen(int item) {
    if (AngleCB->currentIndex() != item)
        AngleCB->setCurrentIndex(item);
    Drawing.Copies = CopiesForAngleItem(item);
    Drawing.Clear();
    pic->update();
}

void TSymDrawFrm::PaletteClick(QRgb colour) {
    if (PenChosen())
        Drawing.PenColour = colour;
    else
        Drawing.FillColour = colour;
    sdLinePic->update();
}

QImage TSymDrawFrm::Preview() const {
    return DrawPenPreview(Drawing.PenColour, Drawing.FillColour, Drawing.PenWidth, sdLinePic->size());
}

void TSymDrawFrm::PicMouseDown(QPoint p, Qt::MouseButton) {
    Drawing.Press(p);
    if (!Drawing.Pressed)
        return;
    if (!PenChosen()) {
        Drawing.FillAt(p);
        pic->update();
    }
}

void TSymDrawFrm::PicMouseMove(QPoint p, Qt::MouseButtons buttons) {
    if (!(buttons & Qt::LeftButton) || !PenChosen())
        return;
    if (Drawing.StrokeTo(p))
        pic->update();
}

void TSymDrawFrm::PicMouseUp() { Drawing.Release(); }

void TSymDrawFrm::SetLargeButtons(bool large) {
    m_toolbar->setUpdatesEnabled(false);
    const TImageList& images = TDataMod::Instance()->Images(large);
    sdPenBtn->setIcon(images.Icon(48));
    sdFillBtn->setIcon(images.Icon(47));
    ClearBtn->setIcon(images.Icon(14));
    m_toolbar->setIconSize(QSize(images.Size(), images.Size()));
    QFont f = AngleCB->font();
    f.setPointSize(large ? 12 : 8);
    AngleCB->setFont(f);
    m_toolbar->setUpdatesEnabled(true);
}

void RegisterSymDrawPanel() {
    TPanelInfo info;
    info.Create = [](QWidget* owner) { return new TSymDrawFrm(owner); };
    RegisterPanel(2015, info);
}

} // namespace quarvel
