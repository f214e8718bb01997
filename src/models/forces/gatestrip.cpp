#include "models/forces/gatestrip.h"

#include "common/rounding.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace quarvel {

namespace {

constexpr int kTimerX = 300, kTimerY = 50;

// Point sizes as the course's 96-dpi screens show them.
QFont StripFont(int points, bool bold = false) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(points * 96 / 72);
    f.setBold(bold);
    return f;
}

// The white box round the digits: 10 pixels wider than "00.000", as high as it.
QRect DigitsBox() {
    const QFontMetrics fm(StripFont(20));
    const int w = fm.horizontalAdvance(QStringLiteral("00.000")) + 10;
    const int h = fm.height();
    return QRect(kTimerX - w / 2, kTimerY - h / 2, w, h);
}

} // namespace

QImage LightGatePicture() {
    QImage pic(32, 64, QImage::Format_ARGB32);
    pic.fill(QColor(0xE8, 0xF0, 0xF8));
    QPainter p(&pic);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    // Two posts joined at the top, the sender and the receiver facing each other.
    p.setBrush(QColor(0x30, 0x30, 0x38));
    p.drawRect(QRectF(3, 6, 6, 54));
    p.drawRect(QRectF(23, 6, 6, 54));
    p.drawRect(QRectF(3, 4, 26, 6));
    p.setBrush(QColor(0xD0, 0x20, 0x20));
    p.drawEllipse(QPointF(10.5, 40), 2.5, 2.5);
    p.setBrush(QColor(0x20, 0x20, 0x20));
    p.drawEllipse(QPointF(21.5, 40), 2.5, 2.5);
    p.setPen(QPen(QColor(0xFF, 0x40, 0x40), 1, Qt::DashLine));
    p.drawLine(QPointF(13, 40), QPointF(19, 40));
    // The cable to the timer.
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::NoBrush);
    QPainterPath cable;
    cable.moveTo(26, 60);
    cable.cubicTo(26, 64, 31, 62, 31, 56);
    p.drawPath(cable);
    return pic;
}

int RulerNumber(float gate, int k) { return int(RoundHalfEven(gate)) - 2 + k; }

TGateStrip::TGateStrip() : m_image(400, 125, QImage::Format_RGB32) { m_image.fill(Qt::white); }

void TGateStrip::Draw(float gate, const QImage& gatePicture) {
    m_image.fill(Qt::white);
    QPainter p(&m_image);
    // The light gate with its lamp.
    const QRect gateBox(80, 5, 20, 35);
    if (!gatePicture.isNull())
        p.drawImage(gateBox, gatePicture);
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(gateBox.adjusted(0, 0, -1, -1));
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0xEE, 0xC6, 0x2A));
    p.drawEllipse(QPointF(90, 40), 12, 12);
    p.setRenderHint(QPainter::Antialiasing, false);

    // The magnified ruler: 4 pixels a centimetre, the gate's centimetre under the lamp.
    p.save();
    p.setClipRect(QRect(10, 80, 160, 40));
    p.fillRect(QRect(10, 80, 160, 40), QColor(0xFF, 0xFF, 0x80));
    p.setPen(Qt::black);
    p.drawLine(10, 80, 170, 80);
    p.drawLine(10, 119, 170, 119);
    const int o = int(RoundHalfEven((gate - RoundHalfEven(gate)) * 40));
    p.setFont(StripFont(8));
    int tenth = 0;
    for (int i = -25; i <= 50; ++i) {
        const int x = 90 + 4 * i - o;
        int y = 85;
        if (i % 10 == 0)
            y = 95;
        else if (i % 5 == 0)
            y = 90;
        p.drawLine(x, 80, x, y);
        if (i % 10 == 0) {
            const QString n = QString::number(RulerNumber(gate, tenth++));
            p.drawText(QRect(x - 20, 100, 40, 16), Qt::AlignHCenter | Qt::AlignTop, n);
        }
    }
    p.restore();

    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(10, 5, 160, 115));
    p.setFont(StripFont(10));
    p.drawText(QPoint(15, 10 + QFontMetrics(StripFont(10)).ascent()), QStringLiteral("light gate"));

    // The timer.
    const QRect digits = DigitsBox();
    p.setPen(Qt::gray);
    p.setBrush(QColor(0xC0, 0xE1, 0xFF));
    p.drawRect(QRect(240, digits.top() - 10, 120, 90 - (digits.top() - 10)));
    p.setFont(StripFont(10));
    p.setPen(Qt::black);
    p.drawText(QRect(240, digits.bottom() + 4, 120, 20), Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("time (s)"));
    p.setPen(Qt::gray);
    p.setBrush(Qt::NoBrush);
    p.drawRect(m_image.rect().adjusted(0, 0, -1, -1));
    p.end();
    ShowTime(QStringLiteral("00.000"));
}

void TGateStrip::ShowTime(const QString& text) {
    m_shown = text;
    QPainter p(&m_image);
    const QRect box = DigitsBox();
    p.setPen(Qt::gray);
    p.setBrush(Qt::white);
    p.drawRect(box);
    p.setPen(Qt::black);
    p.setFont(StripFont(20));
    p.drawText(box, Qt::AlignCenter, text);
}

} // namespace quarvel
