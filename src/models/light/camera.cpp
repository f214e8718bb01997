#include "models/light/camera.h"

#include "common/contentpath.h"
#include "common/rounding.h"
#include "host/globals.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <cmath>
#include <numbers>

namespace quarvel {

namespace {
constexpr int kTopHeight = 222;
int R(double x) { return int(RoundHalfEven(x)); }
} // namespace

TCameraOptics TCameraOptics::Of(int objectPosition, int lensSetting) {
    TCameraOptics o;
    o.L = 92.5f + float(lensSetting);
    o.O = float(objectPosition) + 20.0f;
    o.U = o.O - o.L;
    o.V = 45.0f * o.U / (o.U - 45.0f);
    o.I = o.L - o.V;
    o.Blur = int(std::min<std::int64_t>(Trunc(std::abs(o.I - 20.0f) * 25.0f), 255));
    return o;
}

int DarknessAlpha(int aperture) { return R((7140 - 255 * aperture) / 28.0); }

double PhotoScale(int objectPosition) { return 227.5 / objectPosition; }

QVector<QPolygon> LightCone(const TCameraOptics& o, int aperture, double s, int c) {
    const int w = R(35 * (55 - o.I) * s / (o.L - o.I));
    const int a = R(aperture * s);
    const QPoint object(R(s * o.O), c), image(R(s * o.I), c);
    const QPoint lensTop(R(s * o.L), R(c - 35 * s)), lensBottom(R(s * o.L), R(c + 35 * s));
    const int d = R(55 * s);
    if (w >= 0) {
        const int open = std::min(w, a);
        return {QPolygon({object, lensTop, QPoint(d, c - w), QPoint(d, c - open), image, QPoint(d, c + open),
                          QPoint(d, c + w), lensBottom})};
    }
    // The image lies between the diaphragm and the lens: the rays cross
    // there and spread again, so the light is two pieces meeting at the
    // image point rather than one outline crossing itself.
    return {QPolygon({object, lensTop, image, lensBottom}), QPolygon({image, QPoint(d, c + w), QPoint(d, c - w)})};
}

QImage CameraObjectPicture() {
    // A ginger cat sitting, seen from the side, facing the camera's lens.
    QImage image(42, 59, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ginger(0xE8, 0x8A, 0x2E), dark(0x8A, 0x4A, 0x12);
    p.setPen(QPen(dark, 1.2));
    p.setBrush(ginger);
    QPainterPath tail;
    tail.moveTo(30, 56);
    tail.cubicTo(44, 54, 42, 38, 36, 34);
    tail.cubicTo(40, 42, 38, 50, 28, 52);
    p.drawPath(tail);
    p.drawEllipse(QRectF(10, 26, 24, 31)); // body
    p.drawEllipse(QRectF(4, 8, 22, 20));   // head
    QPainterPath ears;
    ears.moveTo(6, 14);
    ears.lineTo(6, 1);
    ears.lineTo(13, 9);
    ears.moveTo(16, 9);
    ears.lineTo(23, 1);
    ears.lineTo(24, 14);
    p.drawPath(ears);
    p.setPen(QPen(dark, 1.5));
    p.drawLine(QPointF(14, 32), QPointF(20, 30)); // stripes
    p.drawLine(QPointF(13, 38), QPointF(21, 36));
    p.drawLine(QPointF(14, 44), QPointF(22, 42));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x20, 0x60, 0x20));
    p.drawEllipse(QRectF(8.5, 14, 4, 5));
    p.drawEllipse(QRectF(17, 14, 4, 5));
    p.setBrush(QColor(0xE0, 0x60, 0x80));
    p.drawEllipse(QRectF(13, 20, 3.5, 2.5)); // nose
    p.setBrush(QColor(0xFA, 0xE8, 0xD0));
    p.drawEllipse(QRectF(13, 48, 7, 8));     // front paws
    p.drawEllipse(QRectF(20, 48, 7, 8));
    return image;
}

