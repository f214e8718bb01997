#pragma once
// The drawing area of an experiment panel: shows the panel's off-screen
// picture in one step (with an optional overlay) and hands the pointer and
// size changes to the panel. A panel either hands it finished pictures
// (SetPicture) or draws into its picture and presents it; with a canvas
// colour set, the picture is remade at the box's size on every resize.

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <functional>
#include <optional>

namespace quarvel {

class TPictureBox : public QWidget {
public:
    explicit TPictureBox(const QString& name, QWidget* parent = nullptr) : QWidget(parent) {
        setObjectName(name);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(true);
    }

    void SetPicture(const QImage& picture) {
        m_picture = picture;
        update();
    }
    QImage& Picture() { return m_picture; }
    const QImage& Picture() const { return m_picture; }
    // Shows what was drawn into Picture().
    void Present() { update(); }

    // When set, the picture is remade at the box's size, cleared to this colour, before Resized.
    std::optional<QColor> CanvasColour;
    // Extra drawing over the picture (a marker line).
    std::function<void(QPainter&)> Overlay;
    std::function<void(QMouseEvent*)> MouseDown, MouseMove, MouseUp;
    std::function<void(QSize)> Resized;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (m_picture.size() != size())
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
        if (CanvasColour) {
            m_picture = width() > 0 && height() > 0 ? QImage(size(), QImage::Format_ARGB32_Premultiplied) : QImage();
            if (!m_picture.isNull())
                m_picture.fill(*CanvasColour);
        }
        if (Resized)
            Resized(size());
    }

private:
    QImage m_picture;
};

} // namespace quarvel
