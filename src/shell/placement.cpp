#include "shell/placement.h"

#include "common/rounding.h"

namespace quarvel {

TPlacement DefaultPlacement(QSize screen, std::optional<QRect> workArea) {
    TPlacement p;
    const double aspect = screen.height() > 0 ? double(screen.width()) / screen.height() : 0.0;
    if (workArea && workArea->isValid()) {
        QRect r = *workArea;
        if (aspect > 1.4) {
            const int width = int(Div(std::int64_t(r.height()) * 4, 3));
            r.setWidth(width);
            const int shift = int(Div(screen.width() - width, 2));
            r.moveLeft(r.left() + shift);
        }
        p.Bounds = r;
        p.LeftPaneWidth = int(Div(r.width(), 2));
    } else {
        p.Maximise = true;
        p.LeftPaneWidth = int(Div(screen.width(), 2));
    }
    return p;
}

QRect StartPictureRect(QSize container, QSize picture) {
    QSize size = picture;
    if (container.width() < picture.width() && picture.width() > 0) {
        const int w = container.width() - 10;
        const int h = int(RoundHalfEven(double(picture.height()) * w / picture.width()));
        size = QSize(w, h);
    }
    const int dx = int(Div(container.width() - size.width(), 2));
    const int dy = int(Div(container.height() - size.height(), 2));
    return QRect(QPoint(dx, dy), size);
}

} // namespace quarvel
