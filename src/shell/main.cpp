// Vantrel: the course program.

#include "browser/coursescheme.h"
#include "scene/viewer.h"
#include "common/contentpath.h"
#include "common/version.h"
#include "models/electromagnetism/permmagfrm.h"
#include "widgets/datamod.h"
#include "shell/courseareas.h"
#include "shell/driver.h"
#include "widgets/errorhandler.h"
#include "shell/framefrm.h"
#include "widgets/options.h"
#include "widgets/splashfrm.h"

#include <QScreen>
#include <QUrl>
#include <QWebEngineView>
#include <cstdio>
#include <unistd.h>

using namespace quarvel;

static const char* const kDescription = "Quarvel science course for ages 11 to 16.";

int main(int argc, char** argv) {
    // --help and --version answer without a display.
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "--help" || a == "-h" || a == "--help-all" || a == "--version" || a == "-v") {
            QCoreApplication core(argc, argv);
            QCoreApplication::setApplicationName(QStringLiteral("vantrel"));
            QCoreApplication::setApplicationVersion(VersionText());
            ParseCommandLine(core, QLatin1String(kDescription));
            return 0;
        }
    }
    // The browser's sandbox cannot run as root; pupils' accounts never are.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    RegisterCourseScheme();
    SetDefaultSceneFormat();
    TQuarvelApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Brantock"));
    QCoreApplication::setApplicationName(QStringLiteral("Quarvel"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Quarvel"));
    QCoreApplication::setApplicationVersion(VersionText());

    const TCommandLine options =
        ParseCommandLine(app, QLatin1String(kDescription));
    const QString root = DefaultContentRoot(options.ContentDir);

    QApplication::setOverrideCursor(Qt::BusyCursor);
    auto* splash = new TSplashFrm(ResolveContentPath(root, QStringLiteral("HTML/images/Splash.png")));
    if (QScreen* screen = QGuiApplication::primaryScreen())
        splash->ShowCentredOn(screen->availableGeometry());

    RegisterCourseAreas();
    TFrameFrm* frame = nullptr;
    try {
        frame = new TFrameFrm(root);
        TDataMod::Instance();
        // One magnets panel waits, hidden, for the life of the program.
        (new Tem_PermMagFrm(frame))->hide();
    } catch (const std::exception& e) {
        HandleApplicationError(e);
    }
    frame->SetSplash(splash);
    auto* driver = new TStartupDriver(frame, options);
    frame->show();
    // Opened once the window is up: a page bound to a topic builds it then.
    if (!options.OpenPage.isEmpty() && !frame->OpenPage(options.OpenPage))
        std::fprintf(stderr, "No page %s in the course.\n", qPrintable(options.OpenPage));
    driver->Start();
    return app.exec();
}
