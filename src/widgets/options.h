#pragma once
// Command-line options shared by both programs: they let tests, benchmarks
// and screenshots drive a program from start to end.

#include <QString>
#include <QStringList>

class QCoreApplication;

namespace quarvel {

struct TCommandLine {
    QString ContentDir;   // --content DIR
    QString OpenPage;     // --open PAGE
    QStringList Commands; // --command WORD, in order
    QString Screenshot;   // --screenshot FILE
    bool Quit = false;    // --quit
    bool Benchmark = false;
};

// Parses the options (and handles --help and --version, which exit).
TCommandLine ParseCommandLine(const QCoreApplication& app, const QString& description);

// The content folder: --content, else the program's own folder, else an
// installed share/quarvel beside it.
QString DefaultContentRoot(const QString& fromOption);

// Milliseconds since this process was started by the system.
double MillisecondsSinceProcessStart();

} // namespace quarvel
