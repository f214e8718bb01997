#include "editor/editorapp.h"

#include "common/version.h"
#include "editor/editfrm.h"
#include "widgets/dialogs.h"

#include <QAction>
#include <QCommandLineParser>
#include <QDialog>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace quarvel {

TEditorOptions ParseEditorCommandLine(const QCoreApplication& app) {
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Quarvel question editor: writes the question files of the course's tests."));
    p.addHelpOption();
    p.addVersionOption();
    p.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Question file (.umq) to open."),
                            QStringLiteral("[FILE]"));
    const QCommandLineOption shot(QStringLiteral("screenshot"),
                                  QStringLiteral("Save a picture of the window to <file> once it has drawn."),
                                  QStringLiteral("file"));
    const QCommandLineOption press(QStringLiteral("press"),
                                   QStringLiteral("Press the menu or toolbar item <name> (such as EditBtn, "
                                                  "HTMLBtn, Spellcheck2) once the window is up; repeatable."),
                                   QStringLiteral("name"));
    const QCommandLineOption yes(QStringLiteral("yes"),
                                 QStringLiteral("Answer Yes to the questions the pressed items ask (such as "
                                                "DeleteBtn's); other messages are shown."));
    const QCommandLineOption quit(QStringLiteral("quit"), QStringLiteral("Exit after the above, without asking."));
    const QCommandLineOption bench(QStringLiteral("benchmark"),
                                   QStringLiteral("Open, change and save a file of 10 000 questions, print the "
                                                  "times as 'name: value' lines and exit."));
    p.addOptions({shot, press, yes, quit, bench});
    p.process(app);
    TEditorOptions o;
    o.File = p.positionalArguments().value(0);
    o.Screenshot = p.value(shot);
    o.Press = p.values(press);
    o.Yes = p.isSet(yes);
    o.Quit = p.isSet(quit);
    o.Benchmark = p.isSet(bench);
    return o;
}

TEditorApplication::TEditorApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TEditorApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ErrorBox(activeWindow(), QString::fromUtf8(e.what()));
    } catch (...) {
        ErrorBox(activeWindow(), QStringLiteral("Unknown error"));
    }
    return false;
}

TEditorDriver::TEditorDriver(TEditFrm* form, TEditorOptions options)
    : QObject(form), m_form(form), m_options(std::move(options)) {}

void TEditorDriver::Start() {
    if (m_options.Benchmark) {
        QTimer::singleShot(200, this, [this] {
            RunEditorBenchmark(m_form, 10000);
            m_form->CloseWithoutAsking();
            QApplication::quit();
        });
        return;
    }
    if (m_options.Screenshot.isEmpty() && !m_options.Quit && m_options.Press.isEmpty())
        return;
    if (m_options.Yes) {
        SetBoxAnswerer([form = m_form](const TBoxRequest& r) {
            if (r.Kind == TBoxKind::Confirmation)
                return true;
            QMessageBox box(r.Kind == TBoxKind::Error ? QMessageBox::Critical : QMessageBox::Information, r.Title,
                            r.Text, QMessageBox::Ok, form);
            box.exec();
            return true;
        });
    }
    // Time for the first paint, then the items; the picture is taken later
    // so that a page or a dialog the items opened has drawn too.
    QTimer::singleShot(400, this, [this] {
        if (!m_options.Screenshot.isEmpty() || m_options.Quit)
            QTimer::singleShot(m_options.Press.isEmpty() ? 300 : 1800, this, &TEditorDriver::Finish);
        for (const QString& name : std::as_const(m_options.Press)) {
            auto* item = m_form->findChild<QAction*>(name);
            if (!item) {
                std::fprintf(stderr, "No item %s.\n", qPrintable(name));
                continue;
            }
            if (item->isCheckable())
                item->setChecked(!item->isChecked());
            // A modal dialog opened here keeps its own loop: the timer above still fires.
            QTimer::singleShot(0, item, [item] {
                if (item->isCheckable())
                    emit item->triggered(item->isChecked());
                else
                    item->trigger();
            });
        }
    });
}

void TEditorDriver::Finish() {
    if (!m_options.Screenshot.isEmpty() && !SaveEditorPicture(m_form, m_options.Screenshot))
        std::fprintf(stderr, "Could not write %s\n", qPrintable(m_options.Screenshot));
    if (!m_options.Quit)
        return;
    // Close what the items opened, then the window, asking nothing.
    if (QWidget* modal = QApplication::activeModalWidget())
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
    QTimer::singleShot(0, m_form, [form = m_form] {
        form->CloseWithoutAsking();
        QApplication::quit();
    });
}

bool SaveEditorPicture(QWidget* window, const QString& file) {
    QPixmap pm = window->grab();
    if (pm.isNull())
        return false;
    // A dialog is a window of its own: draw it where it stands.
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != window) {
        const QPixmap dialog = modal->grab();
        QPainter p(&pm);
        const QPoint at = modal->mapToGlobal(QPoint(0, 0)) - window->mapToGlobal(QPoint(0, 0));
        p.drawPixmap(at, dialog);
        p.setPen(QPen(QColor(80, 80, 80), 1));
        p.drawRect(QRect(at, dialog.size()).adjusted(-1, -1, 0, 0));
    }
    return pm.save(file);
}

void RunEditorBenchmark(TEditFrm* form, int count) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.umq"));
    std::vector<TMCQuestion> questions;
    questions.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        TMCQuestion q;
        q.TopicAreas.set(std::size_t(i % 10));
        q.CorrectAnswer = i % 5;
        q.Text = QStringLiteral("Question %1: which of these is the unit of force, and why is it named so?").arg(i);
        q.Picture = i % 7 == 0 ? QStringLiteral("moonphase.png") : QString();
        q.Answers = {QStringLiteral("newton"), QStringLiteral("joule"), QStringLiteral("watt"),
                     QStringLiteral("pascal"), QString()};
        questions.push_back(std::move(q));
    }
    WriteQuestionFile(path, questions);
    QElapsedTimer t;
    auto lap = [&t](const char* name) {
        std::printf("%s: %.1f\n", name, double(t.nsecsElapsed()) / 1e6);
        std::fflush(stdout);
        t.restart();
    };
    t.start();
    form->OpenFile(path);
    lap("open_ms");
    form->Select(count / 2);
    form->ShowSelectedQuestion();
    form->StartEdit();
    form->QEdit->setPlainText(QStringLiteral("A changed question text"));
    form->UpdateQuestion();
    lap("edit_ms");
    for (int i = 0; i < 100; ++i)
        form->MoveBtnClick(true);
    lap("move_100_ms");
    form->Renumber1Click();
    lap("renumber_ms");
    form->CheckAll1Click();
    lap("check_all_ms");
    form->SaveToFile(path);
    lap("save_ms");
    form->ExportXmlTo(dir.filePath(QStringLiteral("bench.xml")));
    lap("export_xml_ms");
    std::printf("questions: %d\n", form->Count());
    std::fflush(stdout);
}

} // namespace quarvel
