#include "common/lestream.h"
#include "questions/questions.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace quarvel;

namespace {
const QString kHead = QStringLiteral(
    "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" \"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">"
    "<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\" xml:lang=\"en\"><head><meta http-equiv=\"content-type\" "
    "content=\"text/html; charset=utf-8\" /><link href=\"/q/css/qstyle.css\" rel=\"stylesheet\" type=\"text/css\" "
    "/></head><body>");

TMCQuestion Sample() {
    TMCQuestion q;
    q.TopicAreas.set(0);
    q.TopicAreas.set(9);
    q.TopicAreas.set(255);
    q.CorrectAnswer = 2;
    q.Text = QStringLiteral("Which is \u03B1?\r\nPick one \u2603");
    q.Picture = QStringLiteral("moon.png");
    q.Answers = {"North", "South", "East\r\n", "", "Up"};
    return q;
}

// An older-layout record writer for fixtures.
void WriteAnsi(TLEWriter& w, const QString& s) { w.WriteAnsiString(s); }
} // namespace

class TestQuestions : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetPagePaths("/q/images/", "/q/css/qstyle.css"); }
    void newRecord();
    void roundTrip();
    void topicSetLayout();
    void answersAndAssign();
    void grading_data();
    void grading();
    void olderLayouts_data();
    void olderLayouts();
    void badFiles_data();
    void badFiles();
    void questionPage();
    void printEntry();
    void answerLetterOfLink_data();
    void answerLetterOfLink();
    void resultsPages();
    void xmlEntry();
    void toolRoundTrip();
};

void TestQuestions::newRecord() {
    TMCQuestion q;
    QVERIFY(q.TopicAreas.none());
    QCOMPARE(q.Text, QStringLiteral("Enter the text for the question"));
    QCOMPARE(q.Answers, QStringList({"", "", "", "", ""}));
    QCOMPARE(q.CorrectAnswer, -1);
    QCOMPARE(q.AnswerState, 0);
}

void TestQuestions::roundTrip() {
    const TMCQuestion q = Sample();
    const QByteArray bytes = QuestionFileBytes({q, TMCQuestion()});
    QCOMPARE(bytes.left(4), QByteArray("\x69\x2F\x01\x00", 4)); // 77673
    const auto back = ReadQuestionBytes(bytes, "x.umq", TReader::Vantrel);
    QCOMPARE(back.size(), std::size_t(2));
    QCOMPARE(back[0].TopicAreas, q.TopicAreas);
    QCOMPARE(back[0].CorrectAnswer, 2);
    QCOMPARE(back[0].Text, q.Text);
    QCOMPARE(back[0].Picture, q.Picture);
    QCOMPARE(back[0].Answers, q.Answers);
    QCOMPARE(back[1].CorrectAnswer, -1);

    QTemporaryDir dir;
    QVERIFY(WriteQuestionFile(dir.path() + "/t.umq", {q}));
    QCOMPARE(ReadQuestionFile(dir.path() + "/t.umq", TReader::Vantrel)[0].Text, q.Text);
    // A file that cannot be written leaves the old one and says why.
    QString why;
    QVERIFY(!WriteQuestionFile(dir.path() + "/no/such/dir/t.umq", {q}, &why));
    QVERIFY(why.contains("t.umq"));
}

void TestQuestions::topicSetLayout() {
    TTopicSet set;
    set.set(0);
    set.set(9);
    set.set(255);
    const QByteArray b = TopicSetBytes(set);
    QCOMPARE(b.size(), 32);
    QCOMPARE(b[0], char(0x01));
    QCOMPARE(b[1], char(0x02));
    QCOMPARE(b[31], char(0x80));
    QCOMPARE(TopicSetFromBytes(b), set);
}

