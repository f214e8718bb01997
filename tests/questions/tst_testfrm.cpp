#include "../testmain.h"
#include "questions/testfrm.h"
#include "widgets/dialogs.h"
#include "shell/courseareas.h"
#include "shell/framefrm.h"

#include <QDir>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QFile>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace quarvel;

namespace {
TMCQuestion Q(std::initializer_list<int> topics, int correct, const QString& text) {
    TMCQuestion q;
    for (int t : topics)
        q.TopicAreas.set(std::size_t(t));
    q.CorrectAnswer = correct;
    q.Text = text;
    q.Answers = {"a", "b", "c", "d", ""};
    return q;
}
QString Letter(int i) { return QString(QChar(char16_t('A' + i))); }

// Runs a script in the viewer and waits for its result.
QVariant Js(QWebEngineView* view, const QString& script) {
    QVariant result;
    bool done = false;
    view->page()->runJavaScript(script, [&](const QVariant& v) {
        result = v;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000))
        qWarning("script did not finish: %s", qPrintable(script));
    return result;
}
} // namespace

class TestTestFrm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { m_boxes.clear(); }
    void tenOfTwentyFive();
    void oneQuestionTest();
    void reviewAndRetry();
    void neverCorrect();
    void allTopicsAndEmptyTopics();
    void answerLinksInThePage();
    void noWayBackToAnEarlierQuestion();
    void answerOnlyFromThePageOnShow();
    void otherLinksAreOrdinaryLinks();
    void stripLinesInsideTheStrip();
    void printedAnswersKeepTheirLetters();
    void fromTheTestMenu();
    void badFileKeepsTheCourseRunning();
    void sampleBank();

private:
    QString Write(const QString& name, const std::vector<TMCQuestion>& qs);
    QTemporaryDir m_dir;
    QString m_file;
    QList<TBoxRequest> m_boxes;
};

QString TestTestFrm::Write(const QString& name, const std::vector<TMCQuestion>& qs) {
    const QString path = m_dir.path() + "/" + name;
    if (!WriteQuestionFile(path, qs))
        qFatal("cannot write");
    return path;
}

void TestTestFrm::initTestCase() {
    RegisterCourseAreas();
    SetPagePaths(m_dir.path() + "/images/", m_dir.path() + "/css/qstyle.css");
    std::vector<TMCQuestion> qs;
    for (int i = 0; i < 25; ++i)
        qs.push_back(Q({1}, i % 4, QStringLiteral("Magnet question %1").arg(i)));
    qs.push_back(Q({2}, 0, "Only circuit question"));
    qs.push_back(Q({}, 1, "No area at all"));
    qs.push_back(Q({1, 2}, 2, "Both areas"));
    m_file = Write("mctest.umq", qs);
    SetBoxAnswerer([this](const TBoxRequest& r) {
        m_boxes << r;
        return true;
    });
    QSettings(QStringLiteral("Brantock"), QStringLiteral("Quarvel")).clear();
}

void TestTestFrm::tenOfTwentyFive() {
    TTopicSet magnets;
    magnets.set(1);
    TTestFrm first(m_file, magnets);
    QCOMPARE(first.Questions.size(), std::size_t(10));
    for (const TMCQuestion& q : first.Questions)
        QVERIFY(q.TopicAreas.test(1));
    QVERIFY(first.CurrentPage().contains("<h1>Question 1</h1>"));
    QTest::qWait(20); // another moment of the clock: another shuffle
    TTestFrm second(m_file, magnets);
    QStringList a, b;
    for (std::size_t i = 0; i < 10; ++i)
        a << first.Questions[i].Text, b << second.Questions[i].Text;
    QVERIFY(a != b);
}

void TestTestFrm::oneQuestionTest() {
    TTopicSet circuits;
    circuits.set(2);
    circuits.set(1); // "Both areas" is the only question with both
    TTestFrm test(m_file, circuits);
    QCOMPARE(test.Questions.size(), std::size_t(1));
    test.Answer("C");
    QVERIFY(test.Reviewing);
    QVERIFY(test.ResultsShown);
    QCOMPARE(test.CurrentPage(), ResultsPage(false));
}

