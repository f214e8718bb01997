// Editing one question: the pages of the text box and their keys, showing
// the selected question, the working copy with New, Edit, Update and
// Cancel, the controls of each mode, and the picture and images folder.

#include "editor/editfrm.h"

#include "common/contentpath.h"
#include "common/safefile.h"
#include "editor/editfrmparts.h"
#include "editor/editordialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTabBar>
#include <QWebEngineView>

namespace quarvel {

namespace {
const QString kPictureFilter = QStringLiteral(
    "All (*.png;*.gif;*.jpg;*.jpeg;*.bmp;|*.png;*.gif;*.jpg;*.jpeg;*.bmp;|Portable Network Graphics "
    "(*.png)|*.png|CompuServe GIF Image (*.gif)|*.gif|JPEG Image File (*.jpg)|*.jpg|JPEG Image File "
    "(*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp");
} // namespace

bool TEditFrm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == QListBox && event->type() == QEvent::KeyPress) {
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete && EditMode == emBrowse) {
            DeleteBtnClick();
            return true;
        }
        return false;
    }
    if (QEdit && watched == QEdit && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        const int key = k->key();
        if (key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta ||
            key == Qt::Key_AltGr)
            return false;
        // Typing into the box while browsing starts an edit (a new question
        // when there is none), and the key then goes on as typed.
        if (EditMode == emBrowse)
            StartFromTextBox();
        if (k->modifiers() & Qt::ControlModifier) {
            if (key == Qt::Key_Right) {
                if (m_page < 5)
                    SetPage(m_page + 1);
                return true;
            }
            if (key == Qt::Key_Left) {
                if (m_page > 0)
                    SetPage(m_page - 1);
                return true;
            }
        }
        return false;
    }
    if (QEdit && watched == QEdit->viewport() && event->type() == QEvent::MouseButtonPress && EditMode == emBrowse) {
        StartFromTextBox();
        return false;
    }
    return QMainWindow::eventFilter(watched, event);
}

QString TEditFrm::PageText(const TMCQuestion& q, int page) const {
    return page == 0 ? q.Text : q.GetAnswer(page - 1);
}

void TEditFrm::StorePage(int page) {
    const QString text = FromEditText(QEdit->toPlainText());
    if (page == 0)
        WorkingCopy->Text = text;
    else
        WorkingCopy->SetAnswer(page - 1, text);
}

void TEditFrm::ShowPage(int page) {
    if (EditMode != emBrowse) {
        QEdit->setPlainText(ToEditText(PageText(*WorkingCopy, page)));
        return;
    }
    const TMCQuestion* q = Question(Selected());
    QEdit->setPlainText(q ? ToEditText(PageText(*q, page)) : QString());
}

int TEditFrm::CurrentPage() const { return m_page; }

void TEditFrm::SetPage(int page) { QTab->setCurrentIndex(page); }

void TEditFrm::QTabChange(int page) {
    if (page < 0)
        return;
    if (EditMode != emBrowse)
        StorePage(m_page);
    m_page = page;
    ShowPage(page);
}

void TEditFrm::ShowSelectedQuestion() {
    const int i = Selected();
    {
        const QSignalBlocker block(QTab);
        QTab->setCurrentIndex(0);
        m_page = 0;
    }
    if (const TMCQuestion* q = Question(i)) {
        QEdit->setPlainText(ToEditText(q->Text));
        SetCorrectAnswer(q->CorrectAnswer);
        TickTopics(q->TopicAreas);
        ShowPicture(q->Picture);
        m_previewHtml = QuestionPage(*q, i + 1);
        if (RightStack->currentWidget() == Viewer)
            Viewer->setHtml(m_previewHtml, QUrl::fromLocalFile(m_pageImages));
    } else {
        // Nothing of a question that is gone may stay on show.
        QEdit->clear();
        TickTopics(TTopicSet());
        SetCorrectAnswer(-1);
        ShowPicture(QString());
        m_previewHtml.clear();
        if (RightStack->currentWidget() == Viewer)
            Viewer->setHtml(m_previewHtml, QUrl::fromLocalFile(m_pageImages));
    }
    StatusPanel0->setText(QStringLiteral("Question %1 of %2").arg(i + 1).arg(Count()));
}

