#pragma once
// The drawing areas of the sound panels: each shows its panel's off-screen
// picture in one step and hands pointer and size changes to the panel.

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <functional>

namespace quarvel {

class TSndPicBox : public QWidget {
public:
    explicit TSndPicBox(const QString& name, QWidget* parent = nullptr) : QWidget(parent) {
        setObjectName(name);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    // The panel's bitmap: it takes the box's size on every resize (cleared
    // black) and is drawn by the panel.
    QImage Bitmap;
    void Repaint() { update(); }

    std::function<void(QMouseEvent*)> MouseDown, MouseMove, MouseUp;
    std::function<void()> Resized;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.drawImage(0, 0, Bitmap);
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (MouseDown)
            MouseDown(e);
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (MouseMove)
            MouseMove(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (MouseUp)
            MouseUp(e);
    }
    void resizeEvent(QResizeEvent*) override {
        if (width() > 0 && height() > 0) {
            Bitmap = QImage(size(), QImage::Format_ARGB32_Premultiplied);
            Bitmap.fill(Qt::black);
        } else {
            Bitmap = QImage();
        }
        if (Resized)
            Resized();
    }
};

} // namespace quarvel
