#pragma once
// The liquid thermometer panel (THERMOMETERS page): a flask of liquid with a
// tube through its stopper stands in a water bath; the pupil sets the bath
// temperature, the tube and the flask size, or compares four flasks.

#include "host/panel.h"
#include "models/heat/thermometer.h"

class QAction;
class QLabel;
class QSpinBox;

namespace quarvel {

class TDockToolbar;
class TPictureBox;

class TThermometerFrm : public TPanel {
    Q_OBJECT
public:
    explicit TThermometerFrm(QWidget* parent = nullptr);
    ~TThermometerFrm() override;

    TDockToolbar* Toolbar() const override { return m_toolbar; }
    void SetLargeButtons(bool large) override;

    TThermometerModel Model;
    bool LargeButtons = false;

    QAction* ApparatusBtn = nullptr;
    QAction* SingleFlask = nullptr;
    QAction* CompFlask = nullptr;
    QAction* Grid1 = nullptr;
    QLabel* TempLabel = nullptr;
    QSpinBox* TempSE = nullptr;
    QLabel* RadiusLabel = nullptr;
    QSpinBox* RadiusSE = nullptr;
    QLabel* VolumeLabel = nullptr;
    QSpinBox* VolumeSE = nullptr;
    TPictureBox* Pic = nullptr;

    void SingleFlaskClick(bool compare);
    void Grid1Click();
    void TempSEValueChanged();
    void Redraw();

private:
    TDockToolbar* m_toolbar = nullptr;
    QList<QAction*> m_sizeItems; // hidden when comparing
};

void RegisterThermometerPanel();

} // namespace quarvel