void TEditFrm::TickTopics(const TTopicSet& set) {
    for (int k = 0; k < TopicListbox->count(); ++k)
        TopicListbox->item(k)->setCheckState(k < 256 && set.test(std::size_t(k)) ? Qt::Checked : Qt::Unchecked);
}

TTopicSet TEditFrm::TickedTopics() const {
    TTopicSet set;
    for (int k = 0; k < TopicListbox->count() && k < 256; ++k)
        if (TopicListbox->item(k)->checkState() == Qt::Checked)
            set.set(std::size_t(k));
    return set;
}

void TEditFrm::SetCorrectAnswer(int index) {
    if (index >= 0 && index < 5) {
        AnswerButtons->button(index)->setChecked(true);
        return;
    }
    // A group that always keeps one button must let go of it for "none".
    AnswerButtons->setExclusive(false);
    for (QAbstractButton* b : AnswerButtons->buttons())
        b->setChecked(false);
    AnswerButtons->setExclusive(true);
}

int TEditFrm::CorrectAnswerChoice() const { return AnswerButtons->checkedId(); }

void TEditFrm::SetEditStatus(QAction* sender) {
    if (sender == NewBtn)
        NewQuestion();
    else if (sender == EditBtn)
        StartEdit();
    else if (sender == UpdateBtn)
        UpdateQuestion(true);
    else if (sender == CancelBtn)
        CancelEdit();
}

void TEditFrm::NewQuestion() {
    ShowPreview(false);
    WorkingCopy = std::make_unique<TMCQuestion>();
    {
        const QSignalBlocker block(QTab);
        QTab->setCurrentIndex(0);
        m_page = 0;
    }
    QEdit->clear();
    ShowPicture(QString());
    SetCorrectAnswer(-1);
    MarkChanged();
    EditMode = emNew;
    RefreshControls();
    RefreshListButtons();
    QEdit->setFocus();
}

void TEditFrm::StartEdit() {
    // With no question on show there is nothing to edit, and an Update
    // would have nowhere to put the text.
    const TMCQuestion* q = Question(Selected());
    if (!q)
        return;
    EditMode = emEdit;
    ShowPreview(false);
    WorkingCopy->Assign(q);
    MarkChanged();
    RefreshControls();
    RefreshListButtons();
}

void TEditFrm::StartFromTextBox() {
    // An empty text box (an empty list, or nothing selected after the last
    // question was deleted) is where a new question is written.
    if (Selected() < 0)
        NewQuestion();
    else
        StartEdit();
}

bool TEditFrm::UpdateQuestion(bool checkAnswer) {
    if (EditMode == emBrowse)
        return false;
    if (checkAnswer && CorrectAnswerChoice() < 0) {
        ShowBox(this, TBoxKind::Information,
                QStringLiteral("Please choose the correct answer, A to E.\r\nCorrect answer not set."));
        return false;
    }
    StorePage(m_page);
    WorkingCopy->CorrectAnswer = CorrectAnswerChoice();
    WorkingCopy->TopicAreas = TickedTopics();
    if (EditMode == emEdit) {
        if (TMCQuestion* q = Question(Selected()))
            q->Assign(WorkingCopy.get());
    } else {
        TMCQuestion copy;
        copy.Assign(WorkingCopy.get());
        {
            const QSignalBlocker block(QListBox);
            QListBox->addItem(new TQuestionItem(copy, Count() + 1));
        }
        Select(Count() - 1);
    }
    // The edit was marked when it started, but a Save since then has cleared
    // the mark while the change was still in the working copy.
    MarkChanged();
    if (Autosave1->isChecked() && DocumentState == dsNamedChanged)
        Save1Click();
    EditMode = emBrowse;
    ShowSelectedQuestion();
    RefreshControls();
    RefreshListButtons();
    return true;
}

void TEditFrm::CancelEdit() {
    EditMode = emBrowse;
    ShowSelectedQuestion();
    RefreshControls();
    RefreshListButtons();
}

