// The editor's document: its states and modes, the file commands, the list
// commands and the faults a teacher must never meet (a lost file, an empty
// list saved over a good one).

#include "editortest.h"

#include "common/lestream.h"
#include "widgets/skins.h"

#include <QAction>
#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QSettings>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolBar>
#include <QTimer>
#include <QWebEngineView>
#include <sys/resource.h>
#include <csignal>
#include <unistd.h>

using namespace quarvel;
using namespace quarvel::test;

namespace {
// A file of the older layout the editor still opens (tag 77671).
QByteArray OldFile(const QList<std::array<std::int32_t, 4>>& legacy) {
    TLEWriter w;
    w.WriteInt32(kQuestionTagOld);
    w.WriteInt32(std::int32_t(legacy.size()));
    for (int i = 0; i < legacy.size(); ++i) {
        w.WriteBytes(QByteArray("\x05\x00", 2)); // topic areas 0 and 2
        w.WriteInt32(i % 5);
        for (std::int32_t v : legacy[i])
            w.WriteInt32(v);
        w.WriteAnsiString(QStringLiteral("Old question %1").arg(i + 1));
        w.WriteAnsiString(QString());
        w.WriteInt32(5);
        for (int a = 0; a < 5; ++a)
            w.WriteAnsiString(a < 4 ? QStringLiteral("answer %1").arg(a) : QString());
    }
    return w.Data();
}

// A file of one of the still older layouts that only Convert file reads (tag 758380).
QByteArray ConvertibleFile(int n) {
    TLEWriter w;
    w.WriteInt32(758380);
    w.WriteInt32(n);
    for (int i = 0; i < n; ++i) {
        w.WriteBytes(QByteArray("\x01\x00", 2));
        w.WriteInt32(1);
        w.WriteInt32(0);
        w.WriteInt32(0);
        w.WriteAnsiString(QStringLiteral("Converted %1").arg(i + 1));
        w.WriteAnsiString(QString());
        w.WriteBytes(QByteArray(1, '\0'));
        w.WriteInt32(2);
        w.WriteAnsiString(QStringLiteral("yes"));
        w.WriteAnsiString(QStringLiteral("no"));
    }
    return w.Data();
}
} // namespace

class TestEditFiles : public QObject {
    Q_OBJECT
private slots:
    void pureStateRules_data();
    void pureStateRules();
    void captions_data();
    void captions();
    void stateTable_data();
    void stateTable();
    void modeTable_data();
    void modeTable();
    void startUp();
    void topicListEncodings_data();
    void topicListEncodings();
    void invalidStartFileGivesEmptyDocument();
    void commandLineFile();
    void savePrompt_data();
    void savePrompt();
    void closing_data();
    void closing();
    void updateAfterSaveIsAChange_data();
    void updateAfterSaveIsAChange();
    void saveAsForcesUmq_data();
    void saveAsForcesUmq();
    void oldLayoutSavedWithoutLegacyValues();
    void failedOpenKeepsDocument();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void importNumbering();
    void importRefusedWhileEditing_data();
    void importRefusedWhileEditing();
    void convertAsksForNewName();
    void moveAtEnds_data();
    void moveAtEnds();
    void deleting();
    void renumberAndChecks();
    void menusFollowTheList();
    void exportXmlOfChecked();
    void exportSelected();
    void exportsAskBeforeReplacing_data();
    void exportsAskBeforeReplacing();
    void printing();
    void colourScheme_data();
    void colourScheme();
    void helpEntries();
    void about();
};

void TestEditFiles::pureStateRules_data() {
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("changed");
    QTest::addColumn<bool>("isChanged");
    QTest::newRow("new") << 0 << 1 << false;
    QTest::newRow("new changed") << 1 << 1 << true;
    QTest::newRow("named") << 2 << 3 << false;
    QTest::newRow("named changed") << 3 << 3 << true;
}

void TestEditFiles::pureStateRules() {
    QFETCH(int, state);
    QFETCH(int, changed);
    QFETCH(bool, isChanged);
    QCOMPARE(MarkedChanged(state), changed);
    QCOMPARE(IsChanged(state), isChanged);
}

void TestEditFiles::captions_data() {
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("caption");
    QTest::newRow("new") << 0 << QString() << "Quarvel - Question Editor - ";
    QTest::newRow("new changed") << 1 << QString() << "Quarvel - Question Editor - *";
    QTest::newRow("named") << 2 << "/x/y/mctest.umq" << "Quarvel - Question Editor - mctest.umq";
    QTest::newRow("named changed") << 3 << "/x/y/mctest.umq" << "Quarvel - Question Editor - *mctest.umq";
}

void TestEditFiles::captions() {
    QFETCH(int, state);
    QFETCH(QString, file);
    QFETCH(QString, caption);
    QCOMPARE(EditorCaption(state, file), caption);
    // The window follows a change of state at once.
    TEditorFixture fx;
    const QString path = fx.WriteQuestions(QStringLiteral("mctest.umq"), Qs(2));
    auto form = fx.Form(path);
    QCOMPARE(form->windowTitle(), QStringLiteral("Quarvel - Question Editor - mctest.umq"));
    form->EditBtn->trigger();
    QCOMPARE(form->windowTitle(), QStringLiteral("Quarvel - Question Editor - *mctest.umq"));
    form->CancelBtn->trigger();
    QCOMPARE(form->windowTitle(), QStringLiteral("Quarvel - Question Editor - *mctest.umq"));
    form->Save1Click();
    QCOMPARE(form->windowTitle(), QStringLiteral("Quarvel - Question Editor - mctest.umq"));
}

void TestEditFiles::stateTable_data() {
    QTest::addColumn<QString>("event");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    const struct {
        const char* Event;
        int To[4];
    } rows[] = {
        {"New", {0, 0, 0, 0}},           {"Open", {2, 2, 2, 2}},          {"Save", {2, 2, 2, 2}},
        {"SaveAs", {2, 2, 2, 2}},        {"EditStarted", {1, 1, 3, 3}},   {"QuestionAdded", {1, 1, 3, 3}},
        {"Moved", {1, 1, 3, 3}},         {"Deleted", {1, 1, 3, 3}},       {"Renumbered", {1, 1, 3, 3}},
        {"Imported", {1, 1, 3, 3}},      {"ExportSelected", {0, 1, 2, 3}}, {"ExportXml", {0, 1, 2, 3}},
        {"Print", {0, 1, 2, 3}},         {"ConvertFile", {1, 1, 1, 1}},
    };
    for (const auto& r : rows)
        for (int from = 0; from < 4; ++from)
            QTest::addRow("%s from %d", r.Event, from) << QString::fromLatin1(r.Event) << from << r.To[from];
}

