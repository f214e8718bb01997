#pragma once
// The drawing area of the heat panels: holds the panel's off-screen picture,
// which the panel draws into, and copies it to the screen in one step.

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <functional>

namespace quarvel {

class THeatPic : public QWidget {
public:
    explicit THeatPic(const QString& name, QWidget* parent = nullptr) : QWidget(parent) {
        setObjectName(name);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(true);
    }

    // The off-screen picture, kept the size of the widget.
    QImage& Picture() { return m_picture; }
    void SetPicture(const QImage& picture) {
        m_picture = picture;
        update();
    }
    // Shows what was drawn into Picture().
    void Present() { update(); }

    std::function<void(QMouseEvent*)> MouseDown, MouseMove, MouseUp;
    std::function<void(QSize)> Resized;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (m_picture.size() != size())
            p.fillRect(rect(), Qt::white);
        p.drawImage(0, 0, m_picture);
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
