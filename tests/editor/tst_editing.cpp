// Editing one question: the working copy, pages and their keys, Update and
// Cancel, topic boxes, pictures and the images folder, the preview and the
// two spelling passes, as the teacher meets them in the window.

#include "editortest.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabBar>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace quarvel;
using namespace quarvel::test;

namespace {
void CtrlKey(TEditFrm& form, Qt::Key key) { QTest::keyClick(form.QEdit, key, Qt::ControlModifier); }

QString SavePicture(const QString& path, QSize size, QColor colour) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    if (!img.save(path))
        qFatal("cannot save %s", qPrintable(path));
    return path;
}

// Runs script in the preview and waits for its answer.
QVariant RunJs(QWebEngineView* view, const QString& script) {
    QVariant result;
    bool done = false;
    view->page()->runJavaScript(script, [&](const QVariant& v) {
        result = v;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000))
        return QStringLiteral("timed out");
    return result;
}
} // namespace

class TestEditing : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void answersOnlyOnBAndD();
    void pageKeys_data();
    void pageKeys();
    void updateWithoutCorrectAnswer_data();
    void updateWithoutCorrectAnswer();
    void cancelLeavesQuestion();
    void topicBoxes();
    void autoSave_data();
    void autoSave();
    void showPicture_data();
    void showPicture();
    void emptyPictureSign();
    void pictureAlreadyInImagesFolder();
    void pictureCopiedIntoImagesFolder_data();
    void pictureCopiedIntoImagesFolder();
    void pictureCopyFails();
    void answerLinks_data();
    void answerLinks();
    void preview();
    void previewFollowsOrdinaryLinks();
    void previewAfterOpeningElsewhere();
    void deletingLastQuestionClearsEditor_data();
    void deletingLastQuestionClearsEditor();
    void singleSpellingPassReturnsToPage_data();
    void singleSpellingPassReturnsToPage();
    void spellingAllQuestions();
    void spellingAllRefusedWhileEditing();

private:
    std::unique_ptr<TEditorFixture> m_fx;
    QStringList m_asked;
};

void TestEditing::init() {
    m_fx = std::make_unique<TEditorFixture>();
    m_asked.clear();
    TSpeller& s = SharedSpeller();
    if (!s.IsLoaded())
        s.Load({QStringLiteral("/usr/share/hunspell")}, QStringLiteral("en_GB"));
}

void TestEditing::cleanup() {
    SetSpellAnswerer(nullptr);
    m_fx.reset();
}

void TestEditing::answersOnlyOnBAndD() {
    auto form = m_fx->Form();
    QCOMPARE(form->Count(), 0);
    // Typing into the empty list starts a new question.
    form->QEdit->setFocus();
    QTest::keyClicks(form->QEdit, "Which is a magnet?");
    QCOMPARE(form->EditMode, int(emNew));
    CtrlKey(*form, Qt::Key_Right); // A stays empty
    CtrlKey(*form, Qt::Key_Right);
    QCOMPARE(form->QTab->currentIndex(), 2);
    QTest::keyClicks(form->QEdit, "iron bar");
    CtrlKey(*form, Qt::Key_Right);
    CtrlKey(*form, Qt::Key_Right);
    QTest::keyClicks(form->QEdit, "steel bar");
    form->AnswerButtons->button(1)->click();
    form->UpdateBtn->trigger();
    QCOMPARE(form->EditMode, int(emBrowse));
    QCOMPARE(form->Count(), 1);
    const TMCQuestion* q = form->Question(0);
    QCOMPARE(q->Text, QStringLiteral("Which is a magnet?"));
    QCOMPARE(q->Answers, QStringList({"", "iron bar", "", "steel bar", ""}));
    QCOMPARE(q->CorrectAnswer, 1);
    QCOMPARE(form->Item(0)->text(), QStringLiteral("Question 1"));
    QCOMPARE(form->Selected(), 0);
    // The pupil's page offers B and D only.
    const QString page = form->PreviewHtml();
    QCOMPARE(page, QuestionPage(*q, 1));
    QCOMPARE(page.count("<div class=\"ans\">"), 2);
    QVERIFY(page.contains("<a href=\"B\">"));
    QVERIFY(page.contains("<a href=\"D\">"));
    for (const char* missing : {"<a href=\"A\">", "<a href=\"C\">", "<a href=\"E\">"})
        QVERIFY(!page.contains(QLatin1String(missing)));
}

