#pragma once
// The moments panel (MOMENTS page): a beam on a central pivot with two or
// three holders of equal weights. The pupil sets the weights, drags the
// holders along the beam and holds "Check balance" to see it tip or stay
// level.

#include "host/panel.h"
#include "models/forces/moments.h"

class QAction;
class QLabel;
class QSpinBox;
class QToolButton;

namespace quarvel {

class TDockToolbar;
class TPictureBox;

class TMomentsFrm : public TPanel {
    Q_OBJECT
public:
    explicit TMomentsFrm(QWidget* parent = nullptr);
    ~TMomentsFrm() override;

    TDockToolbar* Toolbar() const override { return m_toolbar; }
    void SetLargeButtons(bool large) override;
    bool RunOperation(const QString& name, const QVariantList& args) override;

    TMomentsModel Model;
    double Unit = 20;
    bool LargeButtons = false;

    QAction* BalanceBtn = nullptr;
    QAction* WeightsBtn = nullptr;
    QAction* holders2 = nullptr;
    QAction* Holders3 = nullptr;
    QLabel* ALabel = nullptr;
    QLabel* BLabel = nullptr;
    QLabel* CLabel = nullptr;
    QSpinBox* WeightsA = nullptr;
    QSpinBox* WeightsB = nullptr;
    QSpinBox* WeightsC = nullptr;
    TPictureBox* Pic = nullptr;

    // The tool button that carries "Check balance".
    QToolButton* BalanceButton() const;
    // Draws the picture: level for 0, else tipped by the moment given.
    void Redraw(int tilt);
    void BalanceBtnDown();
    void BalanceBtnUp();
    void WeightsBtnClick();
    void ChooseHolders(int count);
    void WeightsChange();
    void PicMouseDown(QPoint p);
    void PicMouseMove(QPoint p, Qt::MouseButtons buttons);
    void PicMouseUp();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    TDockToolbar* m_toolbar = nullptr;
    QAction* m_cSeparator = nullptr;
    QAction* m_cLabelItem = nullptr;
    QAction* m_cSpinItem = nullptr;
};

// Makes topic 2016 host this panel.
void RegisterMomentsPanel();

} // namespace quarvel
