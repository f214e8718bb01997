#pragma once
// "Measure angles": a floating picture of a protractor for the plane-mirror
// model. Its scale is a half disc of radius 250 hanging from the middle of
// its top edge, with ticks every degree and labels every ten; when the
// model reports a reflection angle A, two white lines at A either side of
// the normal show the incident and reflected rays.

#include <QLineF>
#include <QWidget>
#include <functional>

namespace quarvel {

// The tick for angle i (1..179) from radius 250 inwards, round centre `c`.
QLineF ProtractorTick(QPointF c, int i);
// Where the label of angle i (a multiple of 10) is centred, and its text |90 - i|.
QPointF ProtractorLabelCentre(QPointF c, int i);
QString ProtractorLabel(int i);
// The two angle lines for reflection angle A (degrees).
std::pair<QLineF, QLineF> ProtractorAngleLines(QPointF c, float a);

class TProtractor : public QWidget {
    Q_OBJECT
public:
    explicit TProtractor(QWidget* owner);
    std::function<float()> ReflectionAngle; // negative: no lines
    QPointF Centre() const { return QPointF(width() / 2.0, 0); }

protected:
    void paintEvent(QPaintEvent*) override;
};

} // namespace quarvel
