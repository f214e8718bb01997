#pragma once
// The drawing area of the forces panels: shows the panel's off-screen
// picture in one step and hands the pointer and size changes to the panel.

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <functional>

namespace quarvel {

class TPicBox : public QWidget {
public:
    explicit TPicBox(const QString& name, QWidget* parent = nullptr) : QWidget(parent) {
        setObjectName(name);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(true);
    }

    void SetPicture(const QImage& picture) {
        m_picture = picture;
        update();
    }
    const QImage& Picture() const { return m_picture; }

    // Extra drawing over the picture (a marker line).
    std::function<void(QPainter&)> Overlay;
    std::function<void(QMouseEvent*)> MouseDown, MouseMove, MouseUp;
    std::function<void(QSize)> Resized;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.drawImage(0, 0, m_picture);
        if (Overlay)
            Overlay(p);
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
        if (Resized)
            Resized(size());
    }

private:
    QImage m_picture;
};

} // namespace quarvel
