#pragma once
// Prelox's start: its command line, the application object that shows
// errors and carries on, and the runner for scripted runs (screenshots,
// pressing items, the benchmark).

#include <QApplication>
#include <QObject>
#include <QString>
#include <QStringList>

namespace quarvel {

class TEditFrm;

struct TEditorOptions {
    QString File;       // a question file to open instead of the configured one
    QString Screenshot; // --screenshot FILE
    QStringList Press;  // --press NAME, in order
    bool Yes = false;  // --yes: confirmations answered Yes
    bool Quit = false;
    bool Benchmark = false;
};

// Parses the command line (and answers --help and --version, which exit).
TEditorOptions ParseEditorCommandLine(const QCoreApplication& app);

// An error that nothing else caught is shown and the editor goes on: the
// teacher's unsaved questions matter more than a clean stop.
class TEditorApplication : public QApplication {
public:
    TEditorApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Carries out the scripted parts of a run once the window is up.
class TEditorDriver : public QObject {
    Q_OBJECT
public:
    TEditorDriver(TEditFrm* form, TEditorOptions options);
    void Start();

private:
    void Finish();
    TEditFrm* m_form;
    TEditorOptions m_options;
};

// Times opening, changing and saving a file of `count` questions and prints
// the figures as "name: value" lines.
void RunEditorBenchmark(TEditFrm* form, int count);

// A picture of the window, with a dialog in front of it when one is open.
bool SaveEditorPicture(QWidget* window, const QString& file);

} // namespace quarvel
