// The file commands: the save prompt, New, Open, Save, Save As, Import,
// Convert file and the two exports. Every read goes into a list of its own
// first, and every write replaces a file only when it is complete.

#include "editor/editfrm.h"

#include "editor/editfrmparts.h"
#include "editor/editordialogs.h"

#include <QFileInfo>
#include <QListWidget>
#include <QPlainTextEdit>

namespace quarvel {

namespace {
const QString kUmqFilter = QStringLiteral("Multiple choice questions (*.umq)|*.umq");
const QString kConvertFilter =
    QStringLiteral("All question files(*.mq;*.mcq;*.kpq))|*.mq;*.mcq;*.kpq");
const QString kXmlFilter = QStringLiteral("XML file(*.xml)|*.xml");
} // namespace

void TEditFrm::LoadStartFile(const QString& path) {
    try {
        ReplaceList(ReadQuestionFile(path, TReader::Prelox));
        FileName = path;
        DocumentState = dsNamed;
    } catch (const std::exception& e) {
        // A broken file named in the settings must not keep the teacher out:
        // they get a new, empty document and the reason.
        StartupError = QString::fromUtf8(e.what());
        ReplaceList({});
        FileName.clear();
        DocumentState = dsNew;
        ReportError(StartupError);
    }
}

bool TEditFrm::SavePrompt() {
    if (!IsChanged(DocumentState))
        return true;
    const QString name = FileName.isEmpty() ? QStringLiteral("Untitled") : FileName;
    switch (YesNoCancelBox(this, name + QStringLiteral(" has changed.\r\nDo you want to save the changes?"))) {
    case TSaveAnswer::Cancel:
        return false;
    case TSaveAnswer::No:
        return true;
    case TSaveAnswer::Yes:
        break;
    }
    if (EditMode != emBrowse)
        UpdateQuestion(false);
    // Going on after a save that did not happen would throw the changes away.
    return DocumentState == dsNewChanged ? SaveAs1Click() : Save1Click();
}

void TEditFrm::New1Click() {
    if (!SavePrompt())
        return;
    ReplaceList({});
    SetCorrectAnswer(-1);
    QEdit->clear();
    FileName.clear();
    DocumentState = dsNew;
    SetCaption();
    WorkingCopy->Picture.clear();
    ShowPicture(QString());
    ReturnToBrowse();
    ShowSelectedQuestion();
}

void TEditFrm::ReturnToBrowse() {
    EditMode = emBrowse;
    ShowPreview(false);
    RefreshControls();
    RefreshListButtons();
}

void TEditFrm::Open1Click() {
    if (!SavePrompt())
        return;
    const QString path = AskFileName(this, {TFileDialogKind::Open, QStringLiteral("Open a question file"), kUmqFilter,
                                            QuestionFolder, QString(), QString()});
    if (!path.isEmpty())
        OpenFile(path);
}

std::optional<std::vector<TMCQuestion>> TEditFrm::ReadOrReport(const std::function<std::vector<TMCQuestion>()>& read) {
    try {
        return read();
    } catch (const std::exception& e) {
        ReportError(QString::fromUtf8(e.what()));
        return std::nullopt;
    }
}

bool TEditFrm::OpenFile(const QString& path) {
    // Read into a list of its own: a file that fails leaves the document as it was.
    auto questions = ReadOrReport([&] { return ReadQuestionFile(path, TReader::Prelox); });
    if (!questions)
        return false;
    ReplaceList(std::move(*questions));
    DocumentState = dsNamed;
    FileName = QFileInfo(path).absoluteFilePath();
    Select(Count() > 0 ? 0 : -1);
    ReturnToBrowse();
    // Only the picture area follows the file; the page paths stay as set at start-up.
    ImagesFolder = QFileInfo(FileName).absolutePath() + QStringLiteral("/images");
    ShowSelectedQuestion();
    SetCaption();
    return true;
}

bool TEditFrm::Save1Click() {
    if (DocumentState == dsNamed || DocumentState == dsNamedChanged)
        return SaveToFile(FileName);
    return SaveAs1Click();
}

bool TEditFrm::SaveAs1Click() {
    TFileRequest r{TFileDialogKind::Save, QStringLiteral("Save question file as"), kUmqFilter, QuestionFolder,
                   QString(), QStringLiteral("umq")};
    // A converted file is offered beside the old one, under the new extension.
    if (!FileName.isEmpty()) {
        r.Folder = QFileInfo(FileName).absolutePath();
        r.ProposedName = QFileInfo(WithExtension(FileName, QStringLiteral(".umq"))).fileName();
    }
    const QString path = AskSaveName(r, QStringLiteral(".umq"));
    return !path.isEmpty() && SaveToFile(path);
}

QString TEditFrm::AskSaveName(const TFileRequest& request, const QString& extension) {
    const QString chosen = AskFileName(this, request);
    if (chosen.isEmpty())
        return {};
    const QString path = WithExtension(chosen, extension);
    // The dialog asked about the name typed; ask again for the name we write.
    if (path != chosen && QFileInfo::exists(path) &&
        !ConfirmBox(this, path + QStringLiteral(" already exists.\r\nDo you want to replace it?")))
        return {};
    return path;
}

bool TEditFrm::SaveToFile(const QString& path) {
    QString error;
    if (!WriteFileSafely(path, QuestionFileBytes(Questions()), &error)) {
        ReportError(error);
        return false;
    }
    FileName = QFileInfo(path).absoluteFilePath();
    DocumentState = dsNamed;
    SetCaption();
    return true;
}

void TEditFrm::Import1Click() {
    // The working copy belongs to the question on show; importing would move
    // the list under it, so the edit must end first.
    if (EditMode != emBrowse) {
        ShowBox(this, TBoxKind::Information,
                QStringLiteral("Please update or cancel the question you are editing\r\nbefore importing questions."));
        return;
    }
    const QString path = AskFileName(this, {TFileDialogKind::Open, QStringLiteral("Import questions"), kUmqFilter,
                                            QuestionFolder, QString(), QString()});
    if (!path.isEmpty())
        ImportFile(path);
}

bool TEditFrm::ImportFile(const QString& path) {
    if (EditMode != emBrowse)
        return false;
    auto questions = ReadOrReport([&] { return ReadQuestionFile(path, TReader::Prelox); });
    if (!questions)
        return false;
    AppendQuestions(std::move(*questions));
    Select(Count() > 0 ? 0 : -1);
    ShowSelectedQuestion();
    MarkChanged();
    RefreshListButtons();
    RefreshControls();
    return true;
}

void TEditFrm::Questionfile1Click() {
    const QString path = AskSaveName({TFileDialogKind::Save, QStringLiteral("Save question file as"), kUmqFilter,
                                      QuestionFolder, QString(), QStringLiteral("umq")},
                                     QStringLiteral(".umq"));
    if (!path.isEmpty())
        ExportSelectedTo(path);
}

bool TEditFrm::ExportSelectedTo(const QString& path) {
    std::vector<TMCQuestion> checked;
    for (const TMCQuestion* q : CheckedQuestions())
        checked.push_back(*q);
    QString error;
    if (!WriteFileSafely(path, QuestionFileBytes(checked), &error)) {
        ReportError(error);
        return false;
    }
    return true;
}

void TEditFrm::ConvertFile1Click() {
    if (!SavePrompt())
        return;
    const QString path = AskFileName(this, {TFileDialogKind::Open, QStringLiteral("Convert a question file"),
                                            kConvertFilter, QuestionFolder, QString(), QString()});
    if (!path.isEmpty())
        ConvertFromFile(path);
}

bool TEditFrm::ConvertFromFile(const QString& path) {
    auto questions = ReadOrReport([&] { return ReadLegacyQuestionFile(path); });
    if (!questions)
        return false;
    ReplaceList(std::move(*questions));
    FileName = QFileInfo(path).absoluteFilePath();
    // The converted list is not yet a file of the current layout: Save asks
    // for a name rather than writing over the older file.
    DocumentState = dsNewChanged;
    Select(Count() > 0 ? 0 : -1);
    ReturnToBrowse();
    ShowSelectedQuestion();
    SetCaption();
    return true;
}

void TEditFrm::XML1Click() {
    const QString path = AskSaveName({TFileDialogKind::Save, QStringLiteral("Export to XML"), kXmlFilter,
                                      QuestionFolder, QString(), QStringLiteral("xml")},
                                     QStringLiteral(".xml"));
    if (!path.isEmpty())
        ExportXmlTo(path);
}

bool TEditFrm::ExportXmlTo(const QString& path) {
    QString error;
    if (!WriteFileSafely(path, XmlExportBytes(CheckedQuestions()), &error)) {
        ReportError(error);
        return false;
    }
    return true;
}

} // namespace quarvel
