#pragma once
// The Bunsen burner panel (BUNSENEXPT page) and the cooling curve panel
// (COOLCURVE page): temperature readings against time.

#include "host/panel.h"
#include "models/heat/bunsen.h"

class QAction;
class QLabel;
class QScrollBar;
class QTimer;

namespace quarvel {

class TDockToolbar;
class TPictureBox;

class TBunsenFrm : public TPanel {
    Q_OBJECT
public:
    explicit TBunsenFrm(QWidget* parent = nullptr);
    ~TBunsenFrm() override;

    TDockToolbar* Toolbar() const override { return m_toolbar; }
    void SetLargeButtons(bool large) override;

    TBunsenModel Model;
    QAction* LowBtn = nullptr;
    QAction* HighBtn = nullptr;
    QAction* LightBtn = nullptr;
    QLabel* TimeLabel = nullptr;
    QScrollBar* TimeHsb = nullptr;
    QLabel* WaterLabel = nullptr;
    QScrollBar* WaterHsb = nullptr;
    QTimer* Timer1 = nullptr;
    TPictureBox* Pic = nullptr;

    void LowBtnClick(bool closed);
    void LightBtnClick();
    void TimeHsbScroll(int position);
    void WaterHsbScroll(int position);
    void Redraw();

private:
    // After every change: the timer runs exactly while something moves.
    void UpdateTimer();
    TDockToolbar* m_toolbar = nullptr;
};

class TCoolFrm : public TPanel {
    Q_OBJECT
public:
    explicit TCoolFrm(QWidget* parent = nullptr);
    ~TCoolFrm() override;

    TDockToolbar* Toolbar() const override { return m_toolbar; }
    void SetLargeButtons(bool large) override;

    TCoolModel Model;
    QImage Ice, IceSalt;
    QAction* StartBtn = nullptr;
    QAction* StopBtn = nullptr;
    QAction* TimeBtn = nullptr;
    QAction* RealTime1 = nullptr;
    QAction* FastTime1 = nullptr;
    QScrollBar* TimeHsb = nullptr;
    QTimer* StepTimer = nullptr;
    TPictureBox* Pic = nullptr;

    void StartBtnClick(bool start);
    void TimeStep();
    void FastTime1Click(bool fast);
    void TimeHsbChange();
    void Redraw();

protected:
    void hideEvent(QHideEvent* e) override;

private:
    TDockToolbar* m_toolbar = nullptr;
};

void RegisterBunsenPanels();

} // namespace quarvel
