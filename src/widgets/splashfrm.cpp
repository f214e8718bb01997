#include "widgets/splashfrm.h"

#include <QApplication>
#include <QPainter>

namespace quarvel {

TSplashFrm::TSplashFrm(const QString& picturePath, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("SplashFrm"));
    if (!picturePath.isEmpty())
        m_picture.load(picturePath);
    setFixedSize(m_picture.isNull() ? QSize(391, 270) : m_picture.deviceIndependentSize().toSize());
}

void TSplashFrm::ShowCentredOn(const QRect& place) {
    move(place.center() - QPoint(width() / 2, height() / 2));
    show();
    raise();
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TSplashFrm::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!m_picture.isNull()) {
        p.drawPixmap(0, 0, m_picture);
        return;
    }
    p.fillRect(rect(), palette().color(QPalette::Window));
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace quarvel
