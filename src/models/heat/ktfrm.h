#pragma once
// The kinetic theory panel (KINETIC, PRESSURE and DIFFUSION pages): 100
// particles as shaded balls in a solid, a liquid, a gas, a gas in a large or
// small box with its pressure bar, or two gases kept apart by a barrier.
// A temperature scroll bar sets their speed; the panel's own frame timer
// moves them by real time.

#include "host/panel.h"
#include "models/heat/kinetic.h"

class QAction;
class QLabel;
class QScrollBar;
class QWidgetAction;

namespace quarvel {

class TDockToolbar;
class TPictureBox;
class TNGLCadencer;

class TKTFrm : public TPanel {
    Q_OBJECT
public:
    explicit TKTFrm(QWidget* parent = nullptr);
    ~TKTFrm() override;

    TDockToolbar* Toolbar() const override { return m_toolbar; }
    void SetLargeButtons(bool large) override;
    bool RunOperation(const QString& name, const QVariantList& args) override;

    // The host's set-up: the mode of the topic, the toolbar into the dock.
    void SetKTMode(int mode);

    TKineticModel Model;
    TNGLCadencer* FrameTimer = nullptr;
    QImage FirstPicture, SecondPicture; // the two colours of ball
    bool LargeButtons = false;

    QAction* StartBtn = nullptr;
    QAction* StopBtn = nullptr;
    QAction* BarrierBtn = nullptr;
    QAction* SolidBtn = nullptr;
    QAction* LiquidBtn = nullptr;
    QAction* GasBtn = nullptr;
    QAction* LargeBtn = nullptr;
    QAction* SmallBtn = nullptr;
    QWidget* TemperatureTW = nullptr;
    QLabel* TempLabel = nullptr;
    QScrollBar* SpeedHsb = nullptr;
    TPictureBox* Pic = nullptr;

    void StartBtnClick(bool start);
    // Solid, Liquid, Gas (modes 0-2) and Large, Small (3, 4).
    void ModeBtnClick(int mode);
    void SpeedHsbScroll(int position);
    void BarrierBtnClick();
    void KTCommand(const QString& text);
    // One frame of `seconds`: step and draw.
    void FrameStep(double seconds);
    // A new drawing size: the particles are placed afresh.
    void PicResize();
    void Draw();
    bool Running() const;

private:
    void SetBtnImage(QAction* a, int index);
    TDockToolbar* m_toolbar = nullptr;
    QWidgetAction* m_temperatureAction = nullptr;
    int m_barrierImage = 19;
};

// Makes topics 2026, 2027 and 2028 host this panel.
void RegisterKineticPanels();

} // namespace quarvel