void TestEditing::pageKeys_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<bool>("right");
    QTest::addColumn<int>("to");
    QTest::newRow("Ctrl+Right on Answer E") << 5 << true << 5;
    QTest::newRow("Ctrl+Left on Question text") << 0 << false << 0;
    QTest::newRow("Ctrl+Right on Answer C") << 3 << true << 4;
    QTest::newRow("Ctrl+Left on Answer A") << 1 << false << 0;
}

void TestEditing::pageKeys() {
    QFETCH(int, from);
    QFETCH(bool, right);
    QFETCH(int, to);
    auto form = m_fx->Form(m_fx->WriteQuestions(QStringLiteral("doc.umq"), Qs(2)));
    form->EditBtn->trigger();
    form->SetPage(from);
    form->QEdit->setPlainText(QStringLiteral("typed on %1").arg(from));
    CtrlKey(*form, right ? Qt::Key_Right : Qt::Key_Left);
    QCOMPARE(form->QTab->currentIndex(), to);
    QCOMPARE(form->CurrentPage(), to);
    if (to == from) {
        // Nothing moved, and the text box kept what was typed.
        QCOMPARE(form->QEdit->toPlainText(), QStringLiteral("typed on %1").arg(from));
        return;
    }
    // The page left was stored in the working copy, the new one shown from it.
    const QString expected = to == 0 ? QStringLiteral("Q1") : QStringLiteral("Q1 %1").arg(QChar('a' + to - 1));
    QCOMPARE(form->QEdit->toPlainText(), expected);
    CtrlKey(*form, right ? Qt::Key_Left : Qt::Key_Right);
    QCOMPARE(form->QEdit->toPlainText(), QStringLiteral("typed on %1").arg(from));
    // ... and not yet in the list.
    QCOMPARE(from == 0 ? form->Question(0)->Text : form->Question(0)->GetAnswer(from - 1),
             from == 0 ? QStringLiteral("Q1") : QStringLiteral("Q1 %1").arg(QChar('a' + from - 1)));
}

void TestEditing::updateWithoutCorrectAnswer_data() {
    QTest::addColumn<bool>("newQuestion");
    QTest::newRow("new question") << true;
    QTest::newRow("question without answer") << false;
}

void TestEditing::updateWithoutCorrectAnswer() {
    QFETCH(bool, newQuestion);
    std::vector<TMCQuestion> qs = Qs(2);
    qs[1].CorrectAnswer = -1;
    auto form = m_fx->Form(m_fx->WriteQuestions(QStringLiteral("doc.umq"), qs));
    form->Select(1);
    form->ShowSelectedQuestion();
    form->findChild<QAction*>(newQuestion ? "NewBtn" : "EditBtn")->trigger();
    form->QEdit->setPlainText(QStringLiteral("Not yet"));
    const int mode = form->EditMode;
    form->UpdateBtn->trigger();
    QCOMPARE(m_fx->Boxes.size(), 1);
    QCOMPARE(m_fx->Boxes[0].Kind, TBoxKind::Information);
    QVERIFY(m_fx->Boxes[0].Text.endsWith(QLatin1String("\r\nCorrect answer not set.")));
    QCOMPARE(form->EditMode, mode);
    QCOMPARE(Texts(*form), QStringList({"Q1", "Q2"}));
    QCOMPARE(form->QEdit->toPlainText(), QStringLiteral("Not yet"));
    // Choosing the answer then commits.
    form->AnswerButtons->button(4)->click();
    form->UpdateBtn->trigger();
    QCOMPARE(form->EditMode, int(emBrowse));
    QCOMPARE(Texts(*form), newQuestion ? QStringList({"Q1", "Q2", "Not yet"}) : QStringList({"Q1", "Not yet"}));
    QCOMPARE(form->Question(form->Selected())->CorrectAnswer, 4);
}