void TestTestFrm::reviewAndRetry() {
    TTopicSet magnets;
    magnets.set(1);
    TTestFrm test(m_file, magnets);
    // Wrong for questions 2 and 5, right for the others.
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(test.Current, i);
        const int correct = test.Questions[std::size_t(i)].CorrectAnswer;
        test.Answer(Letter(i == 1 || i == 4 ? (correct + 1) % 4 : correct));
    }
    QVERIFY(test.Reviewing);
    QCOMPARE(test.CurrentPage(), ResultsPage(true));
    QCOMPARE(test.Current, 9); // the last question stays current
    // The strip: ticks and crosses, and a red frame round the current cell.
    const QImage strip = test.DrawStrip();
    QCOMPARE(strip.size(), QSize(301, 31));
    QCOMPARE(QColor(strip.pixel(9 * 30 + 1, 15)), QColor(Qt::red));
    auto hasColour = [&](int cell, auto matches) {
        for (int x = cell * 30 + 10; x < cell * 30 + 25; ++x)
            for (int y = 13; y < 28; ++y)
                if (matches(QColor(strip.pixel(x, y))))
                    return true;
        return false;
    };
    const auto greenish = [](QColor c) { return c.green() > 100 && c.red() < 80; };
    const auto reddish = [](QColor c) { return c.red() > 150 && c.green() < 80; };
    QVERIFY(hasColour(0, greenish));
    QVERIFY(hasColour(1, reddish));
    QVERIFY(!hasColour(0, reddish));
    // The hand is offered only over crossed cells.
    QVERIFY(test.StripOpens(1 * 30 + 5));
    QVERIFY(!test.StripOpens(0 * 30 + 5));
    QVERIFY(!test.StripOpens(10 * 30 + 5)); // past the last question
    QVERIFY(!test.StripClicked(5));
    QCOMPARE(test.CurrentPage(), ResultsPage(true));
    // Retry question 2: still some wrong, the page stays on the question.
    QVERIFY(test.StripClicked(35));
    QCOMPARE(test.Current, 1);
    QVERIFY(test.CurrentPage().contains("<h1>Question 2</h1>"));
    test.Answer(Letter(test.Questions[1].CorrectAnswer));
    QVERIFY(test.CurrentPage().contains("<h1>Question 2</h1>"));
    // Retry question 5 right: now all correct.
    QVERIFY(test.StripClicked(4 * 30 + 3));
    test.Answer(Letter(test.Questions[4].CorrectAnswer));
    QCOMPARE(test.CurrentPage(), ResultsPage(false));
    QVERIFY(test.AllCorrect());
    const QImage done = test.DrawStrip();
    QVERIFY(QColor(done.pixel(4 * 30 + 1, 15)) != QColor(Qt::red)); // the frame is gone
    // The print page lists all ten.
    QCOMPARE(test.PrintPage().count("<h2>Question "), 10);
}

void TestTestFrm::neverCorrect() {
    const QString path = Write("unset.umq", {Q({4}, -1, "Unset answer")});
    TTopicSet sound;
    sound.set(4);
    TTestFrm test(path, sound);
    for (const char* letter : {"A", "B", "C", "D", "E"}) {
        if (test.Reviewing)
            QVERIFY(test.StripClicked(5));
        test.Answer(letter);
        QCOMPARE(test.Questions[0].AnswerState, 2);
        QVERIFY(test.CurrentPage() != ResultsPage(false));
    }
}

void TestTestFrm::allTopicsAndEmptyTopics() {
    TTestFrm all(m_file, TTopicSet());
    QCOMPARE(all.Questions.size(), std::size_t(10));
    // Over many shuffles, the question of no area turns up: "All topics" keeps it.
    bool seen = false;
    for (int run = 0; run < 40 && !seen; ++run) {
        QTest::qWait(2);
        all.StartTest(m_file, TTopicSet());
        for (const TMCQuestion& q : all.Questions)
            seen = seen || q.Text == QLatin1String("No area at all");
    }
    QVERIFY(seen);
    TTopicSet light;
    light.set(7);
    TTestFrm none(m_file, light);
    QVERIFY(none.Questions.empty());
    QVERIFY(none.CurrentPage().isEmpty());
    QVERIFY(!none.StripOpens(5));
}

void TestTestFrm::answerLinksInThePage() {
    TTopicSet magnets;
    magnets.set(1);
    TTestFrm test(m_file, magnets);
    test.show();
    QVERIFY(QTest::qWaitForWindowExposed(&test));
    QSignalSpy loaded(test.Viewer, &QWebEngineView::loadFinished);
    QVERIFY(loaded.wait(10000));
    test.Viewer->page()->runJavaScript("document.querySelectorAll('.ans a')[1].click()");
    QTRY_COMPARE(test.Current, 1);
    QVERIFY(test.Questions[0].AnswerState != 0);
    QCOMPARE(test.Questions[0].AnswerState, test.Questions[0].CorrectAnswer == 1 ? 1 : 2);
}

