#include "models/light/colmix.h"

#include "common/contentpath.h"
#include "common/rounding.h"
#include "host/globals.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace quarvel {

namespace {
const char* const kNames[3] = {"Red", "Green", "Blue"};

// Half-open span [from, to) of pixel centres of row `y` inside the disc of
// radius r centred on (cx, cy); empty when the row misses it.
void DiscSpan(double cx, double cy, double r, int y, int& from, int& to) {
    const double dy = y + 0.5 - cy;
    const double h = r * r - dy * dy;
    if (h < 0) {
        from = to = 0;
        return;
    }
    const double half = std::sqrt(h);
    from = int(std::ceil(cx - half - 0.5));
    to = int(std::floor(cx + half - 0.5)) + 1;
}

// A two-pixel sunken edge round `image`.
void SunkenEdge(QImage& image) {
    if (image.width() < 4 || image.height() < 4)
        return;
    QPainter p(&image);
    const int w = image.width(), h = image.height();
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawLine(0, 0, w - 1, 0);
    p.drawLine(0, 0, 0, h - 1);
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.drawLine(1, 1, w - 2, 1);
    p.drawLine(1, 1, 1, h - 2);
    p.setPen(QColor(0xFF, 0xFF, 0xFF));
    p.drawLine(0, h - 1, w - 1, h - 1);
    p.drawLine(w - 1, 0, w - 1, h - 1);
    p.setPen(QColor(0xD4, 0xD0, 0xC8));
    p.drawLine(1, h - 2, w - 2, h - 2);
    p.drawLine(w - 2, 1, w - 2, h - 2);
}
} // namespace

QString TColMixLights::Label(int channel) const {
    const int percent = On[channel] ? int(RoundHalfEven(Position[channel] * 100.0 / 255.0)) : 0;
    return QStringLiteral("%1 = %2%").arg(QLatin1String(kNames[channel])).arg(percent);
}

int CircleRadius(int width, int height) { return std::max(0, std::min(width, height)) / 3; }

QImage DrawColourCircles(const TColMixLights& lights, int width, int height, QRgb background) {
    const int s = CircleRadius(width, height);
    if (s <= 0)
        return {};
    const int side = 3 * s;
    QImage image(side, side, QImage::Format_RGB32);
    const int c = Div(3 * s, 2);
    const double y0 = double(RoundHalfEven(s * std::cos(std::numbers::pi / 6)));
    // Disc centres: A (red) and B (green) side by side, C (blue) below.
    const double cx[3] = {double(s), 2.0 * s, double(c)};
    const double cy[3] = {double(s), double(s), y0 + s};
    const int r = lights.Amount(0), g = lights.Amount(1), b = lights.Amount(2);
    for (int y = 0; y < side; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        int from[3], to[3];
        int cuts[8] = {0, side};
        int n = 2;
        for (int d = 0; d < 3; ++d) {
            DiscSpan(cx[d], cy[d], s, y, from[d], to[d]);
            from[d] = std::clamp(from[d], 0, side);
            to[d] = std::clamp(to[d], 0, side);
            cuts[n++] = from[d];
            cuts[n++] = to[d];
        }
        std::sort(cuts, cuts + n);
        // Between two neighbouring cuts every pixel lies in the same discs;
        // where discs overlap their lights add.
        for (int i = 0; i + 1 < n; ++i) {
            const int x0 = cuts[i], x1 = cuts[i + 1];
            if (x0 >= x1)
                continue;
            const bool inA = x0 >= from[0] && x0 < to[0];
            const bool inB = x0 >= from[1] && x0 < to[1];
            const bool inC = x0 >= from[2] && x0 < to[2];
            const QRgb colour = inA || inB || inC ? qRgb(inA ? r : 0, inB ? g : 0, inC ? b : 0) : background;
            std::fill(line + x0, line + x1, colour);
        }
    }
    SunkenEdge(image);
    return image;
}

QImage LightPicture(const QImage& picture, const TColMixLights& lights) {
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    std::uint8_t table[3][256];
    for (int ch = 0; ch < 3; ++ch)
        for (int v = 0; v < 256; ++v)
            table[ch][v] = std::uint8_t(RoundHalfEven(v * double(lights.Amount(ch)) / 255.0));
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = line[x];
            line[x] = qRgba(table[0][qRed(p)], table[1][qGreen(p)], table[2][qBlue(p)], qAlpha(p));
        }
    }
    SunkenEdge(out);
    return out;
}

int ColMixPanelHeight(int width, int height) { return width < height - 90 ? height - width : 90; }

