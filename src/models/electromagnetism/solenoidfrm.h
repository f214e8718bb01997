#pragma once
// The solenoid panel (SOLENOID page): the field lines of a coil, with the
// radius, turns and spacing on the toolbar, the current reversed, a grid,
// a readout of the field under the pointer and a compass that follows a
// held button.

#include "host/panel.h"
#include "models/electromagnetism/solenoid.h"

class QAction;
class QSpinBox;

namespace quarvel {

class TDockToolbar;
class TLayeredPic;

class TSolenoidFrm : public TPanel {
    Q_OBJECT
public:
    explicit TSolenoidFrm(QWidget* parent = nullptr);
    ~TSolenoidFrm() override;

    TDockToolbar* Toolbar() const override { return m_toolbar; }
    void SetLargeButtons(bool large) override;
    bool RunOperation(const QString& name, const QVariantList& args) override;

    TSolenoid Solenoid;
    double Scale = 0;
    double MouseX = 0, MouseY = 0;
    bool Closing = false;
    bool LargeButtons = false;
    // Full redraws (field lines traced) so far.
    int Redraws = 0;

    TLayeredPic* Pic = nullptr;
    QAction* RevCurrentBtn = nullptr;
    QAction* GridBtn = nullptr;
    QAction* Measure1 = nullptr;
    QSpinBox* RadiusSE = nullptr;
    QSpinBox* TurnsSE = nullptr;
    QSpinBox* SpacingSE = nullptr;
    static constexpr std::size_t ReadoutLayer = 0, CompassLayer = 1;

    void SetMeasure(bool on);
    void Redraw();
    // The needle's values for the pointer position last seen.
    TProbeValue Probe() const;
    void PicMouseDown(QPointF p);
    void PicMouseMove(QPointF p, bool leftHeld);
    void PicMouseUp();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void PlaceCompass(QPointF p);
    TDockToolbar* m_toolbar = nullptr;
};

// Makes topic 2003 host this panel.
void RegisterSolenoidPanel();

} // namespace quarvel
