#include "editor/editordialogs.h"

#include "editor/editdoc.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace quarvel {

namespace {
TYesNoCancelAnswerer& SaveAnswerer() {
    static TYesNoCancelAnswerer answerer;
    return answerer;
}
TFileAnswerer& FileAnswerer() {
    static TFileAnswerer answerer;
    return answerer;
}
} // namespace

void SetYesNoCancelAnswerer(TYesNoCancelAnswerer answerer) { SaveAnswerer() = std::move(answerer); }
void SetFileAnswerer(TFileAnswerer answerer) { FileAnswerer() = std::move(answerer); }

TSaveAnswer YesNoCancelBox(QWidget* parent, const QString& text) {
    if (SaveAnswerer())
        return SaveAnswerer()(text);
    const auto b = QMessageBox::information(parent, QApplication::applicationDisplayName(), text,
                                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                            QMessageBox::Yes);
    if (b == QMessageBox::Yes)
        return TSaveAnswer::Yes;
    if (b == QMessageBox::No)
        return TSaveAnswer::No;
    return TSaveAnswer::Cancel;
}

QString AskFileName(QWidget* parent, const TFileRequest& request) {
    if (FileAnswerer())
        return FileAnswerer()(request);
    QFileDialog dialog(parent, request.Title, request.Folder, DialogFilter(request.Filter));
    if (request.Kind == TFileDialogKind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!request.DefaultSuffix.isEmpty())
            dialog.setDefaultSuffix(request.DefaultSuffix);
        if (!request.ProposedName.isEmpty())
            dialog.selectFile(QDir(request.Folder).filePath(request.ProposedName));
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

} // namespace quarvel