void TestEditFiles::stateTable() {
    QFETCH(QString, event);
    QFETCH(int, from);
    QFETCH(int, to);
    TEditorFixture fx;
    const QString doc = fx.WriteQuestions(QStringLiteral("doc.umq"), Qs(3));
    const QString other = fx.WriteQuestions(QStringLiteral("other.umq"), Qs(2, "Other"));
    fx.WriteText(QStringLiteral("old.mcq"), ConvertibleFile(2));
    auto form = fx.Form(doc);
    form->DocumentState = from;
    if (from < 2)
        form->FileName.clear();
    form->SetCaption();
    fx.SaveAnswer = TSaveAnswer::No;
    form->Select(1);
    form->ShowSelectedQuestion();
    form->RefreshControls();

    if (event == "New") {
        form->New1->trigger();
    } else if (event == "Open") {
        fx.FileAnswers = {other};
        form->Open1->trigger();
    } else if (event == "Save") {
        fx.FileAnswers = {fx.Path("saved.umq")};
        form->Save1->trigger();
    } else if (event == "SaveAs") {
        fx.FileAnswers = {fx.Path("savedas.umq")};
        form->SaveAs1->trigger();
    } else if (event == "EditStarted") {
        form->EditBtn->trigger();
    } else if (event == "QuestionAdded") {
        form->NewBtn->trigger();
        form->AnswerButtons->button(2)->setChecked(true);
        form->UpdateBtn->trigger();
        QCOMPARE(form->Count(), 4);
    } else if (event == "Moved") {
        form->UpBtn->trigger();
    } else if (event == "Deleted") {
        form->DeleteBtn->trigger();
        QCOMPARE(form->Count(), 2);
    } else if (event == "Renumbered") {
        form->Renumber1->trigger();
    } else if (event == "Imported") {
        fx.FileAnswers = {other};
        form->Import1->trigger();
        QCOMPARE(form->Count(), 5);
    } else if (event == "ExportSelected") {
        form->SetChecked(0, true);
        fx.FileAnswers = {fx.Path("selected.umq")};
        form->Questionfile1->trigger();
        QVERIFY(QFileInfo::exists(fx.Path("selected.umq")));
    } else if (event == "ExportXml") {
        fx.FileAnswers = {fx.Path("export.xml")};
        form->XML1->trigger();
        QVERIFY(QFileInfo::exists(fx.Path("export.xml")));
    } else if (event == "Print") {
        form->PrinterInstalled = [] { return false; };
        form->PrintAll1->trigger();
    } else if (event == "ConvertFile") {
        fx.FileAnswers = {fx.Path("old.mcq")};
        form->ConvertFile1->trigger();
        QCOMPARE(Texts(*form), QStringList({"Converted 1", "Converted 2"}));
    }
    QCOMPARE(form->DocumentState, to);
    QCOMPARE(form->windowTitle(), EditorCaption(to, form->FileName));
    // A prompt came exactly when the document had changes to lose.
    const bool prompts = event == "New" || event == "Open" || event == "ConvertFile";
    QCOMPARE(fx.SavePrompts.size(), prompts && IsChanged(from) ? 1 : 0);
}

void TestEditFiles::modeTable_data() {
    QTest::addColumn<int>("fromMode");
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("emptyList");
    QTest::addColumn<int>("toMode");
    QTest::addColumn<int>("countChange");
    QTest::newRow("browse NewBtn") << 0 << "NewBtn" << false << 1 << 0;
    QTest::newRow("browse EditBtn") << 0 << "EditBtn" << false << 2 << 0;
    QTest::newRow("browse key, list") << 0 << "key" << false << 2 << 0;
    QTest::newRow("browse key, empty list") << 0 << "key" << true << 1 << 0;
    QTest::newRow("browse mouse, list") << 0 << "mouse" << false << 2 << 0;
    QTest::newRow("browse mouse, empty list") << 0 << "mouse" << true << 1 << 0;
    QTest::newRow("new Update") << 1 << "UpdateBtn" << false << 0 << 1;
    QTest::newRow("new Cancel") << 1 << "CancelBtn" << false << 0 << 0;
    QTest::newRow("new New") << 1 << "New1" << false << 0 << -3;
    QTest::newRow("new Open") << 1 << "Open1" << false << 0 << -1;
    QTest::newRow("new Convert") << 1 << "ConvertFile1" << false << 0 << -1;
    QTest::newRow("edit Update") << 2 << "UpdateBtn" << false << 0 << 0;
    QTest::newRow("edit Cancel") << 2 << "CancelBtn" << false << 0 << 0;
    QTest::newRow("edit New") << 2 << "New1" << false << 0 << -3;
    QTest::newRow("edit Open") << 2 << "Open1" << false << 0 << -1;
    QTest::newRow("edit Convert") << 2 << "ConvertFile1" << false << 0 << -1;
}

void TestEditFiles::modeTable() {
    QFETCH(int, fromMode);
    QFETCH(QString, action);
    QFETCH(bool, emptyList);
    QFETCH(int, toMode);
    QFETCH(int, countChange);
    TEditorFixture fx;
    const QString doc = fx.WriteQuestions(QStringLiteral("doc.umq"), Qs(3));
    const QString two = fx.WriteQuestions(QStringLiteral("two.umq"), Qs(2));
    fx.WriteText(QStringLiteral("old.mcq"), ConvertibleFile(2));
    auto form = fx.Form(emptyList ? QString() : doc);
    if (emptyList)
        form->New1Click();
    if (fromMode == 1)
        form->NewBtn->trigger();
    if (fromMode == 2)
        form->EditBtn->trigger();
    QCOMPARE(form->EditMode, fromMode);
    const int before = form->Count();
    fx.SaveAnswer = TSaveAnswer::No;
    if (action == "key") {
        QTest::keyClick(form->QEdit, Qt::Key_X);
    } else if (action == "mouse") {
        QTest::mouseClick(form->QEdit->viewport(), Qt::LeftButton);
    } else {
        if (action == "UpdateBtn")
            form->AnswerButtons->button(0)->setChecked(true);
        if (action == "Open1")
            fx.FileAnswers = {two};
        if (action == "ConvertFile1")
            fx.FileAnswers = {fx.Path("old.mcq")};
        auto* a = form->findChild<QAction*>(action);
        QVERIFY(a);
        a->trigger();
    }
    QCOMPARE(form->EditMode, toMode);
    QCOMPARE(form->Count(), emptyList ? 0 : before + countChange);

    // Control states by mode.
    const bool browse = toMode == 0;
    QCOMPARE(form->NewBtn->isEnabled(), browse);
    QCOMPARE(form->EditBtn->isEnabled(), browse && form->Count() > 0 && form->Selected() >= 0);
    QCOMPARE(form->UpdateBtn->isEnabled(), !browse);
    QCOMPARE(form->CancelBtn->isEnabled(), !browse);
    QCOMPARE(form->QEdit->isReadOnly(), browse);
    QCOMPARE(form->HTMLBtn->isEnabled(), browse);
    QCOMPARE(form->QListBox->isEnabled(), browse);
    QCOMPARE(form->DeleteBtn->isEnabled(), browse && form->Selected() >= 0);
    if (!browse) {
        QVERIFY(!form->UpBtn->isEnabled());
        QVERIFY(!form->DownBtn->isEnabled());
    }
    QCOMPARE(form->AnswerRG->isEnabled(), !browse);
    QCOMPARE(form->AddPicBtn->isEnabled(), !browse);
    QCOMPARE(form->ClearPicBtn->isEnabled(), !browse);
    QVERIFY(form->TopicListbox->isEnabled());
    const QString label = toMode == 1   ? QStringLiteral("New question")
                          : toMode == 2 ? QStringLiteral("Editing question %1").arg(form->Selected() + 1)
                          : form->Count() > 0 ? QStringLiteral("Browse")
                                              : QString();
    QCOMPARE(form->EditLabel->text(), label);
}

