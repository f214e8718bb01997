#pragma once
// The spring panel (SPRING page): 100 g masses hung one at a time on a
// spring, two springs side by side or an elastic band, beside a ruler; a
// green marker line follows the pointer while a button is held, to read the
// ruler level with the spring's foot.

#include "host/panel.h"
#include "models/forces/springs.h"

#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QScrollBar;
class QSpinBox;

namespace quarvel {

class TDockToolbar;
class TPictureBox;

class TSpringFrm : public TPanel {
    Q_OBJECT
public:
    explicit TSpringFrm(QWidget* parent = nullptr);
    ~TSpringFrm() override;

    TDockToolbar* Toolbar() const override { return m_toolbar; }
    void SetLargeButtons(bool large) override;

    std::unique_ptr<TSpring> Spring;
    bool Marking = false;
    int MarkerX = 0, MarkerY = 0;
    bool LargeButtons = false;

    QAction* ResetBtn = nullptr;
    QAction* ZoomBtn = nullptr;
    QLabel* Label1 = nullptr;
    QSpinBox* WeightSpinEdit = nullptr;
    QComboBox* SpringCB = nullptr;
    TPictureBox* Pic = nullptr;
    QScrollBar* SpScroll = nullptr;

    void ResetBtnClick();
    void ZoomBtnClick(bool checked);
    // Hangs or takes off masses until the total is `grams` (to the nearest
    // 100 g, at most 1000 g); the box then shows the total hanging.
    void WeightSpinEditChange(int grams);
    void SpringCBChange(int index);
    void SpScrollChange(int position);
    // Turns of the mouse wheel: positive towards the user (down the ruler).
    void Wheel(int notches);
    void PicMouseDown(QPoint p);
    void PicMouseMove(QPoint p);
    void PicMouseUp();
    void Redraw();

protected:
    void wheelEvent(QWheelEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    TDockToolbar* m_toolbar = nullptr;
};

// Makes topic 2021 host this panel.
void RegisterSpringPanel();

} // namespace quarvel
