// Spell checking: which words are looked at, the British dictionary, the
// user's word list, live underlining and the check dialog's six answers.

#include "editor/spelling.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>

using namespace quarvel;

namespace {
const QStringList kDictionaryFolders = {QStringLiteral("/usr/share/hunspell")};

QStringList Words(const QString& text, bool skipCapitals = true) {
    QStringList out;
    for (const TWordSpan& w : SpellWords(text, skipCapitals))
        out << text.mid(w.Start, w.Length);
    return out;
}
} // namespace

class TestSpelling : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void words_data();
    void words();
    void britishDictionary_data();
    void britishDictionary();
    void suggestions();
    void userWordList();
    void missingDictionary();
    void underlining();
    void sequence_data();
    void sequence();
    void dialogButtons_data();
    void dialogButtons();

private:
    QTemporaryDir m_dir;
};

void TestSpelling::initTestCase() {
    TSpeller& s = SharedSpeller();
    QVERIFY2(s.Load(kDictionaryFolders, QStringLiteral("en_GB")), "the en_GB dictionary is needed");
    s.SetWordListFile(m_dir.filePath(QStringLiteral("user.words")));
}

void TestSpelling::words_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("plain") << "The Moon orbits." << QStringList({"The", "Moon", "orbits"});
    QTest::newRow("apostrophes") << "Earth's and Earth’s 'quoted'" << QStringList({"Earth's", "and", "Earth’s", "quoted"});
    QTest::newRow("markup") << "CO<sub>2</sub> at 20&deg;C and &#176;" << QStringList({"at", "C", "and"});
    QTest::newRow("digits") << "H2O 24th 365 days" << QStringList({"days"});
    QTest::newRow("capitals") << "An LED and DNA" << QStringList({"An", "and"});
    QTest::newRow("line breaks") << "first\r\nsecond" << QStringList({"first", "second"});
    QTest::newRow("unclosed tag") << "a < b" << QStringList({"a", "b"});
    QTest::newRow("empty") << "" << QStringList();
}

void TestSpelling::words() {
    QFETCH(QString, text);
    QFETCH(QStringList, words);
    QCOMPARE(Words(text), words);
}

void TestSpelling::britishDictionary_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("correct");
    QTest::newRow("colour") << "colour" << true;
    QTest::newRow("centre") << "centre" << true;
    QTest::newRow("magnetism") << "magnetism" << true;
    QTest::newRow("curly apostrophe") << "Earth’s" << true;
    QTest::newRow("recieve") << "recieve" << false;
    QTest::newRow("magnit") << "magnit" << false;
    QTest::newRow("tempreture") << "tempreture" << false;
}

void TestSpelling::britishDictionary() {
    QFETCH(QString, word);
    QFETCH(bool, correct);
    QCOMPARE(SharedSpeller().IsCorrect(word), correct);
}

void TestSpelling::suggestions() {
    QVERIFY(SharedSpeller().Suggestions(QStringLiteral("recieve")).contains(QStringLiteral("receive")));
    QVERIFY(SharedSpeller().Suggestions(QStringLiteral("tempreture")).contains(QStringLiteral("temperature")));
}

void TestSpelling::userWordList() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Brantock/Question editor/teacher.words"));
    TSpeller s;
    QVERIFY(s.Load(kDictionaryFolders, QStringLiteral("en_GB")));
    s.SetWordListFile(file);
    QVERIFY(!s.IsCorrect(QStringLiteral("Quarvel")));
    QVERIFY(s.AddWord(QStringLiteral("Quarvel")));
    QVERIFY(s.AddWord(QStringLiteral("Quarvel"))); // once only in the file
    QVERIFY(s.IsCorrect(QStringLiteral("Quarvel")));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("Quarvel\n"));
    // The next start knows the word; a word ignored is forgotten then.
    s.IgnoreAll(QStringLiteral("magnit"));
    QVERIFY(s.IsCorrect(QStringLiteral("magnit")));
    TSpeller next;
    next.SetWordListFile(file);
    QVERIFY(next.Load(kDictionaryFolders, QStringLiteral("en_GB")));
    QVERIFY(next.IsCorrect(QStringLiteral("Quarvel")));
    QVERIFY(!next.IsCorrect(QStringLiteral("magnit")));
    QCOMPARE(next.UserWords(), QStringList({"Quarvel"}));
}

void TestSpelling::missingDictionary() {
    TSpeller s;
    QVERIFY(!s.Load({m_dir.path()}, QStringLiteral("en_GB")));
    QVERIFY(!s.IsLoaded());
    // No dictionary must not stop a teacher: nothing is wrong, nothing is offered.
    QVERIFY(s.IsCorrect(QStringLiteral("magnit")));
    QVERIFY(s.Suggestions(QStringLiteral("magnit")).isEmpty());
}