void TestEditFiles::startUp() {
    TEditorFixture fx;
    fx.WriteQuestions(QStringLiteral("questions/mctest.umq"), {Q("First", 2, {0, 3}), Q("Second", 1)});
    auto form = fx.Form();
    QCOMPARE(form->FileName, fx.QuestionFolder() + "/mctest.umq");
    QCOMPARE(form->DocumentState, int(dsNamed));
    QCOMPARE(form->QuestionFolder, fx.QuestionFolder());
    QCOMPARE(form->ImagesFolder, fx.QuestionFolder() + "/images");
    QCOMPARE(form->PictureFolder, form->ImagesFolder);
    QCOMPARE(form->TopicListbox->count(), 5);
    QCOMPARE(form->TopicListbox->item(3)->text(), QStringLiteral("Light"));
    // Question 1 is on show, with its topics and answer.
    QCOMPARE(form->Selected(), 0);
    QCOMPARE(form->QEdit->toPlainText(), QStringLiteral("First"));
    QCOMPARE(form->AnswerButtons->checkedId(), 2);
    QCOMPARE(form->TopicListbox->item(0)->checkState(), Qt::Checked);
    QCOMPARE(form->TopicListbox->item(3)->checkState(), Qt::Checked);
    QCOMPARE(form->TopicListbox->item(1)->checkState(), Qt::Unchecked);
    QCOMPARE(form->StatusPanel0->text(), QStringLiteral("Question 1 of 2"));
    QCOMPARE(form->EditMode, 0);
    QVERIFY(!form->Autosave1->isChecked());
    QVERIFY(fx.Boxes.isEmpty());
    // Without a file the document is new and the picture area is empty.
    TEditorFixture empty;
    auto blank = empty.Form();
    QVERIFY(blank->FileName.isEmpty());
    QCOMPARE(blank->DocumentState, int(dsNew));
    QCOMPARE(blank->Count(), 0);
    QCOMPARE(blank->PicFileLabel->text(), QStringLiteral("File name: "));
    QCOMPARE(blank->PicSizeLabel->text(), QStringLiteral("Size: "));
    QCOMPARE(blank->QPic->size(), QSize(240, 180));
    QCOMPARE(blank->windowTitle(), QStringLiteral("Quarvel - Question Editor - "));
    QCOMPARE(blank->StatusPanel0->text(), QStringLiteral("Question 0 of 0"));
}

void TestEditFiles::topicListEncodings_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("topics");
    const QStringList expected = {QStringLiteral("Energy \u20AC costs"), QStringLiteral("\u201CStars\u201D"),
                                  QStringLiteral("Caf\u00E9 science")};
    QTest::newRow("older 8-bit list") << QByteArray("Energy \x80 costs\r\n\x93Stars\x94\r\nCaf\xE9 science\r\n")
                                      << expected;
    QTest::newRow("UTF-8") << (expected.join("\n") + "\n").toUtf8() << expected;
    // A list that names the replacement character itself is still UTF-8.
    QTest::newRow("UTF-8 holding U+FFFD") << QByteArray("Marks \xEF\xBF\xBD and \xC2\xB0" "C\n")
                                          << QStringList({QStringLiteral("Marks \uFFFD and \u00B0C")});
    QTest::newRow("UTF-8 with byte-order mark") << "\xEF\xBB\xBF" + (expected.join("\r\n")).toUtf8() << expected;
}

void TestEditFiles::topicListEncodings() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, topics);
    TEditorFixture fx;
    fx.WriteText(QStringLiteral("questions/test-topics.txt"), bytes);
    auto form = fx.Form();
    QStringList shown;
    for (int k = 0; k < form->TopicListbox->count(); ++k)
        shown << form->TopicListbox->item(k)->text();
    QCOMPARE(shown, topics);
}

void TestEditFiles::invalidStartFileGivesEmptyDocument() {
    TEditorFixture fx;
    fx.WriteText(QStringLiteral("questions/mctest.umq"), QByteArray("not a question file at all"));
    const QByteArray original = ReadAll(fx.QuestionFolder() + "/mctest.umq");
    auto form = fx.Form();
    QCOMPARE(fx.Boxes.size(), 1);
    QCOMPARE(fx.Boxes[0].Kind, TBoxKind::Error);
    QCOMPARE(fx.Boxes[0].Text, QStringLiteral("mctest.umq\r\nThis is not a valid question file"));
    QCOMPARE(form->Count(), 0);
    QVERIFY(form->FileName.isEmpty());
    QCOMPARE(form->DocumentState, int(dsNew));
    // The teacher carries on, and saving asks for a name instead of using the bad file's.
    form->NewBtn->trigger();
    form->QEdit->setPlainText("A new question");
    form->AnswerButtons->button(0)->setChecked(true);
    form->UpdateBtn->trigger();
    fx.FileAnswers = {};
    QVERIFY(!form->Save1Click());
    QCOMPARE(fx.FileRequests.size(), 1);
    QCOMPARE(fx.FileRequests[0].Kind, TFileDialogKind::Save);
    QCOMPARE(ReadAll(fx.QuestionFolder() + "/mctest.umq"), original);
}