namespace {
class TColMixPic : public QWidget {
public:
    explicit TColMixPic(TColMixFrm* form) : QWidget(form), m_form(form) {
        setObjectName(QStringLiteral("ColMixPic"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        const QImage image = m_form->Render();
        if (image.isNull())
            return;
        const int x = m_form->PictureMode() ? 0 : (width() - image.width()) / 2;
        p.drawImage(x, 0, image);
    }

private:
    TColMixFrm* m_form;
};
} // namespace

TColMixFrm::TColMixFrm(QWidget* parent) : TPanel(parent) {
    setObjectName(QStringLiteral("ColMixFrm"));
    // A missing picture leaves a blank one of the usual size.
    const QString path = ResolveContentPath(TexturesFolder, QStringLiteral("BoyGirl.bmp"));
    if (!path.isEmpty())
        m_picture.load(path);
    if (m_picture.isNull()) {
        m_picture = QImage(300, 400, QImage::Format_ARGB32);
        m_picture.fill(0xFF000000);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    ColMixPic = new TColMixPic(this);
    layout->addWidget(ColMixPic, 1);
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("panel1"));
    Panel1->setFixedHeight(90);
    layout->addWidget(Panel1);
    auto* grid = new QGridLayout(Panel1);
    const char* btnNames[3] = {"RedBtn", "GreenBtn", "BlueBtn"};
    const char* hsbNames[3] = {"RedHsb", "GreenHsb", "BlueHsb"};
    const char* labelNames[3] = {"RedLabel", "GreenLabel", "BlueLabel"};
    for (int i = 0; i < 3; ++i) {
        Btn[i] = new QCheckBox(QLatin1String(kNames[i]), Panel1);
        Btn[i]->setObjectName(QLatin1String(btnNames[i]));
        Btn[i]->setChecked(true);
        Hsb[i] = new QSlider(Qt::Horizontal, Panel1);
        Hsb[i]->setObjectName(QLatin1String(hsbNames[i]));
        Hsb[i]->setRange(0, 255);
        Hsb[i]->setValue(255);
        Hsb[i]->setToolTip(QStringLiteral("255"));
        Labels[i] = new QLabel(m_lights.Label(i), Panel1);
        Labels[i]->setObjectName(QLatin1String(labelNames[i]));
        Labels[i]->setMinimumWidth(90);
        grid->addWidget(Btn[i], i, 0);
        grid->addWidget(Hsb[i], i, 1);
        grid->addWidget(Labels[i], i, 2);
        connect(Btn[i], &QCheckBox::toggled, this, [this, i](bool on) {
            m_lights.On[i] = on;
            Hsb[i]->setVisible(on);
            Changed();
        });
        connect(Hsb[i], &QSlider::valueChanged, this, [this, i](int v) {
            Hsb[i]->setToolTip(QString::number(v));
            m_lights.Position[i] = v;
            Changed();
        });
    }
    grid->setColumnStretch(1, 1);
}

void TColMixFrm::Changed() {
    for (int i = 0; i < 3; ++i)
        Labels[i]->setText(m_lights.Label(i));
    ColMixPic->update();
}

void TColMixFrm::SetColour(int red, int green, int blue) {
    Hsb[0]->setValue(red);
    Hsb[2]->setValue(blue);
    Hsb[1]->setValue(green);
    Changed();
}

void TColMixFrm::SetPictureMode(bool on) {
    m_pictureMode = on;
    ColMixPic->update();
}

QImage TColMixFrm::Render() const {
    if (m_pictureMode)
        return LightPicture(m_picture, m_lights);
    return DrawColourCircles(m_lights, ColMixPic->width(), ColMixPic->height(), m_background);
}

bool TColMixFrm::RunOperation(const QString& name, const QVariantList& args) {
    if (name != QLatin1String("ShowColour") || args.size() < 3)
        return false;
    SetColour(args[0].toInt(), args[1].toInt(), args[2].toInt());
    return true;
}

void TColMixFrm::resizeEvent(QResizeEvent* e) {
    // The drawing stays about square: the controls take what is left below it.
    Panel1->setFixedHeight(ColMixPanelHeight(width(), height()));
    TPanel::resizeEvent(e);
}

void RegisterColMixPanels() {
    TPanelInfo circles;
    circles.Create = [](QWidget* owner) { return new TColMixFrm(owner); };
    circles.DockedToolbar = false;
    RegisterPanel(2010, circles);
    TPanelInfo picture = circles;
    picture.ExtraSetup = [](TPanel* panel) {
        if (auto* f = qobject_cast<TColMixFrm*>(panel))
            f->SetPictureMode(true);
    };
    RegisterPanel(2017, picture);
}

} // namespace quarvel
