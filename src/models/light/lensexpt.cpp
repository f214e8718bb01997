#include "models/light/lensexpt.h"

#include "common/rounding.h"
#include "widgets/lanczos.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace quarvel {

// ---------------------------------------------------------------- blur

std::vector<double> TExBitmap::Kernel(double radius) {
    double w[201];
    double sum = 0;
    for (int i = -100; i <= 100; ++i) {
        const double t = i / radius;
        w[i + 100] = std::exp(-t * t / 2);
        sum += w[i + 100];
    }
    for (double& x : w)
        x /= sum;
    // Drop the far tails while they carry less than half a level in 255.
    int k = 100;
    double dropped = 0;
    while (dropped < 1.0 / 510 && k >= 2) {
        dropped += 2 * w[k + 100];
        --k;
    }
    std::vector<double> out(w + 100 - k, w + 100 + k + 1);
    double kept = 0;
    for (double x : out)
        kept += x;
    for (double& x : out)
        x /= kept;
    return out;
}

void TExBitmap::GaussianBlur() {
    if (Bitmap.depth() != 32)
        throw EExBitmapAssertion();
    const std::vector<double> kernel = Kernel(m_radius);
    const int k = int(kernel.size()) / 2;
    const int w = Bitmap.width(), h = Bitmap.height();
    if (w == 0 || h == 0)
        return;
    auto pass = [&](int count, int length, auto pixelAt) {
        std::vector<QRgb> line(length);
        for (int c = 0; c < count; ++c) {
            for (int i = 0; i < length; ++i)
                line[i] = *pixelAt(c, i);
            for (int i = 0; i < length; ++i) {
                double r = 0, g = 0, b = 0;
                for (int j = -k; j <= k; ++j) {
                    const QRgb p = line[std::clamp(i + j, 0, length - 1)];
                    const double wt = kernel[j + k];
                    r += wt * qRed(p);
                    g += wt * qGreen(p);
                    b += wt * qBlue(p);
                }
                QRgb* out = pixelAt(c, i);
                *out = qRgba(std::clamp(int(r), 0, 255), std::clamp(int(g), 0, 255), std::clamp(int(b), 0, 255),
                             qAlpha(*out));
            }
        }
    };
    pass(h, w, [&](int y, int x) { return reinterpret_cast<QRgb*>(Bitmap.scanLine(y)) + x; });
    pass(w, h, [&](int x, int y) { return reinterpret_cast<QRgb*>(Bitmap.scanLine(y)) + x; });
}

// ---------------------------------------------------------------- optics

TLensOptics TLensOptics::Of(int lensX, int screenX) {
    // Worked in double: in single precision the magnification 3 comes out a
    // hair under 3 and the face's opacity one level off.
    TLensOptics o;
    o.U = (lensX - 65) / 5.0;
    o.V = 1.0 / (1.0 / 15.0 - 1.0 / o.U);
    o.M = o.V / o.U;
    o.B = std::abs((screenX - 75) / 5.0 - o.U - o.V) * 5.0 / o.V;
    return o;
}

int TLensOptics::ImageSize() const { return int(RoundHalfEven(M * 65)); }

int FaceAlphaFor(double m) {
    if (m <= 1)
        return 255;
    const std::int64_t a = Mod(1 - Trunc(25 * m), 256);
    return int(a < 0 ? a + 256 : a);
}

int TLensOptics::FaceAlpha() const { return FaceAlphaFor(M); }

// ---------------------------------------------------------------- bench

bool TLensBench::OverLens(QPoint p) const {
    return p.x() >= LensX && p.x() <= LensX + 20 && p.y() >= 20 && p.y() <= 120;
}

bool TLensBench::OverScreen(QPoint p) const {
    return p.x() >= ScreenX && p.x() <= ScreenX + 5 && p.y() >= 20 && p.y() <= 120;
}

void TLensBench::SetBench(double lensDistance, double screenDistance) {
    LensX = int(RoundHalfEven(lensDistance * 5)) + 65;
    ScreenX = int(RoundHalfEven(screenDistance * 5)) + 75;
}

void TLensBench::Press(QPoint p) {
    if (OverLens(p)) {
        Dragging = 1;
        DragOffset = p.x() - LensX;
    } else if (OverScreen(p)) {
        Dragging = 2;
        DragOffset = p.x() - ScreenX;
    } else {
        Dragging = 0;
    }
}

