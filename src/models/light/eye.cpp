#include "models/light/eye.h"

#include "common/contentpath.h"
#include "common/rounding.h"
#include "host/globals.h"
#include "widgets/dock.h"

#include <QAction>
#include <QActionGroup>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <cmath>
#include <numbers>

namespace quarvel {

namespace {
constexpr double kAxis = 120;
constexpr double kEyeLensX = 204;
constexpr double kGlassesX = 280;
constexpr double kArrowX = 300;

QPointF Unit(QPointF v) {
    const double n = std::hypot(v.x(), v.y());
    return n > 0 ? v / n : QPointF(-1, 0);
}

// The point at x on the segment a-b, and the unit direction from b to a.
TArrowHead OnSegment(QPointF a, QPointF b, double x) {
    const double t = (x - a.x()) / (b.x() - a.x());
    const double y = a.y() + t * (b.y() - a.y());
    return {QPointF(x, double(RoundHalfEven(y))), Unit(a - b)};
}
} // namespace

QPolygonF TArrowHead::Triangle() const {
    const QPointF base = Tip - 10 * Direction;
    const QPointF across(-Direction.y() * 4, Direction.x() * 4);
    return QPolygonF({Tip, base + across, base - across});
}

int TEyeDiagram::MeetX() const {
    if (Sight == 1)
        return P <= 375 ? 21 : P >= 575 ? 41 : int(RoundHalfEven((P - 375) * 0.1)) + 21;
    if (Sight == 2)
        return P <= 375 ? 1 : P >= 575 ? 21 : int(RoundHalfEven((P - 375) * 0.1)) + 1;
    return 21;
}

QPolygonF TEyeDiagram::EyeLens() const {
    QPolygonF lens;
    const double w = LensHalfWidth();
    for (int i = 0; i <= 16; ++i) {
        const double a = i * std::numbers::pi / 8;
        lens << QPointF(kEyeLensX + w * std::cos(a), kAxis - 45 * std::sin(a));
    }
    return lens;
}

QPolygonF TEyeDiagram::Spectacles() const {
    QPolygonF lens;
    if (!Glasses || Sight == 0)
        return lens;
    if (Sight == 1) {
        // Diverging: thin on the axis, thick at the rims.
        for (int i = 0; i <= 8; ++i) {
            const double t = (-90 + 22.5 * i) * std::numbers::pi / 180;
            lens << QPointF(kGlassesX + (7 - 5 * std::cos(t)), kAxis - 50 * std::sin(t));
        }
        for (int i = 0; i <= 8; ++i) {
            const double t = (-90 + 22.5 * i) * std::numbers::pi / 180;
            lens << QPointF(kGlassesX - (7 - 5 * std::cos(t)), kAxis + 50 * std::sin(t));
        }
    } else {
        for (int i = 0; i <= 16; ++i) {
            const double a = i * std::numbers::pi / 8;
            lens << QPointF(kGlassesX + 8 * std::cos(a), kAxis - 60 * std::sin(a));
        }
    }
    return lens;
}

std::array<QPolygonF, 2> TEyeDiagram::Rays() const {
    std::array<QPolygonF, 2> rays;
    for (int side = 0; side < 2; ++side) {
        const double sign = side == 0 ? -1 : 1; // upper ray first
        if (Glasses && Sight != 0) {
            const double e = Sight == 1 ? 32 : 20;
            const double k = double(RoundHalfEven(25.0 * (P - 280) / (P - 204)));
            const double q = P >= 1000 ? k : 0;
            rays[side] << QPointF(21, kAxis) << QPointF(kEyeLensX, kAxis + sign * e)
                       << QPointF(kGlassesX, kAxis + sign * k) << QPointF(P, kAxis + sign * q);
        } else {
            const double h = P >= 1000 ? 25 : 0;
            rays[side] << QPointF(MeetX(), kAxis) << QPointF(kEyeLensX, kAxis + sign * 25)
                       << QPointF(P, kAxis + sign * h);
        }
    }
    return rays;
}

std::array<TArrowHead, 2> TEyeDiagram::ArrowHeads() const {
    // Each head sits where its ray crosses x = 300 and points back along
    // that ray towards the eye.
    std::array<TArrowHead, 2> heads;
    const auto rays = Rays();
    for (int side = 0; side < 2; ++side) {
        const QPolygonF& ray = rays[side];
        for (int i = 0; i + 1 < ray.size(); ++i)
            if (ray[i].x() <= kArrowX && ray[i + 1].x() > kArrowX) {
                heads[side] = OnSegment(ray[i], ray[i + 1], kArrowX);
                break;
            }
    }
    return heads;
}

QImage DrawEyeDiagram(const TEyeDiagram& d, const QImage& background) {
    QImage image(680, 240, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    if (!background.isNull())
        p.drawImage(0, 0, background);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor grey(0x7F, 0x7F, 0x7F);
    p.setPen(grey);
    p.setBrush(QColor(0xFF, 0xFF, 0xE0));
    p.drawPolygon(d.EyeLens());
    const QPolygonF glasses = d.Spectacles();
    if (!glasses.isEmpty()) {
        p.setBrush(d.Sight == 1 ? QColor(0xFF, 0xFF, 0xE0) : QColor(0xFF, 0xFF, 0xF0));
        p.drawPolygon(glasses);
    }
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    for (const QPolygonF& ray : d.Rays())
        p.drawPolyline(ray);
    QFont f = p.font();
    f.setPointSize(10);
    p.setFont(f);
    p.drawText(QRectF(d.P + 3, kAxis - 10, 80, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("object"));
    p.setPen(QColor(0x00, 0x7F, 0x00));
    p.setBrush(QColor(0x00, 0xFF, 0x00));
    for (const TArrowHead& head : d.ArrowHeads())
        p.drawPolygon(head.Triangle());
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(0x3F, 0x3F, 0x3F));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, 679, 239);
    return image;
}

// ---------------------------------------------------------------- panel

namespace {
class TEyePic : public QWidget {
public:
    explicit TEyePic(TEyeFrm* form) : QWidget(form), m_form(form) {
        setObjectName(QStringLiteral("EyePic"));
        setFixedSize(680, 240);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, m_form->Picture()); }

private:
    TEyeFrm* m_form;
};

QImage LoadTexture(const QString& name) {
    const QString path = ResolveContentPath(TexturesFolder, name);
    QImage image;
    if (!path.isEmpty())
        image.load(path);
    return image;
}

QPixmap Framed(const QImage& photo) {
    if (photo.isNull())
        return {};
    QImage framed = photo.convertToFormat(QImage::Format_RGB32);
    QPainter p(&framed);
    p.setPen(QColor(0x3F, 0x3F, 0x3F));
    p.drawRect(0, 0, framed.width() - 1, framed.height() - 1);
    return QPixmap::fromImage(framed);
}
} // namespace