QImage DrawCameraDiagram(int objectPosition, int aperture, int lensSetting, QSize size, const QImage& object) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    if (size.width() < 2 || size.height() < 2)
        return image;
    const double s = size.width() / 480.0;
    const int c = size.height() / 2;
    const TCameraOptics o = TCameraOptics::Of(objectPosition, lensSetting);
    const QColor grey(0x7F, 0x7F, 0x7F);
    QPainter p(&image);

    // The camera body: a grey case round the film, with the film and spools.
    p.setPen(grey);
    p.setBrush(QColor(0x50, 0x50, 0x50));
    p.drawRect(QRect(QPoint(R(4 * s), c - R(98 * s)), QPoint(R(60 * s), c + R(98 * s))));
    p.setBrush(Qt::black);
    p.drawRect(QRect(QPoint(R(10 * s), c - R(92 * s)), QPoint(R(54 * s), c + R(92 * s))));
    p.setPen(QPen(Qt::red, std::max(1.0, s)));
    p.drawLine(R(20 * s), c - R(80 * s), R(20 * s), c + R(80 * s));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xBF, 0xBF, 0xBF));
    for (int sign : {-1, 1}) {
        QPolygonF spool;
        for (int i = 0; i < 20; ++i) {
            const double a = i * std::numbers::pi / 10;
            spool << QPointF(32 * s + 12 * s * std::cos(a), c + sign * R(80 * s) + 12 * s * std::sin(a));
        }
        p.drawPolygon(spool);
    }
    p.setRenderHint(QPainter::Antialiasing, false);

    // The layer: inside of the camera, lens, object, light, diaphragm, tube.
    const int t = R(60 * s);
    const int a = R(aperture * s);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRect(QRect(QPoint(R(20 * s + 10), c - t), QPoint(R(s * o.L), c + t)));
    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF lens;
    for (int i = 0; i < 21; ++i) {
        const double an = i * 2 * std::numbers::pi / 20;
        lens << QPointF(R(s * o.L) + 10 * s * std::cos(an), c + 58 * s * std::sin(an));
    }
    p.setPen(grey);
    p.setBrush(QColor(0xC0, 0xE1, 0xFF));
    p.drawPolygon(lens);
    p.drawImage(R(s * o.O) - 21, c - 27, object);
    p.setBrush(QColor(0xFF, 0xFF, 0x80, 0x7F));
    for (const QPolygon& piece : LightCone(o, aperture, s, c))
        p.drawPolygon(piece);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::black);
    p.drawText(QRect(R(s * o.O) - 40, c + 30, 80, 16), Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("object"));
    const int d = R(55 * s);
    const int left = d - R(s), right = d + R(2 * s);
    p.setPen(Qt::NoPen);
    p.setBrush(grey);
    p.drawRect(QRect(QPoint(left, c - t), QPoint(right, c - a)));
    p.drawRect(QRect(QPoint(left, c + a), QPoint(right, c + t)));
    const int tubeEnd = R(s * o.L) + R(20 * s);
    p.drawRect(QRect(QPoint(right, c - t), QPoint(tubeEnd, c - t + R(5 * s))));
    p.drawRect(QRect(QPoint(right, c + t - R(5 * s)), QPoint(tubeEnd, c + t)));
    p.setPen(grey);
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, size.width() - 1, size.height() - 1);
    return image;
}

// ---------------------------------------------------------------- panel

namespace {
class TCameraImage : public QWidget {
public:
    TCameraImage(std::function<QImage()> source, QWidget* parent) : QWidget(parent), m_source(std::move(source)) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.drawImage(0, 0, m_source());
    }

private:
    std::function<QImage()> m_source;
};

QImage LoadTexture(const QString& name) {
    const QString path = ResolveContentPath(TexturesFolder, name);
    QImage image;
    if (!path.isEmpty())
        image.load(path);
    return image;
}
} // namespace

