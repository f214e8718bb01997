// Prelox: the question editor of the course.

#include "common/version.h"
#include "editor/editfrm.h"
#include "editor/editorapp.h"

#include <QDesktopServices>
#include <QUrl>
#include <unistd.h>

using namespace quarvel;

int main(int argc, char** argv) {
    // --help and --version answer without a display.
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "--help" || a == "-h" || a == "--help-all" || a == "--version" || a == "-v") {
            QCoreApplication core(argc, argv);
            QCoreApplication::setApplicationName(QStringLiteral("prelox"));
            QCoreApplication::setApplicationVersion(VersionText());
            ParseEditorCommandLine(core);
            return 0;
        }
    }
    // The browser's sandbox cannot run as root; teachers' accounts never are.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    TEditorApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Brantock"));
    QCoreApplication::setApplicationName(QStringLiteral("Question editor"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Quarvel question editor"));
    QCoreApplication::setApplicationVersion(VersionText());
    const TEditorOptions options = ParseEditorCommandLine(app);

    TEditFrm form({QCoreApplication::applicationDirPath(), options.File});
    QObject::connect(&form, &TEditFrm::HelpRequested, &form,
                     [](const QString& file, bool) { QDesktopServices::openUrl(QUrl::fromLocalFile(file)); });
    auto* driver = new TEditorDriver(&form, options);
    form.show();
    driver->Start();
    return app.exec();
}