void TestQuestions::answersAndAssign() {
    TMCQuestion q = Sample();
    QCOMPARE(q.GetAnswer(4), QStringLiteral("Up"));
    QCOMPARE(q.GetAnswer(5), QString());
    QCOMPARE(q.GetAnswer(-1), QString());
    q.SetAnswer(7, "x");
    QCOMPARE(q.Answers.size(), 5);
    q.SetAnswer(3, "West");
    QCOMPARE(q.GetAnswer(3), QStringLiteral("West"));
    // Three answers read back: the fifth is empty.
    TMCQuestion three = Sample();
    three.Answers = {"a", "b", "c"};
    const auto back = ReadQuestionBytes(QuestionFileBytes({three}), "x", TReader::Vantrel);
    QCOMPARE(back[0].Answers.size(), 3);
    QCOMPARE(back[0].GetAnswer(4), QString());

    TMCQuestion copy;
    q.AnswerState = 2;
    q.LegacyValues = {1, 2, 3, 4};
    copy.Assign(&q);
    QCOMPARE(copy.Text, q.Text);
    QCOMPARE(copy.LegacyValues, q.LegacyValues);
    QCOMPARE(copy.AnswerState, 0); // not copied
    copy.Assign(nullptr);
    QCOMPARE(copy.Text, q.Text);
}

void TestQuestions::grading_data() {
    QTest::addColumn<int>("correct");
    QTest::addColumn<QString>("letter");
    QTest::addColumn<int>("state");
    QTest::newRow("right") << 2 << "C" << 1;
    QTest::newRow("wrong") << 2 << "B" << 2;
    QTest::newRow("E") << 4 << "E" << 1;
    QTest::newRow("unset") << -1 << "A" << 2;
    QTest::newRow("out of range") << 5 << "F" << 2;
    QTest::newRow("lower case") << 0 << "a" << 2;
}

void TestQuestions::grading() {
    QFETCH(int, correct);
    QFETCH(QString, letter);
    QFETCH(int, state);
    TMCQuestion q;
    q.CorrectAnswer = correct;
    q.CheckAnswer(letter);
    QCOMPARE(int(q.AnswerState), state);
}

void TestQuestions::olderLayouts_data() {
    QTest::addColumn<int>("tag");
    for (int tag : {8376, 707977, 758380, 77671, 12345})
        QTest::newRow(qPrintable(QString::number(tag))) << tag;
}

void TestQuestions::olderLayouts() {
    QFETCH(int, tag);
    // One record in the tag's layout: topic areas {0, 2}, answer B, café text.
    TLEWriter w;
    w.WriteInt32(tag);
    w.WriteInt32(1);
    if (tag == 8376 || tag == 707977) {
        TTopicSet set;
        set.set(0);
        set.set(2);
        w.WriteBytes(TopicSetBytes(set));
    } else {
        w.WriteBytes(QByteArray("\x05\x00", 2));
    }
    w.WriteInt32(1);
    if (tag == 77671)
        for (int v : {7, 8, 9, 10})
            w.WriteInt32(v);
    const bool skips = tag == 8376 || tag == 707977 || tag == 758380;
    if (skips)
        w.WriteBytes(QByteArray(8, 'x'));
    WriteAnsi(w, QStringLiteral("Caf\u00E9 \u2018quiz\u2019"));
    WriteAnsi(w, QStringLiteral("pic.bmp"));
    if (skips)
        w.WriteBytes(QByteArray(1, 'y'));
    if (tag == 8376)
        w.WriteBytes(QByteArray(16, 'z'));
    w.WriteInt32(2);
    WriteAnsi(w, "yes");
    WriteAnsi(w, "no");
    QTemporaryDir dir;
    QFile f(dir.path() + "/old.umq");
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(w.Data());
    f.close();
    const auto qs = ReadLegacyQuestionFile(f.fileName());
    QCOMPARE(qs.size(), std::size_t(1));
    QVERIFY(qs[0].TopicAreas.test(0) && qs[0].TopicAreas.test(2));
    QCOMPARE(qs[0].TopicAreas.count(), std::size_t(2));
    QCOMPARE(qs[0].CorrectAnswer, 1);
    QCOMPARE(qs[0].Text, QStringLiteral("Caf\u00E9 \u2018quiz\u2019"));
    QCOMPARE(qs[0].Picture, QStringLiteral("pic.bmp"));
    QCOMPARE(qs[0].Answers, QStringList({"yes", "no"}));
    if (tag == 77671) {
        QCOMPARE(qs[0].LegacyValues, (std::array<std::int32_t, 4>{7, 8, 9, 10}));
        // The editor opens 77671 files as they are; the course does not.
        QCOMPARE(ReadQuestionFile(f.fileName(), TReader::Prelox)[0].Text, qs[0].Text);
        QVERIFY_THROWS_EXCEPTION(EBadFile, ReadQuestionFile(f.fileName(), TReader::Vantrel));
    }
}

