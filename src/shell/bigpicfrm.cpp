#include "shell/bigpicfrm.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>

namespace quarvel {

TBigPicFrm::TBigPicFrm(const QString& path, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("BigPicFrm"));
    setWindowTitle(QStringLiteral(" "));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    MagPic = new QLabel(this);
    MagPic->setObjectName(QStringLiteral("MagPic"));
    MagPic->setCursor(Qt::PointingHandCursor);
    MagPic->installEventFilter(this);
    layout->addWidget(MagPic);
    if (!path.isEmpty() && m_picture.load(path)) {
        MagPic->setPixmap(QPixmap::fromImage(m_picture));
        setFixedSize(m_picture.size());
    } else {
        resize(320, 240);
    }
    if (QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

void TBigPicFrm::CopyPictureToClipboard() {
    if (!m_picture.isNull())
        QApplication::clipboard()->setImage(m_picture);
}

bool TBigPicFrm::eventFilter(QObject* watched, QEvent* e) {
    if (watched == MagPic && e->type() == QEvent::MouseButtonPress) {
        auto* m = static_cast<QMouseEvent*>(e);
        if (m->button() == Qt::LeftButton) {
            accept();
            return true;
        }
        if (m->button() == Qt::RightButton && HasPicture()) {
            QMenu menu(this);
            menu.addAction(QStringLiteral("Copy picture to clipboard"), this,
                           &TBigPicFrm::CopyPictureToClipboard);
            menu.exec(m->globalPosition().toPoint());
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

} // namespace quarvel