void TestEditFiles::commandLineFile() {
    TEditorFixture fx;
    fx.WriteQuestions(QStringLiteral("questions/mctest.umq"), Qs(4));
    const QString mine = fx.WriteQuestions(QStringLiteral("mine.umq"), Qs(2, "Mine"));
    auto form = fx.Form(mine);
    QCOMPARE(form->FileName, mine);
    QCOMPARE(Texts(*form), QStringList({"Mine1", "Mine2"}));
    QCOMPARE(form->DocumentState, int(dsNamed));
}

void TestEditFiles::savePrompt_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("written");
    QTest::addColumn<bool>("goesOn");
    QTest::newRow("Yes") << int(TSaveAnswer::Yes) << true << true;
    QTest::newRow("No") << int(TSaveAnswer::No) << false << true;
    QTest::newRow("Cancel") << int(TSaveAnswer::Cancel) << false << false;
}

void TestEditFiles::savePrompt() {
    QFETCH(int, answer);
    QFETCH(bool, written);
    QFETCH(bool, goesOn);
    TEditorFixture fx;
    const QString doc = fx.WriteQuestions(QStringLiteral("doc.umq"), Qs(3));
    auto form = fx.Form(doc);
    // An edit in progress is committed by Yes, even without a correct answer.
    form->Select(2);
    form->ShowSelectedQuestion();
    form->EditBtn->trigger();
    form->QEdit->setPlainText(QStringLiteral("Changed while editing"));
    form->SetCorrectAnswer(-1);
    fx.SaveAnswer = TSaveAnswer(answer);
    form->New1->trigger();
    QCOMPARE(fx.SavePrompts, QStringList({doc + " has changed.\r\nDo you want to save the changes?"}));
    const std::vector<TMCQuestion> onDisk = ReadQuestionFile(doc, TReader::Prelox);
    QCOMPARE(onDisk[2].Text, written ? QStringLiteral("Changed while editing") : QStringLiteral("Q3"));
    if (written)
        QCOMPARE(onDisk[2].CorrectAnswer, -1);
    QCOMPARE(form->Count(), goesOn ? 0 : 3);
    QCOMPARE(form->DocumentState, goesOn ? int(dsNew) : int(dsNamedChanged));
    QCOMPARE(form->EditMode, goesOn ? 0 : 2);
}

void TestEditFiles::closing_data() {
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("written");
    QTest::newRow("unchanged, Yes") << 2 << int(TSaveAnswer::Yes) << true << false;
    QTest::newRow("unchanged, No") << 2 << int(TSaveAnswer::No) << false << false;
    QTest::newRow("changed, Yes") << 3 << int(TSaveAnswer::Yes) << true << true;
    QTest::newRow("changed, No") << 3 << int(TSaveAnswer::No) << true << false;
    QTest::newRow("changed, Cancel") << 3 << int(TSaveAnswer::Cancel) << false << false;
}

void TestEditFiles::closing() {
    QFETCH(int, state);
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QFETCH(bool, written);
    TEditorFixture fx;
    const QString doc = fx.WriteQuestions(QStringLiteral("doc.umq"), Qs(3));
    const QByteArray before = ReadAll(doc);
    auto form = fx.Form(doc);
    if (state == 3)
        form->Renumber1->trigger(); // a change that alters nothing on disk but the order
    if (state == 3)
        form->MoveBtnClick(false);
    QCOMPARE(form->DocumentState, state);
    fx.SaveAnswer = TSaveAnswer(answer);
    fx.ConfirmAnswer = answer == int(TSaveAnswer::Yes);
    QCOMPARE(form->close(), closes);
    QCOMPARE(form->isVisible(), !closes);
    if (state == 2) {
        QCOMPARE(fx.BoxTexts(), QStringList({"Close program"}));
        QVERIFY(fx.SavePrompts.isEmpty());
    } else {
        QVERIFY(fx.Boxes.isEmpty());
        QCOMPARE(fx.SavePrompts.size(), 1);
    }
    QCOMPARE(ReadAll(doc) != before, written);
}

void TestEditFiles::updateAfterSaveIsAChange_data() {
    QTest::addColumn<QString>("start");
    QTest::newRow("Edit, Save, Update") << "EditBtn";
    QTest::newRow("New, Save, Update") << "NewBtn";
}

void TestEditFiles::updateAfterSaveIsAChange() {
    QFETCH(QString, start);
    TEditorFixture fx;
    const QString doc = fx.WriteQuestions(QStringLiteral("doc.umq"), Qs(2));
    auto form = fx.Form(doc);
    form->findChild<QAction*>(start)->trigger();
    form->QEdit->setPlainText(QStringLiteral("Typed before saving"));
    form->AnswerButtons->button(2)->setChecked(true);
    // Save writes the list; the edit is still in the working copy.
    form->FileSaveBtn->trigger();
    QCOMPARE(form->DocumentState, int(dsNamed));
    form->UpdateBtn->trigger();
    QCOMPARE(form->EditMode, int(emBrowse));
    QCOMPARE(form->DocumentState, int(dsNamedChanged));
    QCOMPARE(form->windowTitle(), QStringLiteral("Quarvel - Question Editor - *doc.umq"));
    // Closing asks, and Yes writes the edit.
    fx.SaveAnswer = TSaveAnswer::Yes;
    QVERIFY(form->close());
    QCOMPARE(fx.SavePrompts, QStringList({doc + " has changed.\r\nDo you want to save the changes?"}));
    const std::vector<TMCQuestion> written = ReadQuestionFile(doc, TReader::Prelox);
    QCOMPARE(written.size(), std::size_t(start == "NewBtn" ? 3 : 2));
    QCOMPARE(written[start == "NewBtn" ? 2 : 0].Text, QStringLiteral("Typed before saving"));
}

void TestEditFiles::saveAsForcesUmq_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");
    QTest::newRow("other extension") << "bank.txt" << "bank.umq";
    QTest::newRow("no extension") << "bank" << "bank.umq";
    QTest::newRow("capitals") << "bank.UMQ" << "bank.umq";
    QTest::newRow("already umq") << "bank.umq" << "bank.umq";
    QTest::newRow("two dots") << "year 7.magnets.doc" << "year 7.magnets.umq";
}

void TestEditFiles::saveAsForcesUmq() {
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    TEditorFixture fx;
    auto form = fx.Form();
    form->NewBtn->trigger();
    form->AnswerButtons->button(1)->setChecked(true);
    form->UpdateBtn->trigger();
    QCOMPARE(form->DocumentState, int(dsNewChanged));
    // A new document always asks for a name, starting in the question folder.
    fx.FileAnswers = {fx.Path(typed)};
    QVERIFY(form->Save1Click());
    QCOMPARE(fx.FileRequests.size(), 1);
    QCOMPARE(fx.FileRequests[0].Title, QStringLiteral("Save question file as"));
    QCOMPARE(fx.FileRequests[0].Filter, QStringLiteral("Multiple choice questions (*.umq)|*.umq"));
    QCOMPARE(fx.FileRequests[0].Folder, fx.QuestionFolder());
    QCOMPARE(form->FileName, fx.Path(saved));
    QCOMPARE(form->DocumentState, int(dsNamed));
    QCOMPARE(ReadQuestionFile(fx.Path(saved), TReader::Vantrel).size(), std::size_t(1));
    if (typed != saved)
        QVERIFY(!QFileInfo::exists(fx.Path(typed)));
}