void TestQuestions::badFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("badTag");
    TLEWriter tag;
    tag.WriteInt32(1234);
    tag.WriteInt32(0);
    QTest::newRow("wrong tag") << tag.Data() << true;
    const QByteArray good = QuestionFileBytes({Sample()});
    QTest::newRow("truncated") << good.left(good.size() - 3) << false;
    TLEWriter huge;
    huge.WriteInt32(kQuestionTag);
    huge.WriteInt32(0x7FFFFFFF);
    QTest::newRow("huge count") << huge.Data() << false;
    TLEWriter answers;
    answers.WriteInt32(kQuestionTag);
    answers.WriteInt32(1);
    answers.WriteBytes(QByteArray(32, '\0'));
    answers.WriteInt32(0);
    answers.WriteUtf16String("t");
    answers.WriteUtf16String("");
    answers.WriteInt32(0x10000000);
    answers.WriteBytes(QByteArray(40, '\0'));
    QTest::newRow("huge answer count") << answers.Data() << false;
}

void TestQuestions::badFiles() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, badTag);
    if (badTag) {
        try {
            ReadQuestionBytes(bytes, "/some/folder/bank.umq", TReader::Vantrel);
            QFAIL("read");
        } catch (const EBadFile& e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("bank.umq\r\nThis is not a valid question file."));
        }
        try {
            ReadQuestionBytes(bytes, "bank.umq", TReader::Prelox);
            QFAIL("read");
        } catch (const EBadFile& e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("bank.umq\r\nThis is not a valid question file"));
        }
    } else {
        QVERIFY_THROWS_EXCEPTION(EStreamError, ReadQuestionBytes(bytes, "x", TReader::Vantrel));
    }
}

void TestQuestions::questionPage() {
    TMCQuestion q;
    q.Text = "Where?";
    q.Answers = {"Here", "", "There", "", ""};
    QCOMPARE(QuestionPage(q, 3),
             kHead + "<h1>Question 3</h1><p>Where?</p>"
                     "<div class=\"ans\"><a href=\"A\"><img border=\"0\" src=\"/q/images/button.gif\" alt=\"\" /></a>Here</div>"
                     "<div class=\"ans\"><a href=\"C\"><img border=\"0\" src=\"/q/images/button.gif\" alt=\"\" /></a>There</div>"
                     "</body></html>");
    q.Picture = "moon.png";
    QVERIFY(QuestionPage(q, 1).contains("<h1>Question 1</h1><p><img src=\"/q/images/moon.png\"></p><p>Where?</p><div"));
}

void TestQuestions::printEntry() {
    TMCQuestion q;
    q.Text = "Where?";
    q.Answers = {"Here", "", "There", "", ""};
    // Each item keeps its own letter: "There" is C on paper as in the test.
    QCOMPARE(PrintEntry(q, 2), QStringLiteral("<h2>Question 2</h2><p>Where?</p><ol><li value=\"1\">Here</li>"
                                              "<li value=\"3\">There</li></ol>"));
    q.Answers = {"", "", "", "", "Last"};
    QVERIFY(PrintEntry(q, 1).endsWith("<ol><li value=\"5\">Last</li></ol>"));
    QCOMPARE(PrintPageHead(), kHead);
}

