#pragma once
// What the editor's window tests share: a program folder of their own with
// a question folder, answerers for every box and dialog, and a main that
// keeps the tests' word list out of the real documents folder.

#include "editor/editfrm.h"
#include "editor/editordialogs.h"
#include "editor/spelling.h"
#include "widgets/dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <memory>

#define QUARVEL_EDITOR_TEST_MAIN(TestObject)                                                       \
    int main(int argc, char** argv) {                                                              \
        static QTemporaryDir home;                                                                 \
        qputenv("HOME", home.path().toLocal8Bit());                                                \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);                                \
        QApplication app(argc, argv);                                                              \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }

namespace quarvel::test {

inline TMCQuestion Q(const QString& text, int correct = 0, std::initializer_list<int> topics = {},
                     const QString& picture = QString()) {
    TMCQuestion q;
    q.Text = text;
    q.CorrectAnswer = correct;
    q.Picture = picture;
    for (int t : topics)
        q.TopicAreas.set(std::size_t(t));
    q.Answers = {text + " a", text + " b", text + " c", text + " d", QString()};
    return q;
}

inline std::vector<TMCQuestion> Qs(int n, const QString& prefix = QStringLiteral("Q")) {
    std::vector<TMCQuestion> out;
    for (int i = 1; i <= n; ++i)
        out.push_back(Q(prefix + QString::number(i), (i - 1) % 5));
    return out;
}

inline QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A program folder: vantrel.ini's defaults point at questions/ beside it.
class TEditorFixture {
public:
    QTemporaryDir Dir;
    QList<TBoxRequest> Boxes;
    bool ConfirmAnswer = true;
    QStringList SavePrompts;
    TSaveAnswer SaveAnswer = TSaveAnswer::No;
    QList<TFileRequest> FileRequests;
    std::deque<QString> FileAnswers; // empty: the user cancels

    TEditorFixture() {
        QDir(Dir.path()).mkpath(QStringLiteral("questions/images"));
        QDir(Dir.path()).mkpath(QStringLiteral("questions/css"));
        WriteText(QStringLiteral("questions/test-topics.txt"),
                  "Earth and space\nMagnetism\nElectricity\nLight\nSound\n");
        WriteText(QStringLiteral("questions/css/qstyle.css"), "body { font-family: sans-serif; }\n");
    }

    QString Program() const { return Dir.path(); }
    QString QuestionFolder() const { return Dir.path() + QStringLiteral("/questions"); }
    QString Path(const QString& name) const { return Dir.path() + QLatin1Char('/') + name; }

    void WriteText(const QString& name, const QByteArray& text) const {
        QFile f(Path(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size())
            qFatal("cannot write %s", qPrintable(name));
    }

    QString WriteQuestions(const QString& name, const std::vector<TMCQuestion>& qs) const {
        const QString path = Path(name);
        if (!WriteQuestionFile(path, qs))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    void Install() {
        SetBoxAnswerer([this](const TBoxRequest& r) {
            Boxes << r;
            return r.Kind == TBoxKind::Confirmation ? ConfirmAnswer : true;
        });
        SetYesNoCancelAnswerer([this](const QString& text) {
            SavePrompts << text;
            return SaveAnswer;
        });
        SetFileAnswerer([this](const TFileRequest& r) {
            FileRequests << r;
            if (FileAnswers.empty())
                return QString();
            const QString a = FileAnswers.front();
            FileAnswers.pop_front();
            return a;
        });
    }

    std::unique_ptr<TEditFrm> Form(const QString& startFile = QString()) {
        Install();
        auto form = std::make_unique<TEditFrm>(TEditorSetup{Program(), startFile});
        form->resize(900, 650);
        form->show();
        return form;
    }

    QStringList BoxTexts() const {
        QStringList out;
        for (const TBoxRequest& r : Boxes)
            out << r.Text;
        return out;
    }
};

inline QStringList Captions(const TEditFrm& form) {
    QStringList out;
    for (int i = 0; i < form.Count(); ++i)
        out << form.Item(i)->text();
    return out;
}

inline QStringList Texts(const TEditFrm& form) {
    QStringList out;
    for (int i = 0; i < form.Count(); ++i)
        out << form.Question(i)->Text;
    return out;
}

} // namespace quarvel::test