void TestEditFiles::oldLayoutSavedWithoutLegacyValues() {
    TEditorFixture fx;
    fx.WriteText(QStringLiteral("old.umq"), OldFile({{11, 22, 33, 44}, {-5, 6, 7, 8}}));
    auto form = fx.Form(fx.Path("old.umq"));
    QCOMPARE(form->Count(), 2);
    QCOMPARE(form->Question(0)->LegacyValues, (std::array<std::int32_t, 4>{11, 22, 33, 44}));
    QCOMPARE(form->DocumentState, int(dsNamed));
    QVERIFY(form->Save1Click());
    const QByteArray bytes = ReadAll(fx.Path("old.umq"));
    TLEReader in(bytes);
    QCOMPARE(in.ReadInt32(), kQuestionTag);
    const std::vector<TMCQuestion> back = ReadQuestionFile(fx.Path("old.umq"), TReader::Vantrel);
    QCOMPARE(back.size(), std::size_t(2));
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(back[i].Text, QStringLiteral("Old question %1").arg(i + 1));
        QCOMPARE(back[i].CorrectAnswer, i);
        QCOMPARE(back[i].Answers, QStringList({"answer 0", "answer 1", "answer 2", "answer 3", ""}));
        QCOMPARE(back[i].TopicAreas, TTopicSet(0b101));
        QCOMPARE(back[i].LegacyValues, (std::array<std::int32_t, 4>{}));
    }
    // Nothing else is in the file: exactly the current layout of those questions.
    QCOMPARE(bytes, QuestionFileBytes(back));
}

void TestEditFiles::failedOpenKeepsDocument() {
    TEditorFixture fx;
    const QString doc = fx.WriteQuestions(QStringLiteral("doc.umq"), Qs(3));
    const QByteArray before = ReadAll(doc);
    fx.WriteText(QStringLiteral("wrongtag.umq"), QByteArray::fromHex("0100000000000000"));
    std::vector<TMCQuestion> cut = Qs(2);
    fx.WriteText(QStringLiteral("short.umq"), QuestionFileBytes(cut).left(60));
    auto form = fx.Form(doc);
    form->MoveBtnClick(false); // Q2 Q1 Q3, changed
    const QStringList texts = Texts(*form);
    for (const QString& bad : {fx.Path("wrongtag.umq"), fx.Path("short.umq"), fx.Path("missing.umq")}) {
        fx.Boxes.clear();
        fx.FileAnswers = {bad};
        fx.SaveAnswer = TSaveAnswer::No;
        form->Open1->trigger();
        QCOMPARE(fx.Boxes.size(), 1);
        QCOMPARE(fx.Boxes[0].Kind, TBoxKind::Error);
        QCOMPARE(Texts(*form), texts);
        QCOMPARE(form->FileName, doc);
        QCOMPARE(form->DocumentState, int(dsNamedChanged));
    }
    QCOMPARE(fx.Boxes[0].Text.isEmpty(), false);
    // A later Save writes the list on show, never an empty one.
    QVERIFY(form->Save1Click());
    QCOMPARE(ReadQuestionFile(doc, TReader::Prelox).size(), std::size_t(3));
    QVERIFY(ReadAll(doc) != before);
}

void TestEditFiles::failedSaveKeepsOldFile_data() {
    QTest::addColumn<QString>("where");
    QTest::newRow("read-only location") << "read-only";
    QTest::newRow("full disk") << "full";
}

void TestEditFiles::failedSaveKeepsOldFile() {
    QFETCH(QString, where);
    TEditorFixture fx;
    const QString doc = fx.WriteQuestions(QStringLiteral("doc.umq"), Qs(3));
    const QByteArray before = ReadAll(doc);
    auto form = fx.Form(doc);
    // Enough text that the file cannot fit in what the disk has left.
    for (int i = 0; i < 3; ++i)
        form->Question(i)->Text = QString(4000, QLatin1Char('x'));
    form->Renumber1Click();
    QCOMPARE(form->DocumentState, int(dsNamedChanged));
    bool ok = true;
    if (where == "read-only") {
        // A folder nobody may write to, root included: /proc.
        ok = form->SaveToFile(QStringLiteral("/proc/questions.umq"));
        QCOMPARE(form->FileName, doc);
    } else {
        // A full disk: the system refuses to let the file grow past 4 KiB.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 4096;
        setrlimit(RLIMIT_FSIZE, &small);
        ok = form->Save1Click();
        setrlimit(RLIMIT_FSIZE, &old);
    }
    QVERIFY(!ok);
    QCOMPARE(ReadAll(doc), before);
    QCOMPARE(form->DocumentState, int(dsNamedChanged));
    QCOMPARE(fx.Boxes.size(), 1);
    QCOMPARE(fx.Boxes[0].Kind, TBoxKind::Error);
    QVERIFY2(fx.Boxes[0].Text.startsWith("Cannot write "), qPrintable(fx.Boxes[0].Text));
    // No half-written file is left beside the old one.
    QCOMPARE(QDir(fx.Program()).entryList(QDir::Files), QStringList({"doc.umq"}));
}

void TestEditFiles::importNumbering() {
    TEditorFixture fx;
    const QString doc = fx.WriteQuestions(QStringLiteral("doc.umq"), Qs(3));
    const QString more = fx.WriteQuestions(QStringLiteral("more.umq"), Qs(2, "More"));
    auto form = fx.Form(doc);
    form->Select(2);
    fx.FileAnswers = {more};
    form->Import1->trigger();
    QCOMPARE(fx.FileRequests.size(), 1);
    QCOMPARE(fx.FileRequests[0].Folder, fx.QuestionFolder());
    QCOMPARE(Captions(*form), QStringList({"Question 1", "Question 2", "Question 3", "Question 4", "Question 5"}));
    QCOMPARE(Texts(*form), QStringList({"Q1", "Q2", "Q3", "More1", "More2"}));
    QCOMPARE(form->FileName, doc);
    QCOMPARE(form->DocumentState, int(dsNamedChanged));
    QCOMPARE(form->Selected(), 0);
    // A file that fails adds nothing.
    fx.WriteText(QStringLiteral("bad.umq"), QByteArray("junk junk junk"));
    fx.FileAnswers = {fx.Path("bad.umq")};
    form->Import1->trigger();
    QCOMPARE(form->Count(), 5);
    QCOMPARE(fx.BoxTexts(), QStringList({"bad.umq\r\nThis is not a valid question file"}));
}

