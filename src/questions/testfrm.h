#pragma once
// The topic test window: up to ten shuffled questions of the chosen topic
// areas, one page at a time; a click on an answer grades it and moves on.
// After the last answer a results page shows, and the pupil can open every
// crossed question from the strip of numbered cells and try it again until
// all are right.

#include "common/topicset.h"
#include "questions/questions.h"

#include <QDialog>
#include <QImage>
#include <QUrl>

class QToolBar;
class QWebEngineView;

namespace quarvel {

class TTestFrm;

// The strip of numbered cells with ticks and crosses.
class TAnswerStrip : public QWidget {
    Q_OBJECT
public:
    explicit TAnswerStrip(TTestFrm* form);
    // The cell under x (x div 30).
    static int CellAt(int x) { return x / 30; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    TTestFrm* m_form;
};

class TTestFrm : public QDialog {
    Q_OBJECT
public:
    // Reads the questions; EBadFile or EStreamError when the file cannot be used.
    TTestFrm(const QString& fileName, const TTopicSet& topics, QWidget* parent = nullptr);
    ~TTestFrm() override;

    std::vector<TMCQuestion> Questions;
    int Current = 0;
    bool Reviewing = false;
    bool ResultsShown = false;

    QToolBar* TestToolbar = nullptr;
    TAnswerStrip* AnsPic = nullptr;
    QAction* CloseBtn = nullptr;
    QAction* PrintBtn = nullptr;
    QWebEngineView* Viewer = nullptr;

    void StartTest(const QString& fileName, const TTopicSet& topics);
    void ShowQuestion(int index);
    // Grades the current question with the letter "A".."E" and moves on.
    void Answer(const QString& letter);
    // An answer link was clicked on page `page` (PageShown() when it was
    // loaded). Ignored, and false, unless that page is the one last loaded
    // and it shows the current question.
    bool PageAnswer(int page, const QString& letter);
    // The number of the page last put in the viewer, counting from 1.
    int PageShown() const { return m_pageSerial; }
    // The page number an address of a test page carries; -1 for none.
    static int PageOfUrl(const QUrl& url);
    // A click on the strip at x; true when it opened a question.
    bool StripClicked(int x);
    // Whether a click at x would open a question.
    bool StripOpens(int x) const;
    bool AllCorrect() const;
    // The strip as drawn, 301 x 31.
    QImage DrawStrip() const;
    // The HTML of the page last put in the viewer.
    QString CurrentPage() const { return m_page; }
    // The printable list of all questions of the test.
    QString PrintPage() const;
    void PrntBtnClick();

private:
    // `question`: the index of the question the page shows, -1 for none.
    void ShowHtml(const QString& html, int question);
    QString m_page;
    int m_pageSerial = 0;
    int m_pageQuestion = -1;
    QString m_baseFolder;
    QWebEngineView* m_printBrowser = nullptr;
};

} // namespace quarvel