void TestEditing::cancelLeavesQuestion() {
    std::vector<TMCQuestion> qs = {Q("Original", 2, {1}, "moon.png"), Q("Other", 0)};
    auto form = m_fx->Form(m_fx->WriteQuestions(QStringLiteral("doc.umq"), qs));
    const TMCQuestion before = *form->Question(0);
    form->EditBtn->trigger();
    form->QEdit->setPlainText(QStringLiteral("Changed text"));
    form->SetPage(2);
    form->QEdit->setPlainText(QStringLiteral("Changed B"));
    form->AnswerButtons->button(4)->click();
    form->TopicListbox->item(3)->setCheckState(Qt::Checked);
    form->ClearPicBtnClick();
    form->CancelBtn->trigger();
    const TMCQuestion& after = *form->Question(0);
    QCOMPARE(after.Text, before.Text);
    QCOMPARE(after.Answers, before.Answers);
    QCOMPARE(after.CorrectAnswer, before.CorrectAnswer);
    QCOMPARE(after.TopicAreas, before.TopicAreas);
    QCOMPARE(after.Picture, before.Picture);
    // The window shows the list question again, from its first page.
    QCOMPARE(form->EditMode, int(emBrowse));
    QCOMPARE(form->QTab->currentIndex(), 0);
    QCOMPARE(form->QEdit->toPlainText(), QStringLiteral("Original"));
    QCOMPARE(form->AnswerButtons->checkedId(), 2);
    QCOMPARE(form->TopicListbox->item(3)->checkState(), Qt::Unchecked);
    QCOMPARE(form->PictureName, QStringLiteral("moon.png"));
}

void TestEditing::topicBoxes() {
    auto form = m_fx->Form(m_fx->WriteQuestions(QStringLiteral("doc.umq"), {Q("Has topic 1", 0, {1})}));
    QCOMPARE(form->TopicListbox->item(1)->checkState(), Qt::Checked);
    form->NewBtn->trigger();
    // The boxes keep their ticks for the new question; the teacher sets them.
    QCOMPARE(form->TopicListbox->item(1)->checkState(), Qt::Checked);
    form->TopicListbox->item(1)->setCheckState(Qt::Unchecked);
    form->TopicListbox->item(0)->setCheckState(Qt::Checked);
    form->TopicListbox->item(3)->setCheckState(Qt::Checked);
    form->QEdit->setPlainText(QStringLiteral("Two topics"));
    form->AnswerButtons->button(0)->click();
    form->UpdateBtn->trigger();
    TTopicSet expected;
    expected.set(0);
    expected.set(3);
    QCOMPARE(form->Question(1)->TopicAreas, expected);
    QCOMPARE(form->Question(0)->TopicAreas, TTopicSet(0b10));
}

void TestEditing::autoSave_data() {
    QTest::addColumn<bool>("autoSave");
    QTest::addColumn<bool>("named");
    QTest::addColumn<bool>("written");
    QTest::newRow("on, named file") << true << true << true;
    QTest::newRow("off") << false << true << false;
    QTest::newRow("on, new file") << true << false << false;
}

void TestEditing::autoSave() {
    QFETCH(bool, autoSave);
    QFETCH(bool, named);
    QFETCH(bool, written);
    const QString doc = m_fx->WriteQuestions(QStringLiteral("doc.umq"), Qs(2));
    auto form = m_fx->Form(named ? doc : QString());
    if (!named)
        form->OpenFile(doc), form->FileName.clear(), form->DocumentState = dsNew;
    form->Autosave1->setChecked(autoSave);
    form->EditBtn->trigger();
    form->QEdit->setPlainText(QStringLiteral("Saved at once"));
    form->UpdateBtn->trigger();
    QCOMPARE(ReadQuestionFile(doc, TReader::Prelox)[0].Text == QStringLiteral("Saved at once"), written);
    QCOMPARE(form->DocumentState, written ? int(dsNamed) : named ? int(dsNamedChanged) : int(dsNewChanged));
    QVERIFY(m_fx->FileRequests.isEmpty());
}

