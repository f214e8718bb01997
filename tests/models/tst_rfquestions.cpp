#include "../testmain.h"
#include "common/random.h"
#include "models/forces/rfqfrm.h"
#include "models/forces/rfquestions.h"
#include "shell/courseareas.h"
#include "shell/framefrm.h"
#include "widgets/dialogs.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTimer>

using namespace quarvel;
Q_DECLARE_METATYPE(quarvel::TForces)

namespace {
// With QUARVEL_SHOT_DIR set, the dialog's states are saved there as pictures for the docs.
void Shot(QWidget* w, const char* name) {
    const QString dir = qEnvironmentVariable("QUARVEL_SHOT_DIR");
    if (!dir.isEmpty())
        w->grab().save(dir + QLatin1Char('/') + QLatin1String(name));
}
} // namespace

class TestResultantForce : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void check_data();
    void check();
    void scoreAfterTwoWrongTries();
    void scoredOnce();
    void newQuestions();
    void seededOncePerQuestion();
    void drawing();
    void dialogAnswers();
    void dialogRefusesLetters();
    void dialogScoresOnce();
    void testCommandOpensTheDialog();

private:
    QStringList m_boxes;
};

void TestResultantForce::initTestCase() {
    RegisterCourseAreas();
    QSettings(QStringLiteral("Brantock"), QStringLiteral("Quarvel")).clear();
    SetBoxAnswerer([this](const TBoxRequest& r) {
        m_boxes << r.Text;
        return true;
    });
}

void TestResultantForce::check_data() {
    QTest::addColumn<TForces>("forces");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("verdict");
    const TForces horizontal{4, 1, 3, 3}, vertical{2, 2, 1, 5};
    QTest::newRow("15 N right") << horizontal << "15" << int(DirRight) << int(TResultantQuestions::Right);
    QTest::newRow("15 N left") << horizontal << "15" << int(DirLeft) << int(TResultantQuestions::Wrong);
    QTest::newRow("20 N right") << horizontal << "20" << int(DirRight) << int(TResultantQuestions::Wrong);
    QTest::newRow("leading zero") << horizontal << "015" << int(DirRight) << int(TResultantQuestions::Right);
    QTest::newRow("20 N down") << vertical << "20" << int(DirDown) << int(TResultantQuestions::Right);
    QTest::newRow("20 N up") << vertical << "20" << int(DirUp) << int(TResultantQuestions::Wrong);
    QTest::newRow("5 N down") << vertical << "5" << int(DirDown) << int(TResultantQuestions::Wrong);
    QTest::newRow("no value, no direction") << vertical << "" << int(DirNone)
                                            << int(TResultantQuestions::NoValueNoDirection);
    QTest::newRow("no value") << vertical << "" << int(DirDown) << int(TResultantQuestions::NoValue);
    QTest::newRow("no direction") << vertical << "20" << int(DirNone) << int(TResultantQuestions::NoDirection);
    QTest::newRow("not a number") << vertical << "99999999999999" << int(DirDown) << int(TResultantQuestions::Wrong);
}

void TestResultantForce::check() {
    QFETCH(TForces, forces);
    QFETCH(QString, answer);
    QFETCH(int, direction);
    QFETCH(int, verdict);
    TRandom random;
    TResultantQuestions q(random);
    q.SetForces(forces);
    QCOMPARE(int(q.Check(answer, direction)), verdict);
    // Every check counts as an attempt; only a right one scores.
    QCOMPARE(q.Attempts, 1);
    QCOMPARE(q.Correct, verdict == TResultantQuestions::Right ? 1 : 0);
}

