#pragma once
// The permanent magnets panel (MAGNETS page): the field lines of one bar
// magnet or of two in four arrangements, with an optional grid and
// arrowheads, and a compass that follows the pointer while a button is held.

#include "host/panel.h"
#include "models/electromagnetism/fieldplot.h"

#include <QImage>
#include <memory>

class QComboBox;
class QScrollArea;

namespace quarvel {

class TDockToolbar;

class Tem_PermMagFrm : public TPanel {
    Q_OBJECT
public:
    explicit Tem_PermMagFrm(QWidget* parent = nullptr, int screenWidth = -1);
    ~Tem_PermMagFrm() override;

    TDockToolbar* Toolbar() const override { return m_toolbar; }
    void SetLargeButtons(bool large) override;

    std::unique_ptr<TFieldPlot> Plotter;
    bool Probing = false;
    bool LargeButtons = false;
    QScrollArea* FieldSB = nullptr;
    QWidget* FieldPic = nullptr;
    QAction* ArwBtn = nullptr;
    QAction* FGridBtn = nullptr;
    QComboBox* MagnetCB = nullptr;

    void SetSingleMagnet();
    void SetTwoMagnets(int sign, int q1, int q2, int q3, int q4);
    // Runs the arrangement of combo item `item` (0..4) and repaints.
    void ChooseArrangement(int item);
    // The picture on show.
    const QImage& Picture() const { return m_picture; }
    void FieldPicMouseDown(QPoint p);
    void FieldPicMouseMove(QPoint p);
    void FieldPicMouseUp();
    void CentreScrollBars();

private:
    void Redraw();
    TDockToolbar* m_toolbar = nullptr;
    QImage m_picture;
};

// Makes topic 2002 host this panel.
void RegisterMagnetsPanel();

} // namespace quarvel
