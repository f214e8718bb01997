#pragma once
// The one place where errors that nothing else caught end up. It shows the
// error's message with a fixed second line and then ends the program: a
// course that carried on in an unknown state would teach wrong things.

#include "common/errors.h"

#include <QApplication>
#include <stdexcept>

namespace quarvel {

// The text of the error box for `message`; `openGL` selects the OpenGL form.
QString ApplicationErrorText(const QString& message, bool openGL);
QString ApplicationErrorText(const std::exception& error);

// Shows the box (error icon, OK) and ends the program.
[[noreturn]] void HandleApplicationError(const std::exception& error);

// Routes exceptions thrown from event handlers to HandleApplicationError.
class TQuarvelApplication : public QApplication {
public:
    TQuarvelApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace quarvel
