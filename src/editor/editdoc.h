#pragma once
// The parts of the question editor that need no window: the document's four
// states, the window caption, file names and the exported files.

#include "common/safefile.h"
#include "questions/questions.h"

#include <QString>
#include <vector>

namespace quarvel {

// 0 new and unchanged, 1 new and changed, 2 named and unchanged, 3 named and changed.
enum TDocumentState : int { dsNew = 0, dsNewChanged = 1, dsNamed = 2, dsNamedChanged = 3 };

// A change: 0 becomes 1, 2 becomes 3; 1 and 3 stay.
int MarkedChanged(int state);
bool IsChanged(int state);

// "Quarvel - Question Editor - " with "*" before the name when changed.
QString EditorCaption(int state, const QString& fileName);

// `path` with its extension replaced by (or given) `extension` (".umq").
QString WithExtension(const QString& path, const QString& extension);

// A filter written "Text (*.a)|*.a|Other|*.b;*.c" as a file dialog takes it:
// "Text (*.a);;Other (*.b *.c)".
QString DialogFilter(const QString& barFilter);

// The XML export of `questions` (UTF-8, CR LF, no byte-order mark).
QByteArray XmlExportBytes(const std::vector<const TMCQuestion*>& questions);


// The lines of the topic list (UTF-8, or the old ANSI code page).
QStringList ReadTopicList(const QString& path);

} // namespace quarvel
