#pragma once
// The editor's own questions to the user beyond the shared message boxes:
// the three-way save question and the file dialogs. Tests answer both
// through the hooks below instead of a person.

#include <QString>
#include <functional>

class QWidget;

namespace quarvel {

enum class TSaveAnswer { Yes, No, Cancel };

// An information box with Yes, No and Cancel.
TSaveAnswer YesNoCancelBox(QWidget* parent, const QString& text);
using TYesNoCancelAnswerer = std::function<TSaveAnswer(const QString& text)>;
void SetYesNoCancelAnswerer(TYesNoCancelAnswerer answerer);

enum class TFileDialogKind { Open, Save };

struct TFileRequest {
    TFileDialogKind Kind = TFileDialogKind::Open;
    QString Title;
    QString Filter;       // as written for the user: "Text (*.a)|*.a"
    QString Folder;       // where the dialog starts
    QString ProposedName; // file name offered by a save dialog
    QString DefaultSuffix;
};

// The chosen path, or empty when the user cancelled. Save dialogs ask
// before overwriting; open dialogs take existing files only.
QString AskFileName(QWidget* parent, const TFileRequest& request);
using TFileAnswerer = std::function<QString(const TFileRequest&)>;
void SetFileAnswerer(TFileAnswerer answerer);

} // namespace quarvel
