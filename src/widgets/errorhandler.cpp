#include "widgets/errorhandler.h"

#include "widgets/dialogs.h"

#include <cstdlib>

namespace quarvel {

QString ApplicationErrorText(const QString& message, bool openGL) {
    if (openGL)
        return message + '\n' + QStringLiteral("Unable to initialize openGL graphics.") + '\n' +
               QStringLiteral("Please see the ReadMe file on the CD for a solution.");
    return message + '\n' + QStringLiteral(" An unexpected error has occured.");
}

QString ApplicationErrorText(const std::exception& error) {
    const bool openGL = dynamic_cast<const EOpenGLError*>(&error) != nullptr;
    return ApplicationErrorText(QString::fromUtf8(error.what()), openGL);
}

void HandleApplicationError(const std::exception& error) {
    ErrorBox(nullptr, ApplicationErrorText(error));
    std::exit(1);
}

TQuarvelApplication::TQuarvelApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TQuarvelApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        HandleApplicationError(e);
    } catch (...) {
        HandleApplicationError(std::runtime_error("Unknown error"));
    }
}

} // namespace quarvel