void TestEditFiles::importRefusedWhileEditing_data() {
    QTest::addColumn<QString>("mode");
    QTest::newRow("new question") << "NewBtn";
    QTest::newRow("editing") << "EditBtn";
}

void TestEditFiles::importRefusedWhileEditing() {
    QFETCH(QString, mode);
    TEditorFixture fx;
    const QString doc = fx.WriteQuestions(QStringLiteral("doc.umq"), Qs(3));
    const QString more = fx.WriteQuestions(QStringLiteral("more.umq"), Qs(2, "More"));
    auto form = fx.Form(doc);
    form->Select(1);
    form->ShowSelectedQuestion();
    form->findChild<QAction*>(mode)->trigger();
    form->QEdit->setPlainText(QStringLiteral("half written"));
    fx.FileAnswers = {more};
    form->Import1->trigger();
    QCOMPARE(form->Count(), 3);
    QVERIFY(fx.FileRequests.isEmpty());
    QCOMPARE(fx.Boxes.size(), 1);
    QCOMPARE(fx.Boxes[0].Kind, TBoxKind::Information);
    // The edit goes on untouched and commits where it belongs.
    QCOMPARE(form->QEdit->toPlainText(), QStringLiteral("half written"));
    form->AnswerButtons->button(0)->setChecked(true);
    form->UpdateBtn->trigger();
    if (mode == "EditBtn") {
        QCOMPARE(Texts(*form), QStringList({"Q1", "half written", "Q3"}));
    } else {
        QCOMPARE(Texts(*form), QStringList({"Q1", "Q2", "Q3", "half written"}));
    }
}

void TestEditFiles::convertAsksForNewName() {
    TEditorFixture fx;
    fx.WriteText(QStringLiteral("year7.mcq"), ConvertibleFile(3));
    const QByteArray old = ReadAll(fx.Path("year7.mcq"));
    const QString doc = fx.WriteQuestions(QStringLiteral("doc.umq"), Qs(2));
    auto form = fx.Form(doc);
    fx.FileAnswers = {fx.Path("year7.mcq")};
    form->ConvertFile1->trigger();
    QCOMPARE(fx.FileRequests[0].Filter, QStringLiteral("All question files(*.mq;*.mcq;*.kpq))|*.mq;*.mcq;*.kpq"));
    QCOMPARE(Captions(*form), QStringList({"Question 1", "Question 2", "Question 3"}));
    QCOMPARE(form->Question(2)->Answers, QStringList({"yes", "no"}));
    QCOMPARE(form->FileName, fx.Path("year7.mcq"));
    QCOMPARE(form->DocumentState, int(dsNewChanged));
    QCOMPARE(form->windowTitle(), QStringLiteral("Quarvel - Question Editor - *year7.mcq"));
    QCOMPARE(form->Selected(), 0);
    // Save asks, offering the converted file's name with the current extension.
    fx.FileAnswers = {};
    QVERIFY(!form->Save1Click());
    QCOMPARE(fx.FileRequests.size(), 2);
    QCOMPARE(fx.FileRequests[1].Kind, TFileDialogKind::Save);
    QCOMPARE(fx.FileRequests[1].ProposedName, QStringLiteral("year7.umq"));
    QCOMPARE(ReadAll(fx.Path("year7.mcq")), old);
    fx.FileAnswers = {fx.Path("year7.umq")};
    QVERIFY(form->Save1Click());
    QCOMPARE(ReadAll(fx.Path("year7.mcq")), old);
    QCOMPARE(ReadQuestionFile(fx.Path("year7.umq"), TReader::Vantrel).size(), std::size_t(3));
    QCOMPARE(form->DocumentState, int(dsNamed));
}

void TestEditFiles::moveAtEnds_data() {
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("after");
    QTest::newRow("up on the first") << 0 << true << QStringList({"Q1", "Q2", "Q3"}) << 0;
    QTest::newRow("down on the last") << 2 << false << QStringList({"Q1", "Q2", "Q3"}) << 2;
    QTest::newRow("up in the middle") << 1 << true << QStringList({"Q2", "Q1", "Q3"}) << 0;
    QTest::newRow("down in the middle") << 1 << false << QStringList({"Q1", "Q3", "Q2"}) << 2;
}

void TestEditFiles::moveAtEnds() {
    QFETCH(int, selected);
    QFETCH(bool, up);
    QFETCH(QStringList, texts);
    QFETCH(int, after);
    TEditorFixture fx;
    auto form = fx.Form(fx.WriteQuestions(QStringLiteral("doc.umq"), Qs(3)));
    QTest::mouseClick(form->QListBox->viewport(), Qt::LeftButton, {},
                      form->QListBox->visualItemRect(form->QListBox->item(selected)).center());
    QCOMPARE(form->Selected(), selected);
    QCOMPARE(form->UpBtn->isEnabled(), selected > 0);
    QCOMPARE(form->DownBtn->isEnabled(), selected < 2);
    form->MoveBtnClick(up);
    QCOMPARE(Texts(*form), texts);
    QCOMPARE(form->Selected(), after);
    const bool moved = after != selected;
    QCOMPARE(form->DocumentState, moved ? int(dsNamedChanged) : int(dsNamed));
    // Captions travel with their questions until Renumber.
    if (moved)
        QCOMPARE(form->Item(after)->text(), QStringLiteral("Question %1").arg(selected + 1));
    QCOMPARE(form->UpBtn->isEnabled(), after > 0);
    QCOMPARE(form->DownBtn->isEnabled(), after < 2);
}