void TestQuestions::answerLetterOfLink_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("letter");
    QTest::newRow("bare letter") << "A" << "A";
    QTest::newRow("after slash") << "x/B" << "B";
    QTest::newRow("after backslash") << "a\\C" << "C";
    QTest::newRow("after colon") << "about:D" << "D";
    QTest::newRow("course page address") << "course:/HTML/E" << "E";
    QTest::newRow("file address") << "file:///tmp/questions/A" << "A";
    QTest::newRow("page starting with E") << "Earth.htm" << "";
    QTest::newRow("page in a folder") << "course:/HTML/Circuits.htm" << "";
    QTest::newRow("two letters") << "AB" << "";
    QTest::newRow("letter past E") << "F" << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("small letter") << "e" << "";
    QTest::newRow("ends with a separator") << "x/A/" << "";
    QTest::newRow("page command") << "course:/HTML/+run" << "";
    QTest::newRow("letter then space") << "B " << "";
}

void TestQuestions::answerLetterOfLink() {
    QFETCH(QString, link);
    QFETCH(QString, letter);
    QCOMPARE(AnswerLetterOfLink(link), letter);
}

void TestQuestions::resultsPages() {
    QCOMPARE(ResultsPage(false), kHead + "<div class=\"allcenter\"><img src=\"/q/images/Happy175.png\" alt=\"\" />"
                                         "<p>All answers correct.</p></div></body></html>");
    QCOMPARE(ResultsPage(true), kHead + "<div class=\"allcenter\"><img src=\"/q/images/sad175.png\" alt=\"\" />"
                                        "<p>Some answers are wrong.</p><p>To try the question again, click on the "
                                        "questions marked with X.</p></div></body></html>");
}

void TestQuestions::xmlEntry() {
    TMCQuestion q;
    q.Text = "A & B < \"C\"";
    q.CorrectAnswer = 1;
    q.Answers = {"one\r\n", "\r\n", "two > one", "", ""};
    QStringList lines;
    XmlEntry(q, lines);
    QCOMPARE(lines, QStringList({"<question>", "<qtext value=\"A &amp; B &lt; &quot;C&quot;\"/>", "<correct value=\"1\"/>",
                                 "<picture pfile=\"\"/>", "<answer value=\"one\"/>", "<answer value=\"two &gt; one\"/>",
                                 "</question>"}));
}

void TestQuestions::toolRoundTrip() {
    QTemporaryDir dir;
    QFile json(dir.path() + "/bank.json");
    QVERIFY(json.open(QIODevice::WriteOnly));
    json.write(R"([{"topics": [1, 3], "correct": 0, "text": "Line one\r\nline two \u2603", "picture": "p.png",
                    "answers": ["a", "b", "", "", ""], "legacy": [0, 0, 0, 0]}])");
    json.close();
    QProcess tool;
    tool.start(QUARVEL_QUESTIONS_TOOL, {"build", json.fileName(), dir.path() + "/bank.umq"});
    QVERIFY(tool.waitForFinished());
    QCOMPARE(tool.exitCode(), 0);
    const auto qs = ReadQuestionFile(dir.path() + "/bank.umq", TReader::Vantrel);
    QCOMPARE(qs[0].Text, QStringLiteral("Line one\r\nline two \u2603"));
    QVERIFY(qs[0].TopicAreas.test(3));
    tool.start(QUARVEL_QUESTIONS_TOOL, {"dump", dir.path() + "/bank.umq"});
    QVERIFY(tool.waitForFinished());
    const QJsonArray list = QJsonDocument::fromJson(tool.readAllStandardOutput()).array();
    QCOMPARE(list.size(), 1);
    QCOMPARE(list[0].toObject().value("text").toString(), QStringLiteral("Line one\r\nline two \u2603"));
    QCOMPARE(list[0].toObject().value("topics").toArray(), QJsonArray({1, 3}));
    // A bad file: a message on standard error, status 1.
    QFile bad(dir.path() + "/bad.umq");
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray("\x69\x2F\x01\x00\xFF\xFF\xFF\x7F", 8));
    bad.close();
    tool.start(QUARVEL_QUESTIONS_TOOL, {"dump", bad.fileName()});
    QVERIFY(tool.waitForFinished(5000));
    QCOMPARE(tool.exitCode(), 1);
    QVERIFY(tool.readAllStandardError().startsWith("quarvel-questions:"));
}

QTEST_GUILESS_MAIN(TestQuestions)
#include "tst_questions.moc"