void TestResultantForce::scoreAfterTwoWrongTries() {
    TRandom random;
    TResultantQuestions q(random);
    q.SetForces({4, 1, 3, 3});
    QCOMPARE(q.ScoreText(), QStringLiteral("score 0"));
    QCOMPARE(q.Check(QStringLiteral("15"), DirLeft), TResultantQuestions::Wrong);
    QCOMPARE(q.Check(QStringLiteral("10"), DirRight), TResultantQuestions::Wrong);
    QCOMPARE(q.ScoreText(), QStringLiteral("score 0/2"));
    QCOMPARE(q.Check(QStringLiteral("15"), DirRight), TResultantQuestions::Right);
    QCOMPARE(q.ScoreText(), QStringLiteral("score 1/3"));
}

void TestResultantForce::scoredOnce() {
    TRandom random;
    TResultantQuestions q(random);
    q.SetForces({2, 2, 1, 5});
    QCOMPARE(q.Check(QStringLiteral("20"), DirDown), TResultantQuestions::Right);
    QCOMPARE(q.Check(QStringLiteral("20"), DirDown), TResultantQuestions::AlreadyScored);
    QCOMPARE(q.Check(QStringLiteral("5"), DirUp), TResultantQuestions::AlreadyScored);
    QCOMPARE(q.ScoreText(), QStringLiteral("score 1/1"));
    // The next question is scored again.
    q.Seeder = nullptr;
    q.NewQuestion();
    QVERIFY(!q.Answered());
    QCOMPARE(q.Check(QString::number(ResultantNewtons(q.Forces)), ResultantDirection(q.Forces)),
             TResultantQuestions::Right);
    QCOMPARE(q.ScoreText(), QStringLiteral("score 2/2"));
}

void TestResultantForce::newQuestions() {
    TRandom random;
    for (std::uint32_t seed = 0; seed < 500; ++seed) {
        random.SetSeed(seed * 2654435761u);
        TResultantQuestions q(random);
        q.Seeder = nullptr;
        TForces previous = q.Forces;
        for (int i = 0; i < 5; ++i) {
            q.NewQuestion();
            const TForces& f = q.Forces;
            QVERIFY(f.Right != previous.Right && f.Left != previous.Left && f.Up != previous.Up &&
                    f.Down != previous.Down);
            QVERIFY(f.Right + f.Up != f.Left + f.Down);
            // One axis only.
            QVERIFY((f.Left != f.Right) != (f.Up != f.Down));
            QVERIFY(ResultantNewtons(f) > 0);
            for (int v : {f.Right, f.Left, f.Up, f.Down})
                QVERIFY(v >= (i == 0 ? 1 : 0) && v <= 6);
            previous = f;
        }
    }
}

void TestResultantForce::seededOncePerQuestion() {
    TRandom random;
    TResultantQuestions q(random);
    int seeds = 0;
    q.Seeder = [&seeds](TRandom& r) { r.SetSeed(std::uint32_t(++seeds) * 7919u); };
    for (int i = 0; i < 40; ++i)
        q.NewQuestion();
    QCOMPARE(seeds, 40);
}

void TestResultantForce::drawing() {
    const QImage img = DrawResultantQuestion({4, 0, 3, 3}, QSize(400, 400), 40);
    const QColor blue(0xC0, 0xE1, 0xFF);
    QCOMPARE(img.pixelColor(200, 200), blue);          // the block
    QCOMPARE(img.pixelColor(160, 160), QColor(Qt::black)); // its corner
    QCOMPARE(img.pixelColor(240 + 50, 200), QColor(Qt::red)); // the right arrow's shaft
    QCOMPARE(img.pixelColor(200, 160 - 50), QColor(Qt::red)); // up
    QCOMPARE(img.pixelColor(200, 240 + 50), QColor(Qt::red)); // down
    QCOMPARE(img.pixelColor(160 - 50, 200), QColor(Qt::white)); // no force to the left
    QCOMPARE(img.pixelColor(0, 0), QColor(0x7F, 0x7F, 0x7F));  // the frame
}

