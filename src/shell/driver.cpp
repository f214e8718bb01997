#include "shell/driver.h"

#include "browser/courseview.h"
#include "host/host.h"
#include "scene/viewer.h"
#include "shell/framefrm.h"

#include <QAction>
#include <QApplication>
#include <QPainter>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace quarvel {

TStartupDriver::TStartupDriver(TFrameFrm* frame, TCommandLine options)
    : QObject(frame), m_frame(frame), m_options(std::move(options)) {}

void TStartupDriver::Start() {
    if (!m_frame->PageRequested()) { // no index page: nothing to wait for
        QTimer::singleShot(0, this, &TStartupDriver::PageReady);
        return;
    }
    connect(m_frame->EWB, &QWebEngineView::loadFinished, this, [this](bool ok) {
        // With --open, the index page may finish first: wait for the page asked for.
        const QString wanted = QFileInfo(m_options.OpenPage).fileName();
        if (!wanted.isEmpty() && m_frame->LocationName().compare(wanted, Qt::CaseInsensitive) != 0)
            return;
        if (ok)
            PageReady();
        else
            QTimer::singleShot(1500, this, &TStartupDriver::PageReady);
    });
    // A page that never finishes must not hold a scripted run forever.
    QTimer::singleShot(30000, this, &TStartupDriver::PageReady);
}

void TStartupDriver::PageReady() {
    if (m_done)
        return;
    m_done = true;
    if (m_options.Benchmark)
        std::printf("startup_ms: %.0f\n", MillisecondsSinceProcessStart()), std::fflush(stdout);
    RunNextCommand();
}

void TStartupDriver::RunNextCommand() {
    // A turn animation (motor, left-hand rule) finishes before the next
    // command or the picture, as a pupil's next click would wait for it.
    if (m_frame->Host && m_frame->Host->Turning()) {
        QTimer::singleShot(50, this, &TStartupDriver::RunNextCommand);
        return;
    }
    if (m_nextCommand >= m_options.Commands.size()) {
        AfterCommands();
        return;
    }
    const QString word = m_options.Commands[m_nextCommand++];
    // Queued first, so it runs even while this command's modal window is open.
    QTimer::singleShot(0, this, &TStartupDriver::RunNextCommand);
    // "@Name" presses the toolbar item or menu item of that name.
    if (word.startsWith(QLatin1Char('@'))) {
        if (QAction* item = m_frame->Item(word.mid(1)))
            item->trigger();
        else
            std::fprintf(stderr, "No item %s.\n", qPrintable(word.mid(1)));
        return;
    }
    if (!m_frame->RunPageCommand(word))
        std::fprintf(stderr, "Page command %s does nothing here.\n", qPrintable(word));
}

void TStartupDriver::AfterCommands() {
    if (m_options.Benchmark && m_frame->Host->TimerRunning()) {
        MeasureAnimation();
        return;
    }
    if (m_options.Benchmark && m_frame->Host->SceneBase->Count() > 0) {
        MeasureStillScene();
        return;
    }
    if (m_options.Screenshot.isEmpty() && !m_options.Quit)
        return;
    if (m_options.Screenshot.isEmpty()) {
        QTimer::singleShot(0, this, &TStartupDriver::Finish);
        return;
    }
    // Give the page and the left pane a moment to paint before the picture,
    // and a window a command opened (the test window) time to load its page.
    QTimer::singleShot(700, this, [this] { WhenPagesLoaded(50); });
}

void TStartupDriver::WhenPagesLoaded(int triesLeft) {
    QList<QWebEngineView*> views;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible())
            for (QWebEngineView* view : top->findChildren<QWebEngineView*>())
                if (view->isVisible())
                    views << view;
    auto pending = std::make_shared<int>(int(views.size()));
    auto loaded = std::make_shared<bool>(true);
    if (views.isEmpty()) {
        Finish();
        return;
    }
    for (QWebEngineView* view : views)
        view->page()->runJavaScript(QStringLiteral("document.readyState"), [this, pending, loaded, triesLeft](const QVariant& state) {
            *loaded = *loaded && state.toString() == QLatin1String("complete");
            if (--*pending > 0)
                return;
            if (*loaded || triesLeft <= 0)
                QTimer::singleShot(1000, this, &TStartupDriver::Finish); // and painted
            else
                QTimer::singleShot(100, this, [this, triesLeft] { WhenPagesLoaded(triesLeft - 1); });
        });
}