void TEditFrm::RefreshControls() {
    const bool browse = EditMode == emBrowse;
    NewBtn->setEnabled(browse);
    EditBtn->setEnabled(browse && Count() > 0 && Selected() >= 0);
    UpdateBtn->setEnabled(!browse);
    CancelBtn->setEnabled(!browse);
    QEdit->setReadOnly(browse);
    HTMLBtn->setEnabled(browse);
    AnswerRG->setEnabled(!browse);
    AddPicBtn->setEnabled(!browse);
    ClearPicBtn->setEnabled(!browse);
    Spellcheck1->setEnabled(browse && Count() > 0);
    if (EditMode == emNew)
        EditLabel->setText(QStringLiteral("New question"));
    else if (EditMode == emEdit)
        EditLabel->setText(QStringLiteral("Editing question ") + QString::number(Selected() + 1));
    else
        EditLabel->setText(Count() > 0 ? QStringLiteral("Browse") : QString());
    RefreshListButtons();
}

QPixmap TEditFrm::EmptyPictureSign() {
    QPixmap pm(240, 180);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(0, 0, 239, 179);
    p.drawLine(0, 0, 239, 179);
    p.drawLine(0, 179, 239, 0);
    return pm;
}

void TEditFrm::ShowPicture(const QString& name) {
    PictureName = name;
    QPixmap pm;
    if (name.isEmpty()) {
        PicFileLabel->setText(QStringLiteral("File name: "));
    } else {
        // Pictures were named on Windows: find them in any letter case.
        const QString found = ResolveContentPath(ImagesFolder, name);
        if (found.isEmpty()) {
            PicFileLabel->setText(QStringLiteral("File not found ") + ImagesFolder + QLatin1Char('/') + name);
        } else {
            pm.load(found);
            PicFileLabel->setText(QStringLiteral("File name: ") + name);
        }
    }
    if (pm.isNull()) {
        QPic->setPixmap(EmptyPictureSign());
        QPic->setFixedSize(240, 180);
        PicSizeLabel->setText(QStringLiteral("Size: "));
    } else {
        QPic->setPixmap(pm);
        QPic->setFixedSize(pm.size());
        PicSizeLabel->setText(QStringLiteral("Size: %1 x %2").arg(pm.width()).arg(pm.height()));
    }
}

void TEditFrm::AddPicBtnClick() {
    const QString path = AskFileName(this, {TFileDialogKind::Open, QStringLiteral("Add a picture from file"),
                                            kPictureFilter, PictureFolder, QString(), QString()});
    if (!path.isEmpty())
        AddPictureFile(path);
}

void TEditFrm::AddPictureFile(const QString& path) {
    const QFileInfo chosen(path);
    // Folder names keep their case here: the file system tells them apart.
    PictureFolder = chosen.absolutePath();
    const QString name = chosen.fileName();
    QPixmap pm(path);
    if (!pm.isNull()) {
        QPic->setPixmap(pm);
        QPic->setFixedSize(pm.size());
        PicSizeLabel->setText(QStringLiteral("Size: %1 x %2").arg(pm.width()).arg(pm.height()));
    }
    PicFileLabel->setText(QStringLiteral("File name: ") + name);
    WorkingCopy->Picture = name;
    PictureName = name;

    const QString target = ImagesFolder + QLatin1Char('/') + name;
    const QFileInfo targetInfo(target);
    // The same file reached by another path (a link, "..") is still the same file.
    if (targetInfo.exists() && targetInfo.canonicalFilePath() == chosen.canonicalFilePath())
        return;
    if (targetInfo.exists() && !ConfirmBox(this, QStringLiteral("Replace ") + target)) {
        ShowPicture(name); // the picture the question will show
        return;
    }
    QFile source(path);
    bool ok = source.open(QIODevice::ReadOnly) && QDir().mkpath(ImagesFolder);
    if (ok)
        ok = WriteFileSafely(target, source.readAll(), nullptr);
    if (!ok)
        ErrorBox(this, QStringLiteral("Unable to copy file to images folder"));
}

void TEditFrm::ClearPicBtnClick() {
    WorkingCopy->Picture.clear();
    ShowPicture(QString());
}

} // namespace quarvel
