#pragma once
// The kaleidoscope drawing panel (KSCOPE page): lines and fills on a
// 500 x 500 drawing, each repeated by turning it about the centre, with
// 2, 3, 4, 5, 6 or 8 copies in all.

#include "host/panel.h"

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QVector>

class QComboBox;
class QScrollArea;
class QSlider;
class QActionGroup;

namespace quarvel {

class TDockToolbar;

// Copies for the items of the angle list: 180, 120, 90, 72, 60, 45 degrees.
int CopiesForAngleItem(int item);
// `p` turned by `turns` × 360°/n about the drawing's centre (250, 250).
QPointF RotateAboutCentre(QPointF p, int turns, int n);
// Fills the 4-connected region of `seed`'s colour with `colour`, scanline by
// scanline with a stack of its own. Returns the number of pixels changed; 0
// when the seed already has `colour` or lies outside.
int FloodFill(QImage& image, QPoint seed, QRgb colour);

// The drawing and what the pointer does to it, apart from any widget.
class TSymDrawing {
public:
    static constexpr int Size = 500;
    TSymDrawing();

    QImage Image;               // 32-bit, white when created
    int Copies = 6;
    QRgb PenColour = 0xFF000000;
    QRgb FillColour = 0xFFFFFFFF;
    int PenWidth = 2;
    QPoint LastPoint;
    bool Pressed = false;       // a press inside the drawing began the stroke

    static bool Inside(QPoint p) { return p.x() >= 0 && p.y() >= 0 && p.x() < Size && p.y() < Size; }
    void Clear();
    // Press at `p`: remembers it as the stroke's start, when inside.
    void Press(QPoint p);
    void Release() { Pressed = false; }
    // Pointer moved to `p` with the left button held and the pen chosen:
    // draws the segment and its turned copies; false when nothing was drawn.
    bool StrokeTo(QPoint p);
    // The fill tool pressed at `p`: fills there and at each turned copy of
    // `p` still showing the colour first found at `p`. Pixels changed.
    int FillAt(QPoint p);
};

// The 100 colours of the palette, row by row, as RRGGBB.
const QVector<QRgb>& PaletteColours();
// A cell's hint: "RGB(r, g, b)" and "Hex: RRGGBB" on two lines.
QString PaletteHint(QRgb colour);
// The 50 x 50 preview: fill colour, a band of the pen's width and colour.
QImage DrawPenPreview(QRgb pen, QRgb fill, int width, QSize size = QSize(50, 50));

// A grid of 16-pixel colour cells in rows across its width.
class TColourPalette : public QWidget {
    Q_OBJECT
public:
    explicit TColourPalette(QWidget* parent = nullptr);
    QRgb SelectedColour() const { return m_selected; }
    void SetSelectedColour(QRgb c);
    int CellAt(QPoint p) const;  // -1 between or beyond the cells
    QRect CellRect(int index) const;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int w) const override;
    QSize sizeHint() const override;

signals:
    void ColourClicked(QRgb colour);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    bool event(QEvent* e) override;

private:
    int Columns() const;
    QRgb m_selected = 0xFF000000;
};

class TSymDrawFrm : public TPanel {
    Q_OBJECT
public:
    explicit TSymDrawFrm(QWidget* parent = nullptr);

    TDockToolbar* Toolbar() const override { return m_toolbar; }
    void SetLargeButtons(bool large) override;

    TSymDrawing Drawing;
    TColourPalette* mbColorPalette = nullptr;
    QWidget* sdLinePic = nullptr;
    QSlider* SDPenSizeTB = nullptr;
    QAction* sdPenBtn = nullptr;
    QAction* sdFillBtn = nullptr;
    QAction* ClearBtn = nullptr;
    QComboBox* AngleCB = nullptr;
    QScrollArea* ViewBox = nullptr;
    QWidget* pic = nullptr;

    bool PenChosen() const;
    void AngleChosen(int item);
    void PaletteClick(QRgb colour);
    QImage Preview() const;
    // The pointer on the drawing, in picture pixels.
    void PicMouseDown(QPoint p, Qt::MouseButton button);
    void PicMouseMove(QPoint p, Qt::MouseButtons buttons);
    void PicMouseUp();

private:
    TDockToolbar* m_toolbar = nullptr;
};

// Cursors 2 (the pencil) and 3 (the paint pot), drawn for the drawing panel.
void RegisterSymDrawCursors();
void RegisterSymDrawPanel();

} // namespace quarvel