void TStartupDriver::MeasureAnimation() {
    // A few seconds of the running animation, frame by frame, in a window of
    // a known size: 1024 x 768, the left pane half of it.
    m_frame->showNormal();
    m_frame->resize(1024, 768);
    m_frame->Splitter->MoveLeftPaneTo(512);
    auto frames = std::make_shared<std::vector<double>>();
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(m_frame->Host->GLViewer->Cadencer(), &TSceneCadencer::Progress, this,
                          [frames](double dt) { frames->push_back(dt * 1000); });
    QTimer::singleShot(3000, this, [this, frames, connection] {
        disconnect(*connection);
        std::vector<double> ms = *frames;
        if (!ms.empty()) {
            double total = 0;
            for (double v : ms)
                total += v;
            std::sort(ms.begin(), ms.end());
            auto at = [&ms](double q) { return ms[std::min(ms.size() - 1, std::size_t(q * double(ms.size())))]; };
            std::printf("fps: %.1f\nframe_ms_p50: %.2f\nframe_ms_p99: %.2f\n", 1000.0 * double(ms.size()) / total,
                        at(0.5), at(0.99));
        } else {
            std::printf("fps: 0\n");
        }
        std::fflush(stdout);
        if (m_options.Screenshot.isEmpty() && !m_options.Quit)
            return;
        Finish();
    });
}

void TStartupDriver::MeasureStillScene() {
    // A model without animation (one the pupil drags) redraws on demand:
    // the cost of one full redraw in the same 1024 x 768 window, frames back to back.
    m_frame->showNormal();
    m_frame->resize(1024, 768);
    m_frame->Splitter->MoveLeftPaneTo(512);
    QTimer::singleShot(500, this, [this] {
        const double ms = m_frame->Host->GLViewer->MeasureFrameTime(200);
        if (ms > 0)
            std::printf("fps: %.1f\nframe_ms_mean: %.2f\n", 1000.0 / ms, ms);
        else
            std::printf("fps: 0\n");
        std::fflush(stdout);
        if (!m_options.Screenshot.isEmpty() || m_options.Quit)
            Finish();
    });
}

void TStartupDriver::Finish() {
    if (!m_options.Screenshot.isEmpty()) {
        if (!SaveWindowPicture(m_frame, m_options.Screenshot))
            std::fprintf(stderr, "Could not write %s\n", qPrintable(m_options.Screenshot));
    }
    if (m_options.Quit)
        Quit();
}

void TStartupDriver::Quit() {
    // A modal window of the window is closed first, and the window goes only
    // once its modal loop has returned.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->close();
        QTimer::singleShot(0, this, &TStartupDriver::Quit);
        return;
    }
    TFrameFrm* frame = m_frame;
    m_frame = nullptr;
    delete frame; // saves the settings, as closing does (the driver goes with it)
    QApplication::quit();
}

bool SaveWindowPicture(QWidget* window, const QString& file) {
    QPixmap pm = window->grab();
    if (pm.isNull())
        return false;
    // The 3D view is a window of its own, which a widget grab leaves out.
    if (auto* frame = qobject_cast<TFrameFrm*>(window); frame && frame->Host) {
        QWidget* container = frame->Host->GLViewer->ContainerWidget();
        if (container && container->isVisible()) {
            const QImage view = frame->Host->GLViewer->Snapshot();
            QPainter p(&pm);
            p.drawImage(QRect(container->mapTo(window, QPoint(0, 0)), container->size()), view);
        }
    }
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != window && modal->isVisible()) {
        QPainter p(&pm);
        p.drawPixmap(modal->mapToGlobal(QPoint(0, 0)) - window->mapToGlobal(QPoint(0, 0)), modal->grab());
    }
    return pm.save(file);
}

} // namespace quarvel