TCameraFrm::TCameraFrm(QWidget* parent) : TPanel(parent) {
    setObjectName(QStringLiteral("CameraFrm"));
    m_sharp = LoadTexture(QStringLiteral("Cat_01.jpg"));
    m_blurred = LoadTexture(QStringLiteral("Cat_02.jpg"));
    m_object = CameraObjectPicture();

    TopPanel = new QWidget(this);
    TopPanel->setObjectName(QStringLiteral("TopPanel"));
    TopPanel->setFixedHeight(kTopHeight);
    auto* grid = new QGridLayout(TopPanel);
    const char* texts[3] = {"object position", "camera apperture", "lens setting"};
    CamObjHsb = new QScrollBar(Qt::Horizontal, TopPanel);
    CamObjHsb->setObjectName(QStringLiteral("CamObjHsb"));
    CamObjHsb->setRange(185, 435);
    CamObjHsb->setValue(435);
    ApertureHsb = new QScrollBar(Qt::Horizontal, TopPanel);
    ApertureHsb->setObjectName(QStringLiteral("ApertureHsb"));
    ApertureHsb->setRange(0, 25);
    ApertureHsb->setValue(25);
    CamLensHsb = new QScrollBar(Qt::Horizontal, TopPanel);
    CamLensHsb->setObjectName(QStringLiteral("CamLensHsb"));
    CamLensHsb->setRange(-25, 25);
    CamLensHsb->setValue(-22);
    QScrollBar* bars[3] = {CamObjHsb, ApertureHsb, CamLensHsb};
    for (int i = 0; i < 3; ++i) {
        Labels[i] = new QLabel(QLatin1String(texts[i]), TopPanel);
        bars[i]->setPageStep(10);
        bars[i]->setMinimumWidth(160);
        grid->addWidget(Labels[i], 2 * i, 0);
        grid->addWidget(bars[i], 2 * i + 1, 0);
        QScrollBar* bar = bars[i];
        connect(bar, &QScrollBar::valueChanged, this, [this, bar] { ScrollChange(bar); });
    }
    grid->setRowStretch(6, 1);
    NearPic = new TCameraImage([this] { return Photograph(); }, TopPanel);
    NearPic->setObjectName(QStringLiteral("NearPic"));
    NearPic->setFixedSize(200, 210);
    grid->addWidget(NearPic, 0, 1, 7, 1, Qt::AlignTop);
    grid->setColumnStretch(0, 1);
    SetLargeButtons(false);

    Pic = new TCameraImage([this] { return m_diagram; }, this);
    Pic->setObjectName(QStringLiteral("Pic"));

    // The photograph's layers show the starting blur and darkness at once.
    Redraw();
    BlurAlpha = Blur;
    DarkAlpha = DarknessAlpha(ApertureHsb->value());
}

void TCameraFrm::Redraw() {
    Blur = TCameraOptics::Of(CamObjHsb->value(), CamLensHsb->value()).Blur;
    m_diagram = DrawCameraDiagram(CamObjHsb->value(), ApertureHsb->value(), CamLensHsb->value(), Pic->size(), m_object);
    Pic->update();
}

void TCameraFrm::ScrollChange(QScrollBar* bar) {
    Redraw();
    if (bar == ApertureHsb)
        DarkAlpha = DarknessAlpha(ApertureHsb->value());
    else
        BlurAlpha = Blur;
    NearPic->update();
}

QImage TCameraFrm::Photograph() const {
    QImage photo(200, 210, QImage::Format_ARGB32_Premultiplied);
    photo.fill(Qt::white);
    if (m_sharp.isNull())
        return photo;
    const double k = PhotoScale(CamObjHsb->value());
    const QSizeF size(m_sharp.width() * k, m_sharp.height() * k);
    const QRectF at(QPointF((200 - size.width()) / 2, (210 - size.height()) / 2), size);
    QPainter p(&photo);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(at, m_sharp);
    if (!m_blurred.isNull()) {
        p.setOpacity(BlurAlpha / 255.0);
        p.drawImage(at, m_blurred);
    }
    p.setOpacity(DarkAlpha / 255.0);
    p.fillRect(at, Qt::black);
    return photo;
}

void TCameraFrm::SetCase(int objectPosition, int lensSetting) {
    CamObjHsb->setValue(objectPosition);
    CamLensHsb->setValue(lensSetting);
    Redraw();
    BlurAlpha = Blur;
    NearPic->update();
}

bool TCameraFrm::RunOperation(const QString& name, const QVariantList& args) {
    if (name != QLatin1String("CameraExample") || args.size() < 2)
        return false;
    SetCase(args[0].toInt(), args[1].toInt());
    return true;
}

void TCameraFrm::SetLargeButtons(bool large) {
    for (QLabel* label : Labels) {
        QFont f = label->font();
        f.setPointSize(large ? 12 : 10);
        f.setWeight(QFont::Normal);
        label->setFont(f);
    }
}

void TCameraFrm::resizeEvent(QResizeEvent* e) {
    TPanel::resizeEvent(e);
    TopPanel->setGeometry(0, 0, width(), kTopHeight);
    // The side view is twice as wide as high, as large as the space allows.
    const int free = std::max(0, height() - kTopHeight);
    const int w = std::min(2 * free, width());
    Pic->setGeometry(0, kTopHeight, w, w / 2);
    Scale = w > 0 ? float(w / 480.0) : 1.0f;
    Redraw();
}

void RegisterCameraPanel() {
    TPanelInfo info;
    info.Create = [](QWidget* owner) { return new TCameraFrm(owner); };
    info.DockedToolbar = false;
    RegisterPanel(2014, info);
}

} // namespace quarvel
