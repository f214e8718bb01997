#pragma once
// The sound-wave panel (SOUNDWAVE page): 46 vertical lines, layers of air,
// bunch together and spread apart as a longitudinal wave runs through them
// from a vibrating grey bar on the left. Start, stop or scroll through the
// motion, set the amplitude, mark one line in red.

#include "host/panel.h"
#include "widgets/dock.h"
#include "models/heat/sndwave.h"

#include <QPointer>

class QAction;
class QLabel;
class QScrollBar;
class QSpinBox;
class QTimer;

namespace quarvel {

class TPictureBox;

class TSndWaveFrm : public TPanel {
    Q_OBJECT
public:
    explicit TSndWaveFrm(QWidget* parent = nullptr);
    ~TSndWaveFrm() override;

    TDockToolbar* Toolbar() const override { return m_toolbar; }
    void SetLargeButtons(bool large) override;
    bool RunOperation(const QString& name, const QVariantList& args) override;

    TSoundWave Wave; // holds Phase
    bool LargeButtons = false;

    TPictureBox* Pic = nullptr;
    QScrollBar* PhaseHsb = nullptr;
    QAction* StartBtn = nullptr;
    QAction* StopBtn = nullptr;
    QLabel* Label1 = nullptr;
    QSpinBox* AmplitudeSE = nullptr;
    QAction* SingleChk = nullptr;
    QTimer* Timer1 = nullptr;

    bool Running() const;
    void DrawSoundWave();
    void ToggleMarker();
    void StartBtnClick();
    void StopBtnClick();
    void Timer1Timer();
    void PhaseHsbScroll(int position);
    void SingleChkClick();
    void AmplitudeSEValueChange();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    QPointer<TDockToolbar> m_toolbar; // the host may free it before the panel
};

// Makes topic 2018 host this panel.
void RegisterSoundWavePanel();

} // namespace quarvel
