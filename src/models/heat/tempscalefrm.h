#pragma once
// The temperature scale panel (TEMPSCALES page): an unmarked thermometer in
// a beaker of melting ice, boiling water or water at an unknown temperature;
// the pupil marks the liquid's level for each, then lays the thermometer
// beside a centimetre ruler and reads the marks through a magnifier.

#include "host/panel.h"
#include "models/heat/thermometer.h"

class QAction;
class QTimer;

namespace quarvel {

class TDockToolbar;
class TPictureBox;

class TTempScaleFrm : public TPanel {
    Q_OBJECT
public:
    explicit TTempScaleFrm(QWidget* parent = nullptr);
    ~TTempScaleFrm() override;

    TDockToolbar* Toolbar() const override { return m_toolbar; }
    void SetLargeButtons(bool large) override;
    bool RunOperation(const QString& name, const QVariantList& args) override;

    TTempScaleModel Model;
    QImage Ice; // "ice.bmp" from the textures, when there
    QTimer* Timer1 = nullptr;

    QAction* IceBtn = nullptr;
    QAction* SteamBtn = nullptr;
    QAction* XBtn = nullptr;
    QAction* MarkBtn = nullptr;
    QAction* ClearBtn = nullptr;
    QAction* MeasureBtn = nullptr;
    QAction* UnMeasureBtn = nullptr;
    TPictureBox* Pic = nullptr;

    void IceBtnClick(int liquid);
    void MeasureBtnClick(bool beside);
    void MarkBtnClick();
    void ClearBtnClick();
    void PicMouseDown(QPoint pos);
    void PicMouseMove(QPoint pos);
    void PicMouseUp();
    void Redraw();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void UpdateTimer();
    TDockToolbar* m_toolbar = nullptr;
};

void RegisterTempScalePanel();

} // namespace quarvel