void TestEditing::showPicture_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("fileLabel");
    QTest::addColumn<QString>("sizeLabel");
    QTest::addColumn<QSize>("size");
    QTest::newRow("present") << "moon.png" << "File name: moon.png" << "Size: 30 x 20" << QSize(30, 20);
    QTest::newRow("other letter case") << "MOON.PNG" << "File name: MOON.PNG" << "Size: 30 x 20" << QSize(30, 20);
    QTest::newRow("missing") << "gone.png" << "File not found IMAGES/gone.png" << "Size: " << QSize(240, 180);
    QTest::newRow("none") << "" << "File name: " << "Size: " << QSize(240, 180);
}

void TestEditing::showPicture() {
    QFETCH(QString, name);
    QFETCH(QString, fileLabel);
    QFETCH(QString, sizeLabel);
    QFETCH(QSize, size);
    SavePicture(m_fx->QuestionFolder() + "/images/moon.png", QSize(30, 20), Qt::blue);
    auto form = m_fx->Form();
    form->ShowPicture(name);
    QCOMPARE(form->PicFileLabel->text(), QString(fileLabel).replace("IMAGES", form->ImagesFolder));
    QCOMPARE(form->PicSizeLabel->text(), sizeLabel);
    QCOMPARE(form->QPic->size(), size);
    QCOMPARE(form->QPic->pixmap().size(), size);
    QCOMPARE(form->PictureName, name);
}

void TestEditing::emptyPictureSign() {
    const QImage sign = TEditFrm::EmptyPictureSign().toImage();
    QCOMPARE(sign.size(), QSize(240, 180));
    for (QPoint outline : {QPoint(0, 90), QPoint(239, 90), QPoint(120, 0), QPoint(120, 179)})
        QCOMPARE(QColor(sign.pixel(outline)), QColor(Qt::black));
    QCOMPARE(QColor(sign.pixel(120, 90)), QColor(Qt::black)); // where the diagonals cross
    QCOMPARE(QColor(sign.pixel(40, 30)), QColor(Qt::black));
    QCOMPARE(QColor(sign.pixel(120, 40)), QColor(Qt::white));
    QCOMPARE(QColor(sign.pixel(30, 90)), QColor(Qt::white));
}

void TestEditing::pictureAlreadyInImagesFolder() {
    const QString inFolder = SavePicture(m_fx->QuestionFolder() + "/images/moon.png", QSize(30, 20), Qt::blue);
    const QByteArray before = ReadAll(inFolder);
    auto form = m_fx->Form(m_fx->WriteQuestions(QStringLiteral("questions/mctest.umq"), Qs(1)));
    form->EditBtn->trigger();
    // Reached by another spelling of the same path: still the same file.
    form->AddPictureFile(m_fx->QuestionFolder() + "/./images/../images/moon.png");
    QVERIFY(m_fx->Boxes.isEmpty());
    QCOMPARE(QDir(form->ImagesFolder).entryList(QDir::Files), QStringList({"moon.png"}));
    QCOMPARE(ReadAll(inFolder), before);
    QCOMPARE(form->WorkingCopy->Picture, QStringLiteral("moon.png"));
    QCOMPARE(form->PicFileLabel->text(), QStringLiteral("File name: moon.png"));
    QCOMPARE(form->PicSizeLabel->text(), QStringLiteral("Size: 30 x 20"));
    QCOMPARE(form->PictureFolder, QFileInfo(inFolder).absolutePath());
    form->UpdateBtn->trigger();
    QCOMPARE(form->Question(0)->Picture, QStringLiteral("moon.png"));
}

void TestEditing::pictureCopiedIntoImagesFolder_data() {
    QTest::addColumn<bool>("targetExists");
    QTest::addColumn<bool>("replace");
    QTest::newRow("new picture") << false << false;
    QTest::newRow("replace, Yes") << true << true;
    QTest::newRow("replace, No") << true << false;
}

