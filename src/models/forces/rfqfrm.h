#pragma once
// The "Find the resultant force" practice dialog: the question's drawing on
// the right, the answer box, the direction and the verdict on the left, and
// Check, Next and Close with the score along the bottom.

#include "models/forces/rfquestions.h"

#include <QDialog>
#include <QImage>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quarvel {

// A 42 x 42 tick or cross, drawn for the course.
QImage TickPicture();
QImage CrossPicture();

// The question's drawing, `size` pixels, block half-side `blockSize`.
QImage DrawResultantQuestion(const TForces& f, QSize size, float blockSize);

class TRFQFrm : public QDialog {
    Q_OBJECT
public:
    explicit TRFQFrm(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLineEdit* ResEdit = nullptr;
    QLabel* Label3 = nullptr;
    QGroupBox* DirRG = nullptr;
    QButtonGroup* DirButtons = nullptr;
    QLabel* TickPic = nullptr;
    QLabel* CrossPic = nullptr;
    QPushButton* CheckBtn = nullptr;
    QPushButton* NewBtn = nullptr;
    QPushButton* CloseBtn = nullptr;
    QLabel* ScoreST = nullptr;
    QWidget* Pic = nullptr;

    TResultantQuestions& Questions() { return m_questions; }
    float BlockSize() const { return m_blockSize; }
    // Shows a known question, as "Next question" does (for a known drawing).
    void ShowQuestion(const TForces& f);
    // The direction chosen, or -1.
    int Direction() const;
    void SetDirection(int index);

    void CheckBtnClick();
    void NewBtnClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ClearAnswer();
    void HideVerdict();
    void UpdateCheck();
    TResultantQuestions m_questions;
    float m_blockSize = 40;
};

// Opens the dialog modally over `parent` and frees it when it closes.
void ShowResultantForceTest(QWidget* parent);

} // namespace quarvel
