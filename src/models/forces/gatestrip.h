#pragma once
// The light-gate strip above the trolley's view: the gate and its lamp, a
// magnified ruler under the gate whose number under the lamp is the gate's
// position, and the timer with its digits. Painted into a 400 x 125 picture.

#include <QImage>
#include <QString>

namespace quarvel {

// A 32 x 64 picture of a light gate, drawn for the course.
QImage LightGatePicture();

// The number written under the ruler's k-th tenth tick (k = 0 the first):
// they count up by one from round(G) - 2, so the one under the lamp is G.
int RulerNumber(float gate, int k);

class TGateStrip {
public:
    TGateStrip();
    // The whole strip for gate position `gate` (cm), with `gatePicture` in the gate's box.
    void Draw(float gate, const QImage& gatePicture);
    // Refills the timer's white box with `text` ("00.000", "0.054", ...).
    void ShowTime(const QString& text);
    const QImage& Image() const { return m_image; }
    QString Shown() const { return m_shown; }

private:
    QImage m_image;
    QString m_shown;
};

} // namespace quarvel
