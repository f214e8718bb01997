#pragma once
// "Set the animation speed": a slider from 1 (slow) to 500 (fast) for the
// rate of the topic on show.

#include <QDialog>

class QSlider;

namespace quarvel {

class TSpeedFrm : public QDialog {
    Q_OBJECT
public:
    TSpeedFrm(int rate, QWidget* parent = nullptr);
    int Value() const;
    QSlider* SpeedHsb = nullptr;
};

} // namespace quarvel