void TestEditFiles::deleting() {
    TEditorFixture fx;
    auto form = fx.Form(fx.WriteQuestions(QStringLiteral("doc.umq"), Qs(3)));
    // No keeps the question.
    form->Select(1);
    fx.ConfirmAnswer = false;
    form->DeleteBtn->trigger();
    QCOMPARE(fx.BoxTexts(), QStringList({"Delete the selected question?"}));
    QCOMPARE(form->Count(), 3);
    QCOMPARE(form->DocumentState, int(dsNamed));
    // The Delete key deletes, and the next question takes the place.
    fx.ConfirmAnswer = true;
    form->QListBox->setFocus();
    QTest::keyClick(form->QListBox, Qt::Key_Delete);
    QCOMPARE(Texts(*form), QStringList({"Q1", "Q3"}));
    QCOMPARE(form->Selected(), 1);
    QCOMPARE(form->QEdit->toPlainText(), QStringLiteral("Q3"));
    QCOMPARE(form->DocumentState, int(dsNamedChanged));
    // Deleting the last question leaves nothing selected.
    form->DocumentState = dsNamed;
    form->DeleteBtn->trigger();
    QCOMPARE(Texts(*form), QStringList({"Q1"}));
    QCOMPARE(form->Selected(), -1);
    QCOMPARE(form->DocumentState, int(dsNamedChanged));
    QVERIFY(!form->DeleteBtn->isEnabled());
    QVERIFY(!form->EditBtn->isEnabled());
    QCOMPARE(form->QEdit->toPlainText(), QString());
    QCOMPARE(form->StatusPanel0->text(), QStringLiteral("Question 0 of 1"));
    // Nothing selected: Delete does nothing and asks nothing.
    fx.Boxes.clear();
    form->DeleteBtnClick();
    QVERIFY(fx.Boxes.isEmpty());
    QCOMPARE(form->Count(), 1);
}

void TestEditFiles::renumberAndChecks() {
    TEditorFixture fx;
    auto form = fx.Form(fx.WriteQuestions(QStringLiteral("doc.umq"), Qs(3)));
    form->Select(2);
    form->MoveBtnClick(true);
    QCOMPARE(Captions(*form), QStringList({"Question 1", "Question 3", "Question 2"}));
    form->DocumentState = dsNamed;
    form->Renumber1->trigger();
    QCOMPARE(Captions(*form), QStringList({"Question 1", "Question 2", "Question 3"}));
    QCOMPARE(form->DocumentState, int(dsNamedChanged));
    form->DocumentState = dsNamed;
    form->CheckAll1->trigger();
    for (int i = 0; i < 3; ++i)
        QVERIFY(form->IsChecked(i));
    form->Clearchecks1->trigger();
    for (int i = 0; i < 3; ++i)
        QVERIFY(!form->IsChecked(i));
    // Check marks are not part of the file.
    QCOMPARE(form->DocumentState, int(dsNamed));
}

void TestEditFiles::menusFollowTheList() {
    TEditorFixture fx;
    auto form = fx.Form();
    auto menuState = [&] {
        form->File1Popup();
        form->Print1Popup();
        form->Questions1Popup();
        return QList<bool>{form->Save1->isEnabled(),        form->SaveAs1->isEnabled(),
                           form->Import1->isEnabled(),      form->Questionfile1->isEnabled(),
                           form->Print1->isEnabled(),       form->PrintAll1->isEnabled(),
                           form->PrintSelected1->isEnabled(), form->CheckAll1->isEnabled(),
                           form->Clearchecks1->isEnabled(), form->Renumber1->isEnabled(),
                           form->Spellcheck1->isEnabled()};
    };
    QCOMPARE(menuState(), (QList<bool>{false, false, false, false, false, false, false, false, false, false, false}));
    QVERIFY(form->FileSaveBtn->isEnabled());
    QVERIFY(form->New1->isEnabled() && form->Open1->isEnabled() && form->ConvertFile1->isEnabled() &&
            form->XML1->isEnabled() && form->PrintSetup1->isEnabled() && form->Spellcheck2->isEnabled());
    form->OpenFile(fx.WriteQuestions(QStringLiteral("doc.umq"), Qs(3)));
    QCOMPARE(menuState(), (QList<bool>{true, true, true, false, true, true, false, true, false, true, true}));
    form->SetChecked(1, true);
    QCOMPARE(menuState(), (QList<bool>{true, true, true, true, true, true, true, true, true, true, true}));
    form->CheckAll1Click();
    QCOMPARE(menuState(), (QList<bool>{true, true, true, true, true, true, true, false, true, true, true}));
    form->EditBtn->trigger();
    QVERIFY(!form->Spellcheck1->isEnabled());
}

void TestEditFiles::exportXmlOfChecked() {
    TEditorFixture fx;
    std::vector<TMCQuestion> five = Qs(5);
    five[3].Text = QStringLiteral("Is 2 < 3 & \"true\"?");
    five[3].Answers = {QStringLiteral("yes\r\n"), QStringLiteral("\r\n"), QString(), QStringLiteral("no"), QString()};
    auto form = fx.Form(fx.WriteQuestions(QStringLiteral("doc.umq"), five));
    form->SetChecked(1, true);
    form->SetChecked(3, true);
    fx.FileAnswers = {fx.Path("quiz.txt")};
    form->XML1->trigger();
    QCOMPARE(fx.FileRequests[0].Filter, QStringLiteral("XML file(*.xml)|*.xml"));
    const QByteArray xml = ReadAll(fx.Path("quiz.xml"));
    QVERIFY(!QFileInfo::exists(fx.Path("quiz.txt")));
    const QByteArray expected =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<quiz>\r\n"
        "<question>\r\n<qtext value=\"Q2\"/>\r\n<correct value=\"1\"/>\r\n<picture pfile=\"\"/>\r\n"
        "<answer value=\"Q2 a\"/>\r\n<answer value=\"Q2 b\"/>\r\n<answer value=\"Q2 c\"/>\r\n"
        "<answer value=\"Q2 d\"/>\r\n</question>\r\n"
        "<question>\r\n<qtext value=\"Is 2 &lt; 3 &amp; &quot;true&quot;?\"/>\r\n<correct value=\"3\"/>\r\n"
        "<picture pfile=\"\"/>\r\n<answer value=\"yes\"/>\r\n<answer value=\"no\"/>\r\n</question>\r\n"
        "</quiz>\r\n";
    QCOMPARE(xml, expected);
    QCOMPARE(xml.count("<question>"), 2);
    // With nothing checked the quiz is empty; state never changes.
    form->Clearchecks1Click();
    QVERIFY(form->ExportXmlTo(fx.Path("empty.xml")));
    QCOMPARE(ReadAll(fx.Path("empty.xml")),
             QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<quiz>\r\n</quiz>\r\n"));
    QCOMPARE(form->DocumentState, int(dsNamed));
}

void TestEditFiles::exportSelected() {
    TEditorFixture fx;
    const QString doc = fx.WriteQuestions(QStringLiteral("doc.umq"), Qs(5));
    auto form = fx.Form(doc);
    form->MoveBtnClick(false); // Q2 Q1 Q3 Q4 Q5
    form->SetChecked(0, true);
    form->SetChecked(4, true);
    form->SetChecked(2, true);
    fx.FileAnswers = {fx.Path("picked.dat")};
    form->Questionfile1->trigger();
    const std::vector<TMCQuestion> picked = ReadQuestionFile(fx.Path("picked.umq"), TReader::Vantrel);
    QCOMPARE(picked.size(), std::size_t(3));
    QCOMPARE(picked[0].Text, QStringLiteral("Q2"));
    QCOMPARE(picked[1].Text, QStringLiteral("Q3"));
    QCOMPARE(picked[2].Text, QStringLiteral("Q5"));
    QCOMPARE(form->FileName, doc);
    QCOMPARE(form->DocumentState, int(dsNamedChanged));
}

void TestEditFiles::exportsAskBeforeReplacing_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("replace");
    QTest::newRow("XML, Yes") << "XML1" << "quiz" << "quiz.xml" << true;
    QTest::newRow("XML, No") << "XML1" << "quiz.txt" << "quiz.xml" << false;
    QTest::newRow("selected questions, Yes") << "Questionfile1" << "picked" << "picked.umq" << true;
    QTest::newRow("selected questions, No") << "Questionfile1" << "picked.dat" << "picked.umq" << false;
}

