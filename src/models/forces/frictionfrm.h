#pragma once
// The friction panel (FRICTION page): a block with added weights on a
// smooth, medium or rough surface, pulled harder and harder by a spring
// balance through a scroll bar; a magnifier shows the balance scale.

#include "host/panel.h"
#include "models/forces/friction.h"

class QAction;
class QActionGroup;
class QLabel;
class QScrollBar;
class QSpinBox;
class QToolButton;

namespace quarvel {

class TDockToolbar;
class TPictureBox;

class TFrictionFrm : public TPanel {
    Q_OBJECT
public:
    explicit TFrictionFrm(QWidget* parent = nullptr);
    ~TFrictionFrm() override;

    TDockToolbar* Toolbar() const override { return m_toolbar; }
    void SetLargeButtons(bool large) override;

    TFrictionModel Model;
    bool LargeButtons = false;

    QAction* ResetBtn = nullptr;
    QAction* SurfaceBtn = nullptr;
    QAction* Surface1 = nullptr;
    QAction* Surface2 = nullptr;
    QAction* Surface3 = nullptr;
    QLabel* Label1 = nullptr;
    QSpinBox* WtsSpinEd = nullptr;
    QLabel* Label2 = nullptr;
    QSpinBox* AreaSpinEd = nullptr;
    TPictureBox* Pic = nullptr;
    QScrollBar* ForceHsb = nullptr;

    void ResetBtnClick();
    void ChooseSurface(int surface);
    void WtsSpinEdChange(int value);
    void AreaSpinEdChange(int value);
    void ForceHsbChange(int position);
    void Redraw();

private:
    TDockToolbar* m_toolbar = nullptr;
    QToolButton* m_surfaceButton = nullptr;
};

// Makes topic 2020 host this panel.
void RegisterFrictionPanel();

} // namespace quarvel
