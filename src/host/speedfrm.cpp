#include "host/speedfrm.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

namespace quarvel {

TSpeedFrm::TSpeedFrm(int rate, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SpeedFrm"));
    setWindowTitle(QStringLiteral("Set the animation speed"));
    auto* grid = new QGridLayout(this);
    SpeedHsb = new QSlider(Qt::Horizontal, this);
    SpeedHsb->setObjectName(QStringLiteral("SpeedHsb"));
    SpeedHsb->setRange(1, 500);
    SpeedHsb->setTickInterval(50);
    SpeedHsb->setTickPosition(QSlider::TicksBelow);
    SpeedHsb->setValue(rate);
    SpeedHsb->setMinimumWidth(320);
    grid->addWidget(SpeedHsb, 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Slow"), this), 1, 0, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("Fast"), this), 1, 1, Qt::AlignRight);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("Apply"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, 2, 0, 1, 2);
    setFixedSize(sizeHint());
}

int TSpeedFrm::Value() const { return SpeedHsb->value(); }

} // namespace quarvel