void TestResultantForce::dialogAnswers() {
    TRFQFrm f;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCOMPARE(f.windowTitle(), QStringLiteral("Find the resultant force"));
    QCOMPARE(f.BlockSize(), 0.1f * float(f.Pic->height()));
    QVERIFY(!f.CheckBtn->isEnabled());
    f.ShowQuestion({4, 1, 3, 3});
    QTest::keyClicks(f.ResEdit, QStringLiteral("15"));
    QVERIFY(!f.CheckBtn->isEnabled()); // no direction yet
    f.SetDirection(DirLeft);
    QVERIFY(f.CheckBtn->isEnabled());
    f.CheckBtn->click();
    QVERIFY(f.CrossPic->isVisibleTo(&f) && !f.TickPic->isVisibleTo(&f));
    QCOMPARE(f.ScoreST->text(), QStringLiteral("score 0/1"));
    Shot(&f, "rfq-wrong.png");
    // A key hides the verdict; the pupil may try again.
    QTest::keyClick(f.ResEdit, Qt::Key_Backspace);
    QVERIFY(!f.CrossPic->isVisibleTo(&f));
    QTest::keyClicks(f.ResEdit, QStringLiteral("5"));
    f.CheckBtn->click();
    f.SetDirection(DirRight);
    QVERIFY(!f.CrossPic->isVisibleTo(&f));
    f.CheckBtn->click();
    QVERIFY(f.TickPic->isVisibleTo(&f) && !f.CrossPic->isVisibleTo(&f));
    QCOMPARE(f.ScoreST->text(), QStringLiteral("score 1/3"));
    QVERIFY(!f.CheckBtn->isEnabled());
    Shot(&f, "rfq-right.png");

    f.NewBtn->click();
    QVERIFY(f.ResEdit->text().isEmpty());
    QCOMPARE(f.Direction(), -1);
    QVERIFY(!f.TickPic->isVisibleTo(&f) && !f.CheckBtn->isEnabled());
    QVERIFY(f.Questions().Forces != TForces({4, 1, 3, 3}));
}

void TestResultantForce::dialogRefusesLetters() {
    TRFQFrm f;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QTest::keyClicks(f.ResEdit, QStringLiteral("1a2-b.3 x"));
    QCOMPARE(f.ResEdit->text(), QStringLiteral("123"));
    f.ResEdit->clear();
    QTest::keyClicks(f.ResEdit, QStringLiteral("abc"));
    QVERIFY(f.ResEdit->text().isEmpty());
    f.SetDirection(DirUp);
    QVERIFY(!f.CheckBtn->isEnabled());
}

void TestResultantForce::dialogScoresOnce() {
    TRFQFrm f;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.ShowQuestion({2, 2, 1, 5});
    QTest::keyClicks(f.ResEdit, QStringLiteral("20"));
    f.SetDirection(DirDown);
    f.CheckBtn->click();
    QCOMPARE(f.ScoreST->text(), QStringLiteral("score 1/1"));
    // Typing or choosing again after a right answer does not open the question again.
    QTest::keyClicks(f.ResEdit, QStringLiteral("0"));
    QVERIFY(!f.CheckBtn->isEnabled());
    f.SetDirection(DirUp);
    f.SetDirection(DirDown);
    QVERIFY(!f.CheckBtn->isEnabled());
    f.CheckBtnClick(); // even when the rule is bypassed
    QCOMPARE(f.ScoreST->text(), QStringLiteral("score 1/1"));
}

void TestResultantForce::testCommandOpensTheDialog() {
    TFrameFrm frame(QStringLiteral(QUARVEL_CONTENT_DIR));
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.Topics->SelectTopic(1017);
    QString seen;
    QTimer::singleShot(200, this, [&seen] {
        if (auto* form = qobject_cast<TRFQFrm*>(QApplication::activeModalWidget())) {
            seen = form->windowTitle();
            form->CloseBtn->click();
        }
    });
    QVERIFY(frame.RunPageCommand(QStringLiteral("+test")));
    QCOMPARE(seen, QStringLiteral("Find the resultant force"));
    QVERIFY(!QApplication::activeModalWidget());
}

QUARVEL_GUI_TEST_MAIN(TestResultantForce)
#include "tst_rfquestions.moc"