void TestSpelling::underlining() {
    // As in the editor: a text box whose texts are replaced question by question.
    QPlainTextEdit edit;
    QTextDocument& doc = *edit.document();
    TSpellHighlighter highlighter(&doc, &SharedSpeller());
    QCoreApplication::processEvents(); // the highlighter starts once the loop has run
    doc.setPlainText(QStringLiteral("The magnit attracts iron"));
    const QList<QTextLayout::FormatRange> formats = doc.firstBlock().layout()->formats();
    QCOMPARE(formats.size(), 1);
    QCOMPARE(formats[0].start, 4);
    QCOMPARE(formats[0].length, 6);
    QCOMPARE(formats[0].format.underlineStyle(), QTextCharFormat::SpellCheckUnderline);
    // Mended while typing: the line goes.
    doc.setPlainText(QStringLiteral("The magnet attracts iron"));
    QVERIFY(doc.firstBlock().layout()->formats().isEmpty());
    highlighter.Live = false;
    doc.setPlainText(QStringLiteral("The magnit"));
    QVERIFY(doc.firstBlock().layout()->formats().isEmpty());
}

void TestSpelling::sequence_data() {
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("asked");
    QTest::addColumn<bool>("goesOn");
    const QString text = QStringLiteral("A magnit, a magnit and a tempreture.");
    QTest::newRow("Ignore") << int(TSpellAction::Ignore) << text << 3 << true;
    QTest::newRow("Ignore all") << int(TSpellAction::IgnoreAll) << text << 2 << true;
    QTest::newRow("Add") << int(TSpellAction::Add) << text << 2 << true;
    QTest::newRow("Change") << int(TSpellAction::Change) << "A WORD, a WORD and a WORD." << 3 << true;
    QTest::newRow("Change all") << int(TSpellAction::ChangeAll) << "A WORD, a WORD and a WORD." << 2 << true;
    QTest::newRow("Cancel") << int(TSpellAction::Cancel) << text << 1 << false;
}

void TestSpelling::sequence() {
    QFETCH(int, action);
    QFETCH(QString, result);
    QFETCH(int, asked);
    QFETCH(bool, goesOn);
    QTemporaryDir dir;
    TSpeller s;
    QVERIFY(s.Load(kDictionaryFolders, QStringLiteral("en_GB")));
    s.SetWordListFile(dir.filePath(QStringLiteral("words")));
    QStringList seen;
    SetSpellAnswerer([&](const TSpellRequest& r) {
        seen << r.Word;
        // Each request carries the text as it stands, with the word at Start.
        if (r.Text.mid(r.Start, r.Word.size()) != r.Word)
            return TSpellAnswer{TSpellAction::Cancel, {}};
        return TSpellAnswer{TSpellAction(action), QStringLiteral("WORD")};
    });
    QPlainTextEdit edit;
    edit.setPlainText(QStringLiteral("A magnit, a magnit and a tempreture."));
    TCheckSequence seq(&s, nullptr);
    QCOMPARE(seq.CheckEdit(&edit), goesOn);
    QCOMPARE(edit.toPlainText(), result);
    QCOMPARE(seen.size(), asked);
    QCOMPARE(seq.Asked(), asked);
    QCOMPARE(seen.value(0), QStringLiteral("magnit"));
    // Ignore all, Add and Change all last to the end of the sequence.
    edit.setPlainText(QStringLiteral("One more magnit."));
    seen.clear();
    seq.CheckEdit(&edit);
    const bool remembered = action == int(TSpellAction::IgnoreAll) || action == int(TSpellAction::Add) ||
                            action == int(TSpellAction::ChangeAll);
    QCOMPARE(seen.isEmpty(), remembered || !goesOn);
    if (action == int(TSpellAction::ChangeAll))
        QCOMPARE(edit.toPlainText(), QStringLiteral("One more WORD."));
    if (action == int(TSpellAction::Add))
        QCOMPARE(s.UserWords(), QStringList({"magnit", "tempreture"}));
    SetSpellAnswerer(nullptr);
}

void TestSpelling::dialogButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("action");
    QTest::newRow("Ignore") << "&Ignore" << int(TSpellAction::Ignore);
    QTest::newRow("Ignore all") << "I&gnore all" << int(TSpellAction::IgnoreAll);
    QTest::newRow("Add") << "&Add" << int(TSpellAction::Add);
    QTest::newRow("Change") << "&Change" << int(TSpellAction::Change);
    QTest::newRow("Change all") << "C&hange all" << int(TSpellAction::ChangeAll);
    QTest::newRow("Cancel") << "Cancel" << int(TSpellAction::Cancel);
}

void TestSpelling::dialogButtons() {
    QFETCH(QString, button);
    QFETCH(int, action);
    TSpellDlg dialog;
    TSpellRequest r{QStringLiteral("recieve"), QStringLiteral("We recieve light."), 3,
                    SharedSpeller().Suggestions(QStringLiteral("recieve"))};
    QTimer::singleShot(0, &dialog, [&] {
        // The first suggestion is offered; picking another one changes the offer.
        QCOMPARE(dialog.ChangeToEdit->text(), r.Suggestions.value(0));
        QVERIFY(dialog.ContextBox->toPlainText() == r.Text);
        const int receive = int(r.Suggestions.indexOf(QStringLiteral("receive")));
        dialog.SuggestionList->setCurrentRow(receive);
        for (QPushButton* b : dialog.findChildren<QPushButton*>())
            if (b->text() == button)
                b->click();
    });
    const TSpellAnswer a = dialog.Ask(r);
    QCOMPARE(int(a.Action), action);
    QCOMPARE(a.Replacement, QStringLiteral("receive"));
}

QTEST_MAIN(TestSpelling)
#include "tst_spelling.moc"