void TestEditing::pictureCopiedIntoImagesFolder() {
    QFETCH(bool, targetExists);
    QFETCH(bool, replace);
    QDir(m_fx->Program()).mkpath(QStringLiteral("My Pictures"));
    const QString chosen = SavePicture(m_fx->Path("My Pictures/star.png"), QSize(50, 40), Qt::yellow);
    const QString target = m_fx->QuestionFolder() + "/images/star.png";
    if (targetExists)
        SavePicture(target, QSize(10, 10), Qt::red);
    auto form = m_fx->Form(m_fx->WriteQuestions(QStringLiteral("questions/mctest.umq"), Qs(1)));
    m_fx->ConfirmAnswer = replace;
    form->EditBtn->trigger();
    m_fx->FileAnswers = {chosen};
    form->AddPicBtn->trigger();
    QCOMPARE(m_fx->FileRequests[0].Title, QStringLiteral("Add a picture from file"));
    QCOMPARE(m_fx->FileRequests[0].Folder, form->ImagesFolder);
    QCOMPARE(m_fx->BoxTexts(), targetExists ? QStringList({"Replace " + target}) : QStringList());
    QCOMPARE(QImage(target).size(), targetExists && !replace ? QSize(10, 10) : QSize(50, 40));
    // The question names the picture either way, and shows what it will show.
    QCOMPARE(form->WorkingCopy->Picture, QStringLiteral("star.png"));
    QCOMPARE(form->QPic->size(), targetExists && !replace ? QSize(10, 10) : QSize(50, 40));
    QCOMPARE(form->PictureFolder, m_fx->Path("My Pictures"));
    // The next picture dialog starts where this one was found.
    m_fx->FileAnswers = {};
    form->AddPicBtn->trigger();
    QCOMPARE(m_fx->FileRequests[1].Folder, m_fx->Path("My Pictures"));
}

void TestEditing::pictureCopyFails() {
    const QString chosen = SavePicture(m_fx->Path("star.png"), QSize(50, 40), Qt::yellow);
    m_fx->WriteText(QStringLiteral("afile"), "not a folder");
    auto form = m_fx->Form(m_fx->WriteQuestions(QStringLiteral("questions/mctest.umq"), Qs(1)));
    form->ImagesFolder = m_fx->Path("afile/images");
    form->EditBtn->trigger();
    form->AddPictureFile(chosen);
    QCOMPARE(m_fx->BoxTexts(), QStringList({"Unable to copy file to images folder"}));
    QCOMPARE(m_fx->Boxes[0].Kind, TBoxKind::Error);
    QCOMPARE(form->WorkingCopy->Picture, QStringLiteral("star.png"));
}

void TestEditing::answerLinks_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("answer");
    QTest::newRow("A beside the page") << "file:///tmp/q/images/A" << true;
    QTest::newRow("E") << "file:///tmp/q/images/E" << true;
    QTest::newRow("backslash form") << "file:///C:\\q\\images\\C" << true;
    QTest::newRow("after a colon") << "B" << true;
    QTest::newRow("F is no answer") << "file:///tmp/q/images/F" << false;
    QTest::newRow("lower case") << "file:///tmp/q/images/a" << false;
    QTest::newRow("folder") << "file:///tmp/q/images/" << false;
    QTest::newRow("outside page") << "http://example.org/moon.html" << false;
    QTest::newRow("page starting with E") << "file:///tmp/q/images/Earth.htm" << false;
    QTest::newRow("page starting with A, no extension") << "file:///tmp/q/images/Atoms" << false;
    QTest::newRow("two letters") << "file:///tmp/q/images/AB" << false;
}

void TestEditing::answerLinks() {
    QFETCH(QString, url);
    QFETCH(bool, answer);
    QCOMPARE(TEditFrm::IsAnswerLink(QUrl(url)), answer);
}