void TestEditFiles::exportsAskBeforeReplacing() {
    QFETCH(QString, command);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(bool, replace);
    TEditorFixture fx;
    auto form = fx.Form(fx.WriteQuestions(QStringLiteral("doc.umq"), Qs(3)));
    form->SetChecked(1, true);
    const QByteArray old("an earlier file the teacher keeps");
    fx.WriteText(written, old);
    fx.ConfirmAnswer = replace;
    fx.FileAnswers = {fx.Path(typed)};
    form->findChild<QAction*>(command)->trigger();
    // The dialog checked the typed name; the name written is asked about here.
    QCOMPARE(fx.BoxTexts(), QStringList({fx.Path(written) + " already exists.\r\nDo you want to replace it?"}));
    QCOMPARE(fx.Boxes[0].Kind, TBoxKind::Confirmation);
    QCOMPARE(ReadAll(fx.Path(written)) == old, !replace);
    QVERIFY(!QFileInfo::exists(fx.Path(typed)));
    // A name that needs no extension is left to the dialog alone.
    fx.Boxes.clear();
    fx.FileAnswers = {fx.Path(written)};
    form->findChild<QAction*>(command)->trigger();
    QVERIFY(fx.Boxes.isEmpty());
    QVERIFY(ReadAll(fx.Path(written)) != old);
}

void TestEditFiles::printing() {
    TEditorFixture fx;
    auto form = fx.Form(fx.WriteQuestions(QStringLiteral("doc.umq"), Qs(4)));
    form->SetChecked(1, true);
    form->SetChecked(3, true);
    // All questions are numbered by their place, the checked ones 1, 2, ...
    const QString all = form->PrintPage(false);
    QString expected = PrintPageHead();
    for (int i = 0; i < 4; ++i)
        expected += PrintEntry(*form->Question(i), i + 1);
    QCOMPARE(all, expected + "</body></html>");
    QCOMPARE(form->PrintPage(true), PrintPageHead() + PrintEntry(*form->Question(1), 1) +
                                        PrintEntry(*form->Question(3), 2) + "</body></html>");
    form->PrinterInstalled = [] { return false; };
    form->PrintAll1->trigger();
    QCOMPARE(fx.BoxTexts(), QStringList({"No printer installed"}));
    // With a printer the page goes to a print preview.
    form->PrinterInstalled = [] { return true; };
    form->PrintSelected1->trigger();
    QPrintPreviewDialog* preview = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((preview = form->findChild<QPrintPreviewDialog*>()) != nullptr, 20000);
    QVERIFY(preview->isVisible());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    preview->close();
    QCOMPARE(form->DocumentState, int(dsNamed));
}

void TestEditFiles::colourScheme_data() {
    QTest::addColumn<QVariant>("skin");
    QTest::addColumn<QString>("applied");
    QTest::newRow("Vantrel's skin") << QVariant(QStringLiteral("Office 2007 Black")) << "Office 2007 Black";
    QTest::newRow("no setting") << QVariant() << "Office 2007 Blue";
    QTest::newRow("unknown name") << QVariant(QStringLiteral("Paisley")) << "Office 2007 Blue";
}

void TestEditFiles::colourScheme() {
    QFETCH(QVariant, skin);
    QFETCH(QString, applied);
    {
        QSettings s(QStringLiteral("Brantock"), QStringLiteral("Quarvel"));
        s.clear();
        if (skin.isValid())
            s.setValue(QStringLiteral("Skin"), skin);
    }
    TEditorFixture fx;
    auto form = fx.Form();
    QCOMPARE(QApplication::palette().color(QPalette::Window), QColor(FindSkin(applied)->Window));
    // Prelox only reads the setting.
    QCOMPARE(QSettings(QStringLiteral("Brantock"), QStringLiteral("Quarvel")).value(QStringLiteral("Skin")), skin);
    QSettings(QStringLiteral("Brantock"), QStringLiteral("Quarvel")).clear();
}

void TestEditFiles::helpEntries() {
    TEditorFixture fx;
    {
        auto form = fx.Form();
        QVERIFY(!form->Contents1->isEnabled());
        QVERIFY(!form->SearchforHelpOn1->isEnabled());
    }
    QDir(fx.Program()).mkpath(QStringLiteral("Help"));
    fx.WriteText(QStringLiteral("Help/Pellinor.chm"), "help");
    auto form = fx.Form();
    QVERIFY(form->Contents1->isEnabled());
    QVERIFY(form->SearchforHelpOn1->isEnabled());
    QSignalSpy spy(form.get(), &TEditFrm::HelpRequested);
    form->Contents1->trigger();
    form->SearchforHelpOn1->trigger();
    QCOMPARE(spy.size(), 2);
    QCOMPARE(spy[0][0].toString(), fx.Path("Help/Pellinor.chm"));
    QCOMPARE(spy[0][1].toBool(), false);
    QCOMPARE(spy[1][1].toBool(), true);
}

void TestEditFiles::about() {
    TEditorFixture fx;
    auto form = fx.Form();
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("About"));
        auto* version = dialog->findChild<QLabel*>(QStringLiteral("VersionLabel"));
        QVERIFY(version);
        QCOMPARE(version->text(), QStringLiteral("Version 1.0.0.0"));
        QStringList texts;
        for (QLabel* l : dialog->findChildren<QLabel*>())
            texts << l->text();
        QVERIFY(texts.contains(QStringLiteral("Quarvel - Question Editor")));
        dialog->accept();
    });
    form->About1->trigger();
}

QUARVEL_EDITOR_TEST_MAIN(TestEditFiles)
#include "tst_editfiles.moc"