TEyeFrm::TEyeFrm(QWidget* parent) : TPanel(parent) {
    setObjectName(QStringLiteral("EyeFrm"));
    m_background = LoadTexture(QStringLiteral("Eye.bmp"));
    const char* photos[4] = {"Near_01.jpg", "Near_02.jpg", "Far_01.jpg", "Far_02.jpg"};
    for (int i = 0; i < 4; ++i)
        m_photos[i] = LoadTexture(QLatin1String(photos[i]));

    m_toolbar = new TDockToolbar(QStringLiteral("Toolbar"), QStringLiteral("Eye"), this);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto* vision = new QActionGroup(this);
    NormalBtn = m_toolbar->addAction(QStringLiteral("Normal sight"));
    NormalBtn->setObjectName(QStringLiteral("NormalBtn"));
    ShortBtn = m_toolbar->addAction(QStringLiteral("Short sight"));
    ShortBtn->setObjectName(QStringLiteral("ShortBtn"));
    LongBtn = m_toolbar->addAction(QStringLiteral("Long sight"));
    LongBtn->setObjectName(QStringLiteral("LongBtn"));
    for (QAction* a : {NormalBtn, ShortBtn, LongBtn}) {
        a->setCheckable(true);
        vision->addAction(a);
        connect(a, &QAction::triggered, this, [this, a] { VisionClick(a); });
    }
    NormalBtn->setChecked(true);
    m_toolbar->addSeparator();
    GlassesBtn = m_toolbar->addAction(QStringLiteral("Glasses"));
    GlassesBtn->setObjectName(QStringLiteral("GlassesBtn"));
    GlassesBtn->setCheckable(true);
    GlassesBtn->setToolTip(QStringLiteral("Correct vision with glasses"));
    GlassesBtn->setStatusTip(GlassesBtn->toolTip());
    connect(GlassesBtn, &QAction::triggered, this, [this] { VisionClick(GlassesBtn); });

    // The diagram is 680 pixels wide: a narrower pane scrolls.
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* box = new QScrollArea(this);
    box->setObjectName(QStringLiteral("EyeBox"));
    box->setFrameShape(QFrame::NoFrame);
    box->setWidgetResizable(true);
    outer->addWidget(box);
    auto* page = new QWidget(box);
    box->setWidget(page);
    auto* layout = new QVBoxLayout(page);
    auto* photosRow = new QGridLayout;
    NearPic = new QLabel(page);
    NearPic->setObjectName(QStringLiteral("NearPic"));
    FarPic = new QLabel(page);
    FarPic->setObjectName(QStringLiteral("FarPic"));
    photosRow->addWidget(new QLabel(QStringLiteral("Near objects"), page), 0, 0, Qt::AlignHCenter);
    photosRow->addWidget(new QLabel(QStringLiteral("Distant objects"), page), 0, 1, Qt::AlignHCenter);
    photosRow->addWidget(NearPic, 1, 0, Qt::AlignHCenter);
    photosRow->addWidget(FarPic, 1, 1, Qt::AlignHCenter);
    layout->addLayout(photosRow);
    EyePic = new TEyePic(this);
    layout->addWidget(EyePic, 0, Qt::AlignHCenter);
    EyeDistHsb = new QScrollBar(Qt::Horizontal, page);
    EyeDistHsb->setObjectName(QStringLiteral("EyeDistHsb"));
    EyeDistHsb->setRange(350, 1000);
    EyeDistHsb->setValue(350);
    EyeDistHsb->setFixedWidth(680);
    EyeDistHsb->setToolTip(QStringLiteral("move the object"));
    layout->addWidget(EyeDistHsb, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    connect(EyeDistHsb, &QScrollBar::valueChanged, this, &TEyeFrm::Repaint);

    VisionClick(NormalBtn);
}

void TEyeFrm::VisionClick(QAction* button) {
    if (button != GlassesBtn)
        button->setChecked(true);
    Sight = LongBtn->isChecked() ? 2 : ShortBtn->isChecked() ? 1 : 0;
    if (Sight == 0) {
        GlassesBtn->setChecked(false);
        GlassesBtn->setEnabled(false);
        Glasses = false;
    } else {
        GlassesBtn->setEnabled(true);
        Glasses = GlassesBtn->isChecked();
    }
    Repaint();
    ChoosePhotographs();
}

TEyeDiagram TEyeFrm::Diagram() const { return {Sight, Glasses, EyeDistHsb->value()}; }

void TEyeFrm::Repaint() {
    m_picture = DrawEyeDiagram(Diagram(), m_background);
    EyePic->update();
}

void TEyeFrm::ChoosePhotographs() {
    const TEyeDiagram d = Diagram();
    NearPic->setPixmap(Framed(m_photos[d.NearSharp() ? 0 : 1]));
    FarPic->setPixmap(Framed(m_photos[d.FarSharp() ? 2 : 3]));
}

void TEyeFrm::SetCase(int objectPosition, int sight, bool glasses) {
    EyeDistHsb->setValue(objectPosition);
    GlassesBtn->setChecked(glasses);
    if (sight == 1)
        VisionClick(ShortBtn);
    else if (sight == 2)
        VisionClick(LongBtn);
}

bool TEyeFrm::RunOperation(const QString& name, const QVariantList& args) {
    if (name != QLatin1String("EyeExample") || args.size() < 3)
        return false;
    SetCase(args[0].toInt(), args[1].toInt(), args[2].toInt() != 0);
    return true;
}

void TEyeFrm::SetLargeButtons(bool large) {
    m_toolbar->setUpdatesEnabled(false);
    QFont f = font();
    f.setPointSizeF(f.pointSizeF() * (large ? 1.5 : 1.0));
    for (QAction* a : {NormalBtn, ShortBtn, LongBtn, GlassesBtn})
        a->setFont(f);
    m_toolbar->setUpdatesEnabled(true);
}

void RegisterEyePanel() {
    TPanelInfo info;
    info.Create = [](QWidget* owner) { return new TEyeFrm(owner); };
    RegisterPanel(2009, info);
}

} // namespace quarvel