void TestEditing::preview() {
    auto form = m_fx->Form(m_fx->WriteQuestions(QStringLiteral("questions/mctest.umq"), Qs(3)));
    form->Select(1);
    form->ShowSelectedQuestion();
    QSignalSpy loaded(form->Viewer, &QWebEngineView::loadFinished);
    form->HTMLBtn->trigger();
    QVERIFY(form->HTMLBtn->isChecked());
    QCOMPARE(form->RightStack->currentWidget(), form->Viewer);
    QCOMPARE(form->HTMLBtn->toolTip(), QStringLiteral("Return to edit page"));
    QCOMPARE(form->PreviewHtml(), QuestionPage(*form->Question(1), 2));
    QVERIFY(loaded.wait(20000));
    QCOMPARE(RunJs(form->Viewer, "document.querySelector('h1').textContent").toString(), QStringLiteral("Question 2"));
    const QUrl url = form->Viewer->url();
    // Clicking an answer in the preview goes nowhere.
    RunJs(form->Viewer, "document.querySelector('a[href=\"B\"]').click(); true");
    QTest::qWait(400);
    QCOMPARE(form->Viewer->url(), url);
    QCOMPARE(RunJs(form->Viewer, "document.querySelector('h1').textContent").toString(), QStringLiteral("Question 2"));
    // Another question follows into the preview.
    form->Select(2);
    form->ShowSelectedQuestion();
    QTRY_COMPARE_WITH_TIMEOUT(RunJs(form->Viewer, "document.querySelector('h1').textContent").toString(),
                              QStringLiteral("Question 3"), 20000);
    // Starting an edit returns to the editing area.
    form->EditBtn->trigger();
    QVERIFY(!form->HTMLBtn->isChecked());
    QCOMPARE(form->RightStack->currentWidget(), form->EditPanel);
    QCOMPARE(form->HTMLBtn->toolTip(), QStringLiteral("Preview question"));
    QVERIFY(!form->HTMLBtn->isEnabled());
}

void TestEditing::previewFollowsOrdinaryLinks() {
    // A page beside the preview whose name starts with an answer letter.
    m_fx->WriteText(QStringLiteral("questions/images/Earth.htm"),
                    "<html><body><h1>About the Earth</h1></body></html>");
    TMCQuestion q = Q(QStringLiteral("Read <a id=\"more\" href=\"Earth.htm\">this page</a> first."), 1);
    auto form = m_fx->Form(m_fx->WriteQuestions(QStringLiteral("questions/mctest.umq"), {q}));
    QSignalSpy loaded(form->Viewer, &QWebEngineView::loadFinished);
    form->HTMLBtn->trigger();
    QVERIFY(loaded.wait(20000));
    QCOMPARE(RunJs(form->Viewer, "document.querySelector('h1').textContent").toString(), QStringLiteral("Question 1"));
    // An answer link still goes nowhere ...
    RunJs(form->Viewer, "document.querySelector('a[href=\"A\"]').click(); true");
    QTest::qWait(400);
    QCOMPARE(RunJs(form->Viewer, "document.querySelector('h1').textContent").toString(), QStringLiteral("Question 1"));
    // ... while the page's own link is followed like any other.
    RunJs(form->Viewer, "document.getElementById('more').click(); true");
    QTRY_COMPARE_WITH_TIMEOUT(RunJs(form->Viewer, "document.querySelector('h1').textContent").toString(),
                              QStringLiteral("About the Earth"), 20000);
    QVERIFY(form->Viewer->url().path().endsWith(QLatin1String("/Earth.htm")));
}

void TestEditing::previewAfterOpeningElsewhere() {
    // The question folder holds the pages' button and pictures; a file kept
    // in another folder has pictures of its own for the picture area.
    const QString pageImages = m_fx->QuestionFolder() + "/images/";
    QImage button(QSize(16, 16), QImage::Format_RGB32);
    button.fill(Qt::darkGreen);
    QVERIFY(button.save(pageImages + "button.gif", "PNG"));
    SavePicture(pageImages + "moon.png", QSize(30, 20), Qt::blue);
    QDir(m_fx->Program()).mkpath(QStringLiteral("elsewhere/images"));
    SavePicture(m_fx->Path("elsewhere/images/moon.png"), QSize(70, 50), Qt::gray);
    const QString doc = m_fx->WriteQuestions(QStringLiteral("elsewhere/doc.umq"), {Q("The Moon", 2, {}, "moon.png")});

    auto form = m_fx->Form();
    QVERIFY(form->OpenFile(doc));
    // The picture area follows the opened file ...
    QCOMPARE(form->ImagesFolder, m_fx->Path("elsewhere/images"));
    QCOMPARE(form->PicSizeLabel->text(), QStringLiteral("Size: 70 x 50"));
    // ... the pupil's page keeps the question folder's.
    const QString page = form->PreviewHtml();
    QVERIFY2(page.contains("src=\"" + pageImages + "button.gif\""), qPrintable(page));
    QVERIFY2(page.contains("src=\"" + pageImages + "moon.png\""), qPrintable(page));

    QSignalSpy loaded(form->Viewer, &QWebEngineView::loadFinished);
    form->HTMLBtn->trigger();
    QVERIFY(loaded.wait(20000));
    // Every picture of the page was found: the answer buttons and the question's.
    QTRY_COMPARE_WITH_TIMEOUT(
        RunJs(form->Viewer, "Array.from(document.images).map(i => i.complete ? i.naturalWidth : -1).join(',')")
            .toString(),
        QStringLiteral("30,16,16,16,16"), 20000);
}