// The context menu's Back once brought back question 1 while the test was on
// question 2, and the answer clicked there graded question 2.
void TestTestFrm::noWayBackToAnEarlierQuestion() {
    TTopicSet magnets;
    magnets.set(1);
    TTestFrm test(m_file, magnets);
    test.show();
    QVERIFY(QTest::qWaitForWindowExposed(&test));
    QSignalSpy loaded(test.Viewer, &QWebEngineView::loadFinished);
    QVERIFY(loaded.wait(10000));
    Js(test.Viewer, "document.querySelectorAll('.ans a')[0].click()");
    QTRY_COMPARE(test.Current, 1);
    QTRY_COMPARE_WITH_TIMEOUT(Js(test.Viewer, "document.querySelector('h1').textContent").toString(),
                              QStringLiteral("Question 2"), 10000);
    QCOMPARE(test.Viewer->contextMenuPolicy(), Qt::NoContextMenu);
    QVERIFY(!test.Viewer->history()->canGoBack());
    const std::uint8_t first = test.Questions[0].AnswerState;
    // Back as the context menu would do it: the page stays on question 2.
    loaded.clear();
    test.Viewer->page()->triggerAction(QWebEnginePage::Back);
    loaded.wait(1500); // a load would have to start and finish here
    QCOMPARE(Js(test.Viewer, "document.querySelector('h1').textContent").toString(), QStringLiteral("Question 2"));
    Js(test.Viewer, "document.querySelectorAll('.ans a')[2].click()");
    QTRY_COMPARE(test.Current, 2);
    QCOMPARE(test.Questions[1].AnswerState, test.Questions[1].CorrectAnswer == 2 ? 1 : 2);
    QCOMPARE(test.Questions[0].AnswerState, first);
}

// An answer counts only from the page last loaded, and only when that page is
// the current question's: a second click on a page already answered, or a
// click on a question page once the results are up, grades nothing.
void TestTestFrm::answerOnlyFromThePageOnShow() {
    TTopicSet magnets;
    magnets.set(1);
    TTestFrm test(m_file, magnets);
    const int q1 = test.PageShown();
    QVERIFY(test.PageAnswer(q1, "A"));
    QCOMPARE(test.Current, 1);
    QVERIFY(!test.PageAnswer(q1, "B")); // question 1's page, question 2 current
    QCOMPARE(test.Current, 1);
    QCOMPARE(test.Questions[1].AnswerState, 0);
    for (int i = 1; i < 9; ++i)
        QVERIFY(test.PageAnswer(test.PageShown(), Letter(test.Questions[std::size_t(i)].CorrectAnswer)));
    const int q10 = test.PageShown();
    QVERIFY(test.PageAnswer(q10, "E")); // wrong: no magnet question has E right
    QVERIFY(test.ResultsShown);
    QVERIFY(!test.PageAnswer(q10, Letter(test.Questions[9].CorrectAnswer))); // results on show
    QVERIFY(!test.PageAnswer(test.PageShown(), "A"));                       // the results page itself
    QCOMPARE(test.Questions[9].AnswerState, 2);
    QVERIFY(test.StripClicked(9 * 30 + 5));
    QVERIFY(test.PageAnswer(test.PageShown(), Letter(test.Questions[9].CorrectAnswer)));
    QCOMPARE(test.Questions[9].AnswerState, 1);
    // The number travels in the page's address; other addresses carry none.
    QUrl url = QUrl::fromLocalFile(m_dir.path() + "/");
    url.setQuery("page=7");
    QCOMPARE(TTestFrm::PageOfUrl(url), 7);
    QCOMPARE(TTestFrm::PageOfUrl(QUrl::fromLocalFile(m_dir.path() + "/Earth.htm")), -1);
}

// A link of a question's text to "Earth.htm" is a link, not answer E.
void TestTestFrm::otherLinksAreOrdinaryLinks() {
    TMCQuestion q = Q({5}, 4, "Which planet? See <a id=\"earth\" href=\"Earth.htm\">our planet</a>.");
    q.Answers = {"Mars", "", "", "", "Earth"};
    const QString path = Write("earth.umq", {q});
    QFile earth(m_dir.path() + "/Earth.htm");
    QVERIFY(earth.open(QIODevice::WriteOnly));
    earth.write("<html><body><h1>Earth</h1></body></html>");
    earth.close();
    TTopicSet planets;
    planets.set(5);
    TTestFrm test(path, planets);
    test.show();
    QVERIFY(QTest::qWaitForWindowExposed(&test));
    QSignalSpy loaded(test.Viewer, &QWebEngineView::loadFinished);
    QVERIFY(loaded.wait(10000));
    Js(test.Viewer, "document.getElementById('earth').click()");
    QTRY_VERIFY_WITH_TIMEOUT(test.Viewer->url().path().endsWith("/Earth.htm"), 10000);
    QCOMPARE(test.Questions[0].AnswerState, 0);
    QCOMPARE(test.Current, 0);
    QVERIFY(!test.ResultsShown);
}

