#pragma once
// The electromagnet panel (ELECTROMAGNETS page): turns and voltage on the
// toolbar, Add, Count and Reset for the nails.

#include "host/panel.h"
#include "models/electromagnetism/emagnet.h"

class QAction;
class QLabel;
class QSpinBox;

namespace quarvel {

class TDockToolbar;
class TLayeredPic;

class TEMagnetFrm : public TPanel {
    Q_OBJECT
public:
    explicit TEMagnetFrm(QWidget* parent = nullptr);
    ~TEMagnetFrm() override;

    TDockToolbar* Toolbar() const override { return m_toolbar; }
    void SetLargeButtons(bool large) override;

    TEMagnet Magnet;
    TLayeredPic* Pic = nullptr;
    QAction* AddBtn = nullptr;
    QAction* CountBtn = nullptr;
    QAction* ResetBtn = nullptr;
    QLabel* TurnsLabel = nullptr;
    QSpinBox* Coils = nullptr;
    QLabel* VoltageLabel = nullptr;
    QSpinBox* Current = nullptr;
    bool LargeButtons = false;
    // Frames painted by the dish's lift so far.
    int LiftFrames = 0;

    void NailAddBtnClick(QAction* button);
    void CoilsValueChanged(int value);
    void CurrentValueChanged(int value);
    void Redraw();

private:
    void ShowControls();
    TDockToolbar* m_toolbar = nullptr;
};

// Makes topic 2004 host this panel.
void RegisterEMagnetPanel();

} // namespace quarvel