void TestEditing::deletingLastQuestionClearsEditor_data() {
    QTest::addColumn<int>("count");
    QTest::newRow("the only question") << 1;
    QTest::newRow("the last of three") << 3;
}

void TestEditing::deletingLastQuestionClearsEditor() {
    QFETCH(int, count);
    SavePicture(m_fx->QuestionFolder() + "/images/moon.png", QSize(30, 20), Qt::blue);
    std::vector<TMCQuestion> qs = Qs(count);
    qs.back().Picture = QStringLiteral("moon.png");
    auto form = m_fx->Form(m_fx->WriteQuestions(QStringLiteral("questions/mctest.umq"), qs));
    form->Select(count - 1);
    form->ShowSelectedQuestion();
    QCOMPARE(form->PicSizeLabel->text(), QStringLiteral("Size: 30 x 20"));
    form->DeleteBtn->trigger();
    QCOMPARE(form->Count(), count - 1);
    QCOMPARE(form->Selected(), -1);
    // The picture area shows no picture, and the preview no page of the deleted question.
    QCOMPARE(form->PictureName, QString());
    QCOMPARE(form->PicFileLabel->text(), QStringLiteral("File name: "));
    QCOMPARE(form->PicSizeLabel->text(), QStringLiteral("Size: "));
    QCOMPARE(form->QPic->size(), QSize(240, 180));
    QCOMPARE(form->QPic->pixmap().toImage(), TEditFrm::EmptyPictureSign().toImage());
    QVERIFY(!form->PreviewHtml().contains(QStringLiteral("Question %1").arg(count)));
    // Typing into the empty box writes a new question; nothing is "edited".
    form->QEdit->setFocus();
    QTest::keyClicks(form->QEdit, "Fresh");
    QCOMPARE(form->EditMode, int(emNew));
    QCOMPARE(form->EditLabel->text(), QStringLiteral("New question"));
    form->AnswerButtons->button(3)->click();
    form->UpdateBtn->trigger();
    QCOMPARE(form->Count(), count);
    QCOMPARE(form->Question(count - 1)->Text, QStringLiteral("Fresh"));
    QCOMPARE(form->Selected(), count - 1);
    // A click into the box with nothing selected starts the same way.
    form->Select(-1);
    form->ShowSelectedQuestion();
    QTest::mouseClick(form->QEdit->viewport(), Qt::LeftButton);
    QCOMPARE(form->EditMode, int(emNew));
}

void TestEditing::singleSpellingPassReturnsToPage_data() {
    QTest::addColumn<bool>("editing");
    QTest::newRow("browsing") << false;
    QTest::newRow("editing") << true;
}