bool TLensBench::MoveTo(int x) {
    const int a = x - DragOffset;
    if (Dragging == 1 && 149 < a && a < ScreenX - 21) {
        LensX = a;
        return true;
    }
    if (Dragging == 2 && LensX + 21 < a && a < 825) {
        ScreenX = a;
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- pictures

QImage DrawFace(double m) {
    QImage image(65, 65, QImage::Format_ARGB32_Premultiplied);
    image.fill(0);
    const int a = FaceAlphaFor(m);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 0, a), 1));
    p.setBrush(QColor(0xFF, 0xFF, 0x00, a));
    p.drawEllipse(QRectF(0, 0, 64, 64));
    p.setBrush(QColor(0xFF, 0xFF, 0xFF, a));
    p.drawEllipse(QRectF(20, 15, 10, 15));
    p.drawEllipse(QRectF(34, 15, 10, 15));
    p.setBrush(QColor(0, 0, 0, a));
    p.drawEllipse(QRectF(25, 20, 5, 10));
    p.drawEllipse(QRectF(39, 20, 5, 10));
    // A smile with a short stroke up at its left end, so an inverted image
    // can be told from an upright one.
    const QPointF mouth[10] = {{10, 37}, {15, 37}, {29, 53}, {34, 53}, {48, 37},
                               {36, 47}, {27, 47}, {15, 37}, {15, 32}, {15, 37}};
    p.setBrush(QColor(0xFF, 0, 0, a));
    p.drawPolygon(mouth, 10);
    return image;
}

QImage DrawObjectPicture(bool grid) {
    QImage image(65, 65, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    p.drawImage(0, 0, DrawFace(0));
    if (grid) {
        p.setPen(QColor(0x7F, 0x7F, 0x7F));
        for (int i = 0; i <= 64; i += 16) {
            p.drawLine(i, 0, i, 64);
            p.drawLine(0, i, 64, i);
        }
    }
    return image;
}

QImage DrawLensImage(const TLensBench& bench, bool grid) {
    const TLensOptics o = bench.Optics();
    // The face is laid over black first: its dimming and its blur then show
    // as they would on a screen in a dark room.
    TExBitmap face;
    face.Bitmap = QImage(65, 65, QImage::Format_ARGB32);
    face.Bitmap.fill(0xFF000000);
    {
        QPainter p(&face.Bitmap);
        p.drawImage(0, 0, DrawFace(o.M));
    }
    if (o.B > 0.3) {
        face.SetRadius(o.B);
        face.GaussianBlur();
    }
    const QImage inverted = face.Bitmap.mirrored(true, true);

    QImage large(256, 256, QImage::Format_ARGB32_Premultiplied);
    large.fill(Qt::white);
    QPainter p(&large);
    const int s = o.ImageSize();
    if (s > 0) {
        const int g = int(Div(256 - s, 2));
        p.drawImage(g, g, LanczosScaled(inverted, QSize(s, s)));
    }
    if (grid) {
        p.setPen(QColor(0x7F, 0x7F, 0x7F));
        for (int i = 1; i <= 15; ++i) {
            p.drawLine(16 * i, 0, 16 * i, 255);
            p.drawLine(0, 16 * i, 255, 16 * i);
        }
    }
    p.setPen(QColor(0x3F, 0x3F, 0x3F));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, 255, 255);
    return large;
}

QImage DrawBench(const TLensBench& bench) {
    QImage image(845, 200, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    const QColor grey(0x7F, 0x7F, 0x7F);
    // The light box and its slide.
    p.setPen(Qt::black);
    p.setBrush(grey);
    p.drawRect(0, 40, 72, 60);
    p.setPen(QPen(QColor(0x3F, 0x3F, 0x3F), 1));
    p.drawLine(75, 20, 75, 118);
    // The ruler, in centimetres from the slide.
    p.setPen(Qt::black);
    p.setBrush(QColor(0xFF, 0xFF, 0x80));
    p.drawRect(75, 120, 751, 30);
    QFont f = p.font();
    f.setPixelSize(10);
    p.setFont(f);
    for (int i = 1; i <= 149; ++i) {
        const int x = 75 + 5 * i;
        const int bottom = i % 10 == 0 ? 145 : i % 5 == 0 ? 135 : 130;
        p.drawLine(x, 120, x, bottom);
        if (i % 10 == 0)
            p.drawText(QRect(x - 20, 152, 40, 14), Qt::AlignHCenter | Qt::AlignTop, QString::number(i));
    }
    // The lens.
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF lens(bench.LensX, 20, 20, 100);
    {
        // A round gradient stretched to the lens's height: clear in the
        // middle, fading towards the rim.
        QRadialGradient glass(QPointF(0, 0), 10);
        glass.setColorAt(0, QColor(0xC0, 0xE1, 0xFF, 0xFF));
        glass.setColorAt(1, QColor(0xC0, 0xE1, 0xFF, 0x33));
        p.save();
        p.translate(lens.center());
        p.scale(1, 5);
        p.setPen(Qt::NoPen);
        p.setBrush(glass);
        p.drawEllipse(QRectF(-10, -10, 20, 20));
        p.restore();
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 0.5));
    p.drawEllipse(lens);
    p.setRenderHint(QPainter::Antialiasing, false);
    // The screen.
    p.setPen(Qt::black);
    p.setBrush(grey);
    p.drawRect(bench.ScreenX, 20, 5, 100);
    return image;
}

