#include "../testmain.h"
#include "questions/testfrm.h"
#include "shell/dialogs.h"
#include "shell/framefrm.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
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