void TestEditing::singleSpellingPassReturnsToPage() {
    QFETCH(bool, editing);
    TMCQuestion q = Q("Which metal does a magnit atract?", 2);
    q.Answers = {"copper", "alumininum", "iron, which we recieve", "tin", ""};
    auto form = m_fx->Form(m_fx->WriteQuestions(QStringLiteral("doc.umq"), {q, Q("Other", 0)}));
    const QHash<QString, QString> mended = {{"magnit", "magnet"},       {"atract", "attract"},
                                            {"alumininum", "aluminium"}, {"recieve", "receive"},
                                            {"nikel", "nickel"}};
    SetSpellAnswerer([this, mended](const TSpellRequest& r) {
        m_asked << r.Word;
        return TSpellAnswer{TSpellAction::Change, mended.value(r.Word)};
    });
    if (editing)
        form->EditBtn->trigger();
    form->SetPage(3);
    if (editing)
        form->QEdit->setPlainText(QStringLiteral("iron, which we recieve, and nikel"));
    form->Spellcheck2->trigger();
    QCOMPARE(m_asked, editing ? QStringList({"magnit", "atract", "alumininum", "recieve", "nikel"})
                              : QStringList({"magnit", "atract", "alumininum", "recieve"}));
    QCOMPARE(form->QTab->currentIndex(), 3);
    QCOMPARE(form->CurrentPage(), 3);
    const QString c = editing ? QStringLiteral("iron, which we receive, and nickel") : QStringLiteral("iron, which we receive");
    QCOMPARE(form->QEdit->toPlainText(), c);
    const TMCQuestion* target = editing ? form->WorkingCopy.get() : form->Question(0);
    QCOMPARE(target->Text, QStringLiteral("Which metal does a magnet attract?"));
    QCOMPARE(target->GetAnswer(2), c);
    QCOMPARE(form->DocumentState, int(dsNamedChanged));
    QCOMPARE(form->EditMode, editing ? int(emEdit) : int(emBrowse));
    if (editing) {
        form->UpdateBtn->trigger();
        QCOMPARE(form->Question(0)->GetAnswer(2), c);
    }
}

void TestEditing::spellingAllQuestions() {
    std::vector<TMCQuestion> qs = {Q("A magnit"), Q("Good text"), Q("Another magnit and a tempreture")};
    for (TMCQuestion& q : qs)
        q.Answers = {"yes", "no", QString(), QString(), QString()};
    auto form = m_fx->Form(m_fx->WriteQuestions(QStringLiteral("doc.umq"), qs));
    form->Select(1);
    form->ShowSelectedQuestion();
    SetSpellAnswerer([this](const TSpellRequest& r) {
        m_asked << r.Word;
        return TSpellAnswer{r.Word == "magnit" ? TSpellAction::ChangeAll : TSpellAction::Ignore,
                            QStringLiteral("magnet")};
    });
    form->Spellcheck1->trigger();
    // "Change all" holds across the questions of the pass.
    QCOMPARE(m_asked, QStringList({"magnit", "tempreture"}));
    QCOMPARE(Texts(*form), QStringList({"A magnet", "Good text", "Another magnet and a tempreture"}));
    QCOMPARE(form->DocumentState, int(dsNamedChanged));
    QCOMPARE(form->Selected(), 1);
    QCOMPARE(form->QEdit->toPlainText(), QStringLiteral("Good text"));
    // A pass that changes nothing leaves the document as it was.
    form->Save1Click();
    m_asked.clear();
    form->Spellcheck1->trigger();
    QCOMPARE(m_asked, QStringList({"tempreture"}));
    QCOMPARE(form->DocumentState, int(dsNamed));
    // Cancel ends the pass at once.
    form->Question(0)->Text = QStringLiteral("nikel");
    form->Question(2)->Text = QStringLiteral("copa");
    m_asked.clear();
    SetSpellAnswerer([this](const TSpellRequest& r) {
        m_asked << r.Word;
        return TSpellAnswer{TSpellAction::Cancel, QString()};
    });
    form->Spellcheck1->trigger();
    QCOMPARE(m_asked, QStringList({"nikel"}));
    QCOMPARE(form->Selected(), 1);
}

void TestEditing::spellingAllRefusedWhileEditing() {
    auto form = m_fx->Form(m_fx->WriteQuestions(QStringLiteral("doc.umq"), {Q("A magnit")}));
    SetSpellAnswerer([this](const TSpellRequest& r) {
        m_asked << r.Word;
        return TSpellAnswer{TSpellAction::Ignore, QString()};
    });
    form->EditBtn->trigger();
    form->Spellcheck1Click();
    QCOMPARE(m_fx->BoxTexts(), QStringList({"Please switch back to browse mode\r\nbefore checking spelling"}));
    QVERIFY(m_asked.isEmpty());
    QCOMPARE(form->EditMode, int(emEdit));
}

QUARVEL_EDITOR_TEST_MAIN(TestEditing)
#include "tst_editing.moc"