// ---------------------------------------------------------------- panel

namespace {
class TImagePic : public QWidget {
public:
    TImagePic(const QImage* image, QSize size, QWidget* parent) : QWidget(parent), m_image(image) {
        setFixedSize(size);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, *m_image); }
    const QImage* m_image;
};

class TBenchPic : public TImagePic {
public:
    TBenchPic(TLensFrm* form, const QImage* image) : TImagePic(image, QSize(845, 200), nullptr), m_form(form) {
        setObjectName(QStringLiteral("pic"));
        setMouseTracking(true);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override { m_form->PicMouseDown(e->position().toPoint()); }
    void mouseMoveEvent(QMouseEvent* e) override { m_form->PicMouseMove(e->position().toPoint()); }
    void mouseReleaseEvent(QMouseEvent*) override { m_form->PicMouseUp(); }

private:
    TLensFrm* m_form;
};
} // namespace

TLensFrm::TLensFrm(QWidget* parent) : TPanel(parent) {
    setObjectName(QStringLiteral("LensFrm"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    m_object = DrawObjectPicture(false);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QWidget(this);
    auto* grid = new QGridLayout(top);
    auto* box = new QFrame(top);
    box->setFrameShape(QFrame::Box);
    box->setAutoFillBackground(true);
    box->setBackgroundRole(QPalette::Base);
    auto* boxLayout = new QVBoxLayout(box);
    SmallFacePic = new TImagePic(&m_object, QSize(65, 65), box);
    SmallFacePic->setObjectName(QStringLiteral("SmallFacePic"));
    boxLayout->addWidget(SmallFacePic, 0, Qt::AlignHCenter);
    boxLayout->addWidget(new QLabel(QStringLiteral("object"), box), 0, Qt::AlignHCenter);
    grid->addWidget(box, 0, 0, Qt::AlignTop | Qt::AlignHCenter);
    GridChk = new QCheckBox(QStringLiteral("Show grid"), top);
    GridChk->setObjectName(QStringLiteral("GridChk"));
    grid->addWidget(GridChk, 1, 0, Qt::AlignTop | Qt::AlignHCenter);
    LargePic = new TImagePic(&m_large, QSize(256, 256), top);
    LargePic->setObjectName(QStringLiteral("LargePic"));
    grid->addWidget(LargePic, 0, 1, 2, 1);
    grid->setColumnStretch(2, 1);
    layout->addWidget(top);

    ScrollBox = new QScrollArea(this);
    ScrollBox->setObjectName(QStringLiteral("ScrollBox"));
    ScrollBox->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox->setFixedHeight(200 + ScrollBox->frameWidth() * 2 + 20);
    m_bench = DrawBench(Bench);
    pic = new TBenchPic(this, &m_bench);
    ScrollBox->setWidget(pic);
    layout->addWidget(ScrollBox);
    layout->addStretch(1);

    connect(GridChk, &QCheckBox::toggled, this, [this](bool on) {
        m_object = DrawObjectPicture(on);
        SmallFacePic->update();
        UpdateImage();
    });
    UpdateImage();
}

void TLensFrm::UpdateImage() {
    m_large = DrawLensImage(Bench, GridChk && GridChk->isChecked());
    LargePic->update();
}

void TLensFrm::SetBench(double lensDistance, double screenDistance) {
    Bench.SetBench(lensDistance, screenDistance);
    m_bench = DrawBench(Bench);
    pic->update();
    UpdateImage();
}

bool TLensFrm::RunOperation(const QString& name, const QVariantList& args) {
    if (name != QLatin1String("LensPositions") || args.size() < 2)
        return false;
    SetBench(args[0].toDouble(), args[1].toDouble());
    return true;
}

void TLensFrm::PicMouseDown(QPoint p) { Bench.Press(p); }

void TLensFrm::PicMouseMove(QPoint p) {
    if (Bench.Dragging && Bench.MoveTo(p.x())) {
        m_bench = DrawBench(Bench);
        pic->update();
        UpdateImage();
        return;
    }
    const bool over = Bench.OverLens(p) || Bench.OverScreen(p);
    pic->setCursor(over ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TLensFrm::PicMouseUp() {
    Bench.Release();
    pic->setCursor(Qt::ArrowCursor);
}

void RegisterLensPanel() {
    TPanelInfo info;
    info.Create = [](QWidget* owner) { return new TLensFrm(owner); };
    info.DockedToolbar = false;
    info.LargeButtons = false;
    RegisterPanel(2007, info);
}

} // namespace quarvel