// The strip is 30 pixels high on screen: its outline's bottom line shows, and
// the red frame of the open question stays inside its cell, leaving the
// dividers black.
void TestTestFrm::stripLinesInsideTheStrip() {
    TTopicSet magnets;
    magnets.set(1);
    TTestFrm test(m_file, magnets);
    test.show();
    QVERIFY(QTest::qWaitForWindowExposed(&test));
    for (int i = 0; i < 10; ++i) {
        const int correct = test.Questions[std::size_t(i)].CorrectAnswer;
        test.Answer(Letter(i == 3 ? (correct + 1) % 4 : correct));
    }
    QVERIFY(test.StripClicked(3 * 30 + 5));
    const QImage strip = test.AnsPic->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(strip.size(), QSize(302, 30));
    const QColor black(Qt::black), red(Qt::red);
    auto at = [&](int x, int y) { return QColor(strip.pixel(x, y)); };
    for (int x : {0, 15, 45, 150, 285, 300}) {
        QCOMPARE(at(x, 0), black);
        QCOMPARE(at(x, 29), black); // the bottom line
    }
    for (int y : {1, 15, 28})
        QCOMPARE(at(300, y), black); // the right end of the outline
    // The frame round cell 4 (index 3).
    for (int y : {1, 15, 28}) {
        QCOMPARE(at(3 * 30 + 1, y), red);
        QCOMPARE(at(3 * 30 + 29, y), red);
        QCOMPARE(at(3 * 30, y), black); // the dividers on both sides
        QCOMPARE(at(4 * 30, y), black);
    }
    for (int x : {3 * 30 + 2, 3 * 30 + 15, 3 * 30 + 28}) {
        QCOMPARE(at(x, 1), red);
        QCOMPARE(at(x, 28), red);
        QCOMPARE(at(x, 29), black);
        QCOMPARE(at(x, 0), black);
    }
    const QString shots = qEnvironmentVariable("QUARVEL_SCREENSHOTS");
    if (!shots.isEmpty())
        strip.scaled(strip.size() * 3).save(shots + "/test-strip.png");
}

// The printed list letters every answer as the test does: with B empty,
// "There" is C on paper. The print preview opens from the Print button.
void TestTestFrm::printedAnswersKeepTheirLetters() {
    TMCQuestion gap = Q({6}, 2, "Where does the Sun rise?");
    gap.Answers = {"In the north", "", "In the east", "", "In the west"};
    TMCQuestion full = Q({6}, 0, "Which is a star?");
    full.Answers = {"The Sun", "The Moon", "Mars", "", ""};
    const QString path = Write("print.umq", {gap, full});
    // The course's style sheet, which letters the list A, B, C...
    const QString questions = QStringLiteral(QUARVEL_BUILT_CONTENT "/questions/");
    SetPagePaths(questions + "images/", questions + "css/qstyle.css");
    const auto restore = qScopeGuard([this] { SetPagePaths(m_dir.path() + "/images/", m_dir.path() + "/css/qstyle.css"); });
    TTopicSet sky;
    sky.set(6);
    TTestFrm test(path, sky);
    QVERIFY(test.PrintPage().contains("<ol><li value=\"1\">In the north</li><li value=\"3\">In the east</li>"
                                      "<li value=\"5\">In the west</li></ol>"));
    test.show();
    QVERIFY(QTest::qWaitForWindowExposed(&test));
    test.PrntBtnClick();
    QPrintPreviewDialog* preview = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((preview = test.findChild<QPrintPreviewDialog*>()) && preview->isVisible(), 15000);
    const QString shots = qEnvironmentVariable("QUARVEL_SCREENSHOTS");
    if (!shots.isEmpty()) {
        preview->resize(900, 1040);
        if (auto* w = preview->findChild<QPrintPreviewWidget*>())
            w->fitToWidth();
        QTest::qWait(600);
        preview->grab().save(shots + "/test-print-preview.png");
    }
    preview->close();
}

