// Starts a bare web view on one local page and prints "startup_ms: N", the
// time from process start until the window is shown with the page loaded.
// Usage: webengine_baseline PAGE.html

#include "widgets/options.h"

#include <QApplication>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: webengine_baseline PAGE.html\n");
        return 2;
    }
    QWebEngineView view;
    view.resize(1024, 768);
    QObject::connect(&view, &QWebEngineView::loadFinished, [&](bool) {
        std::printf("startup_ms: %.0f\n", quarvel::MillisecondsSinceProcessStart());
        std::fflush(stdout);
        QTimer::singleShot(0, &app, &QApplication::quit);
    });
    view.load(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1])));
    view.show();
    return app.exec();
}
