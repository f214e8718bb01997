#pragma once
// The drawing area of the electromagnet and solenoid panels: shows the
// panel's off-screen picture in one step, with positioned layers over it
// (the solenoid's readout and compass) that repaint on their own without
// the picture being drawn again.

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <functional>
#include <vector>

namespace quarvel {

class TLayeredPic : public QWidget {
public:
    struct TLayer {
        QRectF Rect;
        bool Visible = false;
        std::function<void(QPainter&, const QRectF&)> Paint;
    };

    explicit TLayeredPic(const QString& name, QWidget* parent = nullptr) : QWidget(parent) {
        setObjectName(name);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void SetPicture(const QImage& picture) {
        m_picture = picture;
        update();
    }
    const QImage& Picture() const { return m_picture; }
    // The picture with the visible layers over it, as the screen shows it.
    QImage Composed() const {
        QImage out = m_picture.isNull() ? QImage(size(), QImage::Format_RGB32) : m_picture.copy();
        if (m_picture.isNull())
            out.fill(Qt::white);
        QPainter p(&out);
        PaintLayers(p, QRect(QPoint(0, 0), out.size()));
        return out;
    }

    std::vector<TLayer> Layers;
    // Repaints the layer's old and new places only.
    void MoveLayer(std::size_t i, const QRectF& rect) {
        update(Layers[i].Rect.toAlignedRect().adjusted(-1, -1, 1, 1));
        Layers[i].Rect = rect;
        update(rect.toAlignedRect().adjusted(-1, -1, 1, 1));
    }
    void SetLayerVisible(std::size_t i, bool visible) {
        Layers[i].Visible = visible;
        update(Layers[i].Rect.toAlignedRect().adjusted(-1, -1, 1, 1));
    }
    void RepaintLayer(std::size_t i) { update(Layers[i].Rect.toAlignedRect().adjusted(-1, -1, 1, 1)); }

    std::function<void(QMouseEvent*)> MouseDown, MouseMove, MouseUp;
    std::function<void()> MouseEnter;
    std::function<void(QSize)> Resized;
    // Paint events so far (benchmarks count them).
    int Paints = 0;

protected:
    void paintEvent(QPaintEvent* e) override {
        ++Paints;
        QPainter p(this);
        p.fillRect(e->rect(), Qt::white);
        p.drawImage(e->rect(), m_picture, e->rect());
        PaintLayers(p, e->rect());
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
    void enterEvent(QEnterEvent*) override {
        if (MouseEnter)
            MouseEnter();
    }
    void resizeEvent(QResizeEvent*) override {
        if (Resized)
            Resized(size());
    }

private:
    void PaintLayers(QPainter& p, const QRect& area) const {
        for (const TLayer& layer : Layers)
            if (layer.Visible && layer.Paint && layer.Rect.toAlignedRect().intersects(area.adjusted(-1, -1, 1, 1)))
                layer.Paint(p, layer.Rect);
    }
    QImage m_picture;
};

} // namespace quarvel
