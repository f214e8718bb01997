#include "widgets/options.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <ctime>
#include <unistd.h>

namespace quarvel {

TCommandLine ParseCommandLine(const QCoreApplication& app, const QString& description) {
    QCommandLineParser p;
    p.setApplicationDescription(description);
    p.addHelpOption();
    p.addVersionOption();
    const QCommandLineOption content(QStringLiteral("content"),
                                     QStringLiteral("Read the course from <dir>."), QStringLiteral("dir"));
    const QCommandLineOption open(QStringLiteral("open"),
                                  QStringLiteral("Open <page> of the course at start."), QStringLiteral("page"));
    const QCommandLineOption command(QStringLiteral("command"),
                                     QStringLiteral("Run page command <word> once the page has loaded "
                                                    "(repeatable, run in order)."),
                                     QStringLiteral("word"));
    const QCommandLineOption shot(QStringLiteral("screenshot"),
                                  QStringLiteral("Save a picture of the window to <file> once the page "
                                                 "has loaded and the left pane has drawn."),
                                  QStringLiteral("file"));
    const QCommandLineOption quit(QStringLiteral("quit"),
                                  QStringLiteral("Exit after the above, without asking."));
    const QCommandLineOption bench(QStringLiteral("benchmark"),
                                   QStringLiteral("Print timing figures as 'name: value' lines."));
    p.addOptions({content, open, command, shot, quit, bench});
    p.process(app);
    TCommandLine c;
    c.ContentDir = p.value(content);
    c.OpenPage = p.value(open);
    c.Commands = p.values(command);
    c.Screenshot = p.value(shot);
    c.Quit = p.isSet(quit);
    c.Benchmark = p.isSet(bench);
    return c;
}

QString DefaultContentRoot(const QString& fromOption) {
    if (!fromOption.isEmpty())
        return QDir(fromOption).absolutePath();
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (QFileInfo(exeDir + QStringLiteral("/HTML")).isDir())
        return exeDir;
    const QString installed = QDir::cleanPath(exeDir + QStringLiteral("/../share/quarvel"));
    if (QFileInfo(installed).isDir())
        return installed;
    return exeDir;
}

double MillisecondsSinceProcessStart() {
    // Field 22 of /proc/self/stat is the start time in clock ticks after boot.
    QFile f(QStringLiteral("/proc/self/stat"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray stat = f.readAll();
    const int close = stat.lastIndexOf(')');
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    if (fields.size() < 20)
        return -1;
    const double startTicks = fields[19].toDouble(); // field 22 counted from field 3
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
    return nowMs - startTicks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

} // namespace quarvel
