#pragma once
// What the files of the editor's window share among themselves; not for use
// outside the window.

#include "widgets/dialogs.h"

#include <QAction>
#include <QString>
#include <QWidget>

class QWebEnginePage;

namespace quarvel {

// The text box works with single line breaks; the files keep CR LF.
inline QString ToEditText(QString s) {
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}
inline QString FromEditText(QString s) {
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return s;
}

// A hint shows as the tool tip and in the status bar's second panel.
inline void Hint(QAction* a, const QString& text) {
    a->setToolTip(text);
    a->setStatusTip(text);
}
inline void Hint(QWidget* w, const QString& text) {
    w->setToolTip(text);
    w->setStatusTip(text);
}

// The preview's page: answer links go nowhere, every other link is followed.
QWebEnginePage* NewPreviewPage(QObject* parent);

} // namespace quarvel
