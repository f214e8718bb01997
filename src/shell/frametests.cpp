// The Test menu and starting a topic test.

#include "shell/framefrm.h"

#include "common/contentpath.h"
#include "common/lestream.h"
#include "questions/testfrm.h"
#include "widgets/dialogs.h"

#include <QAction>
#include <QMenu>
#include <QFile>

namespace quarvel {

void TFrameFrm::BuildTestMenu() {
    const QString path = ResolveContentPath(ContentRoot, QStringLiteral("questions/test-topics.txt"));
    if (path.isEmpty())
        return;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return;
    const QByteArray raw = f.readAll();
    const QString text = DecodeTextFile(raw);
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    for (int tag = 0; tag < lines.size() && tag < 256; ++tag) {
        const QString caption = QString(lines[tag]).remove(QLatin1Char('\r'));
        m_testTopics.append(caption);
        if (caption.trimmed().isEmpty())
            continue; // keeps the numbering of the lines after it
        QAction* a = TestMenu->addAction(caption);
        a->setData(tag);
        connect(a, &QAction::triggered, this, [this, tag] {
            TTopicSet set;
            set.set(std::size_t(tag));
            StartTopicTest(set);
        });
    }
}

void TFrameFrm::StartTopicTest(const TTopicSet& topics) {
    if (!QFile::exists(TestFilePath)) {
        ErrorBox(this, QStringLiteral("File of test questions not found."));
        return;
    }
    std::unique_ptr<TTestFrm> test;
    try {
        test = std::make_unique<TTestFrm>(TestFilePath, topics, this);
    } catch (const std::exception& e) {
        // A broken question file costs the pupil this test, not the course.
        ErrorBox(this, QString::fromUtf8(e.what()));
        return;
    }
    if (test->Questions.empty())
        ShowBox(this, TBoxKind::Information, QStringLiteral("No questions found"));
    // Over the left pane, where the content was.
    test->setGeometry(QRect(LeftToolwin->mapToGlobal(QPoint(0, 0)), LeftToolwin->size()));
    emit TopicTestRequested(test.get());
    test->exec();
}

} // namespace quarvel