void TestTestFrm::fromTheTestMenu() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.TestFilePath = m_file;
    int shown = 0;
    connect(&f, &TFrameFrm::TopicTestRequested, this, [&](TTestFrm* test) {
        ++shown;
        QCOMPARE(test->geometry().size(), f.LeftToolwin->size());
        QTimer::singleShot(0, test, &QDialog::accept);
    });
    TTopicSet magnets;
    magnets.set(1);
    f.StartTopicTest(magnets);
    QCOMPARE(shown, 1);
    QVERIFY(m_boxes.isEmpty());
    TTopicSet empty;
    empty.set(8);
    f.StartTopicTest(empty);
    QCOMPARE(shown, 2);
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes[0].Kind, TBoxKind::Information);
    QCOMPARE(m_boxes[0].Text, QStringLiteral("No questions found"));
}

void TestTestFrm::badFileKeepsTheCourseRunning() {
    QFile bad(m_dir.path() + "/bad.umq");
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray("\x01\x02\x03\x04\0\0\0\0", 8));
    bad.close();
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.TestFilePath = bad.fileName();
    int shown = 0;
    connect(&f, &TFrameFrm::TopicTestRequested, this, [&](TTestFrm*) { ++shown; });
    f.StartTopicTest(TTopicSet());
    QCOMPARE(shown, 0);
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes[0].Kind, TBoxKind::Error);
    QCOMPARE(m_boxes[0].Text, QStringLiteral("bad.umq\r\nThis is not a valid question file."));
}

// The course's own bank through the whole flow. With QUARVEL_SCREENSHOTS set
// to a folder, pictures of each stage are saved there for the documentation.
void TestTestFrm::sampleBank() {
    const QString questions = QStringLiteral(QUARVEL_BUILT_CONTENT "/questions/");
    const QString bank = questions + "mctest.umq";
    QVERIFY2(QFile::exists(bank), "the build makes the sample bank");
    SetPagePaths(questions + "images/", questions + "css/qstyle.css");
    const auto all = ReadQuestionFile(bank, TReader::Vantrel);
    QVERIFY(all.size() >= 80);
    for (int area = 0; area < 10; ++area) {
        int count = 0;
        for (const TMCQuestion& q : all)
            count += q.TopicAreas.test(std::size_t(area)) ? 1 : 0;
        QVERIFY2(count >= 8, qPrintable(QString::number(area)));
    }
    for (const TMCQuestion& q : all) {
        QVERIFY(q.CorrectAnswer >= 0 && q.CorrectAnswer <= 4);
        QVERIFY(!q.GetAnswer(q.CorrectAnswer).isEmpty());
        if (!q.Picture.isEmpty())
            QVERIFY2(QFile::exists(questions + "images/" + q.Picture), qPrintable(q.Picture));
    }

    const QString shots = qEnvironmentVariable("QUARVEL_SCREENSHOTS");
    TTopicSet space;
    space.set(0);
    TTestFrm test(bank, space);
    test.resize(640, 720);
    test.show();
    QVERIFY(QTest::qWaitForWindowExposed(&test));
    auto snap = [&](const char* name) {
        QSignalSpy loaded(test.Viewer, &QWebEngineView::loadFinished);
        loaded.wait(3000);
        QTest::qWait(400);
        if (!shots.isEmpty())
            test.grab().save(shots + "/" + name + ".png");
    };
    // Show a question with a picture first, when the test has one.
    for (std::size_t i = 0; i < test.Questions.size(); ++i)
        if (!test.Questions[i].Picture.isEmpty()) {
            std::swap(test.Questions[0], test.Questions[i]);
            break;
        }
    test.ShowQuestion(0);
    snap("test-question");
    for (std::size_t i = 0; i < test.Questions.size(); ++i) {
        const int correct = test.Questions[i].CorrectAnswer;
        test.Answer(Letter(i % 3 == 1 ? (correct + 1) % 4 : correct));
    }
    QCOMPARE(test.CurrentPage(), ResultsPage(true));
    snap("test-some-wrong");
    QVERIFY(test.StripClicked(35));
    snap("test-review");
    for (std::size_t i = 0; i < test.Questions.size(); ++i)
        if (test.Questions[i].AnswerState == 2) {
            QVERIFY(test.StripClicked(int(i) * 30 + 5));
            test.Answer(Letter(test.Questions[i].CorrectAnswer));
        }
    QCOMPARE(test.CurrentPage(), ResultsPage(false));
    snap("test-all-correct");
}

QUARVEL_GUI_TEST_MAIN(TestTestFrm)
#include "tst_testfrm.moc"
